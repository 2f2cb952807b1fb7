// The configuration memory through the link engine: 96-register block reads, the tool's
// function-16 block writes, the apply command with its image CRC check, and .bin files.
#include <gtest/gtest.h>

#include <fstream>

#include "sim/config_memory.h"
#include "sim/sample_image.h"
#include "sim_rig.h"

namespace zelor::test {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes Block(const Bytes& image, int page) {
  return Bytes(image.begin() + 64 * page, image.begin() + 64 * page + 192);
}

// Writes all 68 blocks the way the tool does; returns how many were acknowledged.
int WriteAllBlocks(SimRig& rig, const Bytes& image) {
  int acked = 0;
  for (int p = 0; p <= 201; p += 3) {
    const auto e = rig.WriteMultiple(static_cast<uint16_t>(reg::kConfigPageBase + p), 1, Block(image, p));
    if (e.reply == SimRig::Sealed({0xF7, 0x10, 0x0F, static_cast<uint8_t>(p), 0x00, 0x01})) ++acked;
  }
  return acked;
}

Bytes ReadAllBlocks(SimRig& rig) {
  Bytes image;
  for (int p = 0; p <= 201; p += 3) {
    const auto e = rig.Read(static_cast<uint16_t>(reg::kConfigPageBase + p), 96);
    if (e.reply.size() != 197) return {};
    image.insert(image.end(), e.reply.begin() + 3, e.reply.begin() + 195);
  }
  return image;
}

Bytes ChangedImage() {
  Bytes image = sim::SampleImage();
  const auto name = sim::EncodeDisplayName("Новый пульт", 15);
  std::copy(name.begin(), name.end(), image.begin() + sim::image::kNodeNames);
  sim::SealImage(image);
  return image;
}

TEST(ConfigMemory, BlockReadReturnsTheBytesFromSixtyFourTimesThePage) {
  SimRig rig;
  const Bytes image = sim::SampleImage();
  for (int p : {0, 3, 100, 201}) {
    const auto e = rig.Read(static_cast<uint16_t>(reg::kConfigPageBase + p), 96);
    ASSERT_EQ(e.reply.size(), 197U) << p;
    EXPECT_EQ(e.reply[2], 0xC0);
    EXPECT_EQ(Bytes(e.reply.begin() + 3, e.reply.end() - 2), Block(image, p)) << p;
  }
  EXPECT_EQ(ReadAllBlocks(rig), Bytes(image.begin(), image.begin() + 13056));
}

TEST(ConfigMemory, WrittenConfigurationIsTakenOnlyByTheApplyCommand) {
  SimRig rig;
  const Bytes original = sim::SampleImage();
  const Bytes changed = ChangedImage();
  EXPECT_EQ(WriteAllBlocks(rig, changed), 68);
  EXPECT_EQ(ReadAllBlocks(rig), Bytes(original.begin(), original.begin() + 13056)) << "not applied yet";

  const auto apply = rig.Write(reg::kConfigApply, 0);
  EXPECT_EQ(apply.reply, (Bytes{0xF7, 0x06, 0xFF, 0xFF, 0x00, 0x00, 0x9D, 0x78}));
  EXPECT_EQ(ReadAllBlocks(rig), Bytes(changed.begin(), changed.begin() + 13056));
  EXPECT_EQ(rig.panel.config().ImageFile(), changed);
  EXPECT_EQ(rig.panel.config().applied(), 1U);
}

TEST(ConfigMemory, ApplyRefusesAnImageWithABadCrc) {
  SimRig rig;
  Bytes broken = sim::SampleImage();
  broken[5] ^= 0x40;  // not resealed
  EXPECT_EQ(rig.WriteMultiple(reg::kConfigPageBase, 1, Block(broken, 0)).outcome, "   : ОК.");
  const auto apply = rig.Write(reg::kConfigApply, 0);
  EXPECT_EQ(apply.rx, SimRig::Sealed({0xF7, 0x86, 0x04}));
  const Bytes sample = sim::SampleImage();
  EXPECT_EQ(rig.panel.config().active(), Bytes(sample.begin(), sample.begin() + 13056));
  // Writing the right block again makes the staging copy whole, and the apply goes through.
  rig.WriteMultiple(reg::kConfigPageBase, 1, Block(sim::SampleImage(), 0));
  EXPECT_EQ(rig.Write(reg::kConfigApply, 0).outcome, "   : ОК.");
}

TEST(ConfigMemory, BlockWritesOutsideTheMemoryOrMisshapenAreRefused) {
  struct Case {
    uint16_t start;
    uint16_t quantity;
    std::size_t bytes;
    uint8_t code;
  };
  const Case cases[] = {
      {reg::kConfigPageBase + 202, 1, 192, 2},   // runs past byte 13055
      {reg::kConfigPageBase + 201, 2, 192, 3},   // quantity neither 1 nor 96
      {reg::kConfigPageBase + 3, 1, 190, 3},     // quantity 1 is only the tool's 192-byte block
      {reg::kConfigPageBase + 203, 32, 64, 0},   // the last page, standard form: accepted
      {reg::kConfigPageBase + 0, 96, 192, 0},    // standard form of a block write
  };
  SimRig rig;
  for (const auto& c : cases) {
    const auto e = rig.WriteMultiple(c.start, c.quantity, Bytes(c.bytes, 0x11));
    if (c.code == 0) {
      EXPECT_EQ(e.outcome, "   : ОК.") << c.start;
    } else {
      ASSERT_EQ(e.rx.size(), 5U) << c.start;
      EXPECT_EQ(e.rx[1], 0x90);
      EXPECT_EQ(e.rx[2], c.code) << c.start;
    }
  }
  EXPECT_EQ(rig.Read(reg::kConfigPageBase + 203, 32, 69).reply.size(), 69U);
  EXPECT_EQ(rig.Read(reg::kConfigPageBase + 203, 33, 5).rx[2], 2);
  EXPECT_EQ(rig.Read(reg::kConfigPageBase + 204, 1, 5).rx[2], 2);
}

TEST(ConfigMemory, ImageFilesMustHaveTheirExactSize) {
  const std::string dir = ::testing::TempDir();
  auto write = [&](const std::string& name, std::size_t size) {
    std::ofstream out(dir + name, std::ios::binary);
    const Bytes image = sim::SampleImage();
    out.write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(std::min(size, image.size())));
    for (std::size_t i = image.size(); i < size; ++i) out.put('\xFF');
    return dir + name;
  };
  std::string error;
  EXPECT_EQ(sim::LoadImageFile(write("good.bin", 45952), error), sim::SampleImage());
  EXPECT_FALSE(sim::LoadImageFile(write("short.bin", 45951), error));
  EXPECT_NE(error.find("45951"), std::string::npos) << error;
  EXPECT_FALSE(sim::LoadImageFile(write("long.bin", 45953), error));
  EXPECT_NE(error.find("more"), std::string::npos) << error;
  EXPECT_FALSE(sim::LoadImageFile(dir + "missing.bin", error));
  EXPECT_NE(error.find("cannot open"), std::string::npos) << error;
}

}  // namespace
}  // namespace zelor::test
