// Storing the automation rules in the configuration image and reading them back.
#pragma once
#include <string>
#include <vector>

#include "config/image_layout.h"
#include "model/config_model.h"

namespace zelor {

// Command slots the complete rules among 0..RuleCount-1 need, in rule order.
unsigned CommandSlotsNeeded(const ConfigModel& model);

// Writes the rule count, the complete rules in their order and their command slots; incomplete
// rules are left out (the model keeps them: dropping them is the caller's step). The commands go to
// the executor zone's node as it is now (its Address and Type), not to the copies the rule took
// when the zone was assigned.
// Returns false, writing no rule byte, when the rules need more than the 32 slots.
bool EncodeRules(const ConfigModel& model, ConfigImage& image);

// Replaces the rules with those stored in the image; the nodes must already be parsed from it.
// Anything that points outside the image's tables is read as not set and noted in `problems`.
void DecodeRules(ConfigModel& model, const ConfigImage& image, std::vector<std::string>& problems);

}  // namespace zelor
