#include "link/crc16.h"

namespace zelor {

namespace {
// Tables of the reflected polynomial 0xA001: kCrcTables[0][b] is one byte's step (eight shifts
// become one lookup), kCrcTables[k][b] the same byte followed by k zero bytes, so that eight bytes
// take eight independent lookups (a 13 KB image is checked on every read, load and build).
// Plain arrays: the fuzzers build this file without sanitizers, and an instrumented
// std::array::operator[] would not be inlined into its loop.
struct CrcTables {
  uint16_t t[8][256];
};
constexpr CrcTables kCrcTables = [] {
  CrcTables tables{};
  auto& t = tables.t;
  for (unsigned b = 0; b < 256; ++b) {
    uint16_t crc = static_cast<uint16_t>(b);
    for (int bit = 0; bit < 8; ++bit) {
      crc = (crc & 1U) ? static_cast<uint16_t>((crc >> 1) ^ 0xA001U) : static_cast<uint16_t>(crc >> 1);
    }
    t[0][b] = crc;
  }
  for (std::size_t k = 1; k < 8; ++k) {
    for (unsigned b = 0; b < 256; ++b) {
      const uint16_t prev = t[k - 1][b];
      t[k][b] = static_cast<uint16_t>((prev >> 8) ^ t[0][prev & 0xFFU]);
    }
  }
  return tables;
}();
}  // namespace

uint16_t Crc16(const uint8_t* block, uint16_t length) {
  const auto& t = kCrcTables.t;
  uint16_t crc = 0xFFFF;
  const uint8_t* p = block;
  const uint8_t* const end = block + length;
  for (; end - p >= 8; p += 8) {
    const unsigned x = crc ^ (p[0] | (unsigned{p[1]} << 8));
    crc = static_cast<uint16_t>(t[7][x & 0xFFU] ^ t[6][x >> 8] ^ t[5][p[2]] ^ t[4][p[3]] ^ t[3][p[4]] ^ t[2][p[5]] ^
                                t[1][p[6]] ^ t[0][p[7]]);
  }
  for (; p != end; ++p) crc = static_cast<uint16_t>((crc >> 8) ^ t[0][(crc ^ *p) & 0xFFU]);
  return crc;
}

void AppendCrc16(uint8_t* block, uint16_t length) {
  const uint16_t crc = Crc16(block, length);
  block[length] = static_cast<uint8_t>(crc & 0xFF);
  block[length + 1U] = static_cast<uint8_t>(crc >> 8);
}

bool Crc16Matches(const uint8_t* block, std::size_t size) {
  if (block == nullptr || size < 2 || size - 2 > UINT16_MAX) return false;
  const std::size_t n = size - 2;
  const uint16_t crc = Crc16(block, static_cast<uint16_t>(n));
  return block[n] == (crc & 0xFF) && block[n + 1] == (crc >> 8);
}

}  // namespace zelor
