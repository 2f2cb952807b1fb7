#include "link/crc16.h"

#include <array>

namespace zelor {

namespace {
// One step of the reflected polynomial 0xA001 for every byte value: eight shifts become one lookup
// (a configuration image is 46 KB, checked on every read, load and build).
constexpr std::array<uint16_t, 256> kCrcTable = [] {
  std::array<uint16_t, 256> table{};
  for (unsigned b = 0; b < 256; ++b) {
    uint16_t crc = static_cast<uint16_t>(b);
    for (int bit = 0; bit < 8; ++bit) {
      crc = (crc & 1U) ? static_cast<uint16_t>((crc >> 1) ^ 0xA001U) : static_cast<uint16_t>(crc >> 1);
    }
    table[b] = crc;
  }
  return table;
}();
}  // namespace

uint16_t Crc16(const uint8_t* block, uint16_t length) {
  uint16_t crc = 0xFFFF;
  for (const uint8_t* p = block; p != block + length; ++p) {
    crc = static_cast<uint16_t>((crc >> 8) ^ kCrcTable[(crc ^ *p) & 0xFFU]);
  }
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
