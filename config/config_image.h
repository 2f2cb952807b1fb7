// The configuration image: the whole model as the panel stores it, and back.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "model/config_model.h"
#include "config/image_layout.h"

namespace zelor {

constexpr uint8_t kBuildOk = 0;
constexpr uint8_t kBuildDuplicateNumbers = 255;  // log DuplicateNumbersText()
constexpr uint8_t kBuildTooManySlots = 254;      // log TooManySlotsText(CommandSlotsNeeded(model))

// Writes the model into `image`; of the rules only the complete ones, in their order. The model
// and the views are not touched. On a refusal the image is partly written and must be neither
// sent nor saved.
uint8_t BuildImage(const ConfigModel& model, ConfigImage& image);
// Whether the build got as far as the rules (there are nodes and the numbers were unique). Then
// the caller that built from the editor's model takes the build's two model steps, in this order:
// PurgeIncompleteRules(model), so the editor holds what the image holds, and RefreshAutoGrid(model, 0).
bool BuildReachedRules(const ConfigModel& model, uint8_t result);

// What follows DuplicateNumbersText in the log: a line for each number two or more zones hold,
// naming those zones with their devices, in ascending order of the numbers.
std::vector<std::string> DuplicateNumberLines(const ConfigModel& model);
// A line for each incomplete rule, numbered as the rule list shows it now: what the build's
// PurgeIncompleteRules is about to remove.
std::vector<std::string> IncompleteRuleLines(const ConfigModel& model);

// Replaces the model with the image's content and refreshes the views. The image is untrusted:
// nothing outside its tables is read, and what had to be left out is returned as log lines.
std::vector<std::string> ParseImage(ConfigModel& model, const ConfigImage& image);

// Crc16 of bytes 0..12899, as stored at 12900 (low) and 12901 (high).
uint16_t ImageCrc(const ConfigImage& image);
bool ImageCrcMatches(const ConfigImage& image);

}  // namespace zelor
