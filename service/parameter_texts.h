// Captions and labels of the panel-parameter controls, composed from the values they show.
#pragma once
#include <cstdint>
#include <string>

namespace zelor::param {

std::string ContrastCaption(int position);   // "  КОНТРАСТ ЖКИ = nnn  "
std::string VolumeCaption(int position);     // "... = ОТКЛ.  " for 0
std::string TimeoutLabel(uint16_t value);    // register 23 in ms, or "??" above 4800
std::string TimeoutTrackLabel(int position); // the time-out while dragging: position x 10 ms
std::string TrimLabel(int step);             // "CLOCK TRIM +n" / "CLOCK TRIM -n"
std::string ClockDifference(int32_t seconds);// "dT = " + 6 wide + " сек."
std::string AddressLabel(uint8_t address);   // "Адрес прибора - nnn"

// value * num / den rounded to the nearest whole number, halves to the even neighbour.
int32_t RoundHalfEven(int64_t value, int64_t num, int64_t den);

// Right-aligns `text` in a field of `width` characters (never cuts).
std::string RightAligned(const std::string& text, std::size_t width);

}  // namespace zelor::param
