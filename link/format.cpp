#include "link/format.h"

#include <array>

namespace zelor {

std::string FormatZeroPadded(uint16_t value, uint8_t width) {
  std::string digits = std::to_string(value);
  if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
  return digits;
}

namespace {
constexpr std::array<uint32_t, kBaudRateCount> kRates = {1200, 2400, 4800, 9600, 14400, 19200, 38400, 57600};
}

uint32_t BaudRateOf(int baudIndex) {
  return baudIndex >= 0 && baudIndex < kBaudRateCount ? kRates[static_cast<std::size_t>(baudIndex)] : 0;
}

std::string BaudRateText(int baudIndex) { return std::to_string(BaudRateOf(baudIndex)); }

std::string DeviceStatusLine(LinkState& link) {
  if (link.BaudIndex >= kBaudRateCount) link.BaudIndex = 3;
  return "DEVICE : А = " + FormatZeroPadded(link.DeviceAddress, 3) + "; Baud = " + BaudRateText(link.BaudIndex);
}

}  // namespace zelor
