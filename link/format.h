// Number and status texts shared by every subsystem.
#pragma once
#include <cstdint>
#include <string>

#include "link/link_state.h"

namespace zelor {

// Decimal value right-aligned in `width` characters with leading zeros; never cut.
std::string FormatZeroPadded(uint16_t value, uint8_t width);

// The status bar's refresh resets a BaudIndex outside the table to the fallback (9600) first.
void ClampBaudIndex(LinkState& link);

// The device line of status panel 2, «DEVICE : А = 247; Baud = 57600». It changes nothing: a
// BaudIndex outside the table shows as the fallback's rate.
std::string DeviceStatusLine(const LinkState& link);

// `text` without the blanks that pad it on either side (fixed-width display texts and names).
std::string TrimBlanks(const std::string& text);

// `text` (UTF-8) as a JSON string, quotes included; control characters escaped.
std::string JsonString(const std::string& text);

}  // namespace zelor
