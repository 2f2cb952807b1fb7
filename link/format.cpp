#include "link/format.h"

#include <cstdio>

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

std::string TrimBlanks(const std::string& text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string JsonString(const std::string& text) {
  std::string out = "\"";
  for (const char c : text) {
    const auto u = static_cast<unsigned char>(c);
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (u < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", u);
          out += buf;
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

}  // namespace zelor
