// The firmware file's sizes, the images and check word built from it, the loader frames and
// which frame is due at each step.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "link/crc16.h"
#include "upgrade/firmware_file.h"
#include "upgrade/loader_frames.h"
#include "upgrade_test_support.h"

namespace zelor::test {
namespace {

bool AllErased(const uint8_t* from, const uint8_t* to) {
  return std::all_of(from, to, [](uint8_t b) { return b == 0xFF; });
}

TEST(FirmwareFile, SizesGiveTheAuxiliaryBlockCount) {
  struct Case {
    std::size_t size;
    uint16_t blocks;
  };
  for (const Case c : {Case{61442, 0}, Case{61443, 1}, Case{61458, 1}, Case{61459, 2}, Case{61442 + 2047, 128},
                       Case{61442 + 2048, 128}}) {
    SCOPED_TRACE(c.size);
    const auto file = FirmwareFileBytes(c.size);
    FirmwareImages images;
    ASSERT_EQ(LoadFirmwareFile(WriteFirmwareFile("fw.hex", file), images).status, FirmwareLoad::Loaded);
    EXPECT_EQ(images.AuxBlockCount, c.blocks);
    EXPECT_TRUE(std::equal(images.FirmwareImage.begin(), images.FirmwareImage.end(), file.begin()));
    EXPECT_EQ(images.CheckWord, 0x1234);
    const std::size_t k = c.size - 61442;
    const std::size_t kept = std::min<std::size_t>(k, 2042);
    EXPECT_TRUE(std::equal(images.AuxImage.begin(), images.AuxImage.begin() + static_cast<std::ptrdiff_t>(kept),
                           file.begin() + 61442));
    EXPECT_TRUE(AllErased(images.AuxImage.data() + kept, images.AuxImage.data() + 2042)) << "what the file did not supply";
    EXPECT_EQ(std::vector<uint8_t>(images.AuxImage.end() - 6, images.AuxImage.end()),
              (std::vector<uint8_t>{0x34, 0x12, 0x34, 0x12, 0x34, 0x12}))
        << "the check word copies replace the file's last six bytes";
  }
}

TEST(FirmwareFile, OneByteOfAuxiliaryImageIsTheFilesLastByte) {
  auto file = FirmwareFileBytes(61443);
  file.back() = 0x5C;
  FirmwareImages images;
  ASSERT_EQ(FillFirmwareImages(file.data(), file.size(), images), FirmwareLoad::Loaded);
  EXPECT_EQ(images.AuxBlockCount, 1);
  EXPECT_EQ(images.AuxImage[0], 0x5C);
  EXPECT_TRUE(AllErased(images.AuxImage.data() + 1, images.AuxImage.data() + 16));
}

TEST(FirmwareFile, CheckWordIsLowByteFirst) {
  auto file = FirmwareFileBytes(61442);
  file[61440] = 0xCD;
  file[61441] = 0xAB;
  FirmwareImages images;
  ASSERT_EQ(FillFirmwareImages(file.data(), file.size(), images), FirmwareLoad::Loaded);
  EXPECT_EQ(images.CheckWord, 0xABCD);
  EXPECT_EQ(images.AuxImage[2042], 0xCD);
  EXPECT_EQ(images.AuxImage[2047], 0xAB);
}

TEST(FirmwareFile, WrongSizesAreRefusedAndNothingIsRead) {
  for (const std::size_t size : {std::size_t{0}, std::size_t{61441}, std::size_t{61442 + 2049}, std::size_t{200'000}}) {
    SCOPED_TRACE(size);
    FirmwareImages images;
    images.FirmwareImage[0] = 0;
    const auto result = LoadFirmwareFile(WriteFirmwareFile("fw.hex", FirmwareFileBytes(size)), images);
    EXPECT_EQ(result.status, FirmwareLoad::WrongSize);
    EXPECT_TRUE(AllErased(images.FirmwareImage.data(), images.FirmwareImage.data() + images.FirmwareImage.size()));
    EXPECT_TRUE(AllErased(images.AuxImage.data(), images.AuxImage.data() + images.AuxImage.size()));
  }
}

TEST(FirmwareFile, AFileThatCannotBeReadGivesTheSystemsText) {
  FirmwareImages images;
  const auto missing = LoadFirmwareFile(::testing::TempDir() + "no-such-firmware.hex", images);
  EXPECT_EQ(missing.status, FirmwareLoad::FileError);
  EXPECT_EQ(missing.error, std::strerror(ENOENT));
  const auto folder = LoadFirmwareFile(::testing::TempDir(), images);
  EXPECT_NE(folder.status, FirmwareLoad::Loaded) << "a folder is no firmware file";
}

class LoaderFramesTest : public ::testing::Test {
 protected:
  LoaderFramesTest() {
    const auto file = FirmwareFileBytes(61442 + 2048);
    FillFirmwareImages(file.data(), file.size(), images);
  }
  static uint16_t CrcAt(const uint8_t* frame, std::size_t at) { return static_cast<uint16_t>(frame[at] | frame[at + 1] << 8); }
  FirmwareImages images;
  uint8_t frame[1028] = {};
};

TEST_F(LoaderFramesTest, PageFrameIsThePageItsNumberAndTheCrcOfThe513BytesBefore) {
  for (const uint8_t p : {uint8_t{0}, uint8_t{1}, uint8_t{77}, uint8_t{119}}) {
    SCOPED_TRACE(int(p));
    ASSERT_EQ(BuildFirmwarePageFrame(images, p, frame), 515);
    EXPECT_TRUE(std::equal(frame, frame + 512, images.FirmwareImage.begin() + 512 * p));
    EXPECT_EQ(frame[512], p);
    EXPECT_EQ(CrcAt(frame, 513), Crc16(frame, 513));
  }
}

TEST_F(LoaderFramesTest, AuxBlockFrameIsTheBlockItsNumberAndTheCrcOfThe17BytesBefore) {
  for (const uint8_t n : {uint8_t{0}, uint8_t{5}, uint8_t{127}}) {
    SCOPED_TRACE(int(n));
    ASSERT_EQ(BuildAuxBlockFrame(images, n, frame), 19);
    EXPECT_TRUE(std::equal(frame, frame + 16, images.AuxImage.begin() + 16 * n));
    EXPECT_EQ(frame[16], n);
    EXPECT_EQ(CrcAt(frame, 17), Crc16(frame, 17));
  }
  ASSERT_EQ(BuildAuxBlockFrame(images, 127, frame), 19);
  EXPECT_EQ(std::vector<uint8_t>(frame + 10, frame + 16), (std::vector<uint8_t>{0x34, 0x12, 0x34, 0x12, 0x34, 0x12}));
}

TEST_F(LoaderFramesTest, FinishFrameIsAlwaysTheSameEightBytes) {
  std::fill(std::begin(frame), std::end(frame), uint8_t{0xEE});
  ASSERT_EQ(BuildFinishFrame(frame), 8);
  EXPECT_EQ(std::vector<uint8_t>(frame, frame + 8), (std::vector<uint8_t>{0, 0, 0, 0, 0, 0, 0x00, 0x1B}));
}

TEST(LoaderFrameOrder, PagesThenAuxBlocksThenBlock127ThenFinish) {
  struct Case {
    uint16_t aux;
    uint8_t blockIndex;
    LoaderFrame kind;
    uint8_t number;
  };
  for (const Case c : {Case{0, 0, LoaderFrame::Page, 0}, Case{0, 119, LoaderFrame::Page, 119},
                       Case{0, 120, LoaderFrame::AuxBlock, 127}, Case{0, 121, LoaderFrame::Finish, 0},
                       Case{0, 122, LoaderFrame::None, 0}, Case{3, 120, LoaderFrame::AuxBlock, 0},
                       Case{3, 122, LoaderFrame::AuxBlock, 2}, Case{3, 123, LoaderFrame::AuxBlock, 127},
                       Case{3, 124, LoaderFrame::Finish, 0}, Case{3, 125, LoaderFrame::None, 0},
                       Case{128, 247, LoaderFrame::AuxBlock, 127}, Case{128, 248, LoaderFrame::AuxBlock, 127},
                       Case{128, 249, LoaderFrame::Finish, 0}, Case{128, 250, LoaderFrame::None, 0}}) {
    SCOPED_TRACE(testing::Message() << "A=" << c.aux << " b=" << int(c.blockIndex));
    const FrameDue due = DueFrame(c.blockIndex, c.aux);
    EXPECT_EQ(due.kind, c.kind);
    EXPECT_EQ(due.number, c.number);
  }
}

}  // namespace
}  // namespace zelor::test
