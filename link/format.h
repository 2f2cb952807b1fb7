// Number and status texts shared by every subsystem.
#pragma once
#include <cstdint>
#include <string>

#include "link/link_state.h"

namespace zelor {

// Decimal value right-aligned in `width` characters with leading zeros; never cut.
std::string FormatZeroPadded(uint16_t value, uint8_t width);

constexpr int kBaudRateCount = 8;
// 1200, 2400, 4800, 9600, 14400, 19200, 38400, 57600 for BaudIndex 0..7; 0 outside.
uint32_t BaudRateOf(int baudIndex);
// The rate's decimal text for BaudIndex 0..7.
std::string BaudRateText(int baudIndex);

// The device line of status panel 2; a BaudIndex outside 0..7 is reset to 3 (9600) first.
std::string DeviceStatusLine(LinkState& link);

}  // namespace zelor
