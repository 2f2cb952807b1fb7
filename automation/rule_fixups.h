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

}  // namespace zelor
