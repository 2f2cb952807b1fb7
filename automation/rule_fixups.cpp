#include "automation/rule_fixups.h"

#include <functional>
#include <optional>

#include "automation/rules.h"

namespace zelor {
namespace {

// Applies `remap` to every set zone reference of every rule; a reference it returns a value for
// takes that value and, unless it became unset, gets its text rebuilt.
void RemapReferences(ConfigModel& m, const std::function<std::optional<uint16_t>(uint16_t)>& remap) {
  for (uint8_t r = 0; r < m.RuleCount; ++r) {
    for (Side side : {Side::Activator, Side::Executor}) {
      RuleSide& s = SideOf(m, side, r);
      if (s.ZoneIndex == kUnsetZone) continue;
      const std::optional<uint16_t> moved = remap(s.ZoneIndex);
      if (!moved) continue;
      s.ZoneIndex = *moved;
      if (*moved != kUnsetZone) RefreshSideText(m, side, r);
    }
  }
}

using Moved = std::optional<uint16_t>;

void EndFixUp(ConfigModel& m) {
  HideRulePickers(m);
  RefreshAutoGrid(m, 0);
}

}  // namespace

void RulesOnNodeInserted(ConfigModel& m, uint16_t first, uint8_t count) {
  if (first != kAppendedAtEnd && m.RuleCount > 0) {
    RemapReferences(m, [&](uint16_t z) { return z >= first ? Moved(static_cast<uint16_t>(z + count)) : Moved(); });
  }
  EndFixUp(m);
}

void RulesOnNodeDeleted(ConfigModel& m, uint16_t first, uint8_t count) {
  if (m.RuleCount > 0) {
    const uint32_t end = static_cast<uint32_t>(first) + count;
    RemapReferences(m, [&](uint16_t z) -> Moved {
      if (z >= first && z < end) return kUnsetZone;
      if (z >= end) return static_cast<uint16_t>(z - count);
      return {};
    });
    PurgeUnsetZones(m);
  }
  EndFixUp(m);
}

void RulesOnNodesSwapped(ConfigModel& m, uint8_t k) {
  if (k == 0 || k >= m.NodeCount) return;
  uint32_t f = 0;
  for (uint8_t n = 0; n + 1 < k; ++n) f += m.Nodes[n].ZoneCount;
  const uint32_t x = m.Nodes[k - 1].ZoneCount;  // zones of the node now first
  const uint32_t y = m.Nodes[k].ZoneCount;      // zones of the node now second
  RemapReferences(m, [&](uint16_t z) -> Moved {
    if (z >= f + y && z < f + y + x) return static_cast<uint16_t>(z - y);
    if (z >= f && z < f + y) return static_cast<uint16_t>(z + x);
    return {};
  });
  if (m.RuleCount > 0) EndFixUp(m);
}

bool RulesOnZoneKindChanged(ConfigModel& m, uint8_t node, uint8_t zone) {
  if (node >= m.NodeCount || node >= kMaxNodes || zone >= m.Nodes[node].ZoneCount || zone >= kMaxZonesPerNode) return false;
  const uint16_t index = m.Nodes[node].Zones[zone].Index;
  bool named = false;
  for (uint8_t r = 0; r < m.RuleCount && r < kMaxRules; ++r) {
    for (Side side : {Side::Activator, Side::Executor}) {
      if (SideOf(m, side, r).ZoneIndex != index) continue;
      AssignZoneTo(m, side, r, node, zone);
      named = true;
    }
  }
  if (named) RefreshAutoGrid(m, static_cast<uint8_t>(m.SelectedRule));
  return named;
}

}  // namespace zelor
