#include "link/format.h"

#include "link/line_rates.h"

namespace zelor {

std::string FormatZeroPadded(uint16_t value, uint8_t width) {
  std::string digits = std::to_string(value);
  if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
  return digits;
}

void ClampBaudIndex(LinkState& link) { link.BaudIndex = ClampedBaudIndex(link.BaudIndex); }

std::string DeviceStatusLine(const LinkState& link) {
  return "DEVICE : А = " + FormatZeroPadded(link.DeviceAddress, 3) + "; Baud = " + BaudRateText(link.BaudIndex);
}

}  // namespace zelor
