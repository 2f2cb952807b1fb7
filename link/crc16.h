// The MODBUS CRC-16 (reflected polynomial 0xA001, start 0xFFFF), stored low byte first.
#pragma once
#include <cstdint>

namespace zelor {

uint16_t Crc16(const uint8_t* block, uint16_t length);

}  // namespace zelor
