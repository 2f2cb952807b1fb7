#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <string>

#include "link/crc16.h"
#include "link/format.h"
#include "link/frames.h"

namespace zelor {
namespace {

std::string Hex(const uint8_t* b, std::size_t n) {
  std::string s;
  for (std::size_t i = 0; i < n; ++i) s += ByteToHex(b[i]) + (i + 1 < n ? " " : "");
  return s;
}

TEST(Crc16, CheckValueAndSplitBlocks) {
  const char* ascii = "123456789";
  EXPECT_EQ(Crc16(reinterpret_cast<const uint8_t*>(ascii), 9), 0x4B37);
  EXPECT_EQ(Crc16(nullptr, 0), 0xFFFF);
}

TEST(Frames, WorkedRequests) {
  LinkState link;
  BuildReadRequest(link, 0, 1);
  EXPECT_EQ(Hex(link.FrameBuffer.data(), 8), "F7 03 00 00 00 01 90 9C");
  EXPECT_EQ(link.ExpectedLength, 7);
  ASSERT_EQ(FormatTxLines(link.FrameBuffer.data(), 8).size(), 1U);
  EXPECT_EQ(FormatTxLines(link.FrameBuffer.data(), 8)[0], "TX : F7 03 00 00 00 01 90 9C ");

  BuildReadRequest(link, 0x0F00, 96);
  EXPECT_EQ(link.ExpectedLength, 197);
  BuildReadRequest(link, 0, 200);  // only the low byte of the count counts, modulo 256
  EXPECT_EQ(link.ExpectedLength, static_cast<uint8_t>((2 * 200 + 5) % 256));

  BuildWriteRequest(link, 0xFFFF, 0x0000);
  EXPECT_EQ(Hex(link.FrameBuffer.data(), 8), "F7 06 FF FF 00 00 9D 78");
  EXPECT_EQ(link.ExpectedLength, 8);
}

TEST(Frames, ClockSetRequest) {
  LinkState link;
  link.RxCount = 0;
  const CivilTime t{2019, 2, 3, 9, 5, 7};
  ASSERT_EQ(BuildClockSetRequest(link, t), 21);
  // Start 0x0007, quantity 6, 12 data bytes (high byte 0, then the field), CRC of bytes 0..18
  // (the "clock set" vector of crc_vectors_test.cpp).
  EXPECT_EQ(Hex(link.FrameBuffer.data(), 21),
            "F7 10 00 07 00 06 0C 00 09 00 05 00 07 00 03 00 02 00 13 70 79");

  link.DeviceAddress = 1;
  ASSERT_EQ(BuildClockSetRequest(link, CivilTime{2100, 12, 31, 23, 59, 59}), 21);
  EXPECT_EQ(Hex(link.FrameBuffer.data(), 19), "01 10 00 07 00 06 0C 00 17 00 3B 00 3B 00 1F 00 0C 00 00")
      << "the year travels modulo 100";
  link.RxCount = 21;
  EXPECT_TRUE(CheckResponseCrc(link));
  EXPECT_EQ(ClockYear(2019), 19);
  EXPECT_EQ(ClockYear(2000), 0);
  EXPECT_EQ(ClockYear(1999), 99);
}

TEST(Frames, ConfigBlockWriteRequest) {
  LinkState link;
  std::array<uint8_t, 192> block{};
  for (std::size_t i = 0; i < block.size(); ++i) block[i] = static_cast<uint8_t>(0xC0 + i);
  ASSERT_EQ(BuildConfigBlockWrite(link, 201, block), 201);
  // 0x0F00 + 201 = 0x0FC9; the quantity field says 1 although 96 registers travel.
  EXPECT_EQ(Hex(link.FrameBuffer.data(), 8), "F7 10 0F C9 00 01 C0 C0");
  EXPECT_EQ(link.FrameBuffer[6], 0xC0) << "byte count 192";
  EXPECT_TRUE(std::equal(block.begin(), block.end(), link.FrameBuffer.begin() + 7));
  EXPECT_EQ(Hex(link.FrameBuffer.data() + 199, 2), "DF 0F") << "CRC from crc_vectors.py's implementation";
  link.RxCount = 201;
  EXPECT_TRUE(CheckResponseCrc(link));
  link.RxCount = 200;
  EXPECT_FALSE(CheckResponseCrc(link));
}

TEST(Frames, WriteMultipleRequestTakesTheQuantityAsGiven) {
  LinkState link;
  link.DeviceAddress = 0x11;
  const uint8_t data[] = {0x00, 0x0A, 0x01, 0x02};
  ASSERT_EQ(BuildWriteMultipleRequest(link, 0x0001, 0x0002, data), 13);
  // The standard example: write 0x000A, 0x0102 to registers 1 and 2 of slave 17.
  EXPECT_EQ(Hex(link.FrameBuffer.data(), 13), "11 10 00 01 00 02 04 00 0A 01 02 C6 F0");
  ASSERT_EQ(BuildWriteMultipleRequest(link, 0x1234, 0x0009, data), 13);
  EXPECT_EQ(Hex(link.FrameBuffer.data(), 7), "11 10 12 34 00 09 04");

  ASSERT_EQ(BuildWriteMultipleRequest(link, 0, 0, {}), 9);
  EXPECT_EQ(Hex(link.FrameBuffer.data(), 7), "11 10 00 00 00 00 00");

  // The frame length is one byte wide (SendFrame): 246 data bytes are the most.
  const std::vector<uint8_t> most(246, 0x55);
  ASSERT_EQ(BuildWriteMultipleRequest(link, 0, 123, most), 255);
  link.RxCount = 255;
  EXPECT_TRUE(CheckResponseCrc(link));
  const std::vector<uint8_t> tooMany(247, 0x55);
  link.FrameBuffer.fill(0);
  EXPECT_EQ(BuildWriteMultipleRequest(link, 0, 123, tooMany), 0);
  EXPECT_EQ(link.FrameBuffer[0], 0) << "nothing built";
}

TEST(Frames, ResponseCrcCheck) {
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
    bool ok;
  };
  const std::vector<Case> cases = {
      {"valid answer", {0xF7, 0x03, 0x02, 0x00, 0x0B, 0x31, 0x96}, true},
      {"crc bytes swapped", {0xF7, 0x03, 0x02, 0x00, 0x0B, 0x96, 0x31}, false},
      {"echo of a write", {0xF7, 0x06, 0xFF, 0xFF, 0x00, 0x00, 0x9D, 0x78}, true},
      {"too short", {0xF7, 0x03}, false},
      {"empty", {}, false},
  };
  for (const auto& c : cases) {
    LinkState link;
    std::copy(c.bytes.begin(), c.bytes.end(), link.FrameBuffer.begin());
    link.RxCount = static_cast<int32_t>(c.bytes.size());
    EXPECT_EQ(CheckResponseCrc(link), c.ok) << c.name;
  }
  LinkState link;
  link.RxCount = 5000;  // a count beyond the buffer is refused, not read
  EXPECT_FALSE(CheckResponseCrc(link));
}

TEST(Frames, ExceptionReplyPassesCrc) {
  LinkState link;
  const uint8_t reply[] = {0xF7, 0x86, 0x02, 0, 0};
  std::memcpy(link.FrameBuffer.data(), reply, 3);
  SealFrame(link, 3);
  link.RxCount = 5;
  EXPECT_TRUE(CheckResponseCrc(link));
}

TEST(Frames, LogLinesSplitAt33And38Bytes) {
  std::vector<uint8_t> frame(201);
  for (std::size_t i = 0; i < frame.size(); ++i) frame[i] = static_cast<uint8_t>(i);
  const auto tx = FormatTxLines(frame.data(), frame.size());
  ASSERT_EQ(tx.size(), 7U);  // 6 full lines of 33 and one of 3
  EXPECT_EQ(tx[0].substr(0, 8), "TX : 00 ");
  EXPECT_EQ(tx[0].size(), 5 + 33 * 3U);
  EXPECT_EQ(tx[1].substr(0, 8), "     21 ");
  EXPECT_EQ(tx[6], "     C6 C7 C8 ");

  const auto exact = FormatTxLines(frame.data(), 66);
  EXPECT_EQ(exact.size(), 2U) << "no line for an empty remainder";

  const auto rx = FormatRxLines(frame.data(), 197);
  ASSERT_EQ(rx.size(), 6U);  // 5 x 38 + 7
  EXPECT_EQ(rx[0].substr(0, 5), "RX : ");
  EXPECT_EQ(rx[1].substr(0, 8), "     26 ");
  EXPECT_EQ(rx[5].size(), 5 + 7 * 3U);
  EXPECT_TRUE(FormatRxLines(frame.data(), 0).empty());
}

TEST(Frames, ByteToHex) {
  EXPECT_EQ(ByteToHex(0), "00");
  EXPECT_EQ(ByteToHex(0x0A), "0A");
  EXPECT_EQ(ByteToHex(0xF7), "F7");
  EXPECT_EQ(ByteToHex(255), "FF");
}

TEST(Format, ZeroPaddedAndDeviceLine) {
  EXPECT_EQ(FormatZeroPadded(247, 3), "247");
  EXPECT_EQ(FormatZeroPadded(5, 3), "005");
  EXPECT_EQ(FormatZeroPadded(7, 2), "07");
  EXPECT_EQ(FormatZeroPadded(1234, 3), "1234");
  EXPECT_EQ(FormatZeroPadded(0, 3), "000");
  EXPECT_EQ(FormatZeroPadded(9, 1), "9");
  EXPECT_EQ(FormatZeroPadded(9, 0), "9");

  LinkState link;
  EXPECT_EQ(DeviceStatusLine(link), "DEVICE : \xD0\x90 = 247; Baud = 57600");  // Cyrillic А
  link.BaudIndex = 9;
  link.DeviceAddress = 5;
  EXPECT_EQ(DeviceStatusLine(link), "DEVICE : \xD0\x90 = 005; Baud = 9600");
  EXPECT_EQ(link.BaudIndex, 9) << "the line shows the fallback and changes nothing";
  ClampBaudIndex(link);  // the refresh's own step
  EXPECT_EQ(link.BaudIndex, 3);
}

}  // namespace
}  // namespace zelor
