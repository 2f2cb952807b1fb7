// The built-in sample configuration is a whole, self-consistent image that exercises the editor.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "link/crc16.h"
#include "sim/config_memory.h"
#include "sim/sample_image.h"

namespace zelor::test {
namespace {

using Bytes = std::vector<uint8_t>;
namespace im = sim::image;

uint16_t Word(const Bytes& b, std::size_t at) { return static_cast<uint16_t>(b[at] << 8 | b[at + 1]); }

constexpr std::size_t kZoneCountOf[24] = {0, 16, 8, 2, 1, 1, 1, 1, 4, 2, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 2, 3, 16, 8};

TEST(SampleImage, IsSealedAndSized) {
  const Bytes img = sim::SampleImage();
  ASSERT_EQ(img.size(), 45952U);
  EXPECT_TRUE(sim::ImageCrcValid(img.data(), img.size()));
  const uint16_t crc = Crc16(img.data(), 12900);
  EXPECT_EQ(img[12900], crc & 0xFF);
  EXPECT_EQ(img[12901], crc >> 8);
  EXPECT_TRUE(std::all_of(img.begin() + 12902, img.end(), [](uint8_t b) { return b == 0xFF; }));
}

// The tool's own tests read the same file (tests/config/golden_image_test.cpp), so the simulator's
// layout and the tool's are held to the same bytes.
TEST(SampleImage, EqualsTheCheckedInGoldenImage) {
  const auto path = std::filesystem::path(__FILE__).parent_path().parent_path() / "config" / "golden" / "sample.bin";
  std::ifstream in(path, std::ios::binary);
  const Bytes golden{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  ASSERT_EQ(golden.size(), 45952U) << path;
  const Bytes img = sim::SampleImage();
  const auto mismatch = std::mismatch(img.begin(), img.end(), golden.begin());
  if (mismatch.first != img.end()) {
    // A deliberate change of the sample: review this file and copy it over the golden one.
    std::ofstream("sample.actual.bin", std::ios::binary).write(reinterpret_cast<const char*>(img.data()), img.size());
  }
  EXPECT_EQ(mismatch.first - img.begin(), static_cast<std::ptrdiff_t>(img.size()))
      << "first differing byte; the sample as built is in sample.actual.bin";
}

TEST(SampleImage, NodesAndZonesAgree) {
  const Bytes img = sim::SampleImage();
  const std::size_t nodes = img[im::kNodeCount];
  ASSERT_GE(nodes, 9U);
  ASSERT_LE(nodes, 32U);
  std::set<uint8_t> types;
  std::set<uint8_t> addresses;
  std::size_t zone = 0;
  for (std::size_t k = 0; k < nodes; ++k) {
    const uint8_t address = img[im::kNodeTable + 2 * k];
    const uint8_t type = img[im::kNodeTable + 2 * k + 1];
    ASSERT_LT(type, 24U);
    types.insert(type);
    EXPECT_TRUE(addresses.insert(address).second) << "address " << int(address) << " twice";
    for (std::size_t z = 0; z < kZoneCountOf[type]; ++z, ++zone) {
      EXPECT_EQ(img[im::kZoneTable + 3 * zone + 1], z + 1);
      EXPECT_EQ(img[im::kZoneTable + 3 * zone + 2], address);
      const uint8_t kind = img[im::kZoneTable + 3 * zone];
      EXPECT_GE(kind, 1);
      EXPECT_LE(kind, 6);
      const uint8_t group = img[im::kZoneGroups + zone];
      EXPECT_TRUE(group == im::kNoGroup || (group <= 9 && kind == 1)) << "zone " << zone;
    }
  }
  EXPECT_EQ(Word(img, im::kZoneCount), zone);
  for (uint8_t t : {1, 2, 12, 5, 7, 13, 14, 15, 17}) EXPECT_EQ(types.count(t), 1U) << "type " << int(t);
  EXPECT_TRUE(std::all_of(img.begin() + im::kZoneGroups + static_cast<std::ptrdiff_t>(zone),
                          img.begin() + im::kGroupNames, [](uint8_t b) { return b == im::kNoGroup; }));
}

TEST(SampleImage, ConventionalNumbersAreSortedUniqueAndOwnEveryZone) {
  const Bytes img = sim::SampleImage();
  const std::size_t zones = Word(img, im::kZoneCount);
  std::set<uint16_t> owners;
  int explicitNumbers = 0;
  for (std::size_t j = 0; j < zones; ++j) {
    if (j > 0) {
      EXPECT_LT(Word(img, im::kConvNumbers + 2 * (j - 1)), Word(img, im::kConvNumbers + 2 * j));
    }
    const uint16_t owner = Word(img, im::kConvOwners + 2 * j);
    owners.insert(owner);
    if (Word(img, im::kConvNumbers + 2 * j) != owner) ++explicitNumbers;
  }
  EXPECT_EQ(owners.size(), zones);
  EXPECT_EQ(*owners.rbegin(), zones - 1);
  EXPECT_GE(explicitNumbers, 2);
  EXPECT_EQ(Word(img, im::kConvNumbers + 2 * zones), 0xFFFF);
}

TEST(SampleImage, NamesAreInTheDisplayCode) {
  const Bytes img = sim::SampleImage();
  // "ЗЕЛОР-16И" maps З Л И to display codes and Е О Р to Latin look-alikes.
  EXPECT_EQ(sim::EncodeDisplayName("ЗЕЛОР-16И", 10), (Bytes{0xA4, 0x45, 0xA7, 0x4F, 0x50, 0x2D, 0x31, 0x36, 0xA5, 0x20}));
  EXPECT_EQ(sim::EncodeDisplayName("\"Ёё'[№", 6), (Bytes{0xCB, 0xA2, 0xB5, 0x3F, 0x3F, 0x3F}));
  EXPECT_EQ(sim::EncodeDisplayName("Корпус А эт.1", 15), Bytes(img.begin() + im::kNodeNames, img.begin() + im::kNodeNames + 15));
  bool cyrillicOnly = false;  // some name byte uses a code only the display has
  for (std::size_t i = 0; i < 15 * 31; ++i) cyrillicOnly = cyrillicOnly || (img[i] >= 0xA0 && img[i] <= 0xE6);
  EXPECT_TRUE(cyrillicOnly);
  EXPECT_EQ(sim::EncodeDisplayName("<НАЗВАНИЕ> : 3  ", 16),
            Bytes(img.begin() + im::kGroupNames + 48, img.begin() + im::kGroupNames + 64));
}

TEST(SampleImage, RulesPointAtZonesAndCarrySealedCommandsForTheirExecutors) {
  const Bytes img = sim::SampleImage();
  const std::size_t rules = img[im::kRuleCount];
  const std::size_t zones = Word(img, im::kZoneCount);
  ASSERT_GE(rules, 4U);
  std::set<uint8_t> nodeAddresses;
  for (std::size_t k = 0; k < img[im::kNodeCount]; ++k) nodeAddresses.insert(img[im::kNodeTable + 2 * k]);
  std::size_t expectedSlot = 0;
  bool twoSlots = false;
  for (std::size_t r = 0; r < rules; ++r) {
    EXPECT_LT(Word(img, im::kRuleZones + 2 * r), zones);
    EXPECT_EQ(img[im::kRuleFirstSlot + r], expectedSlot);
    const std::size_t count = img[im::kRuleSlotCount + r];
    ASSERT_TRUE(count == 1 || count == 2);
    twoSlots = twoSlots || count == 2;
    for (std::size_t s = expectedSlot; s < expectedSlot + count; ++s) {
      const uint8_t* slot = img.data() + im::kCommandSlots + 8 * s;
      EXPECT_EQ(nodeAddresses.count(slot[0]), 1U) << "slot " << s;
      EXPECT_EQ(slot[1], 0x06);
      const uint16_t crc = Crc16(slot, 6);
      EXPECT_EQ(slot[6], crc & 0xFF);
      EXPECT_EQ(slot[7], crc >> 8);
    }
    expectedSlot += count;
  }
  EXPECT_TRUE(twoSlots);
  EXPECT_LE(im::kCommandSlots + 8 * expectedSlot, 12900U);
  // A two-slot start of extinguishing on the ППУ-ПК at address 5: 19 := 0x7D4B, then 17 := 0xAA01.
  const uint8_t* second = img.data() + im::kCommandSlots + 8;
  EXPECT_EQ(Bytes(second, second + 6), (Bytes{5, 6, 0, 19, 0x7D, 0x4B}));
  EXPECT_EQ(Bytes(second + 8, second + 14), (Bytes{5, 6, 0, 17, 0xAA, 0x01}));
}

}  // namespace
}  // namespace zelor::test
