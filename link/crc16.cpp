#include "link/crc16.h"

namespace zelor {

uint16_t Crc16(const uint8_t* block, uint16_t length) {
  uint16_t crc = 0xFFFF;
  for (uint16_t i = 0; i < length; ++i) {
    crc ^= block[i];
    for (int bit = 0; bit < 8; ++bit) {
      crc = (crc & 1U) ? static_cast<uint16_t>((crc >> 1) ^ 0xA001U) : static_cast<uint16_t>(crc >> 1);
    }
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
