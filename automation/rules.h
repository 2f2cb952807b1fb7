// Editing the automation rules: add, delete, move, zone assignment and removal of incomplete rules.
#pragma once
#include <cstdint>
#include <string>

#include "model/config_model.h"

namespace zelor {

// The four list operations: 0 = done, 255 = refused (also while the zone pickers are open).
uint8_t AddRule(ConfigModel& model);
uint8_t DeleteRule(ConfigModel& model);
uint8_t MoveRuleUp(ConfigModel& model);
uint8_t MoveRuleDown(ConfigModel& model);

struct ZonePosition {
  uint8_t Node = 0;  // position in Nodes
  uint8_t Zone = 0;  // position within the node
};
// 0 and the position of the first zone (node order) with this Index; 255 and (0, 0) if none.
uint8_t FindZone(const ConfigModel& model, uint16_t zoneIndex, ZonePosition& where);

// "  " + index as four digits + ": " + name, cut to 24 characters.
Cp1251String ZoneDisplayText(uint16_t zoneIndex, const Cp1251String& zoneName);

RuleSide& SideOf(ConfigModel& model, Side side, uint8_t rule);
// Rebuilds the side's Text from its zone; leaves it alone when no zone has that index.
void RefreshSideText(ConfigModel& model, Side side, uint8_t rule);
// Puts zone `zone` of node `node` on one side of the selected rule (the zone pickers' choice).
// Positions outside the model change nothing.
void AssignZone(ConfigModel& model, Side side, uint8_t node, uint8_t zone);
// The same for rule `rule`; the zone fix-ups assign a zone anew when it changes.
void AssignZoneTo(ConfigModel& model, Side side, uint8_t rule, uint8_t node, uint8_t zone);

// Remove every rule with an unset zone / an unset code on either side; SelectedRule untouched.
void PurgeUnsetZones(ConfigModel& model);
void PurgeUnsetCodes(ConfigModel& model);
// PurgeUnsetZones, then PurgeUnsetCodes: what is left are the complete rules, in their order.
void PurgeIncompleteRules(ConfigModel& model);
// Both zones and both codes of rule `rule` are set: only such a rule reaches the image.
bool RuleComplete(const ConfigModel& model, uint8_t rule);

// The model's part of refreshing the rule list (SelectedRule := s, or 0 without rules),
// then the view's.
void RefreshAutoGrid(ConfigModel& model, uint8_t selected);
// Closes the zone pickers and the event list.
void HideRulePickers(ConfigModel& model);

}  // namespace zelor
