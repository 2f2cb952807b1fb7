#include "service/parameter_texts.h"

#include <cstdlib>

#include "link/format.h"
#include "link/link_state.h"

namespace zelor::param {

std::string RightAligned(const std::string& text, std::size_t width) {
  return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

int32_t RoundHalfEven(int64_t value, int64_t num, int64_t den) {
  const int64_t product = value * num;
  int64_t q = product / den;
  const int64_t r = product % den;
  if (2 * r > den || (2 * r == den && (q & 1) != 0)) ++q;
  return static_cast<int32_t>(q);
}

std::string ContrastCaption(int position) {
  return "  КОНТРАСТ ЖКИ = " + RightAligned(std::to_string(position), 3) + "  ";
}

std::string VolumeCaption(int position) {
  if (position == 0) return "  ГРОМКОСТЬ ЗВУК. ОПОВ. = ОТКЛ.  ";
  return "  ГРОМКОСТЬ ЗВУК. ОПОВ. =   " + std::to_string(position) + "  ";
}

std::string TimeoutLabel(uint16_t value) {
  if (value > 4800) return "??";
  return RightAligned(std::to_string(RoundHalfEven(value, 5, 8)), 4);  // unit 0.625 ms
}

std::string TimeoutTrackLabel(int position) { return RightAligned(std::to_string(position * 10), 4); }

std::string TrimLabel(int step) {
  return step < 0 ? "CLOCK TRIM -" + std::to_string(-step) : "CLOCK TRIM +" + std::to_string(step);
}

std::string ClockDifference(int32_t seconds) {
  return "dT = " + RightAligned(std::to_string(seconds), 6) + " сек.";
}

std::string AddressLabel(uint8_t address) { return "Адрес прибора - " + FormatZeroPadded(address, 3); }

std::string InitialText(ParamText which) {
  switch (which) {
    case ParamText::TeGroupBox10: return "  КОНТРАСТ ЖКИ =   35  ";
    case ParamText::TeGroupBox3: return VolumeCaption(kInitialVolume);
    case ParamText::TeLabel9: return "0";
    case ParamText::TeLabel5: return AddressLabel(kDefaultDeviceAddress);
    case ParamText::Label1: return TrimLabel(kInitialTrim);
    case ParamText::Label2: return "dT = 0.0сек.";
  }
  return {};
}

}  // namespace zelor::param
