#include <gtest/gtest.h>

#include "automation/rule_fixups.h"
#include "automation/rules.h"
#include "config/nodes.h"
#include "config/config_test_support.h"

namespace zelor {
namespace {

using testing::AddNodes;

// One rule per listed zone index, activator and executor on the same zone (fix-ups treat both sides alike).
void AddReferences(ConfigModel& m, std::initializer_list<uint16_t> zones) {
  for (uint16_t z : zones) {
    m.SelectedRule = m.RuleCount == 0 ? 0 : m.RuleCount - 1;
    AddRule(m);
    for (RuleSide* s : {&m.Activators[m.SelectedRule], &m.Executors[m.SelectedRule]}) {
      s->ZoneIndex = z;
      s->Code = 3;
      s->Text = Cp1251String::FromBytes("stale");
    }
  }
}

std::vector<int> References(const ConfigModel& m, Side side = Side::Activator) {
  std::vector<int> out;
  for (int r = 0; r < m.RuleCount; ++r) {
    out.push_back((side == Side::Activator ? m.Activators : m.Executors)[r].ZoneIndex);
  }
  return out;
}

TEST(RuleFixUps, InsertingBeforeAReferenceShiftsIt) {
  ConfigModel m;
  AddNodes(m, {4, 9, 8});  // zones 0 | 1 2 | 3..6
  AddReferences(m, {0, 1, 5});
  m.SelectedNode = 0;
  ASSERT_EQ(AddNode(m, 1), 0);  // 16 zones at 1..16
  EXPECT_EQ(References(m), (std::vector<int>{0, 17, 21}));
  EXPECT_EQ(References(m, Side::Executor), (std::vector<int>{0, 17, 21}));
  EXPECT_EQ(m.Activators[2].Text, testing::Cp("  0021: ЗЕЛОР-4 : ШС-03"));
  EXPECT_EQ(m.Activators[0].Text.Bytes(), "stale");  // untouched before the new node
  EXPECT_EQ(m.SelectedRule, 0);
}

TEST(RuleFixUps, AppendingChangesNoReference) {
  ConfigModel m;
  AddNodes(m, {4, 9});
  AddReferences(m, {0, 2});
  m.SelectedNode = 1;
  ASSERT_EQ(AddNode(m, 1), 0);
  EXPECT_EQ(References(m), (std::vector<int>{0, 2}));
  EXPECT_EQ(m.Activators[1].Text.Bytes(), "stale");
}

TEST(RuleFixUps, InsertingBeforeAZonelessNode) {
  // The node after the insertion point has no zones: references before the new node stay.
  ConfigModel m;
  AddNodes(m, {9, 12, 4});  // zones 0 1 | - | 2
  AddReferences(m, {0, 1, 2});
  m.SelectedNode = 0;
  ASSERT_EQ(AddNode(m, 3), 0);  // 2 zones at 2, 3
  EXPECT_EQ(References(m), (std::vector<int>{0, 1, 4}));
}

TEST(RuleFixUps, DeletingANodeDropsItsRulesAndLowersLaterOnes) {
  ConfigModel m;
  AddNodes(m, {4, 9, 8});  // zones 0 | 1 2 | 3..6
  AddReferences(m, {0, 3, 6, 2, 5});
  m.Executors[0].ZoneIndex = 1;  // rule 0 executes on the node to go
  m.SelectedNode = 1;
  ASSERT_EQ(DeleteNode(m), 0);
  EXPECT_EQ(References(m), (std::vector<int>{1, 4, 3}));
  EXPECT_EQ(m.Activators[1].Text, testing::Cp("  0004: ЗЕЛОР-4 : ШС-04"));
  EXPECT_EQ(m.SelectedRule, 0);
}

TEST(RuleFixUps, SwappingNodesSwapsTheirReferences) {
  ConfigModel m;
  AddNodes(m, {8, 4, 1, 4});  // zones 0..3 | 4 | 5..20 | 21
  AddReferences(m, {3, 4, 5, 20, 21, 12});
  m.SelectedNode = 1;
  ASSERT_EQ(MoveNodeDown(m), 0);  // the 1-zone node goes after the 16-zone node
  EXPECT_EQ(References(m), (std::vector<int>{3, 20, 4, 19, 21, 11}));
  EXPECT_EQ(m.Activators[1].Text, testing::Cp("  0020: ЧЭМ-1И : ШС-01 "));
  ASSERT_EQ(MoveNodeUp(m), 0);
  EXPECT_EQ(References(m), (std::vector<int>{3, 4, 5, 20, 21, 12}));
}

TEST(RuleFixUps, SwappingAZonelessNodeMatchesNothing) {
  ConfigModel m;
  AddNodes(m, {4, 12, 9});
  AddReferences(m, {0, 1, 2});
  m.SelectedNode = 1;
  ASSERT_EQ(MoveNodeUp(m), 0);
  EXPECT_EQ(References(m), (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(m.Activators[0].Text, testing::Cp("  0000: ЧЭМ-1И : ШС-01 "));  // its node moved: rebuilt
}

TEST(RuleFixUps, EndByClosingThePickersAndSelectingRuleZero) {
  ConfigModel m;
  testing::RecordingViews views;
  m.Views = &views;
  AddNodes(m, {4, 4});
  AddReferences(m, {0, 1});
  m.PickersOpen = true;
  m.SelectedRule = 1;
  views.calls.clear();
  m.SelectedNode = 0;
  ASSERT_EQ(MoveNodeDown(m), 0);
  EXPECT_FALSE(m.PickersOpen);
  EXPECT_EQ(m.SelectedRule, 0);
  EXPECT_EQ(views.calls, (std::vector<std::string>{"HideRulePickers", "RefreshAutoGrid(0)"}));

  ConfigModel none;  // a swap without rules leaves the rule views alone
  none.Views = &views;
  AddNodes(none, {4, 4});
  views.calls.clear();
  ASSERT_EQ(MoveNodeUp(none), 0);
  EXPECT_TRUE(views.calls.empty());
}

TEST(RuleFixUps, KindChangeAssignsTheZoneAnewOnBothSides) {
  struct Case {
    uint8_t newKind;
    uint8_t event;
    uint8_t eventAfter;
  };
  // A tag's events are not checked on assignment; kinds 5 and 6 offer none and keep the code too.
  for (const auto& c : std::vector<Case>{{4, 8, 8}, {3, 8, kUnsetCode}, {3, 23, 23}, {2, 23, kUnsetCode}, {6, 1, 1}}) {
    ConfigModel m;
    AddNodes(m, {1});
    AddRule(m);
    AssignZone(m, Side::Activator, 0, 7);
    m.Activators[0].Code = c.event;
    m.Nodes[0].Zones[7].Kind = c.newKind;
    EXPECT_TRUE(RulesOnZoneKindChanged(m, 0, 7));
    EXPECT_EQ(m.Activators[0].Kind, c.newKind);
    EXPECT_EQ(m.Activators[0].Code, c.eventAfter) << int(c.newKind) << " " << int(c.event);
  }
  ConfigModel m;
  AddNodes(m, {1});
  AddRule(m);
  AssignZone(m, Side::Activator, 0, 1);
  const std::string before = testing::Dump(m);
  EXPECT_FALSE(RulesOnZoneKindChanged(m, 0, 2));   // no rule names zone 2
  EXPECT_FALSE(RulesOnZoneKindChanged(m, 0, 16));  // no such zone
  EXPECT_FALSE(RulesOnZoneKindChanged(m, 1, 0));   // no such node
  EXPECT_EQ(testing::Dump(m), before);
}

}  // namespace
}  // namespace zelor
