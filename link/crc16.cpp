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

}  // namespace zelor
