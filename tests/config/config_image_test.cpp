#include <gtest/gtest.h>

#include <algorithm>

#include "automation/rules.h"
#include "config/config_image.h"
#include "config/config_texts.h"
#include "config/rule_storage.h"
#include "config_test_support.h"
#include "link/crc16.h"
#include "model/cp1251.h"

namespace zelor {
namespace {

using testing::AddNodes;
namespace img = image;

std::vector<uint8_t> Slice(const ConfigImage& i, std::size_t from, std::size_t n) {
  return {i.begin() + static_cast<std::ptrdiff_t>(from), i.begin() + static_cast<std::ptrdiff_t>(from + n)};
}

bool AllAre(const ConfigImage& i, std::size_t from, std::size_t to, uint8_t value) {
  return std::all_of(i.begin() + static_cast<std::ptrdiff_t>(from), i.begin() + static_cast<std::ptrdiff_t>(to),
                     [value](uint8_t b) { return b == value; });
}

// A complete rule: activator zone `act` with `event`, executor on node `node` with `action`.
void AddCompleteRule(ConfigModel& m, uint8_t actNode, uint8_t actZone, uint8_t event, uint8_t node, uint8_t action) {
  m.SelectedRule = m.RuleCount == 0 ? 0 : m.RuleCount - 1;
  ASSERT_EQ(AddRule(m), 0);
  AssignZone(m, Side::Activator, actNode, actZone);
  m.Activators[m.SelectedRule].Code = event;
  AssignZone(m, Side::Executor, node, 0);
  m.Executors[m.SelectedRule].Code = action;
}

TEST(ConfigImage, EmptyModel) {
  ConfigModel m;
  ConfigImage image{};
  ASSERT_EQ(BuildImage(m, image), kBuildOk);
  EXPECT_EQ(image[img::kNodeCount], 0);
  EXPECT_EQ(image[img::kRuleCount], 0);
  EXPECT_EQ(Slice(image, img::kZoneTotal, 2), (std::vector<uint8_t>{0xFF, 0xFF}));
  EXPECT_TRUE(AllAre(image, img::kGroupNames, img::kRuleCount, 0xFF));
  EXPECT_TRUE(AllAre(image, img::kZoneGroups, img::kGroupNames, 0xFD));
  EXPECT_TRUE(AllAre(image, 0, img::kNodeCount, 0xFF));
  EXPECT_TRUE(AllAre(image, 12902, ImageSize, 0xFF));
  const uint16_t crc = Crc16(image.data(), 12900);
  EXPECT_EQ(image[12900], crc & 0xFF);
  EXPECT_EQ(image[12901], crc >> 8);
  EXPECT_TRUE(ImageCrcMatches(image));
}

TEST(ConfigImage, OneDefaultNode) {
  ConfigModel m;
  AddNodes(m, {1});
  ConfigImage image{};
  ASSERT_EQ(BuildImage(m, image), kBuildOk);
  EXPECT_EQ(image[9698], 1);
  EXPECT_EQ(Slice(image, 9699, 2), (std::vector<uint8_t>{0x01, 0x01}));
  EXPECT_EQ(Slice(image, 8160, 2), (std::vector<uint8_t>{0x00, 0x10}));
  for (uint8_t z = 0; z < 16; ++z) {
    EXPECT_EQ(Slice(image, 8162 + 3 * z, 3), (std::vector<uint8_t>{0x02, static_cast<uint8_t>(z + 1), 0x01}));
    EXPECT_EQ(Slice(image, 9763 + 2 * z, 2), (std::vector<uint8_t>{0, z}));
    EXPECT_EQ(Slice(image, 10787 + 2 * z, 2), (std::vector<uint8_t>{0, z}));
  }
  EXPECT_TRUE(AllAre(image, 9763 + 32, 10787, 0xFF));
  EXPECT_TRUE(AllAre(image, 11811, 12323, 0xFD));
  // "ЗЕЛОР-16: ШС-01" in display code: З=A4 Е=45 Л=A7 О=4F Р=50, Ш=AC С=43
  EXPECT_EQ(Slice(image, 0, 15), (std::vector<uint8_t>{0xA4, 0x45, 0xA7, 0x4F, 0x50, '-', '1', '6', ':', ' ', 0xAC,
                                                       0x43, '-', '0', '1'}));
  EXPECT_EQ(Slice(image, 7680, 9), (std::vector<uint8_t>{0xA4, 0x45, 0xA7, 0x4F, 0x50, '-', '1', '6', 0xA5}));
  // "<НАЗВАНИЕ> : 3  " with Н=48 А=41 З=A4 В=42 И=A5 Е=45
  EXPECT_EQ(Slice(image, 12323 + 16 * 3, 16), (std::vector<uint8_t>{'<', 0x48, 0x41, 0xA4, 0x42, 0x41, 0x48, 0xA5, 0x45,
                                                                    '>', ' ', ':', ' ', '3', ' ', ' '}));
  EXPECT_EQ(image[12483], 0);
  EXPECT_TRUE(ImageCrcMatches(image));
}

TEST(ConfigImage, DuplicateNumbersRefuse) {
  struct Case {
    const char* what;
    std::vector<std::pair<int, uint16_t>> numbers;  // zone of the 16-zone node, ConvNumber
    uint8_t result;
  };
  const Case cases[] = {
      {"explicit 7 twice", {{2, 1007}, {11, 1007}}, kBuildDuplicateNumbers},
      {"explicit 3 against automatic 3", {{9, 1003}}, kBuildDuplicateNumbers},
      {"explicit equal to its own index", {{9, 1009}}, kBuildOk},
      {"explicit numbers swapped", {{0, 1001}, {1, 1000}}, kBuildOk},
      {"explicit 999 and 998", {{4, 1999}, {5, 1998}}, kBuildOk},
  };
  for (const Case& c : cases) {
    ConfigModel m;
    AddNodes(m, {1});
    for (const auto& [zone, number] : c.numbers) m.Nodes[0].Zones[zone].ConvNumber = number;
    ConfigImage image{};
    EXPECT_EQ(BuildImage(m, image), c.result) << c.what;
  }
  EXPECT_EQ(DuplicateNumbersText(), "   : ОШИБКА -> в разделе \"УСЛ. № ЗОНЫ\" имеются дублирующиеся записи.");
}

TEST(ConfigImage, SortedNumbersWithOwners) {
  ConfigModel m;
  AddNodes(m, {9, 4});  // zones 0 1 | 2
  m.Nodes[0].Zones[0].ConvNumber = 1500;
  m.Nodes[1].Zones[0].ConvNumber = 1000;
  ConfigImage image{};
  ASSERT_EQ(BuildImage(m, image), kBuildOk);
  EXPECT_EQ(Slice(image, 9763, 6), (std::vector<uint8_t>{0, 0, 0, 1, 0x01, 0xF4}));
  EXPECT_EQ(Slice(image, 10787, 6), (std::vector<uint8_t>{0, 2, 0, 1, 0, 0}));
}

TEST(ConfigImage, NodesWithoutZones) {
  ConfigModel m;
  AddNodes(m, {12, 12});
  ConfigImage image{};
  ASSERT_EQ(BuildImage(m, image), kBuildOk);
  EXPECT_EQ(image[9698], 2);
  EXPECT_EQ(Slice(image, 8160, 2), (std::vector<uint8_t>{0, 0}));
  EXPECT_TRUE(AllAre(image, 9763, 11811, 0xFF));
  EXPECT_EQ(Slice(image, 9699, 4), (std::vector<uint8_t>{1, 12, 2, 12}));
}

TEST(ConfigImage, CharactersWithoutDisplayCodeBecomeQuestionMarks) {
  ConfigModel m;
  AddNodes(m, {4});
  m.Nodes[0].Name = Cp1251String::FromBytes("a[b]{c}\x01\x98" "|~`'\\ ");
  ConfigImage image{};
  ASSERT_EQ(BuildImage(m, image), kBuildOk);
  EXPECT_EQ(Slice(image, 7680, 15),
            (std::vector<uint8_t>{'a', '?', 'b', '?', '?', 'c', '?', '?', '?', '?', '?', '?', '?', '?', ' '}));
}

TEST(ConfigImage, CommandSlotsFollowRuleOrder) {
  ConfigModel m;
  AddNodes(m, {1, 5, 7, 14});  // zones 0..15 | 16 | 17 | 18; addresses 1..4
  AddCompleteRule(m, 0, 0, 0, 1, 2);   // ППУ: reset -> 1 slot
  AddCompleteRule(m, 0, 1, 4, 2, 3);   // ППУ-ПК: start -> 2 slots
  AddCompleteRule(m, 0, 2, 2, 3, 7);   // ДРОЛА: off -> 1 slot
  ConfigImage image{};
  ASSERT_EQ(BuildImage(m, image), kBuildOk);
  EXPECT_EQ(image[12483], 3);
  EXPECT_EQ(Slice(image, 12484, 6), (std::vector<uint8_t>{0, 0, 0, 1, 0, 2}));
  EXPECT_EQ(Slice(image, 12548, 3), (std::vector<uint8_t>{0, 4, 2}));
  EXPECT_EQ(Slice(image, 12580, 4), (std::vector<uint8_t>{0, 1, 3, 0xFF}));
  EXPECT_EQ(Slice(image, 12612, 4), (std::vector<uint8_t>{1, 2, 1, 0xFF}));
  EXPECT_EQ(Slice(image, 12644 + 8, 8), (std::vector<uint8_t>{0x03, 0x06, 0x00, 0x13, 0x7D, 0x4B, 0x18, 0x8A}));
  EXPECT_EQ(Slice(image, 12644 + 16, 6), (std::vector<uint8_t>{0x03, 0x06, 0x00, 0x11, 0xAA, 0x01}));
  EXPECT_EQ(Slice(image, 12644 + 24, 6), (std::vector<uint8_t>{0x04, 0x06, 0x00, 0x03, 0x00, 0x00}));
  EXPECT_TRUE(AllAre(image, 12644 + 32, 12900, 0xFF));

  ConfigModel back;
  EXPECT_TRUE(ParseImage(back, image).empty());
  ASSERT_EQ(back.RuleCount, 3);
  const uint8_t actions[] = {2, 3, 7};
  const uint16_t executors[] = {16, 17, 18};
  for (int r = 0; r < 3; ++r) {
    EXPECT_EQ(back.Executors[r].Code, actions[r]);
    EXPECT_EQ(back.Executors[r].ZoneIndex, executors[r]);
    EXPECT_EQ(back.Executors[r].NodeAddress, r + 2);
    EXPECT_EQ(back.Activators[r].ZoneIndex, r);
    EXPECT_EQ(back.Activators[r].Kind, 2);
  }
  EXPECT_EQ(back.Executors[1].NodeType, 7);
}

TEST(ConfigImage, IncompleteRulesAreDroppedAndARuleWithoutCommandKeepsFillSlots) {
  ConfigModel m;
  AddNodes(m, {1, 5, 13});
  AddCompleteRule(m, 0, 0, 0, 1, 3);
  ASSERT_EQ(AddRule(m), 0);  // blank: dropped
  AddCompleteRule(m, 0, 1, 0, 2, 4);  // a tag has no command for action 4
  ConfigImage image{};
  ASSERT_EQ(testing::BuildFromEditor(m, image), kBuildOk);
  EXPECT_EQ(m.RuleCount, 2);
  EXPECT_EQ(m.SelectedRule, 0);
  EXPECT_EQ(image[12483], 2);
  EXPECT_EQ(Slice(image, 12580, 2), (std::vector<uint8_t>{0, 0xFF}));
  EXPECT_EQ(Slice(image, 12612, 2), (std::vector<uint8_t>{1, 0xFF}));
  ConfigModel back;
  EXPECT_TRUE(ParseImage(back, image).empty());
  EXPECT_EQ(back.Executors[1].Code, kUnsetCode);
  EXPECT_EQ(back.Executors[1].ZoneIndex, kUnsetZone);
  EXPECT_EQ(back.Activators[1].ZoneIndex, 1);
}

TEST(ConfigImage, BuildLeavesTheModelAndTheViewsAlone) {
  ConfigModel m;
  AddNodes(m, {1, 5});
  testing::RecordingViews views;
  m.Views = &views;
  ASSERT_EQ(AddRule(m), 0);  // blank, before the complete one
  AddCompleteRule(m, 0, 0, 0, 1, 3);
  m.SelectedRule = 1;
  views.calls.clear();
  const std::string before = testing::Dump(m);
  ConfigImage image{};
  ASSERT_EQ(BuildImage(m, image), kBuildOk);
  EXPECT_EQ(testing::Dump(m), before);
  EXPECT_TRUE(views.calls.empty());
  EXPECT_EQ(image[img::kRuleCount], 1) << "only the complete rule is stored";
  EXPECT_EQ(Slice(image, img::kRuleActivators, 2), (std::vector<uint8_t>{0, 0}));
  EXPECT_EQ(image[img::kRuleSlotCount], 1);

  // The caller's steps after it, in the build's old order: the purge, then the rule list.
  ASSERT_TRUE(BuildReachedRules(m, kBuildOk));
  PurgeIncompleteRules(m);
  RefreshAutoGrid(m, 0);
  EXPECT_EQ(m.RuleCount, 1);
  EXPECT_EQ(m.SelectedRule, 0);
  EXPECT_EQ(views.calls, (std::vector<std::string>{"RefreshAutoGrid(0)"}));
  ConfigImage again{};
  ASSERT_EQ(BuildImage(m, again), kBuildOk);
  EXPECT_TRUE(again == image) << "the purge changes nothing in the image";
}

TEST(ConfigImage, BuildReachesTheRulesOnlyWithNodesAndUniqueNumbers) {
  ConfigModel empty;
  ASSERT_EQ(AddRule(empty), 0);
  ConfigImage image{};
  EXPECT_EQ(BuildImage(empty, image), kBuildOk);
  EXPECT_FALSE(BuildReachedRules(empty, kBuildOk)) << "no nodes: the rules stay as they are";

  ConfigModel m;
  AddNodes(m, {9});
  EXPECT_TRUE(BuildReachedRules(m, kBuildOk));
  EXPECT_TRUE(BuildReachedRules(m, kBuildTooManySlots));
  EXPECT_FALSE(BuildReachedRules(m, kBuildDuplicateNumbers)) << "a refused build changes nothing";

  ASSERT_EQ(AddRule(m), 0);
  m.Nodes[0].Zones[0].ConvNumber = 1001;  // the same as zone 1's automatic number
  EXPECT_EQ(testing::BuildFromEditor(m, image), kBuildDuplicateNumbers);
  EXPECT_EQ(m.RuleCount, 1) << "the blank rule survives a refused build";
}

TEST(ConfigImage, RulesNeedingMoreThan32SlotsAreRefused) {
  ConfigModel m;
  AddNodes(m, {1, 1, 7});  // 32 security/fire zones, ППУ-ПК at zone 32
  for (int r = 0; r < 17; ++r) AddCompleteRule(m, static_cast<uint8_t>(r / 16), static_cast<uint8_t>(r % 16), 0, 2, 3);
  EXPECT_EQ(CommandSlotsNeeded(m), 34U);
  ConfigImage image{};
  EXPECT_EQ(testing::BuildFromEditor(m, image), kBuildTooManySlots);
  EXPECT_TRUE(AllAre(image, 12483, ImageSize, 0xFF)) << "no rule byte, slot or CRC written";
  EXPECT_EQ(TooManySlotsText(CommandSlotsNeeded(m)),
            "   : ОШИБКА -> в разделе \"АВТОМАТИКА\" нужно команд: 34, а ячеек только 32.");

  ASSERT_EQ(DeleteRule(m), 0);  // 16 rules, 32 slots: fits exactly
  ASSERT_EQ(testing::BuildFromEditor(m, image), kBuildOk);
  EXPECT_EQ(image[12580 + 15], 30);
  EXPECT_EQ(image[12644 + 31 * 8], 3);
  EXPECT_TRUE(ImageCrcMatches(image));
}

TEST(ConfigImage, ParseReplacesTheModelAndRefreshesTheViews) {
  ConfigModel source;
  AddNodes(source, {9, 4});
  source.Nodes[1].Zones[0].ConvNumber = 1042;
  ConfigImage image{};
  ASSERT_EQ(BuildImage(source, image), kBuildOk);

  ConfigModel m;
  testing::RecordingViews views;
  m.Views = &views;
  AddNodes(m, {1, 1, 1});
  m.SelectedNode = 2;
  views.calls.clear();
  EXPECT_TRUE(ParseImage(m, image).empty());
  EXPECT_EQ(views.calls,
            (std::vector<std::string>{"HideGroupChooser", "RefreshNodesGrid", "RefreshAutoGrid(0)"}));
  EXPECT_EQ(m.NodeCount, 2);
  EXPECT_EQ(m.SelectedNode, 0);
  EXPECT_EQ(m.Nodes[0].Zones[1].ConvNumber, 1001);  // every number read counts as explicit
  EXPECT_EQ(m.Nodes[1].Zones[0].ConvNumber, 1042);
  EXPECT_EQ(m.Nodes[1].Zones[0].Index, 2);
}

TEST(ConfigImage, ZoneWithoutNumberEntryIsAutomatic) {
  ConfigModel source;
  AddNodes(source, {9});
  ConfigImage image{};
  ASSERT_EQ(BuildImage(source, image), kBuildOk);
  image[10787 + 2] = 0xFF;  // zone 1 loses its owner entry
  image[10787 + 3] = 0xFF;
  ConfigModel m;
  AddNodes(m, {1});
  m.Nodes[0].Zones[1].ConvNumber = 1777;  // whatever the slot held before does not leak
  EXPECT_TRUE(ParseImage(m, image).empty());
  EXPECT_EQ(m.Nodes[0].Zones[0].ConvNumber, 1000);
  EXPECT_EQ(m.Nodes[0].Zones[1].ConvNumber, 1);
}

}  // namespace
}  // namespace zelor
