// The automation editor's rules that need no widget: row texts, scrolling, the double-click,
// the choice list, EventBox's place, fills and alignment.
#include "automation/rule_editor.h"

#include <gtest/gtest.h>

#include "automation/rules.h"
#include "config/config_test_support.h"

namespace zelor {
namespace {

using testing::AddNodes;
using testing::Dump;

TEST(RuleEditor, BlankRuleRowTexts) {
  ConfigModel m;
  ASSERT_EQ(AddRule(m), kDone);
  const AutoGridRow row = AutoGridRowTexts(m, 0);
  const AutoGridRow expected = {"00", "  -?", "  -?", "  -?               ", "-->", "  -?", "  -?", "  -?"};
  EXPECT_EQ(row, expected);
}

TEST(RuleEditor, AssignedRuleRowTexts) {
  ConfigModel m;
  AddNodes(m, {1, 5});  // a 16-zone fire device, then an extinguishing unit
  ASSERT_EQ(AddRule(m), kDone);
  ASSERT_EQ(AddRule(m), kDone);  // rule 1 selected
  AssignZone(m, Side::Activator, 0, 2);
  m.Activators[1].Code = 0;
  AssignZone(m, Side::Executor, 1, 0);
  m.Executors[1].Code = 3;
  const AutoGridRow expected = {"01",
                                "  0002: ЗЕЛОР-16: ШС-03",
                                "  ПОЖ.",
                                "  ПОЖАР            ",
                                "-->",
                                "  0016: ТУШЕНИЕ:       ",
                                "  УПР.",
                                "  ПУСК ТУШЕНИЯ"};
  EXPECT_EQ(AutoGridRowTexts(m, 1), expected);
}

TEST(RuleEditor, RuleListScrollsByOneRowForOneRowMoves) {
  struct Case {
    int top;
    uint8_t s;
    int expected;
  };
  const Case cases[] = {
      {1, 0, 1},    // in view
      {5, 3, 4},    // rule 3 is row 4, just above row 5: up by one
      {5, 2, 5},    // two rows above: left to the selection
      {1, 17, 1},   // row 18 is in view
      {1, 18, 1},   // row 19 is the last visible row
      {1, 19, 2},   // row 20 just below: down by one
      {3, 21, 4},
      {10, 8, 9},
  };
  for (const Case& c : cases) EXPECT_EQ(AutoGridTopRow(c.top, c.s), c.expected) << c.top << " " << int(c.s);
}

TEST(RuleEditor, DevicePickerTypeColumnLeavesRoomForTheScrollBarFrom17Nodes) {
  EXPECT_EQ(NodePickerTypeWidth(1, 15), 175);
  EXPECT_EQ(NodePickerTypeWidth(16, 15), 175);
  EXPECT_EQ(NodePickerTypeWidth(17, 15), 160);
  EXPECT_EQ(NodePickerTypeWidth(32, 15), 160);
}

TEST(RuleEditor, DevicePickerScrollsToTheReferencedNode) {
  struct Case {
    int top, p;
    uint8_t nodes;
    int expected;
  };
  const Case cases[] = {
      {1, 0, 32, 1},    {1, 13, 32, 1},  // row 15 is in reach
      {1, 14, 32, 1},                    // p + 2 - top = 15: still
      {1, 15, 32, 7},                    // beyond: p - 8
      {1, 31, 32, 17},                   // p - 8 would leave empty rows below: nodes - 15
      {1, 20, 24, 9},                    // 24 - 12 + 1 < 17
      {10, 5, 32, 10},                   // above the view: kept (the selection brings it in)
  };
  for (const Case& c : cases) EXPECT_EQ(NodePickerTopRow(c.top, c.p, c.nodes), c.expected) << c.p;
}

TEST(RuleEditor, DevicePickerRowTexts) {
  ConfigModel m;
  AddNodes(m, {1, 14});
  m.Nodes[1].Address = 9;
  const NodePickerRow expected = {"01", "  ДРОЛА АДРЕС.    ", "  ДРОЛА          ", "009"};
  EXPECT_EQ(NodePickerRowTexts(m, 1), expected);
  m.Nodes[1].Type = 10;  // a type without entry (read from an image) still names its code
  EXPECT_EQ(NodePickerRowTexts(m, 1)[1], "  ?ТИП 010        ");
}

TEST(RuleEditor, ZonePickerRowsPerNode) {
  ConfigModel m;
  AddNodes(m, {1, 12, 5, 3});
  struct Case {
    uint8_t node;
    int rows;
  };
  for (const Case& c : {Case{0, 17}, Case{1, 2}, Case{2, 2}, Case{3, 3}, Case{4, 1}}) {
    EXPECT_EQ(ZonePickerFor(m, c.node).RowCount, c.rows) << int(c.node);
  }
  const ZonePickerContents module = ZonePickerFor(m, 1);
  ASSERT_EQ(module.Rows.size(), 1u);
  EXPECT_EQ(module.Rows[0], ZonePickerRow{});  // the indication module's row stays empty
  const ZonePickerRow expected = {"0016", "  ТУШЕНИЕ:       ", "     УПР."};
  EXPECT_EQ(ZonePickerFor(m, 2).Rows[0], expected);
  m.Nodes[3].Type = 10;  // a type without entry, as an image may bring it: no zones
  m.Nodes[3].ZoneCount = 0;
  EXPECT_EQ(ZonePickerFor(m, 3).RowCount, 1);
  EXPECT_TRUE(ZonePickerFor(m, 3).Rows.empty());
}

TEST(RuleEditor, OnlySingleZoneDevicesAssignOnANodeDoubleClick) {
  for (int t = 0; t < 256; ++t) {
    const bool expected = t == 4 || t == 5 || t == 6 || t == 7 || t == 13 || t == 14 || t == 15;
    EXPECT_EQ(AssignsOnNodeDoubleClick(static_cast<uint8_t>(t)), expected) << t;
  }
}

TEST(RuleEditor, DoubleClickStepByColumnAndState) {
  ConfigModel m;
  EXPECT_EQ(AutoGridDblClickStep(m, 1, false), DblClickStep::Nothing) << "no rules, no nodes";
  ASSERT_EQ(AddRule(m), kDone);
  EXPECT_EQ(AutoGridDblClickStep(m, 1, false), DblClickStep::Nothing) << "no nodes";
  AddNodes(m, {5});
  const DblClickStep byColumn[] = {DblClickStep::OtherColumn, DblClickStep::PickActivator, DblClickStep::OtherColumn,
                                   DblClickStep::ChooseEvent, DblClickStep::OtherColumn,   DblClickStep::PickExecutor,
                                   DblClickStep::OtherColumn, DblClickStep::ChooseAction};
  for (uint8_t c = 0; c < 8; ++c) {
    EXPECT_EQ(AutoGridDblClickStep(m, c, false), byColumn[c]) << int(c);
    EXPECT_EQ(AutoGridDblClickStep(m, c, true), DblClickStep::Nothing) << "while picking, column " << int(c);
  }
}

TEST(RuleEditor, ChoiceListsPerKindWithThePresentCodeSelected) {
  struct Case {
    Side side;
    uint8_t kind, code;
    std::vector<uint8_t> codes;
    int selected;
  };
  const Case cases[] = {
      {Side::Activator, kKindFire, 2, {0, 4, 2, 3}, 2},
      {Side::Activator, kKindFire, 8, {0, 4, 2, 3}, -1},
      {Side::Activator, kKindSecurity, 11, {1, 8, 7, 9, 10, 11}, 5},
      {Side::Activator, kKindLight, 0xFF, {}, -1},
      {Side::Activator, kUnsetKind, 0, {}, -1},
      {Side::Executor, kUnsetKind, 0xFF, {}, -1},
      {Side::Executor, kKindControl, 5, {3, 4, 2, 5, 6}, 3},
      {Side::Executor, kKindLightSound, 16, {7, 8, 9, 10, 11, 12, 13, 14, 15, 16}, 9},
      {Side::Executor, kKindFire, 0xFF, {}, -1},
  };
  for (const Case& c : cases) {
    RuleSide s;
    s.Kind = c.kind;
    s.Code = c.code;
    const Choice choice = ChoiceFor(s, c.side);
    EXPECT_EQ(choice.Codes, c.codes) << int(c.kind);
    EXPECT_EQ(choice.Selected, c.selected) << int(c.kind);
    ASSERT_EQ(choice.Texts.size(), c.codes.size());
  }
  RuleSide fire;
  fire.Kind = kKindFire;
  const std::vector<std::string> texts = {"  ПОЖАР            ", "  НОРМА            ", "  ВНИМАНИЕ         ",
                                          "  НЕИСПРАВНОСТЬ    "};
  EXPECT_EQ(ChoiceFor(fire, Side::Activator).Texts, texts);
  RuleSide tag;
  tag.Kind = kKindTag;
  EXPECT_EQ(ChoiceFor(tag, Side::Executor).Texts, (std::vector<std::string>{"  РЕЛЕ РАЗОМКНУТЬ", "  РЕЛЕ ЗАМКНУТЬ"}));
}

TEST(RuleEditor, EventBoxSitsOverTheCodeCellOfTheSelectedRule) {
  struct Case {
    int32_t rule;
    int top;
    bool action;
    int left, y;
  };
  const Case cases[] = {
      {0, 1, false, 8 + 265 + 5, 24 + 19},
      {0, 1, true, 8 + 660 + 9, 24 + 19},
      {5, 3, false, 278, 24 + 4 * 19},
  };
  for (const Case& c : cases) {
    const BoxPlace p = EventBoxPlace(8, 24, c.rule, c.top, c.action);
    EXPECT_EQ(p.Left, c.left);
    EXPECT_EQ(p.Top, c.y);
    EXPECT_EQ(p.Width, 130);
  }
}

TEST(RuleEditor, ClosingTheListStoresOnlyAChosenOfferedCode) {
  ConfigModel m;
  AddNodes(m, {1});
  ASSERT_EQ(AddRule(m), kDone);
  AssignZone(m, Side::Activator, 0, 0);
  RuleEditorState state;
  state.ChoiceCodes = {0, 4, 2, 3};
  const std::string before = Dump(m);
  state.AutoColumn = 3;
  EXPECT_FALSE(ApplyChoice(m, state, -1)) << "closed without a choice";
  EXPECT_FALSE(ApplyChoice(m, state, 4)) << "no such item";
  state.AutoColumn = 1;
  EXPECT_FALSE(ApplyChoice(m, state, 1)) << "the list belongs to no code column";
  EXPECT_EQ(Dump(m), before);
  state.AutoColumn = 3;
  EXPECT_TRUE(ApplyChoice(m, state, 2));
  EXPECT_EQ(m.Activators[0].Code, 2);
  state.AutoColumn = 7;
  state.ChoiceCodes = {7, 12};
  EXPECT_TRUE(ApplyChoice(m, state, 1));
  EXPECT_EQ(m.Executors[0].Code, 12);
  EXPECT_EQ(m.Activators[0].Code, 2);
}

TEST(RuleEditor, FillsAndAlignment) {
  EXPECT_EQ(AutoGridFill(kPickNone, 1, 0, false), CellFill::Heading);
  EXPECT_EQ(AutoGridFill(kPickNone, 1, 1, true), CellFill::Selected);
  EXPECT_EQ(AutoGridFill(kPickNone, 1, 2, false), CellFill::Normal);
  EXPECT_EQ(AutoGridFill(kPickActivator, 1, 1, true), CellFill::Picked);
  EXPECT_EQ(AutoGridFill(kPickActivator, 5, 1, true), CellFill::Selected);
  EXPECT_EQ(AutoGridFill(kPickExecutor, 5, 1, false), CellFill::Picked);
  EXPECT_EQ(AutoGridFill(kPickExecutor, 1, 1, false), CellFill::Normal);
  EXPECT_EQ(PickerFill(0, true), CellFill::Heading);
  EXPECT_EQ(PickerFill(3, true), CellFill::Selected);
  EXPECT_EQ(PickerFill(3, false), CellFill::Normal);

  const CellAlign L = CellAlign::Left, C = CellAlign::Centre;
  const CellAlign autoGrid[] = {C, L, L, L, C, L, L, L};
  for (int c = 0; c < 8; ++c) {
    EXPECT_EQ(AutoGridAlign(c, 1), autoGrid[c]) << c;
    EXPECT_EQ(AutoGridAlign(c, 0), C);
  }
  const CellAlign nodes[] = {C, L, L, C};
  for (int c = 0; c < 4; ++c) {
    EXPECT_EQ(NodePickerAlign(c, 2), nodes[c]) << c;
    EXPECT_EQ(NodePickerAlign(c, 0), C);
  }
  const CellAlign zones[] = {C, L, L};
  for (int c = 0; c < 3; ++c) {
    EXPECT_EQ(ZonePickerAlign(c, 2), zones[c]) << c;
    EXPECT_EQ(ZonePickerAlign(c, 0), C);
  }
}

}  // namespace
}  // namespace zelor
