// Storing the automation rules in the configuration image and reading them back.
#pragma once
#include <string>
#include <vector>

#include "config/image_layout.h"
#include "model/config_model.h"

namespace zelor {

// Command slots the rules 0..RuleCount-1 need, in rule order.
unsigned CommandSlotsNeeded(const ConfigModel& model);

// Removes incomplete rules, then writes the rule count, the rules and their command slots.
// Returns false, writing no rule byte, when the rules need more than the 32 slots.
bool EncodeRules(ConfigModel& model, ConfigImage& image);

// Replaces the rules with those stored in the image; the nodes must already be parsed from it.
// Anything that points outside the image's tables is read as not set and noted in `problems`.
void DecodeRules(ConfigModel& model, const ConfigImage& image, std::vector<std::string>& problems);

}  // namespace zelor
