#include <gtest/gtest.h>

#include "config/nodes.h"
#include "config_test_support.h"

namespace zelor {
namespace {

using testing::AddNodes;
using testing::Dump;

std::vector<int> Indexes(const ConfigModel& m) {
  std::vector<int> out;
  for (int n = 0; n < m.NodeCount; ++n)
    for (int z = 0; z < m.Nodes[n].ZoneCount; ++z) out.push_back(m.Nodes[n].Zones[z].Index);
  return out;
}

std::vector<int> Addresses(const ConfigModel& m) {
  std::vector<int> out;
  for (int n = 0; n < m.NodeCount; ++n) out.push_back(m.Nodes[n].Address);
  return out;
}

std::vector<int> Types(const ConfigModel& m) {
  std::vector<int> out;
  for (int n = 0; n < m.NodeCount; ++n) out.push_back(m.Nodes[n].Type);
  return out;
}

void ExpectIndexesRunWithoutGaps(const ConfigModel& m) {
  const std::vector<int> idx = Indexes(m);
  for (std::size_t i = 0; i < idx.size(); ++i) ASSERT_EQ(idx[i], static_cast<int>(i));
}

TEST(Nodes, FirstNodeOnAnEmptyList) {
  ConfigModel m;
  ASSERT_EQ(AddNode(m, 1), 0);
  ASSERT_EQ(m.NodeCount, 1);
  EXPECT_EQ(m.SelectedNode, 0);
  const NodeRecord& node = m.Nodes[0];
  EXPECT_EQ(node.Address, 1);
  EXPECT_EQ(node.ZoneCount, 16);
  EXPECT_EQ(node.Name, testing::Cp("ЗЕЛОР-16И      "));
  for (int z = 0; z < 16; ++z) {
    EXPECT_EQ(node.Zones[z].Index, z);
    EXPECT_EQ(node.Zones[z].ConvNumber, z);
    EXPECT_EQ(node.Zones[z].Kind, 2);
    EXPECT_EQ(node.Zones[z].Group, NoGroup);
  }
}

TEST(Nodes, InsertsAfterTheSelectedNodeAndShiftsLaterIndexes) {
  ConfigModel m;
  AddNodes(m, {4, 1});  // 1 zone (index 0), 16 zones (1..16)
  m.SelectedNode = 0;
  ASSERT_EQ(AddNode(m, 3), 0);
  EXPECT_EQ(Types(m), (std::vector<int>{4, 3, 1}));
  EXPECT_EQ(m.SelectedNode, 1);
  EXPECT_EQ(m.Nodes[1].Zones[0].Index, 1);
  EXPECT_EQ(m.Nodes[2].Zones[0].Index, 3);
  EXPECT_EQ(m.Nodes[2].Zones[15].ConvNumber, 18);
  ExpectIndexesRunWithoutGaps(m);
}

TEST(Nodes, NewAddressIsTheLowestFree) {
  ConfigModel m;
  AddNodes(m, {4, 4, 4, 4});
  EXPECT_EQ(Addresses(m), (std::vector<int>{1, 2, 3, 4}));
  m.SelectedNode = 2;
  ASSERT_EQ(DeleteNode(m), 0);
  EXPECT_EQ(Addresses(m), (std::vector<int>{1, 2, 4}));
  m.SelectedNode = 2;
  ASSERT_EQ(AddNode(m, 4), 0);
  EXPECT_EQ(Addresses(m), (std::vector<int>{1, 2, 4, 3}));
}

TEST(Nodes, RefusalsChangeNothing) {
  ConfigModel full;
  for (int i = 0; i < 32; ++i) ASSERT_EQ(AddNode(full, static_cast<uint8_t>(i % 2 ? 1 : 13)), 0);
  EXPECT_EQ(full.NodeCount, 32);

  ConfigModel empty;
  ConfigModel one;
  AddNodes(one, {5});
  ConfigModel two;
  AddNodes(two, {5, 7});

  struct Case {
    const char* what;
    ConfigModel& model;
    int selected;
    uint8_t (*op)(ConfigModel&);
  };
  const Case cases[] = {
      {"33rd node", full, 5, [](ConfigModel& m) { return AddNode(m, 1); }},
      {"type without entry", one, 0, [](ConfigModel& m) { return AddNode(m, 10); }},
      {"delete from empty", empty, 0, DeleteNode},
      {"up from empty", empty, 0, MoveNodeUp},
      {"down from empty", empty, 0, MoveNodeDown},
      {"up at the top", two, 0, MoveNodeUp},
      {"down at the bottom", two, 1, MoveNodeDown},
      {"down with a single node", one, 0, MoveNodeDown},
  };
  for (const Case& c : cases) {
    c.model.SelectedNode = c.selected;
    const std::string before = Dump(c.model);
    EXPECT_EQ(c.op(c.model), 255) << c.what;
    EXPECT_EQ(Dump(c.model), before) << c.what;
  }
}

TEST(Nodes, IndicationModuleHasNoZones) {
  ConfigModel m;
  AddNodes(m, {4, 8});
  m.SelectedNode = 0;
  const std::vector<int> before = Indexes(m);
  ASSERT_EQ(AddNode(m, 12), 0);
  EXPECT_EQ(m.Nodes[1].ZoneCount, 0);
  EXPECT_EQ(Indexes(m), before);
}

TEST(Nodes, DeleteSelection) {
  struct Case {
    int selected;
    std::vector<int> typesAfter;
    int selectedAfter;
  };
  const Case cases[] = {
      {2, {4, 3}, 1},     // the last: the one before is selected
      {0, {3, 9}, 0},     // others: the selection now names the follower
      {1, {4, 9}, 1},
  };
  for (const Case& c : cases) {
    ConfigModel m;
    AddNodes(m, {4, 3, 9});
    m.SelectedNode = c.selected;
    ASSERT_EQ(DeleteNode(m), 0);
    EXPECT_EQ(Types(m), c.typesAfter) << c.selected;
    EXPECT_EQ(m.SelectedNode, c.selectedAfter) << c.selected;
    ExpectIndexesRunWithoutGaps(m);
  }
  ConfigModel m;
  AddNodes(m, {4});
  ASSERT_EQ(DeleteNode(m), 0);
  EXPECT_EQ(m.NodeCount, 0);
  EXPECT_EQ(m.SelectedNode, 0);
  EXPECT_EQ(m.Nodes[0].Address, 0);
}

// What the delete question counts is what DeleteNode then removes, and nothing changes meanwhile.
TEST(Nodes, RulesDeletedWithNodeCountsWhatTheDeletionRemoves) {
  ConfigModel m;
  AddNodes(m, {1, 5, 14});  // zones 0..15 | 16 (УПР.) | 17 (СВ.ОП.)
  auto rule = [&m](uint8_t activatorNode, uint8_t executorNode) {
    m.SelectedRule = m.RuleCount == 0 ? 0 : m.RuleCount - 1;
    AddRule(m);
    AssignZone(m, Side::Activator, activatorNode, 0);
    AssignZone(m, Side::Executor, executorNode, 0);
  };
  rule(0, 1);
  rule(0, 2);
  rule(0, 2);
  struct Case {
    int32_t node;
    unsigned removed;
  };
  for (const Case& c : {Case{0, 3}, Case{1, 1}, Case{2, 2}}) {
    ConfigModel copy = m;
    copy.SelectedNode = c.node;
    const std::string before = Dump(copy);
    EXPECT_EQ(RulesDeletedWithNode(copy), c.removed) << c.node;
    EXPECT_EQ(Dump(copy), before);
    ASSERT_EQ(DeleteNode(copy), kDone);
    EXPECT_EQ(copy.RuleCount, 3 - c.removed) << c.node;
  }
  // A blank rule goes with any deleted node (its unset zone), so it is counted too.
  m.SelectedRule = 2;
  AddRule(m);
  m.SelectedNode = 1;
  EXPECT_EQ(RulesDeletedWithNode(m), 2U);
  ConfigModel none;
  EXPECT_EQ(RulesDeletedWithNode(none), 0U);
}

TEST(Nodes, MovesCarryEverythingAndExplicitNumbersStay) {
  ConfigModel m;
  AddNodes(m, {4, 9});  // zone 0; zones 1, 2
  m.Nodes[1].Zones[0].ConvNumber = 1005;
  m.Nodes[1].Zones[1].Group = 3;
  m.Nodes[1].Name = Cp1251String::FromBytes("second         ");
  m.SelectedNode = 1;
  ASSERT_EQ(MoveNodeUp(m), 0);
  EXPECT_EQ(m.SelectedNode, 0);
  EXPECT_EQ(Types(m), (std::vector<int>{9, 4}));
  EXPECT_EQ(m.Nodes[0].Name.Bytes(), "second         ");
  EXPECT_EQ(m.Nodes[0].Address, 2);
  EXPECT_EQ(m.Nodes[0].Zones[0].ConvNumber, 1005);  // shows 5 wherever it goes
  EXPECT_EQ(m.Nodes[0].Zones[1].ConvNumber, 1);     // automatic: the new index
  EXPECT_EQ(m.Nodes[0].Zones[1].Group, 3);
  EXPECT_EQ(m.Nodes[1].Zones[0].ConvNumber, 2);
  ExpectIndexesRunWithoutGaps(m);
  ASSERT_EQ(MoveNodeDown(m), 0);
  EXPECT_EQ(m.SelectedNode, 1);
  EXPECT_EQ(Types(m), (std::vector<int>{4, 9}));
  EXPECT_EQ(m.Nodes[1].Zones[1].ConvNumber, 2);
}

TEST(Nodes, AfterDeletingAllTheNewNodeIsAutomatic) {
  ConfigModel m;
  AddNodes(m, {1});
  for (int z = 0; z < 16; ++z) m.Nodes[0].Zones[z].ConvNumber = static_cast<uint16_t>(1100 + z);
  ASSERT_EQ(DeleteNode(m), 0);
  ASSERT_EQ(AddNode(m, 1), 0);
  for (int z = 0; z < 16; ++z) EXPECT_EQ(m.Nodes[0].Zones[z].ConvNumber, z);
}

TEST(Nodes, ResolveAddress) {
  struct Case {
    const char* what;
    std::vector<int> addresses;  // node 0 is the selected one
    int wanted;
    int result;
  };
  const Case cases[] = {
      {"free address", {3, 10}, 7, 7},
      {"up over 4 and 5", {3, 4, 5}, 4, 6},
      {"up onto a taken 247", {246, 247}, 247, 246},
      {"down onto a taken 1", {2, 1}, 1, 2},
      {"down over 5 and 4", {6, 5, 4}, 5, 3},
      {"own address", {3, 4}, 3, 3},
      {"own address shared with another", {3, 3}, 3, 3},
      {"up skips to the end", {240, 241, 242, 243, 244, 245, 246, 247}, 241, 240},
  };
  for (const Case& c : cases) {
    ConfigModel m;
    for (std::size_t i = 0; i < c.addresses.size(); ++i) {
      AddNodes(m, {4});
      m.Nodes[i].Address = static_cast<uint8_t>(c.addresses[i]);
    }
    m.SelectedNode = 0;
    EXPECT_EQ(ResolveAddress(m, static_cast<uint8_t>(c.wanted)), c.result) << c.what;
  }
}

TEST(Nodes, TagZoneKeepsTheAddressItWasAddedWith) {
  ConfigModel m;
  AddNodes(m, {4, 4, 13});
  EXPECT_EQ(m.Nodes[2].Zones[0].Name, testing::Cp("МЕТКА-003:     "));
  m.Nodes[2].Address = 9;
  RenumberZones(m);
  EXPECT_EQ(m.Nodes[2].Zones[0].Name, testing::Cp("МЕТКА-003:     "));
}

}  // namespace
}  // namespace zelor
