// Keeping rule zone references right when the node list changes (called after RenumberZones).
#pragma once
#include <cstdint>

#include "model/config_model.h"

namespace zelor {

constexpr uint16_t kAppendedAtEnd = kUnsetZone;  // no zone follows the new ones

// Zones first..first+count-1 were inserted; first = kAppendedAtEnd when none follow them.
void RulesOnNodeInserted(ConfigModel& model, uint16_t first, uint8_t count);
// The node whose zones were first..first+count-1 was removed; rules that used them go.
void RulesOnNodeDeleted(ConfigModel& model, uint16_t first, uint8_t count);
// Nodes at k-1 and k have just been swapped.
void RulesOnNodesSwapped(ConfigModel& model, uint8_t k);
// Zone `zone` of node `node` has just changed its kind: every rule side that names it is assigned
// the zone anew, so an event or action the new kind does not offer becomes not set, and an
// executor zone that can no longer execute leaves its side not set. True when a rule names it;
// the rule list is then refreshed with the selected rule kept.
bool RulesOnZoneKindChanged(ConfigModel& model, uint8_t node, uint8_t zone);

}  // namespace zelor
