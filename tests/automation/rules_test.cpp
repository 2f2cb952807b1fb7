#include <gtest/gtest.h>

#include "automation/rule_vocabulary.h"
#include "automation/rules.h"
#include "config/config_test_support.h"
#include "model/cp1251.h"

namespace zelor {
namespace {

using testing::AddNodes;
using testing::Dump;

// Rules numbered by their activator's event code, to follow them through the operations.
ConfigModel WithRules(int count, int selected) {
  ConfigModel m;
  for (int i = 0; i < count; ++i) {
    AddRule(m);
    m.Activators[m.SelectedRule].Code = static_cast<uint8_t>(i);
  }
  m.SelectedRule = selected;
  return m;
}

std::vector<int> Order(const ConfigModel& m) {
  std::vector<int> out;
  for (int r = 0; r < m.RuleCount; ++r) out.push_back(m.Activators[r].Code);
  return out;
}

TEST(Rules, AddInsertsABlankRuleAfterTheSelected) {
  ConfigModel m;
  ASSERT_EQ(AddRule(m), 0);
  EXPECT_EQ(m.RuleCount, 1);
  EXPECT_EQ(m.SelectedRule, 0);
  EXPECT_EQ(m.Activators[0].ZoneIndex, kUnsetZone);
  EXPECT_EQ(m.Activators[0].Text.Bytes(), "  -?");
  EXPECT_EQ(m.Executors[0].NodeAddress, 0xFF);
  EXPECT_EQ(m.Executors[0].Code, kUnsetCode);

  m = WithRules(5, 2);
  ASSERT_EQ(AddRule(m), 0);
  EXPECT_EQ(m.SelectedRule, 3);
  EXPECT_EQ(Order(m), (std::vector<int>{0, 1, 2, kUnsetCode, 3, 4}));
}

TEST(Rules, ListOperations) {
  struct Case {
    const char* what;
    int count;
    int selected;
    uint8_t (*op)(ConfigModel&);
    uint8_t result;
    std::vector<int> order;
    int selectedAfter;
  };
  const Case cases[] = {
      {"delete the last", 5, 4, DeleteRule, 0, {0, 1, 2, 3}, 3},
      {"delete a middle one", 5, 2, DeleteRule, 0, {0, 1, 3, 4}, 2},
      {"delete the only one", 1, 0, DeleteRule, 0, {}, 0},
      {"delete from empty", 0, 0, DeleteRule, 255, {}, 0},
      {"up", 3, 2, MoveRuleUp, 0, {0, 2, 1}, 1},
      {"up at the top", 3, 0, MoveRuleUp, 255, {0, 1, 2}, 0},
      {"down", 3, 0, MoveRuleDown, 0, {1, 0, 2}, 1},
      {"down at the bottom", 3, 2, MoveRuleDown, 255, {0, 1, 2}, 2},
      {"down on empty", 0, 0, MoveRuleDown, 255, {}, 0},
      {"33rd", 32, 31, AddRule, 255, {}, 31},
  };
  for (const Case& c : cases) {
    ConfigModel m = WithRules(c.count, c.selected);
    const std::string before = Dump(m);
    EXPECT_EQ(c.op(m), c.result) << c.what;
    if (c.result == 255) {
      EXPECT_EQ(Dump(m), before) << c.what;
    } else {
      EXPECT_EQ(Order(m), c.order) << c.what;
    }
    EXPECT_EQ(m.SelectedRule, c.selectedAfter) << c.what;
  }
}

TEST(Rules, EveryEditIsRefusedWhileThePickersAreOpen) {
  for (uint8_t (*op)(ConfigModel&) : {AddRule, DeleteRule, MoveRuleUp, MoveRuleDown}) {
    ConfigModel m = WithRules(3, 1);
    m.PickersOpen = true;
    const std::string before = Dump(m);
    EXPECT_EQ(op(m), 255);
    EXPECT_EQ(Dump(m), before);
  }
}

class AssignZoneTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // 0: ЗЕЛОР-16 (zones 0..15, kind 2; zone 1 made kind 1), 1: ППУ (16), 2: ППУ-ПК (17),
    // 3: tag (18), 4: ДРОЛА (19), 5: indication module (none)
    AddNodes(m, {1, 5, 7, 13, 14, 12});
    m.Nodes[0].Zones[1].Kind = kKindSecurity;
    AddRule(m);
  }
  ConfigModel m;
  RuleSide& act() { return m.Activators[0]; }
  RuleSide& ex() { return m.Executors[0]; }
};

TEST_F(AssignZoneTest, ActivatorTakesTheZoneAndChecksItsEvent) {
  AssignZone(m, Side::Activator, 0, 1);
  EXPECT_EQ(act().ZoneIndex, 1);
  EXPECT_EQ(act().Kind, kKindSecurity);
  EXPECT_EQ(Utf8FromCp1251(act().Text), "  0001: ЗЕЛОР-16: ШС-02");
  act().Code = 8;  // ВЗЯТ
  AssignZone(m, Side::Activator, 3, 0);  // a tag zone keeps any event
  EXPECT_EQ(act().Code, 8);
  EXPECT_EQ(act().Kind, kKindTag);
  AssignZone(m, Side::Activator, 0, 1);  // kind 1 offers 8
  EXPECT_EQ(act().Code, 8);
  AssignZone(m, Side::Activator, 0, 0);  // kind 2 does not
  EXPECT_EQ(act().Code, kUnsetCode);
  EXPECT_EQ(act().ZoneIndex, 0);
}

TEST_F(AssignZoneTest, ActivatorOnAZonelessNodeBecomesUnset) {
  AssignZone(m, Side::Activator, 1, 0);
  act().Code = 0;
  AssignZone(m, Side::Activator, 5, 0);
  EXPECT_EQ(act().ZoneIndex, kUnsetZone);
  EXPECT_EQ(act().Kind, kUnsetKind);
  EXPECT_EQ(act().Text.Bytes(), "  -?");
  EXPECT_EQ(act().Code, kUnsetCode);
}

TEST_F(AssignZoneTest, ExecutorKeepsOrLosesItsAction) {
  AssignZone(m, Side::Executor, 1, 0);
  EXPECT_EQ(ex().ZoneIndex, 16);
  EXPECT_EQ(ex().NodeType, 5);
  EXPECT_EQ(ex().NodeAddress, 2);
  ex().Code = 5;
  AssignZone(m, Side::Executor, 2, 0);  // another control zone: keeps action 5
  EXPECT_EQ(ex().Code, 5);
  EXPECT_EQ(ex().NodeType, 7);
  EXPECT_EQ(ex().NodeAddress, 3);
  AssignZone(m, Side::Executor, 4, 0);  // light: no action 5
  EXPECT_EQ(ex().Code, kUnsetCode);
  EXPECT_EQ(ex().Kind, kKindLight);
  ex().Code = 12;
  AssignZone(m, Side::Executor, 0, 3);  // a fire zone cannot execute
  EXPECT_EQ(ex().ZoneIndex, kUnsetZone);
  EXPECT_EQ(ex().Code, kUnsetCode);
  EXPECT_EQ(ex().Text.Bytes(), "  -?");
  EXPECT_EQ(ex().NodeType, 14);  // node type and address stay
  EXPECT_EQ(ex().NodeAddress, 5);
}

TEST_F(AssignZoneTest, PositionsOutsideTheModelChangeNothing) {
  const std::string before = Dump(m);
  AssignZone(m, Side::Activator, 6, 0);
  AssignZone(m, Side::Executor, 200, 0);
  AssignZone(m, Side::Activator, 1, 1);  // ППУ has one zone
  AssignZone(m, Side::Executor, 0, 16);
  EXPECT_EQ(Dump(m), before);
}

TEST(Rules, FindZoneAndSideText) {
  ConfigModel m;
  AddNodes(m, {4, 12, 3});
  ZonePosition at{9, 9};
  EXPECT_EQ(FindZone(m, 2, at), 0);
  EXPECT_EQ(at.Node, 2);
  EXPECT_EQ(at.Zone, 1);
  EXPECT_EQ(FindZone(m, 3, at), 255);
  EXPECT_EQ(at.Node, 0);
  EXPECT_EQ(at.Zone, 0);

  AddRule(m);
  m.Activators[0].ZoneIndex = 2;
  m.Nodes[2].Zones[1].Name = Cp1251String::FromBytes("X              ");
  RefreshSideText(m, Side::Activator, 0);
  EXPECT_EQ(m.Activators[0].Text.Bytes(), "  0002: X              ");
  m.Activators[0].ZoneIndex = 7;
  RefreshSideText(m, Side::Activator, 0);
  EXPECT_EQ(m.Activators[0].Text.Bytes(), "  0002: X              ");  // no such zone: left alone
}

TEST(Rules, PurgesRestartAndKeepOrder) {
  ConfigModel m = WithRules(6, 5);
  for (int r : {0, 2, 3, 5}) m.Activators[r].ZoneIndex = static_cast<uint16_t>(r);
  for (int r = 0; r < 6; ++r) m.Executors[r].ZoneIndex = 40;
  m.Executors[3].ZoneIndex = kUnsetZone;
  PurgeUnsetZones(m);
  EXPECT_EQ(Order(m), (std::vector<int>{0, 2, 5}));
  EXPECT_EQ(m.SelectedRule, 5);  // the caller refreshes
  for (int r = 0; r < 3; ++r) m.Executors[r].Code = 7;
  m.Executors[1].Code = kUnsetCode;
  PurgeUnsetCodes(m);
  EXPECT_EQ(Order(m), (std::vector<int>{0, 5}));
  RefreshAutoGrid(m, 0);
  EXPECT_EQ(m.SelectedRule, 0);
}

TEST(RuleVocabulary, TextsAndOfferedLists) {
  for (int code = 0; code < 256; ++code) {
    EXPECT_EQ(Cp1251FromUtf8(RuleEventText(static_cast<uint8_t>(code))).size(), 19U) << code;
    EXPECT_EQ(RuleActionText(static_cast<uint8_t>(code)).rfind("  ", 0), 0U) << code;
  }
  const std::pair<int, const char*> events[] = {{0, "  ПОЖАР            "}, {13, "  -?               "},
                                                {14, "  --?              "}, {30, "  -?               "},
                                                {32, "  ВХ.ВНЕШ.: НЕИСПР."}, {38, "  ИП2 НОРМА        "},
                                                {39, "  -?               "}, {255, "  -?               "}};
  for (const auto& [code, text] : events) EXPECT_EQ(RuleEventText(static_cast<uint8_t>(code)), text);
  const std::pair<int, const char*> actions[] = {{0, "  ВЗЯТЬ"}, {11, "  ВКЛ. СВЕТ-0,5Гц/ЗВУК"},
                                                 {18, "  РЕЛЕ ЗАМКНУТЬ"}, {19, "  -?"}, {255, "  -?"}};
  for (const auto& [code, text] : actions) EXPECT_EQ(RuleActionText(static_cast<uint8_t>(code)), text);

  using V = std::vector<uint8_t>;
  auto list = [](std::span<const uint8_t> s) { return V(s.begin(), s.end()); };
  EXPECT_EQ(list(EventsOffered(1)), (V{1, 8, 7, 9, 10, 11}));
  EXPECT_EQ(list(EventsOffered(3)), (V{0, 4, 3, 22, 23, 24, 28, 29}));
  EXPECT_EQ(list(EventsOffered(4)), (V{1, 0, 4, 2, 3}));
  EXPECT_TRUE(EventsOffered(5).empty());
  EXPECT_TRUE(EventsOffered(kUnsetKind).empty());
  EXPECT_EQ(list(ActionsOffered(3)), (V{3, 4, 2, 5, 6}));
  EXPECT_EQ(list(ActionsOffered(6)), (V{7, 8, 9, 10, 11, 12, 13, 14, 15, 16}));
  EXPECT_TRUE(ActionsOffered(2).empty());
}

}  // namespace
}  // namespace zelor
