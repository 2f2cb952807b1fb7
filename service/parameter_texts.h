// Captions and labels of the panel-parameter controls, composed from the values they show.
#pragma once
#include <cstdint>
#include <string>

#include "service/parameter_view.h"

namespace zelor::param {

// Positions of the scroll bars before any query.
constexpr int kInitialContrast = 35;
constexpr int kInitialVolume = 5;
constexpr int kInitialTrim = 0;
constexpr int kInitialTimeout = 0;

std::string ContrastCaption(int position);   // "  КОНТРАСТ ЖКИ = nnn  "
std::string VolumeCaption(int position);     // "... = ОТКЛ.  " for 0
std::string TimeoutLabel(uint16_t value);    // register 23 in ms, or "??" above 4800
std::string TimeoutTrackLabel(int position); // the time-out while dragging: position x 10 ms
std::string TrimLabel(int step);             // "CLOCK TRIM +n" / "CLOCK TRIM -n"
std::string ClockDifference(int32_t seconds);// "dT = " + 6 wide + " сек."
std::string AddressLabel(uint8_t address);   // "Адрес прибора - nnn"

// The caption or label `which` before any query. The address, volume and trim texts are the
// functions above at the link's and the scroll bars' initial values. The contrast, time-out and
// clock-difference texts of the tab's design differ from what those functions compose (a third
// blank before 35, "0" unaligned, "0.0сек."), so they stand here as the design has them.
std::string InitialText(ParamText which);

// value * num / den rounded to the nearest whole number, halves to the even neighbour.
int32_t RoundHalfEven(int64_t value, int64_t num, int64_t den);

// Right-aligns `text` in a field of `width` characters (never cuts).
std::string RightAligned(const std::string& text, std::size_t width);

}  // namespace zelor::param
