// The MODBUS CRC-16 (reflected polynomial 0xA001, start 0xFFFF), stored low byte first.
#pragma once
#include <cstddef>
#include <cstdint>

namespace zelor {

uint16_t Crc16(const uint8_t* block, uint16_t length);

// Writes the CRC of block[0 .. length) into block[length] (low byte) and block[length + 1] (high);
// the block must have room for the two bytes.
void AppendCrc16(uint8_t* block, uint16_t length);

// True when the last two of the `size` bytes are the CRC of the bytes before them, low byte first.
// False for fewer than two bytes or a block too long for the 16-bit length.
bool Crc16Matches(const uint8_t* block, std::size_t size);

}  // namespace zelor
