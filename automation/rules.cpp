#include "automation/rules.h"

#include <utility>

#include "automation/rule_vocabulary.h"
#include "link/format.h"
#include "model/cp1251.h"

namespace zelor {
namespace {

constexpr std::size_t kSideTextWidth = 24;

void RemoveRule(ConfigModel& m, uint8_t rule) {
  for (uint8_t r = rule; r + 1 < m.RuleCount; ++r) {
    m.Activators[r] = m.Activators[r + 1];
    m.Executors[r] = m.Executors[r + 1];
  }
  --m.RuleCount;
}

void SwapRules(ConfigModel& m, uint8_t a, uint8_t b) {
  std::swap(m.Activators[a], m.Activators[b]);
  std::swap(m.Executors[a], m.Executors[b]);
}

template <typename IsIncomplete>
void PurgeRules(ConfigModel& m, IsIncomplete incomplete) {
  // Removing and restarting from rule 0 until a scan runs through, as the panel editor always did.
  uint8_t r = 0;
  while (r < m.RuleCount) {
    if (incomplete(m.Activators[r]) || incomplete(m.Executors[r])) {
      RemoveRule(m, r);
      r = 0;
    } else {
      ++r;
    }
  }
}

void ClearSide(RuleSide& s) {
  s.ZoneIndex = kUnsetZone;
  s.Kind = kUnsetKind;
  s.Text = kUnsetSideText;
  s.Code = kUnsetCode;
}

bool SelectionValid(const ConfigModel& m) { return m.SelectedRule >= 0 && m.SelectedRule < m.RuleCount; }

}  // namespace

uint8_t AddRule(ConfigModel& m) {
  if (m.PickersOpen || m.RuleCount >= kMaxRules) return kRefused;
  if (m.RuleCount == 0) {
    m.RuleCount = 1;
    m.SelectedRule = 0;
  } else {
    if (!SelectionValid(m)) return kRefused;
    for (int r = m.RuleCount - 1; r > m.SelectedRule; --r) {
      m.Activators[r + 1] = m.Activators[r];
      m.Executors[r + 1] = m.Executors[r];
    }
    ++m.SelectedRule;
    ++m.RuleCount;
  }
  m.Activators[m.SelectedRule] = RuleSide{};
  m.Executors[m.SelectedRule] = RuleSide{};
  return kDone;
}

uint8_t DeleteRule(ConfigModel& m) {
  if (m.PickersOpen || m.RuleCount == 0 || !SelectionValid(m)) return kRefused;
  const bool last = m.SelectedRule == m.RuleCount - 1;
  RemoveRule(m, static_cast<uint8_t>(m.SelectedRule));
  if (last && m.SelectedRule > 0) --m.SelectedRule;
  return kDone;
}

uint8_t MoveRuleUp(ConfigModel& m) {
  if (m.PickersOpen || m.SelectedRule <= 0 || !SelectionValid(m)) return kRefused;
  SwapRules(m, static_cast<uint8_t>(m.SelectedRule - 1), static_cast<uint8_t>(m.SelectedRule));
  --m.SelectedRule;
  return kDone;
}

uint8_t MoveRuleDown(ConfigModel& m) {
  if (m.PickersOpen || m.SelectedRule < 0 || m.SelectedRule + 1 >= m.RuleCount) return kRefused;
  SwapRules(m, static_cast<uint8_t>(m.SelectedRule), static_cast<uint8_t>(m.SelectedRule + 1));
  ++m.SelectedRule;
  return kDone;
}

uint8_t FindZone(const ConfigModel& m, uint16_t zoneIndex, ZonePosition& where) {
  for (uint8_t n = 0; n < m.NodeCount && n < kMaxNodes; ++n) {
    const NodeRecord& node = m.Nodes[n];
    for (uint8_t z = 0; z < node.ZoneCount && z < kMaxZonesPerNode; ++z) {
      if (node.Zones[z].Index == zoneIndex) {
        where = {n, z};
        return kDone;
      }
    }
  }
  where = {};
  return kRefused;
}

Cp1251String ZoneDisplayText(uint16_t zoneIndex, const Cp1251String& zoneName) {
  const Cp1251String text = Cp1251FromUtf8("  " + FormatZeroPadded(zoneIndex, 4) + ": ") + zoneName;
  return text.size() > kSideTextWidth ? text.substr(0, kSideTextWidth) : text;
}

RuleSide& SideOf(ConfigModel& m, Side side, uint8_t rule) {
  return side == Side::Activator ? m.Activators[rule] : m.Executors[rule];
}

void RefreshSideText(ConfigModel& m, Side side, uint8_t rule) {
  RuleSide& s = SideOf(m, side, rule);
  ZonePosition at;
  if (FindZone(m, s.ZoneIndex, at) != kDone) return;
  s.Text = ZoneDisplayText(s.ZoneIndex, m.Nodes[at.Node].Zones[at.Zone].Name);
}

void AssignZone(ConfigModel& m, Side side, uint8_t node, uint8_t zone) {
  if (!SelectionValid(m)) return;
  AssignZoneTo(m, side, static_cast<uint8_t>(m.SelectedRule), node, zone);
}

void AssignZoneTo(ConfigModel& m, Side side, uint8_t rule, uint8_t node, uint8_t zone) {
  if (rule >= m.RuleCount || rule >= kMaxRules || node >= m.NodeCount || node >= kMaxNodes) return;
  const NodeRecord& n = m.Nodes[node];
  RuleSide& s = SideOf(m, side, rule);
  if (side == Side::Activator) {
    if (n.ZoneCount == 0) {  // the indication module, or a type without entry
      ClearSide(s);
      return;
    }
    if (zone >= n.ZoneCount || zone >= kMaxZonesPerNode) return;
    const ZoneRecord& z = n.Zones[zone];
    s.ZoneIndex = z.Index;
    s.Kind = z.Kind;
    s.Text = ZoneDisplayText(z.Index, z.Name);
    if (EventCheckedOnAssign(s.Kind) && !Offers(EventsOffered(s.Kind), s.Code)) s.Code = kUnsetCode;
    return;
  }
  if (zone >= n.ZoneCount || zone >= kMaxZonesPerNode) {
    if (n.ZoneCount == 0) ClearSide(s);
    return;
  }
  const ZoneRecord& z = n.Zones[zone];
  if (!CanExecute(z.Kind)) {
    ClearSide(s);  // NodeType and NodeAddress stay as they were
    return;
  }
  s.ZoneIndex = z.Index;
  s.Kind = z.Kind;
  s.Text = ZoneDisplayText(z.Index, z.Name);
  s.NodeAddress = n.Address;
  s.NodeType = n.Type;
  if (!Offers(ActionsOffered(s.Kind), s.Code)) s.Code = kUnsetCode;
}

void PurgeUnsetZones(ConfigModel& m) {
  PurgeRules(m, [](const RuleSide& s) { return s.ZoneIndex == kUnsetZone; });
}

void PurgeUnsetCodes(ConfigModel& m) {
  PurgeRules(m, [](const RuleSide& s) { return s.Code == kUnsetCode; });
}

void PurgeIncompleteRules(ConfigModel& m) {
  PurgeUnsetZones(m);
  PurgeUnsetCodes(m);
}

bool RuleComplete(const ConfigModel& m, uint8_t r) {
  if (r >= kMaxRules) return false;
  const RuleSide& a = m.Activators[r];
  const RuleSide& e = m.Executors[r];
  return a.ZoneIndex != kUnsetZone && e.ZoneIndex != kUnsetZone && a.Code != kUnsetCode && e.Code != kUnsetCode;
}

void RefreshAutoGrid(ConfigModel& m, uint8_t selected) {
  m.SelectedRule = m.RuleCount > 0 && selected < m.RuleCount ? selected : 0;
  if (m.Views != nullptr) m.Views->RefreshAutoGrid(selected);
}

void HideRulePickers(ConfigModel& m) {
  m.PickersOpen = false;
  if (m.Views != nullptr) m.Views->HideRulePickers();
}

}  // namespace zelor
