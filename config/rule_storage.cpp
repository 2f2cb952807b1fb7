#include "config/rule_storage.h"

#include <algorithm>

#include "automation/executor_commands.h"
#include "automation/rules.h"
#include "config/config_texts.h"

namespace zelor {
namespace {

using namespace image;

uint16_t ZoneTotal(const ConfigModel& m) {
  uint16_t total = 0;
  for (uint8_t n = 0; n < m.NodeCount && n < kMaxNodes; ++n) total = static_cast<uint16_t>(total + m.Nodes[n].ZoneCount);
  return total;
}

// A side pointing at zone `index` of the parsed model, or not set when there is no such zone.
void PointAtZone(const ConfigModel& m, RuleSide& side, uint16_t index) {
  ZonePosition at;
  if (index == kUnsetZone || FindZone(m, index, at) != kDone) {
    side.ZoneIndex = kUnsetZone;
    side.Kind = kUnsetKind;
    side.Text = kUnsetSideText;
    return;
  }
  const ZoneRecord& zone = m.Nodes[at.Node].Zones[at.Zone];
  side.ZoneIndex = index;
  side.Kind = zone.Kind;
  side.Text = ZoneDisplayText(index, zone.Name);
}

void DecodeExecutor(ConfigModel& m, const ConfigImage& img, uint8_t r, std::vector<std::string>& problems) {
  RuleSide& ex = m.Executors[r];
  ex = RuleSide{};
  const uint8_t first = img[kRuleFirstSlot + r];
  const uint8_t count = img[kRuleSlotCount + r];
  const bool noCommand = first == kFill && count == kFill;
  if (noCommand || count < 1 || count > 2 || first + count > static_cast<int>(kCommandSlotCount)) {
    if (!noCommand) problems.push_back(RuleSlotsOutsideText(r, first, count));
    return;
  }
  std::array<RegisterWrite, 2> writes{};
  for (uint8_t c = 0; c < count; ++c) {
    const std::size_t at = kCommandSlots + (first + c) * kCommandSlotBytes;
    writes[c] = ReadExecutorCommand(std::span<const uint8_t, kExecutorCommandBytes>(img.data() + at, kExecutorCommandBytes));
  }
  ex.NodeAddress = img[kCommandSlots + first * kCommandSlotBytes];

  bool nodeFound = false;
  for (uint8_t n = 0; n < m.NodeCount && !nodeFound; ++n) {
    if (img[kNodeTable + 2 * n] != ex.NodeAddress) continue;
    ex.NodeType = img[kNodeTable + 2 * n + 1];
    nodeFound = true;
  }
  if (!nodeFound) {
    problems.push_back(RuleAddressMissingText(r, ex.NodeAddress));
    return;
  }
  // The executor is known by its node: the first zone of the zone table at that address.
  const uint16_t total = ZoneTotal(m);
  for (uint16_t l = 0; l < total; ++l) {
    if (img[kZoneTable + 3 * l + 2] == ex.NodeAddress) {
      PointAtZone(m, ex, l);
      break;
    }
  }
  ex.Code = DecodeExecutorAction(ex.NodeType, std::span<const RegisterWrite>(writes.data(), count));
}

// The node an executor's commands go to, as the node is now: the address and type copied when
// the zone was assigned go stale when the node's address is edited afterwards. The copies stand
// only for a zone that no node holds.
struct CommandTarget {
  uint8_t Address;
  uint8_t Type;
};
CommandTarget TargetOf(const ConfigModel& m, const RuleSide& ex) {
  ZonePosition at;
  if (FindZone(m, ex.ZoneIndex, at) != kDone) return {ex.NodeAddress, ex.NodeType};
  return {m.Nodes[at.Node].Address, m.Nodes[at.Node].Type};
}

}  // namespace

unsigned CommandSlotsNeeded(const ConfigModel& m) {
  unsigned slots = 0;
  for (uint8_t r = 0; r < m.RuleCount && r < kMaxRules; ++r) {
    if (RuleComplete(m, r)) slots += ExecutorCommandTable(TargetOf(m, m.Executors[r]).Type, m.Executors[r].Code).Count;
  }
  return slots;
}

bool EncodeRules(const ConfigModel& m, ConfigImage& img) {
  if (CommandSlotsNeeded(m) > kCommandSlotCount) return false;
  uint8_t stored = 0;  // the place of the rule in the image
  uint8_t slot = 0;
  for (uint8_t r = 0; r < m.RuleCount && r < kMaxRules; ++r) {
    if (!RuleComplete(m, r)) continue;
    const uint8_t i = stored++;
    const RuleSide& ex = m.Executors[r];
    WriteBigEndian(img, kRuleActivators + 2 * i, m.Activators[r].ZoneIndex);
    img[kRuleEvents + i] = m.Activators[r].Code;
    const CommandTarget target = TargetOf(m, ex);
    const CommandList commands = ExecutorCommandTable(target.Type, ex.Code);
    if (commands.Count == 0) continue;  // slot fields keep the fill
    img[kRuleFirstSlot + i] = slot;
    img[kRuleSlotCount + i] = commands.Count;
    for (uint8_t c = 0; c < commands.Count; ++c, ++slot) {
      const ExecutorCommand frame = BuildExecutorCommand(target.Address, commands.Writes[c]);
      std::copy(frame.begin(), frame.end(), img.begin() + static_cast<std::ptrdiff_t>(kCommandSlots + slot * kCommandSlotBytes));
    }
  }
  img[kRuleCount] = stored;
  return true;
}

void DecodeRules(ConfigModel& m, const ConfigImage& img, std::vector<std::string>& problems) {
  uint8_t count = img[kRuleCount];
  if (count > kMaxRules) {
    problems.push_back(RuleCountTooLargeText(count));
    count = kMaxRules;
  }
  m.RuleCount = count;
  for (uint8_t r = 0; r < count; ++r) {
    RuleSide& act = m.Activators[r];
    act = RuleSide{};
    const uint16_t index = ReadBigEndian(img, kRuleActivators + 2 * r);
    PointAtZone(m, act, index);
    if (act.ZoneIndex == kUnsetZone && index != kUnsetZone) problems.push_back(RuleZoneMissingText(r, index));
    act.Code = img[kRuleEvents + r];
    DecodeExecutor(m, img, r, problems);
  }
}

}  // namespace zelor
