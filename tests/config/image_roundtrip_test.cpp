// Property: BuildImage -> ParseImage -> BuildImage gives the same bytes and the same model.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>

#include "automation/rule_vocabulary.h"
#include "automation/rules.h"
#include "config/config_image.h"
#include "config/rule_storage.h"
#include "config_test_support.h"

namespace zelor {
namespace {

using testing::Fold;

Cp1251String RandomName(std::mt19937& rng, std::size_t width) {
  std::uniform_int_distribution<int> byte(0, 255);
  std::string name(width, ' ');
  for (char& c : name) c = static_cast<char>(byte(rng));
  return Cp1251String::FromBytes(name);
}

ConfigModel RandomModel(std::mt19937& rng) {
  ConfigModel m;
  const std::vector<uint8_t> types = {1, 2, 3, 4, 5, 6, 7, 8, 9, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23};
  auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
  const int nodes = pick(33);
  for (int i = 0; i < nodes; ++i) {
    m.SelectedNode = m.NodeCount == 0 ? 0 : pick(m.NodeCount);
    AddNode(m, types[static_cast<std::size_t>(pick(static_cast<int>(types.size())))]);
    if (pick(4) == 0) m.Nodes[m.SelectedNode].Address = ResolveAddress(m, static_cast<uint8_t>(1 + pick(247)));
  }
  for (int i = 0; i < nodes / 4; ++i) {
    m.SelectedNode = pick(std::max(1, int(m.NodeCount)));
    (pick(2) ? MoveNodeUp : MoveNodeDown)(m);
  }
  // Explicit numbers from a pool above every index, so none collides.
  std::vector<uint16_t> pool(488);
  std::iota(pool.begin(), pool.end(), 512);
  std::shuffle(pool.begin(), pool.end(), rng);
  for (int n = 0; n < m.NodeCount; ++n) {
    NodeRecord& node = m.Nodes[n];
    if (pick(3) == 0) node.Name = RandomName(rng, 15);
    const DeviceType* type = FindDeviceType(node.Type);
    for (int z = 0; z < node.ZoneCount; ++z) {
      ZoneRecord& zone = node.Zones[z];
      if (!type->KindFixed && pick(2) == 0) zone.Kind = kKindSecurity;
      if (zone.Kind == kKindSecurity && pick(2) == 0) zone.Group = static_cast<uint8_t>(pick(10));
      if (pick(5) == 0) zone.Name = RandomName(rng, 15);
      if (pick(4) == 0 && !pool.empty()) {
        zone.ConvNumber = static_cast<uint16_t>(1000 + pool.back());
        pool.pop_back();
      }
    }
  }
  for (auto& g : m.GroupNames) {
    if (pick(3) == 0) g = RandomName(rng, 16);
  }
  const int rules = pick(40);
  for (int i = 0; i < rules && m.NodeCount > 0; ++i) {
    if (AddRule(m) != 0) break;
    const auto node = [&] { return static_cast<uint8_t>(pick(m.NodeCount)); };
    uint8_t n = node();
    AssignZone(m, Side::Activator, n, static_cast<uint8_t>(pick(std::max(1, int(m.Nodes[n].ZoneCount)))));
    n = node();
    AssignZone(m, Side::Executor, n, 0);
    RuleSide& act = m.Activators[m.SelectedRule];
    RuleSide& ex = m.Executors[m.SelectedRule];
    const auto events = EventsOffered(act.Kind);
    if (!events.empty() && pick(8) != 0) act.Code = events[static_cast<std::size_t>(pick(int(events.size())))];
    const auto actions = ActionsOffered(ex.Kind);
    if (!actions.empty() && pick(8) != 0) ex.Code = actions[static_cast<std::size_t>(pick(int(actions.size())))];
    if (pick(10) == 0) m.SelectedRule = pick(m.RuleCount);
  }
  // Keep within the 32 command slots: drop rules from the end.
  while (CommandSlotsNeeded(m) > 32) {
    m.SelectedRule = m.RuleCount - 1;
    DeleteRule(m);
  }
  return m;
}

void ExpectSameModel(const ConfigModel& built, const ConfigModel& parsed) {
  ASSERT_EQ(parsed.NodeCount, built.NodeCount);
  for (int n = 0; n < built.NodeCount; ++n) {
    const NodeRecord& a = built.Nodes[n];
    const NodeRecord& b = parsed.Nodes[n];
    EXPECT_EQ(b.Type, a.Type);
    EXPECT_EQ(b.Address, a.Address);
    EXPECT_EQ(b.Name, Fold(a.Name));
    ASSERT_EQ(b.ZoneCount, a.ZoneCount);
    for (int z = 0; z < a.ZoneCount; ++z) {
      const ZoneRecord& za = a.Zones[z];
      const ZoneRecord& zb = b.Zones[z];
      EXPECT_EQ(zb.Index, za.Index);
      EXPECT_EQ(zb.Kind, za.Kind);
      EXPECT_EQ(zb.Group, za.Group);
      EXPECT_EQ(zb.Name, Fold(za.Name));
      const uint16_t number = za.ConvNumber >= 1000 ? za.ConvNumber - 1000 : za.ConvNumber;
      EXPECT_EQ(zb.ConvNumber, 1000 + number);
    }
  }
  if (built.NodeCount > 0) {
    for (int g = 0; g < kGroupCount; ++g) EXPECT_EQ(parsed.GroupNames[g], Fold(built.GroupNames[g]));
  }
  ASSERT_EQ(parsed.RuleCount, built.NodeCount > 0 ? built.RuleCount : 0);
  for (int r = 0; r < parsed.RuleCount; ++r) {
    for (Side side : {Side::Activator, Side::Executor}) {
      const RuleSide& a = side == Side::Activator ? built.Activators[r] : built.Executors[r];
      const RuleSide& b = side == Side::Activator ? parsed.Activators[r] : parsed.Executors[r];
      EXPECT_EQ(b.ZoneIndex, a.ZoneIndex);
      EXPECT_EQ(b.Kind, a.Kind);
      EXPECT_EQ(b.Code, a.Code);
      EXPECT_EQ(b.Text, Fold(a.Text));
      if (side == Side::Executor) {
        EXPECT_EQ(b.NodeAddress, a.NodeAddress);
        EXPECT_EQ(b.NodeType, a.NodeType);
      }
    }
  }
}

TEST(ImageRoundTrip, ManyGeneratedModels) {
  std::mt19937 rng(20180104);
  int withRules = 0;
  int full = 0;
  for (int i = 0; i < 300; ++i) {
    ConfigModel model = RandomModel(rng);
    ConfigImage first{};
    ASSERT_EQ(testing::BuildFromEditor(model, first), kBuildOk) << "model " << i;
    withRules += model.RuleCount > 0;
    full += model.NodeCount == 32;

    ConfigModel parsed;
    ASSERT_TRUE(ParseImage(parsed, first).empty()) << "model " << i;
    ConfigImage second{};
    ASSERT_EQ(BuildImage(parsed, second), kBuildOk) << "model " << i;
    ASSERT_TRUE(first == second) << "model " << i;
    ExpectSameModel(model, parsed);
    if (::testing::Test::HasFailure()) FAIL() << "model " << i << "\n" << testing::Dump(model);
  }
  // The generator reaches the interesting corners.
  EXPECT_GT(withRules, 100);
  EXPECT_GT(full, 3);
}

}  // namespace
}  // namespace zelor
