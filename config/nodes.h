// Operations on the node list: add, delete, move, zone renumbering and the address rule.
#pragma once
#include <cstdint>

#include "model/config_model.h"

namespace zelor {

// 0 = added after the selected node and selected; 255 = 32 nodes exist or `type` has no entry.
uint8_t AddNode(ConfigModel& model, uint8_t type);
// 0 = the selected node was removed; 255 = there is no node.
uint8_t DeleteNode(ConfigModel& model);
// How many rules DeleteNode would remove with the selected node (those that name its zones, and
// with them any rule whose zone is not set); 0 without a node.
unsigned RulesDeletedWithNode(const ConfigModel& model);
// 0 = swapped with the neighbour; 255 = already at that end (or no node).
uint8_t MoveNodeUp(ConfigModel& model);
uint8_t MoveNodeDown(ConfigModel& model);
// Index of every zone in node order, automatic ConvNumbers follow; SelectedZone := 0.
void RenumberZones(ConfigModel& model);
// The address the selected node may take when the user asks for `wanted`: taken addresses
// are skipped in the direction of the change; running off 1..247 keeps the present one.
uint8_t ResolveAddress(const ConfigModel& model, uint8_t wanted);

}  // namespace zelor
