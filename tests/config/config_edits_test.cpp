// The editors' changes to the model: names, addresses, kinds with their rule fix-up, numbers,
// groups, and which zone editor a double-click opens.
#include <gtest/gtest.h>

#include "automation/rules.h"
#include "config/config_edits.h"
#include "config/config_image.h"
#include "config/image_layout.h"
#include "config_test_support.h"
#include "link/crc16.h"

namespace zelor {
namespace {

using testing::AddNodes;
using testing::Cp;

class NodeViews : public testing::RecordingViews {
 public:
  void NodesChanged() override { calls.push_back("NodesChanged"); }
};

TEST(ConfigEdits, NameEditorOpensWithoutTrailingBlanks) {
  const std::vector<std::pair<const char*, const char*>> cases = {
      {"ППУ            ", "ППУ"}, {"  А Б          ", "  А Б"}, {"               ", ""}, {"ЗЕЛОР-16: ШС-01", "ЗЕЛОР-16: ШС-01"}};
  for (const auto& [stored, shown] : cases) EXPECT_EQ(NameForEditor(Cp(stored)), shown) << stored;
}

TEST(ConfigEdits, TypedNamesAreCp1251WithAQuestionMarkPerCharacterTheCodePageLacks) {
  struct Case {
    const char* typed;
    const char* stored;  // after the padding to 15
    const char* shown;
  };
  const std::vector<Case> cases = {
      {"Жё", "Жё             ", "Жё"},
      {"€5 ₴ 😀x", "€5 ? ?x        ", "€5 ? ?x"},  // the hryvnia sign and the emoji have no cp1251 byte
      {"ЁЁЁЁЁЁЁЁЁЁЁЁЁЁЁЁЁ", "ЁЁЁЁЁЁЁЁЁЁЁЁЁЁЁ", "ЁЁЁЁЁЁЁЁЁЁЁЁЁЁЁ"},  // cut after converting: 15 letters
      {"😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀😀", "???????????????", "???????????????"},
  };
  for (const auto& c : cases) {
    ConfigModel m;
    AddNodes(m, {1});
    m.SelectedZone = 3;
    EXPECT_EQ(CommitZoneName(m, c.typed), c.shown) << c.typed;
    EXPECT_EQ(m.Nodes[0].Zones[3].Name, Cp(c.stored)) << c.typed;
    EXPECT_EQ(m.Nodes[0].Zones[3].Name.size(), 15u);
    EXPECT_EQ(m.Nodes[0].Zones[2].Name, Cp("ЗЕЛОР-16: ШС-03"));  // the neighbours keep their bytes
    EXPECT_EQ(m.Nodes[0].Zones[4].Name, Cp("ЗЕЛОР-16: ШС-05"));
    EXPECT_EQ(CommitNodeName(m, c.typed), c.shown);
    EXPECT_EQ(m.Nodes[0].Name, Cp(c.stored));
  }
}

TEST(ConfigEdits, GroupNamesAreSixteenCharacters) {
  ConfigModel m;
  EXPECT_EQ(CommitGroupName(m, 4, "ЦЕХ1"), "ЦЕХ1");
  EXPECT_EQ(m.GroupNames[4], Cp("ЦЕХ1            "));
  EXPECT_EQ(NameForEditor(m.GroupNames[4]), "ЦЕХ1");
  EXPECT_EQ(CommitGroupName(m, 5, "0123456789ABCDEFG"), "0123456789ABCDEF");
  EXPECT_EQ(m.GroupNames[5], Cp("0123456789ABCDEF"));
  const ConfigModel before = m;
  for (int g : {-1, 10}) EXPECT_EQ(CommitGroupName(m, g, "X"), "");
  EXPECT_EQ(testing::Dump(m), testing::Dump(before));
}

TEST(ConfigEdits, AddressEditingSkipsTakenAddressesInTheDirectionOfTheChange) {
  struct Case {
    int wanted;
    int took;
  };
  // Node 0 is at 3; others at 4, 5, 1 and 247.
  const std::vector<Case> cases = {{4, 6}, {2, 2}, {1, 3}, {247, 3}, {0, 3}, {300, 3}, {100, 100}};
  for (const auto& c : cases) {
    ConfigModel m;
    AddNodes(m, {4, 4, 4, 4, 4});
    for (int n = 0; n < 5; ++n) m.Nodes[n].Address = static_cast<uint8_t>(std::array{3, 4, 5, 1, 247}[n]);
    m.SelectedNode = 0;
    EXPECT_EQ(SetNodeAddress(m, c.wanted), c.took) << c.wanted;
    EXPECT_EQ(m.Nodes[0].Address, c.took) << c.wanted;
  }
}

TEST(ConfigEdits, ExplicitNumbers) {
  ConfigModel m;
  AddNodes(m, {8});
  m.SelectedZone = 2;
  SetExplicitNumber(m, 2);  // the automatic number made explicit
  EXPECT_EQ(m.Nodes[0].Zones[2].ConvNumber, 1002);
  SetExplicitNumber(m, 999);
  EXPECT_EQ(m.Nodes[0].Zones[2].ConvNumber, 1999);
  SetExplicitNumber(m, 0);
  EXPECT_EQ(m.Nodes[0].Zones[2].ConvNumber, 1000);
}

TEST(ConfigEdits, KindChangesDropTheGroup) {
  ConfigModel m;
  AddNodes(m, {1});
  m.SelectedZone = 1;
  ASSERT_EQ(SetZoneKind(m, kKindSecurity), kDone);
  SetZoneGroup(m, 7);
  EXPECT_EQ(m.Nodes[0].Zones[1].Group, 7);
  ASSERT_EQ(SetZoneKind(m, kKindSecurity), kDone);  // the same kind keeps it
  EXPECT_EQ(m.Nodes[0].Zones[1].Group, 7);
  ASSERT_EQ(SetZoneKind(m, kKindFire), kDone);
  EXPECT_EQ(m.Nodes[0].Zones[1].Kind, kKindFire);
  EXPECT_EQ(m.Nodes[0].Zones[1].Group, NoGroup);
  for (int chosen : {-1, 10, 253}) {
    SetZoneGroup(m, 3);
    SetZoneGroup(m, chosen);
    EXPECT_EQ(m.Nodes[0].Zones[1].Group, NoGroup) << chosen;
  }
  m.SelectedZone = 16;  // no such zone
  EXPECT_EQ(SetZoneKind(m, kKindFire), kRefused);
}

// A kind switch names each rule it took something from, numbered as the rule list shows it.
TEST(ConfigEdits, AKindSwitchNamesTheRulesThatLostTheirEventActionOrExecutor) {
  ConfigModel m;
  AddNodes(m, {1, 14});  // zones 0..15 of a ЗЕЛОР-16И | the ДРОЛА's zone 16
  m.Nodes[0].Zones[2].Kind = kKindControl;  // as an image may hold it: a control output
  auto rule = [&m](uint8_t activatorZone, uint8_t event, uint8_t executorNode, uint8_t executorZone, uint8_t action) {
    m.SelectedRule = m.RuleCount == 0 ? 0 : m.RuleCount - 1;
    AddRule(m);
    AssignZone(m, Side::Activator, 0, activatorZone);
    m.Activators[m.SelectedRule].Code = event;
    AssignZone(m, Side::Executor, executorNode, executorZone);
    m.Executors[m.SelectedRule].Code = action;
  };
  rule(1, 0, 1, 0, 12);  // 00: fire on zone 1 -> light on
  rule(1, 4, 1, 0, 12);  // 01: normal on zone 1 -> light on
  rule(3, 0, 0, 2, 3);   // 02: fire on zone 3 -> start extinguishing on the control zone 2
  rule(4, 0, 1, 0, 7);   // 03: another zone: untouched
  std::vector<std::string> lost;
  m.SelectedNode = 0;
  m.SelectedZone = 1;
  ASSERT_EQ(SetZoneKind(m, kKindSecurity, &lost), kDone);
  EXPECT_EQ(lost, (std::vector<std::string>{
                      "   : правило 00: зона 0001 теперь ОХР., событие \"ПОЖАР\" снято; правило без события при "
                      "записи удаляется.",
                      "   : правило 01: зона 0001 теперь ОХР., событие \"НОРМА\" снято; правило без события при "
                      "записи удаляется."}));
  lost.clear();
  m.SelectedZone = 2;
  ASSERT_EQ(SetZoneKind(m, kKindFire, &lost), kDone);
  EXPECT_EQ(lost, (std::vector<std::string>{"   : правило 02: зона 0002 теперь ПОЖ. и не может быть исполнителем, "
                                            "исполнитель снят; правило без исполнителя при записи удаляется."}));
  lost.clear();
  m.SelectedZone = 1;
  ASSERT_EQ(SetZoneKind(m, kKindFire, &lost), kDone);  // nothing left to lose
  EXPECT_TRUE(lost.empty());
  EXPECT_EQ(m.RuleCount, 4) << "a switch removes no rule";
}

TEST(ConfigEdits, ZoneDoubleClickOpensOrRefuses) {
  struct Case {
    uint8_t type;
    uint8_t kind;  // of the selected zone
    std::array<ZoneEditor, 5> columns;
  };
  using E = ZoneEditor;
  const std::vector<Case> cases = {
      {1, 1, {E::None, E::Name, E::Kind, E::Group, E::Number}},
      {1, 2, {E::None, E::Name, E::Kind, E::Refused, E::Number}},
      {3, 2, {E::None, E::Name, E::Refused, E::Refused, E::Number}},   // ЧЭМ-2И: fixed kind
      {5, 3, {E::None, E::Name, E::Refused, E::Refused, E::Number}},   // ППУ
      {12, 0, {E::Refused, E::Refused, E::Refused, E::Refused, E::Refused}},
      {23, 1, {E::None, E::Name, E::Kind, E::Group, E::Number}},
      {21, 2, {E::None, E::Name, E::Refused, E::Refused, E::Number}},
  };
  for (const auto& c : cases) {
    ConfigModel m;
    AddNodes(m, {c.type});
    if (m.Nodes[0].ZoneCount > 0) m.Nodes[0].Zones[0].Kind = c.kind;
    for (int col = 0; col < 5; ++col) EXPECT_EQ(ZoneEditorFor(m, col), c.columns[col]) << int(c.type) << " column " << col;
  }
  ConfigModel empty;  // nothing to edit: no flash, no editor
  for (int col = 0; col < 5; ++col) EXPECT_EQ(ZoneEditorFor(empty, col), E::None);
  for (uint8_t t : {1, 2, 6, 8, 9, 10, 18, 22, 23}) EXPECT_FALSE(ZoneKindFixed(t)) << int(t);
  for (uint8_t t : {0, 3, 4, 5, 7, 11, 12, 13, 14, 15, 16, 17, 19, 20, 21, 24, 255}) EXPECT_TRUE(ZoneKindFixed(t)) << int(t);
}

TEST(ConfigEdits, EditsTellTheViewsThatNodesChanged) {
  ConfigModel m;
  NodeViews views;
  m.Views = &views;
  AddNodes(m, {1, 1});
  EXPECT_EQ(std::count(views.calls.begin(), views.calls.end(), "NodesChanged"), 2);
  views.calls.clear();
  CommitNodeName(m, "A");
  CommitZoneName(m, "B");
  SetNodeAddress(m, 9);
  SetZoneKind(m, kKindSecurity);
  EXPECT_EQ(views.calls, (std::vector<std::string>(4, "NodesChanged")));
  views.calls.clear();
  SetNodeAddress(m, 9);  // no change, no notice
  SetExplicitNumber(m, 4);
  SetZoneGroup(m, 1);
  EXPECT_TRUE(views.calls.empty());
}

// The rule's commands go to the executor's node as it is when the image is built.
TEST(ConfigEdits, ExecutorCommandsFollowTheNodesNewAddress) {
  ConfigModel m;
  AddNodes(m, {1, 14});  // ДРОЛА at address 2 holds zone 16
  ASSERT_EQ(AddRule(m), kDone);
  AssignZone(m, Side::Activator, 0, 0);
  m.Activators[0].Code = 0;  // fire
  AssignZone(m, Side::Executor, 1, 0);
  m.Executors[0].Code = 13;  // light 2 Hz: register 3 := 7
  ASSERT_EQ(m.Executors[0].NodeAddress, 2);
  m.SelectedNode = 1;
  ASSERT_EQ(SetNodeAddress(m, 9), 9);
  ConfigImage image{};
  ASSERT_EQ(BuildImage(m, image), kBuildOk);
  const std::size_t slot = image::kCommandSlots;
  std::vector<uint8_t> command(image.begin() + slot, image.begin() + slot + 8);
  EXPECT_EQ(std::vector<uint8_t>(command.begin(), command.begin() + 6), (std::vector<uint8_t>{9, 0x06, 0x00, 0x03, 0x00, 0x07}));
  EXPECT_TRUE(Crc16Matches(command.data(), 8));

  // The node moved ahead of the other: the reference follows its zone, the commands its node.
  ASSERT_EQ(MoveNodeUp(m), kDone);
  m.Nodes[0].Address = 30;
  ASSERT_EQ(BuildImage(m, image), kBuildOk);
  EXPECT_EQ(image[slot], 30);
  ConfigModel back;
  EXPECT_TRUE(ParseImage(back, image).empty());
  EXPECT_EQ(back.Executors[0].NodeAddress, 30);
  EXPECT_EQ(back.Executors[0].ZoneIndex, 0);
  EXPECT_EQ(back.Executors[0].Code, 13);
}

// A kind switch treats the rules that name the zone as a fresh assignment of it.
TEST(ConfigEdits, KindSwitchClearsWhatTheNewKindDoesNotOffer) {
  struct Case {
    uint8_t fromKind, toKind, event;
    uint8_t eventAfter;
  };
  const std::vector<Case> cases = {
      {kKindSecurity, kKindFire, 8, kUnsetCode},  // ВЗЯТ is no fire event
      {kKindSecurity, kKindFire, 1, kUnsetCode},
      {kKindFire, kKindSecurity, 0, kUnsetCode},  // ПОЖАР is no security event
      {kKindFire, kKindSecurity, 3, kUnsetCode},
      {kKindSecurity, kKindSecurity, 8, 8},
      {kKindFire, kKindFire, 4, 4},
  };
  for (const auto& c : cases) {
    ConfigModel m;
    AddNodes(m, {1, 5});
    m.Nodes[0].Zones[2].Kind = c.fromKind;
    AddRule(m);
    AssignZone(m, Side::Activator, 0, 2);
    m.Activators[0].Code = c.event;
    AssignZone(m, Side::Executor, 1, 0);
    m.Executors[0].Code = 3;
    AddRule(m);  // a second rule on another zone stays as it is
    AssignZone(m, Side::Activator, 0, 5);
    m.Activators[1].Code = 0;
    m.SelectedRule = 1;
    m.SelectedNode = 0;
    m.SelectedZone = 2;
    ASSERT_EQ(SetZoneKind(m, c.toKind), kDone);
    EXPECT_EQ(m.Activators[0].Kind, c.toKind);
    EXPECT_EQ(m.Activators[0].Code, c.eventAfter) << int(c.fromKind) << "->" << int(c.toKind) << " event " << int(c.event);
    EXPECT_EQ(m.Activators[0].ZoneIndex, 2);
    EXPECT_EQ(m.Executors[0].Code, 3);
    EXPECT_EQ(m.Activators[1].Code, 0);
    EXPECT_EQ(m.SelectedRule, 1);  // the rule list keeps its selection
  }
}

TEST(ConfigEdits, KindSwitchOfAnExecutorZoneThatCannotExecuteUnsetsTheExecutor) {
  ConfigModel m;
  AddNodes(m, {1, 5});
  AddRule(m);
  AssignZone(m, Side::Activator, 1, 0);
  m.Activators[0].Code = 23;
  // An image may name a zone of a switchable node as executor; its kind is then 3..6.
  m.Nodes[0].Zones[4].Kind = kKindControl;
  AssignZone(m, Side::Executor, 0, 4);
  m.Executors[0].Code = 3;
  ASSERT_EQ(m.Executors[0].ZoneIndex, 4);
  m.SelectedNode = 0;
  m.SelectedZone = 4;
  ASSERT_EQ(SetZoneKind(m, kKindFire), kDone);
  EXPECT_EQ(m.Executors[0].ZoneIndex, kUnsetZone);
  EXPECT_EQ(m.Executors[0].Code, kUnsetCode);
  EXPECT_EQ(m.Executors[0].Text, Cp1251String(kUnsetSideText));
  EXPECT_EQ(m.Activators[0].ZoneIndex, 16);  // the activator is another zone
  EXPECT_EQ(m.Activators[0].Code, 23);
}

}  // namespace
}  // namespace zelor
