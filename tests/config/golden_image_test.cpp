// The checked-in sample image (golden/sample.bin): read to a known model and written back byte for byte.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "config/config_image.h"
#include "config_test_support.h"

namespace zelor {
namespace {

using testing::Cp;

ConfigImage Golden() {
  const auto path = std::filesystem::path(__FILE__).parent_path() / "golden" / "sample.bin";
  std::ifstream in(path, std::ios::binary);
  const std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  ConfigImage image{};
  EXPECT_EQ(bytes.size(), ImageSize) << path;
  std::copy_n(bytes.begin(), std::min(bytes.size(), ImageSize), image.begin());
  return image;
}

TEST(GoldenImage, ReadsToTheKnownModel) {
  const ConfigImage image = Golden();
  ASSERT_TRUE(ImageCrcMatches(image));
  ConfigModel m;
  ASSERT_TRUE(ParseImage(m, image).empty());

  struct NodeCase {
    uint8_t type, address, zones;
  };
  const NodeCase nodes[] = {{1, 1, 16}, {2, 2, 8},  {12, 3, 0}, {5, 4, 1},  {7, 5, 1},
                            {13, 9, 1}, {14, 10, 1}, {15, 11, 1}, {17, 12, 1}, {4, 6, 1}};
  ASSERT_EQ(m.NodeCount, std::size(nodes));
  uint16_t index = 0;
  for (uint8_t k = 0; k < m.NodeCount; ++k) {
    EXPECT_EQ(m.Nodes[k].Type, nodes[k].type) << "node " << int(k);
    EXPECT_EQ(m.Nodes[k].Address, nodes[k].address) << "node " << int(k);
    ASSERT_EQ(m.Nodes[k].ZoneCount, nodes[k].zones) << "node " << int(k);
    for (uint8_t z = 0; z < m.Nodes[k].ZoneCount; ++z) EXPECT_EQ(m.Nodes[k].Zones[z].Index, index++);
  }
  EXPECT_EQ(index, 31);

  // The display code has no glyph of its own for Cyrillic letters that look Latin: they come back
  // Latin (K, o, p, y, c, A, x, a here), the others Cyrillic; names are blank-padded.
  EXPECT_EQ(m.Nodes[0].Name, Cp("Kop\u043Fyc A \u044D\u0442.1  "));
  EXPECT_EQ(m.Nodes[4].Name, Cp("\u041F\u041F\u0423-\u041FK cep\u0432.   "));
  const ZoneRecord& corridor = m.Nodes[0].Zones[0];
  EXPECT_EQ(corridor.Name, Cp("Kop\u0438\u0434op 1      "));
  EXPECT_EQ(corridor.Kind, kKindSecurity);
  EXPECT_EQ(corridor.Group, 0);
  EXPECT_EQ(corridor.ConvNumber, 1101);  // explicit 101
  EXPECT_EQ(m.Nodes[0].Zones[4].Kind, kKindFire);
  EXPECT_EQ(m.Nodes[0].Zones[4].Group, NoGroup);
  EXPECT_EQ(m.Nodes[0].Zones[4].ConvNumber, 1004);
  EXPECT_EQ(m.Nodes[1].Zones[0].ConvNumber, 1201);
  EXPECT_EQ(m.Nodes[1].Zones[0].Group, 2);

  EXPECT_EQ(m.GroupNames[0], Cp("Oxpa\u043Da 1 \u044D\u0442a\u0436   "));
  EXPECT_EQ(m.GroupNames[3], Cp("<HA\u0417BAH\u0418E> : 3  "));

  ASSERT_EQ(m.RuleCount, 8);
  // Rule 1: fire (event 0) in zone 4 starts extinguishing (action 3) on the ППУ-ПК at address 5.
  EXPECT_EQ(m.Activators[1].ZoneIndex, 4);
  EXPECT_EQ(m.Activators[1].Code, 0);
  EXPECT_EQ(m.Activators[1].Kind, kKindFire);
  EXPECT_EQ(m.Executors[1].NodeAddress, 5);
  EXPECT_EQ(m.Executors[1].NodeType, kTypePpuPk);
  EXPECT_EQ(m.Executors[1].ZoneIndex, 25);
  EXPECT_EQ(m.Executors[1].Kind, kKindControl);
  EXPECT_EQ(m.Executors[1].Code, 3);
  // Rule 5: a fault (event 3) in zone 6 closes the relay (action 18) of the address tag at 9.
  EXPECT_EQ(m.Activators[5].ZoneIndex, 6);
  EXPECT_EQ(m.Activators[5].Code, 3);
  EXPECT_EQ(m.Executors[5].NodeType, kTypeAddressTag);
  EXPECT_EQ(m.Executors[5].ZoneIndex, 26);
  EXPECT_EQ(m.Executors[5].Code, 18);
  EXPECT_EQ(m.Executors[5].Text.Bytes().substr(0, 8), "  0026: ");
}

TEST(GoldenImage, WritesBackByteForByte) {
  const ConfigImage image = Golden();
  ConfigModel m;
  ASSERT_TRUE(ParseImage(m, image).empty());
  ConfigImage again{};
  again.fill(0);
  ASSERT_EQ(BuildImage(m, again), kBuildOk);
  std::size_t firstDifference = ImageSize;
  for (std::size_t i = 0; i < ImageSize && firstDifference == ImageSize; ++i) {
    if (again[i] != image[i]) firstDifference = i;
  }
  EXPECT_EQ(firstDifference, ImageSize) << "first differing byte";
}

}  // namespace
}  // namespace zelor
