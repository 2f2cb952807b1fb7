// CRC-16/MODBUS against vectors from a second, independent implementation (crc_vectors.py).
#include <gtest/gtest.h>

#include <string_view>
#include <vector>

#include "link/crc16.h"

namespace zelor {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes Ascii(std::string_view text) { return Bytes(text.begin(), text.end()); }
Bytes Pattern(std::size_t n, unsigned mul, unsigned add) {
  Bytes b(n);
  for (std::size_t i = 0; i < n; ++i) b[i] = static_cast<uint8_t>((i * mul + add) % 256);
  return b;
}

struct Vector {
  const char* name;
  Bytes data;
  uint16_t crc;
};

// Output of `python3 tests/link/crc_vectors.py`; nobody computed these with the code under test.
std::vector<Vector> Vectors() {
  return {
    {"empty", {}, 0xFFFF},
    {"one zero byte", {0x00}, 0x40BF},
    {"one 0xFF byte", {0xFF}, 0x00FF},
    {"check string", Ascii("123456789"), 0x4B37},
    {"read one register at 0 from 247", {0xF7, 0x03, 0x00, 0x00, 0x00, 0x01}, 0x9C90},
    {"write 0 to 0xFFFF at 247", {0xF7, 0x06, 0xFF, 0xFF, 0x00, 0x00}, 0x789D},
    {"type code answer", {0xF7, 0x03, 0x02, 0x00, 0x0B}, 0x9631},
    {"refused single write", {0xF7, 0x86, 0x02}, 0x9323},
    {"read the parameter block from 1", {0x01, 0x03, 0x00, 0x00, 0x00, 0x18}, 0xC045},
    {"clock set 09:05:07 3.2.19", {0xF7, 0x10, 0x00, 0x07, 0x00, 0x06, 0x0C, 0x00, 0x09, 0x00, 0x05, 0x00, 0x07, 0x00, 0x03, 0x00, 0x02, 0x00, 0x13}, 0x7970},
    {"bytes 0..255", Pattern(256, 1, 0), 0xDE6C},
    {"12900 bytes (7i + 3) mod 256", Pattern(12900, 7, 3), 0x0CE4},
    {"12900 bytes 0xFF", Pattern(12900, 0, 0xFF), 0x83BF},
  };
}

TEST(Crc16Vectors, MatchTheIndependentImplementation) {
  for (const Vector& v : Vectors()) {
    EXPECT_EQ(Crc16(v.data.data(), static_cast<uint16_t>(v.data.size())), v.crc) << v.name;
  }
}

TEST(Crc16Vectors, AppendLowByteFirstAndCheck) {
  for (const Vector& v : Vectors()) {
    Bytes sealed = v.data;
    sealed.resize(v.data.size() + 2, 0xAA);
    AppendCrc16(sealed.data(), static_cast<uint16_t>(v.data.size()));
    EXPECT_EQ(sealed[v.data.size()], v.crc & 0xFF) << v.name;
    EXPECT_EQ(sealed[v.data.size() + 1], v.crc >> 8) << v.name;
    EXPECT_TRUE(Bytes(sealed.begin(), sealed.end() - 2) == v.data) << v.name << ": the data stay as they were";
    EXPECT_TRUE(Crc16Matches(sealed.data(), sealed.size())) << v.name;

    for (std::size_t at : {std::size_t{0}, sealed.size() / 2, sealed.size() - 2, sealed.size() - 1}) {
      Bytes damaged = sealed;
      damaged[at] ^= 0x01;
      EXPECT_FALSE(Crc16Matches(damaged.data(), damaged.size())) << v.name << ", bit flipped at " << at;
    }
    std::swap(sealed[sealed.size() - 2], sealed[sealed.size() - 1]);
    if (sealed[sealed.size() - 2] != sealed[sealed.size() - 1]) {
      EXPECT_FALSE(Crc16Matches(sealed.data(), sealed.size())) << v.name << ": high byte first";
    }
  }
}

TEST(Crc16Vectors, CheckRefusesBlocksWithoutRoomForACrc) {
  const uint8_t crcOfNothing[] = {0xFF, 0xFF};
  EXPECT_TRUE(Crc16Matches(crcOfNothing, 2)) << "two bytes are the CRC of an empty block";
  EXPECT_FALSE(Crc16Matches(crcOfNothing, 1));
  EXPECT_FALSE(Crc16Matches(crcOfNothing, 0));
  EXPECT_FALSE(Crc16Matches(nullptr, 2));
}

}  // namespace
}  // namespace zelor
