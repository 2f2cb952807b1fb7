// Images from the panel or a file are untrusted: ParseImage must read them without stepping outside.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "automation/rules.h"
#include "config/config_image.h"
#include "config/config_texts.h"
#include "config_test_support.h"
#include "fuzz_entry.h"

namespace zelor {
namespace {

namespace img = image;

ConfigImage ValidImage() {
  ConfigModel m;
  testing::AddNodes(m, {1, 7, 14});  // zones 0..15 | 16 (address 2) | 17 (address 3)
  for (uint8_t node : {1, 2}) {
    m.SelectedRule = m.RuleCount == 0 ? 0 : m.RuleCount - 1;
    AddRule(m);
    AssignZone(m, Side::Activator, 0, 3);
    m.Activators[m.SelectedRule].Code = 0;
    AssignZone(m, Side::Executor, node, 0);
    m.Executors[m.SelectedRule].Code = node == 1 ? 3 : 7;
  }
  ConfigImage image{};
  EXPECT_EQ(BuildImage(m, image), kBuildOk);
  return image;
}

bool Mentions(const std::vector<std::string>& problems, const std::string& line) {
  return std::find(problems.begin(), problems.end(), line) != problems.end();
}

TEST(HostileImages, CountsAboveTheTables) {
  ConfigImage image = ValidImage();
  image[img::kNodeCount] = 255;
  image[img::kRuleCount] = 255;
  ConfigModel m;
  const auto problems = ParseImage(m, image);
  EXPECT_EQ(m.NodeCount, 32);
  EXPECT_EQ(m.RuleCount, 32);
  EXPECT_TRUE(Mentions(problems, NodeCountTooLargeText(255)));
  EXPECT_TRUE(Mentions(problems, RuleCountTooLargeText(255)));
  EXPECT_EQ(NodeCountTooLargeText(255),
            "   : ОШИБКА -> в конфигурации устройств: 255, прочитаны первые 32.");
}

TEST(HostileImages, SlotNumbersOutsideTheSlots) {
  struct Case {
    uint8_t first;
    uint8_t count;
  };
  const Case cases[] = {{250, 1}, {31, 2}, {0, 3}, {0, 0}, {32, 1}, {250, 250}};
  for (const Case& c : cases) {
    ConfigImage image = ValidImage();
    image[img::kRuleFirstSlot + 1] = c.first;
    image[img::kRuleSlotCount + 1] = c.count;
    ConfigModel m;
    const auto problems = ParseImage(m, image);
    ASSERT_EQ(m.RuleCount, 2);
    EXPECT_EQ(m.Executors[0].Code, 3) << "the sound rule reads as before";
    EXPECT_EQ(m.Executors[1].ZoneIndex, kUnsetZone);
    EXPECT_EQ(m.Executors[1].Code, kUnsetCode);
    EXPECT_EQ(m.Activators[1].ZoneIndex, 3);
    EXPECT_TRUE(Mentions(problems, RuleSlotsOutsideText(1, c.first, c.count))) << int(c.first) << "/" << int(c.count);
  }
}

TEST(HostileImages, UnknownTypesStayVisibleWithoutZones) {
  for (uint8_t type : {0, 10, 11, 24, 255}) {
    ConfigImage image = ValidImage();
    image[img::kNodeTable + 1] = type;  // the 16-zone node
    ConfigModel m;
    const auto problems = ParseImage(m, image);
    ASSERT_EQ(m.NodeCount, 3);
    EXPECT_EQ(m.Nodes[0].Type, type);
    EXPECT_EQ(m.Nodes[0].ZoneCount, 0);
    EXPECT_EQ(m.Nodes[1].Zones[0].Index, 0) << "the following zones take over from index 0";
    EXPECT_EQ(DeviceTypeText(type).rfind("  ?ТИП ", 0), 0U);
    EXPECT_TRUE(Mentions(problems, UnknownTypeText(0, 1, type)));
    ConfigImage again{};
    EXPECT_NE(BuildImage(m, again), kBuildTooManySlots);
    EXPECT_EQ(again[img::kNodeTable + 1], type) << "kept as read";
  }
}

TEST(HostileImages, ExecutorAddressWithoutNodeAndActivatorWithoutZone) {
  ConfigImage image = ValidImage();
  image[img::kCommandSlots] = 200;  // the first rule's first command names address 200
  image[img::kRuleActivators + 2] = 0x02;  // the second rule's activator: zone 600
  image[img::kRuleActivators + 3] = 0x58;
  ConfigModel m;
  const auto problems = ParseImage(m, image);
  EXPECT_EQ(m.Executors[0].ZoneIndex, kUnsetZone);
  EXPECT_EQ(m.Executors[0].NodeAddress, 200);
  EXPECT_EQ(m.Executors[0].Code, kUnsetCode);
  EXPECT_EQ(m.Executors[0].Text.Bytes(), "  -?");
  EXPECT_EQ(m.Activators[1].ZoneIndex, kUnsetZone);
  EXPECT_TRUE(Mentions(problems, RuleAddressMissingText(0, 200)));
  EXPECT_TRUE(Mentions(problems, RuleZoneMissingText(1, 600)));
  ConfigImage again{};
  ASSERT_EQ(BuildImage(m, again), kBuildOk);
  EXPECT_EQ(again[img::kRuleCount], 0) << "both rules were incomplete";
}

TEST(HostileImages, NumbersTooLargeForExplicit) {
  struct Case {
    uint16_t stored;      // entry 0 (zone 0)
    uint16_t convNumber;  // what zone 0 holds after the parse
    bool tooLarge;
  };
  const Case cases[] = {
      {64535, 65535, false},  // the largest that fits: 64535 + 1000
      {64536, 0, true},       // the smallest that does not: the zone stays automatic
      {65535, 0, true},
  };
  for (const Case& c : cases) {
    ConfigImage image = ValidImage();
    image[img::kSortedNumbers] = static_cast<uint8_t>(c.stored >> 8);
    image[img::kSortedNumbers + 1] = static_cast<uint8_t>(c.stored & 0xFF);
    ConfigModel m;
    const auto problems = ParseImage(m, image);
    EXPECT_EQ(m.Nodes[0].Zones[0].ConvNumber, c.convNumber) << c.stored;
    EXPECT_EQ(Mentions(problems, NumberTooLargeText(0, c.stored)), c.tooLarge) << c.stored;
  }
}

TEST(HostileImages, RandomBytesAndPatches) {
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> byte(0, 255);
  std::vector<uint8_t> input(1 + ImageSize);
  for (int round = 0; round < 200; ++round) {
    input[0] = static_cast<uint8_t>(round & 1);
    const std::size_t size = round % 3 == 0 ? input.size() : 1 + 3 * static_cast<std::size_t>(1 + round);
    for (std::size_t i = 1; i < size; ++i) input[i] = static_cast<uint8_t>(byte(rng));
    // Counts of 255 and slot numbers of 250 in every fourth raw image.
    if (round % 8 == 0) {
      input[1 + img::kNodeCount] = 255;
      input[1 + img::kRuleCount] = 255;
      for (int r = 0; r < 32; ++r) input[1 + img::kRuleFirstSlot + r] = 250;
    }
    ASSERT_EQ(fuzz::ParseImageFile(input.data(), size), 0);
  }
}

}  // namespace
}  // namespace zelor
