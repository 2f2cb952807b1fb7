// Boot-loader mode through the link engine: each good page, auxiliary and finish frame is
// acknowledged with 07 A5, a bad one gets nothing, and the finish frame makes it a panel again.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "sim_rig.h"

namespace zelor::test {
namespace {

using Bytes = std::vector<uint8_t>;
const Bytes kAck{0x07, 0xA5};

Bytes PageFrame(uint8_t page, uint8_t fill) {
  Bytes f(512, fill);
  f[0] = page;
  f.push_back(page);
  return SimRig::Sealed(f);
}

Bytes AuxFrame(uint8_t block, uint8_t fill) {
  Bytes f(16, fill);
  f.push_back(block);
  return SimRig::Sealed(f);
}

Bytes FinishFrame() { return SimRig::Sealed(Bytes(6, 0)); }

TEST(BootLoader, FinishFrameIsTheKnownBytes) {
  EXPECT_EQ(FinishFrame(), (Bytes{0, 0, 0, 0, 0, 0, 0x00, 0x1B}));
}

TEST(BootLoader, AcknowledgesAWholeUpgradeAndBecomesAPanelAgain) {
  SimRig rig;
  rig.panel.EnterBootLoader();
  EXPECT_EQ(rig.panel.lineBaud(), 115200U);
  EXPECT_EQ(rig.Read(0, 1).outcome, "   : TIME OUT.") << "the loader does not speak MODBUS";
  for (uint8_t p = 0; p < 120; ++p) ASSERT_EQ(rig.SendLoader(PageFrame(p, static_cast<uint8_t>(p * 3))).reply, kAck) << int(p);
  EXPECT_EQ(rig.SendLoader(AuxFrame(0, 0x42)).reply, kAck);
  Bytes last(16, 0x11);
  for (int i = 10; i < 16; i += 2) {
    last[i] = 0x34;
    last[i + 1] = 0x12;
  }
  last.push_back(127);
  EXPECT_EQ(rig.SendLoader(SimRig::Sealed(last)).reply, kAck);
  EXPECT_TRUE(rig.panel.inBootLoader());
  EXPECT_EQ(rig.SendLoader(FinishFrame()).reply, kAck);
  EXPECT_FALSE(rig.panel.inBootLoader());
  EXPECT_EQ(rig.panel.upgradesFinished(), 1U);
  EXPECT_EQ(rig.panel.lineBaud(), 57600U);

  const auto& loader = rig.panel.loader();
  EXPECT_EQ(loader.pagesReceived(), 120U);
  EXPECT_EQ(loader.auxBlocksReceived(), 2U);
  EXPECT_EQ(loader.firmware()[512 * 7], 7);
  EXPECT_EQ(loader.firmware()[512 * 7 + 1], 21);
  EXPECT_EQ(loader.aux()[0], 0x42);
  EXPECT_EQ(loader.aux()[16], 0xFF) << "a block never sent stays erased";
  EXPECT_EQ(loader.CheckWord(), 0x1234);

  const std::string path = ::testing::TempDir() + "received.hex";
  std::string error;
  ASSERT_TRUE(loader.WriteFirmwareFile(path, error)) << error;
  std::ifstream in(path, std::ios::binary);
  const Bytes file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_EQ(file.size(), 61440U + 2 + 2048);
  EXPECT_EQ(file[61440], 0x34);
  EXPECT_EQ(file[61441], 0x12);
  EXPECT_EQ(file[61442], 0x42);

  EXPECT_EQ(rig.Read(0, 1).reply, (Bytes{0xF7, 0x03, 0x02, 0x00, 0x0B, 0x31, 0x96}));
}

TEST(BootLoader, BadFramesGetNothingAndTheNextGoodOneIsAcknowledged) {
  Bytes badCrc = PageFrame(3, 0x55);
  badCrc[100] ^= 1;
  Bytes swappedCrc = AuxFrame(5, 0);
  std::swap(swappedCrc[17], swappedCrc[18]);
  Bytes finishNotZero = SimRig::Sealed({0, 0, 1, 0, 0, 0});
  Bytes truncated = PageFrame(3, 0x55);
  truncated.pop_back();
  const Bytes cases[] = {badCrc, PageFrame(120, 0), AuxFrame(128, 0), swappedCrc, finishNotZero, truncated,
                         Bytes{0x07}, SimRig::Sealed({0xF7, 0x03, 0x00, 0x00, 0x00, 0x01})};
  SimRig rig;
  rig.panel.EnterBootLoader();
  for (const auto& frame : cases) {
    const auto e = rig.SendLoader(frame);
    EXPECT_TRUE(e.reply.empty()) << frame.size();
    EXPECT_EQ(e.outcome, "   : TIME OUT.") << frame.size();
  }
  EXPECT_EQ(rig.panel.loader().pagesReceived(), 0U);
  EXPECT_EQ(rig.SendLoader(PageFrame(3, 0x55)).reply, kAck);
  EXPECT_EQ(rig.SendLoader(PageFrame(3, 0x55)).reply, kAck) << "a repeated page is taken again";
  EXPECT_TRUE(rig.panel.inBootLoader());
}

}  // namespace
}  // namespace zelor::test
