// What the in-place editors of the configuration tab change in the model: names, addresses, zone
// kinds, conventional numbers, zone groups and group names, and which zone editor a double-click opens.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/config_model.h"

namespace zelor {

// The text a name editor opens with: the stored name without its trailing blanks (UTF-8).
std::string NameForEditor(const Cp1251String& name);

// The editor's text as it is stored, before the padding: converted to cp1251 (a character the code
// page cannot hold becomes one '?') and cut to `width` characters.
Cp1251String TypedName(std::string_view utf8, std::size_t width);

// Commit the editor's text to the selected node's / the selected zone's name, cut to 15 and
// blank-padded; answers the text the grid cell shows after its two blanks (TypedName, UTF-8).
// Nothing changes, and the answer is empty, without such a node or zone.
std::string CommitNodeName(ConfigModel& model, std::string_view utf8);
std::string CommitZoneName(ConfigModel& model, std::string_view utf8);
// Group `group` (0..9) takes the text cut to 16 and padded; other groups change nothing.
std::string CommitGroupName(ConfigModel& model, int group, std::string_view utf8);

// The address editor's value for the selected node: ResolveAddress of it (values outside 1..247
// are held at the ends first), stored as the node's Address; answers the address it took.
uint8_t SetNodeAddress(ConfigModel& model, int wanted);
// The selected zone's number becomes explicit: ConvNumber := value (0..999) + 1000.
void SetExplicitNumber(ConfigModel& model, int value);
// The selected zone's kind := `kind`; any kind but security leaves the zone's group. Rules that name
// the zone are assigned it anew (RulesOnZoneKindChanged). kDone, or kRefused without such a zone.
// `lost` (may be null) gets a log line for each rule that lost its event, action or executor.
uint8_t SetZoneKind(ConfigModel& model, uint8_t kind, std::vector<std::string>* lost = nullptr);
// The group chooser's assignment: 0..9 joins that group, anything else (the no-group row) NoGroup.
void SetZoneGroup(ConfigModel& model, int chosenGroup);

// Whether the zones of a node of `type` keep the kind of the type (every type but 1, 2, 6, 8, 9,
// 10, 18, 22 and 23, whose zones switch between security and fire).
bool ZoneKindFixed(uint8_t type);

enum class ZoneEditor : uint8_t {
  None,     // column 0, or nothing to edit
  Refused,  // the clicked cell flashes
  Name,     // NameEdit over column 1
  Kind,     // TypeBox over column 2
  Group,    // the group chooser
  Number,   // AddrEdit over column 4
};
// What a double-click on column `column` of the selected zone's row opens. A type-12 node refuses
// every column, a node with a fixed kind the kind column, a zone of any kind but security the group
// column. Without nodes, or without such a zone, nothing opens.
ZoneEditor ZoneEditorFor(const ConfigModel& model, int column);

// The selected node and zone, or null when the selection names none.
NodeRecord* SelectedNodeRecord(ConfigModel& model);
const NodeRecord* SelectedNodeRecord(const ConfigModel& model);
ZoneRecord* SelectedZoneRecord(ConfigModel& model);
const ZoneRecord* SelectedZoneRecord(const ConfigModel& model);

}  // namespace zelor
