// Helpers shared by the configuration and automation tests: model building, dumps, recording views.
#pragma once
#include <initializer_list>
#include <optional>
#include <span>
#include <sstream>
#include <string>
#include <vector>

#include "automation/rules.h"
#include "config/config_image.h"
#include "config/config_transfer.h"
#include "config/lcd_codec.h"
#include "config/nodes.h"
#include "model/config_model.h"
#include "model/cp1251.h"

namespace zelor::testing {

// A transfer's window without files or dialogs: every choice is cancelled.
class NoFiles : public TransferView {
 public:
  void ShowAddButton() override {}
  void ModelReplaced() override {}
  std::optional<std::string> ChooseFileToOpen() override { return std::nullopt; }
  std::optional<std::string> ChooseFileToSave() override { return std::nullopt; }
  FileBytes ReadFile(const std::string&, std::size_t) override { return {}; }
  std::string WriteFile(const std::string&, std::span<const uint8_t>) override { return {}; }
};


// Appends nodes of the given types in order (each AddNode lands after the selected, last, node).
inline void AddNodes(ConfigModel& m, std::initializer_list<uint8_t> types) {
  for (uint8_t t : types) {
    m.SelectedNode = m.NodeCount == 0 ? 0 : m.NodeCount - 1;
    AddNode(m, t);
  }
}

// A build from the editor's model with the caller's steps: when the build reached the rules, the
// model drops its incomplete rules and the rule list is refreshed with rule 0.
inline uint8_t BuildFromEditor(ConfigModel& m, ConfigImage& image) {
  const uint8_t result = BuildImage(m, image);
  if (BuildReachedRules(m, result)) {
    PurgeIncompleteRules(m);
    RefreshAutoGrid(m, 0);
  }
  return result;
}

inline Cp1251String Cp(const char* utf8) { return Cp1251FromUtf8(utf8); }

// What a name looks like after a trip through the display code.
inline Cp1251String Fold(const Cp1251String& name) {
  std::string out = name.Bytes();
  for (char& c : out) c = static_cast<char>(LcdDecode(LcdEncode(static_cast<uint8_t>(c))));
  return Cp1251String::FromBytes(out);
}

// Everything of the model that may be read, as text: equal dumps mean "nothing changed".
inline std::string Dump(const ConfigModel& m) {
  std::ostringstream out;
  out << "nodes " << int(m.NodeCount) << " sel " << m.SelectedNode << "/" << m.SelectedZone << "\n";
  for (int n = 0; n < m.NodeCount; ++n) {
    const NodeRecord& node = m.Nodes[n];
    out << int(node.Type) << " @" << int(node.Address) << " '" << node.Name.Bytes() << "' z" << int(node.ZoneCount) << ":";
    for (int z = 0; z < node.ZoneCount; ++z) {
      const ZoneRecord& zone = node.Zones[z];
      out << " [" << zone.Index << " k" << int(zone.Kind) << " g" << int(zone.Group) << " c" << zone.ConvNumber << " '"
          << zone.Name.Bytes() << "']";
    }
    out << "\n";
  }
  for (const auto& g : m.GroupNames) out << "group '" << g.Bytes() << "'\n";
  out << "rules " << int(m.RuleCount) << " sel " << m.SelectedRule << "\n";
  for (int r = 0; r < m.RuleCount; ++r) {
    for (const RuleSide* s : {&m.Activators[r], &m.Executors[r]}) {
      out << " (" << s->ZoneIndex << " '" << s->Text.Bytes() << "' t" << int(s->NodeType) << " k" << int(s->Kind) << " @"
          << int(s->NodeAddress) << " c" << int(s->Code) << ")";
    }
    out << "\n";
  }
  return out.str();
}

class RecordingViews : public ConfigViews {
 public:
  void RefreshNodesGrid() override { calls.push_back("RefreshNodesGrid"); }
  void RefreshZoneGrid() override { calls.push_back("RefreshZoneGrid"); }
  void RefreshAutoGrid(uint8_t s) override { calls.push_back("RefreshAutoGrid(" + std::to_string(s) + ")"); }
  void HideRulePickers() override { calls.push_back("HideRulePickers"); }
  void HideGroupChooser() override { calls.push_back("HideGroupChooser"); }
  std::vector<std::string> calls;
};

}  // namespace zelor::testing
