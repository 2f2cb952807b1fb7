#include "config/nodes.h"

#include <utility>

#include "automation/rule_fixups.h"

namespace zelor {
namespace {

bool SelectionValid(const ConfigModel& m) { return m.SelectedNode >= 0 && m.SelectedNode < m.NodeCount; }

uint8_t LowestFreeAddress(const ConfigModel& m, int32_t except) {
  for (unsigned a = 1; a <= kHighestAddress; ++a) {
    bool taken = false;
    for (int32_t n = 0; n < m.NodeCount && !taken; ++n) taken = n != except && m.Nodes[n].Address == a;
    if (!taken) return static_cast<uint8_t>(a);
  }
  return 0;  // unreachable with 32 nodes at most
}

// Global index of the node's first zone, counted rather than read from Zones[0], which a node
// without zones never had numbered.
uint16_t FirstZoneOf(const ConfigModel& m, int32_t node) {
  uint16_t first = 0;
  for (int32_t n = 0; n < node; ++n) first = static_cast<uint16_t>(first + m.Nodes[n].ZoneCount);
  return first;
}

void FillNode(NodeRecord& node, const DeviceType& type, uint8_t address) {
  node = NodeRecord{};  // every ConvNumber automatic
  node.Type = type.Code;
  node.Name = DefaultNodeName(type);
  node.Address = address;
  node.ZoneCount = type.ZoneCount;
  for (uint8_t z = 0; z < type.ZoneCount; ++z) {
    ZoneRecord& zone = node.Zones[z];
    zone.Kind = type.DefaultKind;
    zone.Group = NoGroup;
    zone.Name = DefaultZoneName(type, z, address);
    zone.Index = 0;
  }
}

void NotifyNodesChanged(ConfigModel& m) {
  if (m.Views != nullptr) m.Views->NodesChanged();
}

}  // namespace

uint8_t AddNode(ConfigModel& m, uint8_t typeCode) {
  const DeviceType* type = FindDeviceType(typeCode);
  if (m.NodeCount >= kMaxNodes || type == nullptr) return kRefused;
  uint16_t first = 0;
  if (m.NodeCount == 0) {
    m.NodeCount = 1;
    m.SelectedNode = 0;
  } else {
    if (!SelectionValid(m)) return kRefused;
    first = m.SelectedNode < m.NodeCount - 1 ? FirstZoneOf(m, m.SelectedNode + 1) : kAppendedAtEnd;
    for (int32_t n = m.NodeCount - 1; n > m.SelectedNode; --n) m.Nodes[n + 1] = m.Nodes[n];
    ++m.SelectedNode;
    ++m.NodeCount;
  }
  NodeRecord& node = m.Nodes[m.SelectedNode];
  FillNode(node, *type, LowestFreeAddress(m, m.SelectedNode));
  RenumberZones(m);
  RulesOnNodeInserted(m, first, node.ZoneCount);
  NotifyNodesChanged(m);
  return kDone;
}

uint8_t DeleteNode(ConfigModel& m) {
  if (m.NodeCount == 0 || !SelectionValid(m)) return kRefused;
  const uint16_t first = FirstZoneOf(m, m.SelectedNode);
  const uint8_t count = m.Nodes[m.SelectedNode].ZoneCount;
  if (m.SelectedNode == m.NodeCount - 1) {
    --m.NodeCount;
    m.Nodes[m.NodeCount].Address = 0;
    if (m.SelectedNode > 0) --m.SelectedNode;
  } else {
    for (int32_t n = m.SelectedNode; n + 1 < m.NodeCount; ++n) m.Nodes[n] = m.Nodes[n + 1];
    --m.NodeCount;
  }
  RenumberZones(m);
  RulesOnNodeDeleted(m, first, count);
  NotifyNodesChanged(m);
  return kDone;
}

unsigned RulesDeletedWithNode(const ConfigModel& m) {
  ConfigModel after = m;  // tried on a copy, which no view watches
  after.Views = nullptr;
  if (DeleteNode(after) != kDone) return 0;
  return static_cast<unsigned>(m.RuleCount - after.RuleCount);
}

uint8_t MoveNodeUp(ConfigModel& m) {
  if (m.SelectedNode <= 0 || !SelectionValid(m)) return kRefused;
  const auto k = static_cast<uint8_t>(m.SelectedNode);
  std::swap(m.Nodes[k - 1], m.Nodes[k]);
  m.SelectedNode = k - 1;
  RenumberZones(m);
  RulesOnNodesSwapped(m, k);
  NotifyNodesChanged(m);
  return kDone;
}

uint8_t MoveNodeDown(ConfigModel& m) {
  if (m.SelectedNode < 0 || m.SelectedNode + 1 >= m.NodeCount) return kRefused;
  const auto k = static_cast<uint8_t>(m.SelectedNode);
  std::swap(m.Nodes[k], m.Nodes[k + 1]);
  m.SelectedNode = k + 1;
  RenumberZones(m);
  RulesOnNodesSwapped(m, static_cast<uint8_t>(k + 1));
  NotifyNodesChanged(m);
  return kDone;
}

void RenumberZones(ConfigModel& m) {
  if (m.NodeCount == 0) return;
  uint16_t counter = 0;
  for (uint8_t n = 0; n < m.NodeCount && n < kMaxNodes; ++n) {
    NodeRecord& node = m.Nodes[n];
    for (uint8_t z = 0; z < node.ZoneCount && z < kMaxZonesPerNode; ++z) {
      node.Zones[z].Index = counter;
      if (node.Zones[z].ConvNumber < kExplicitNumberBase) node.Zones[z].ConvNumber = counter;
      ++counter;
    }
  }
  m.SelectedZone = 0;
}

uint8_t ResolveAddress(const ConfigModel& m, uint8_t wanted) {
  if (!SelectionValid(m)) return wanted;
  const uint8_t cur = m.Nodes[m.SelectedNode].Address;
  int v = wanted;
  for (;;) {
    bool taken = false;
    for (int32_t n = 0; n < m.NodeCount && !taken; ++n) taken = m.Nodes[n].Address == v;
    // v equal to the present address is the node's own (or shares it): it may keep it.
    if (!taken || v == cur) return static_cast<uint8_t>(v);
    if (v > cur) {
      if (++v > kHighestAddress) return cur;
    } else {
      if (--v < 1) return cur;
    }
  }
}

}  // namespace zelor
