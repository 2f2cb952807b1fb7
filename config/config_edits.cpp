#include "config/config_edits.h"

#include <algorithm>

#include "automation/rule_fixups.h"
#include "automation/rule_vocabulary.h"
#include "config/config_texts.h"
#include "config/nodes.h"
#include "link/format.h"
#include "model/cp1251.h"
#include "model/names.h"

namespace zelor {
namespace {

constexpr uint16_t kHighestConvNumber = 999;

void NotifyNodesChanged(ConfigModel& m) {
  if (m.Views != nullptr) m.Views->NodesChanged();
}

}  // namespace

NodeRecord* SelectedNodeRecord(ConfigModel& m) {
  if (m.SelectedNode < 0 || m.SelectedNode >= m.NodeCount || m.SelectedNode >= kMaxNodes) return nullptr;
  return &m.Nodes[static_cast<std::size_t>(m.SelectedNode)];
}

const NodeRecord* SelectedNodeRecord(const ConfigModel& m) { return SelectedNodeRecord(const_cast<ConfigModel&>(m)); }

ZoneRecord* SelectedZoneRecord(ConfigModel& m) {
  NodeRecord* node = SelectedNodeRecord(m);
  if (node == nullptr || m.SelectedZone < 0 || m.SelectedZone >= node->ZoneCount || m.SelectedZone >= kMaxZonesPerNode) {
    return nullptr;
  }
  return &node->Zones[static_cast<std::size_t>(m.SelectedZone)];
}

const ZoneRecord* SelectedZoneRecord(const ConfigModel& m) { return SelectedZoneRecord(const_cast<ConfigModel&>(m)); }

std::string NameForEditor(const Cp1251String& name) {
  const std::string& bytes = name.Bytes();
  const std::size_t end = bytes.find_last_not_of(' ');
  return Utf8FromCp1251(name.substr(0, end == std::string::npos ? 0 : end + 1));
}

Cp1251String TypedName(std::string_view utf8, std::size_t width) {
  // Converted first and cut afterwards, so a cut never splits a character's bytes.
  const Cp1251String text = Cp1251FromUtf8(utf8);
  return text.size() > width ? text.substr(0, width) : text;
}

std::string CommitNodeName(ConfigModel& m, std::string_view utf8) {
  NodeRecord* node = SelectedNodeRecord(m);
  if (node == nullptr) return {};
  const Cp1251String typed = TypedName(utf8, kNameWidth);
  node->Name = FitName(typed, kNameWidth);
  NotifyNodesChanged(m);
  return Utf8FromCp1251(typed);
}

std::string CommitZoneName(ConfigModel& m, std::string_view utf8) {
  ZoneRecord* zone = SelectedZoneRecord(m);
  if (zone == nullptr) return {};
  const Cp1251String typed = TypedName(utf8, kNameWidth);
  zone->Name = FitName(typed, kNameWidth);
  NotifyNodesChanged(m);
  return Utf8FromCp1251(typed);
}

std::string CommitGroupName(ConfigModel& m, int group, std::string_view utf8) {
  if (group < 0 || group >= kGroupCount) return {};
  const Cp1251String typed = TypedName(utf8, kGroupNameWidth);
  m.GroupNames[static_cast<std::size_t>(group)] = GroupNameFromEditor(typed);
  return Utf8FromCp1251(typed);
}

uint8_t SetNodeAddress(ConfigModel& m, int wanted) {
  NodeRecord* node = SelectedNodeRecord(m);
  if (node == nullptr) return 0;
  const uint8_t v = ResolveAddress(m, static_cast<uint8_t>(std::clamp(wanted, 1, int{kHighestAddress})));
  if (v != node->Address) {
    node->Address = v;
    NotifyNodesChanged(m);
  }
  return v;
}

void SetExplicitNumber(ConfigModel& m, int value) {
  ZoneRecord* zone = SelectedZoneRecord(m);
  if (zone == nullptr) return;
  zone->ConvNumber = static_cast<uint16_t>(kExplicitNumberBase + std::clamp(value, 0, int{kHighestConvNumber}));
}

uint8_t SetZoneKind(ConfigModel& m, uint8_t kind, std::vector<std::string>* lost) {
  ZoneRecord* zone = SelectedZoneRecord(m);
  if (zone == nullptr) return kRefused;
  const auto activators = m.Activators;
  const auto executors = m.Executors;
  zone->Kind = kind;
  if (kind != kKindSecurity) zone->Group = NoGroup;
  RulesOnZoneKindChanged(m, static_cast<uint8_t>(m.SelectedNode), static_cast<uint8_t>(m.SelectedZone));
  if (lost != nullptr) {
    // The switch removes no rule, so the numbers are the ones the rule list shows.
    const std::string kindText = TrimBlanks(ZoneKindText(kind));
    for (uint8_t r = 0; r < m.RuleCount && r < kMaxRules; ++r) {
      if (activators[r].Code != kUnsetCode && m.Activators[r].Code == kUnsetCode) {
        lost->push_back(RuleLostEventText(r, zone->Index, kindText, TrimBlanks(RuleEventText(activators[r].Code))));
      }
      if (executors[r].ZoneIndex != kUnsetZone && m.Executors[r].ZoneIndex == kUnsetZone) {
        lost->push_back(RuleLostExecutorText(r, zone->Index, kindText));
      } else if (executors[r].Code != kUnsetCode && m.Executors[r].Code == kUnsetCode) {
        lost->push_back(RuleLostActionText(r, zone->Index, kindText, TrimBlanks(RuleActionText(executors[r].Code))));
      }
    }
  }
  NotifyNodesChanged(m);
  return kDone;
}

void SetZoneGroup(ConfigModel& m, int chosenGroup) {
  ZoneRecord* zone = SelectedZoneRecord(m);
  if (zone == nullptr) return;
  zone->Group = chosenGroup >= 0 && chosenGroup < kGroupCount ? static_cast<uint8_t>(chosenGroup) : NoGroup;
}

bool ZoneKindFixed(uint8_t type) {
  constexpr uint8_t kUnlistedSwitchable = 10;  // no entry, yet its zones were switchable
  const DeviceType* entry = FindDeviceType(type);
  return entry == nullptr ? type != kUnlistedSwitchable : entry->KindFixed;
}

ZoneEditor ZoneEditorFor(const ConfigModel& m, int column) {
  const NodeRecord* node = SelectedNodeRecord(m);
  if (node == nullptr) return ZoneEditor::None;
  if (node->Type == kTypeIndicationModule) return ZoneEditor::Refused;
  const ZoneRecord* zone = SelectedZoneRecord(m);
  if (zone == nullptr) return ZoneEditor::None;
  switch (column) {
    case 1:
      return ZoneEditor::Name;
    case 2:
      return ZoneKindFixed(node->Type) ? ZoneEditor::Refused : ZoneEditor::Kind;
    case 3:
      return zone->Kind != kKindSecurity ? ZoneEditor::Refused : ZoneEditor::Group;
    case 4:
      return ZoneEditor::Number;
    default:
      return ZoneEditor::None;
  }
}

}  // namespace zelor
