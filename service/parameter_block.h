// Decoding the panel's parameter block (registers 0..23) into the values of the tab's controls.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "link/civil_time.h"

namespace zelor {

// The years the panel's clock is shown and set in ("2014".."2030" in the year list); the panel
// itself stores the year modulo 100.
inline constexpr int kClockFirstYear = 2014;
inline constexpr int kClockLastYear = 2030;

// What one parameter reply shows, control by control (item indexes, radio numbers, positions).
struct ParameterBlock {
  int HourIndex = 0;                // TeSComboBox5
  int MinuteIndex = 0;              // TeSComboBox6
  int SecondIndex = 0;              // TeSComboBox7
  int DayIndex = 0;                 // TeSComboBox2
  int MonthIndex = 0;               // TeSComboBox3
  int YearIndex = 0;                // TeSComboBox4
  std::string ClockDifference;      // Label2
  int FireMode = 0;                 // radio number 3..5, 0 = group cleared
  int FireDuration = 0;             // radio number 1..2, 0 = group cleared
  int AlarmMode = 0;
  int AlarmDuration = 0;
  int ContrastPosition = 1;         // TeScrollBar1
  int TrimPosition = 0;             // TeScrollBar3
  int VolumePosition = 0;           // TeScrollBar2
  int InternalSpeedIndex = 3;       // TeSComboBox8
  int TimeoutPosition = 0;          // TeScrollBar4
  std::string TimeoutLabel;         // TeLabel9
};

// The reply frame as received (address, function, byte count, data, CRC). Nothing when the byte
// count is not 48, the frame is shorter than that count says, or register 0 is not this panel.
std::optional<ParameterBlock> DecodeParameterBlock(const uint8_t* frame, int32_t rxCount, const CivilTime& pcNow);

// Radio numbers for a mode (0 steady, 1 at 1.0 Hz, 2 at 0.5 Hz) and a duration (0 steady, 1 five minutes).
int ModeRadio(uint8_t code);
int DurationRadio(uint8_t code);

}  // namespace zelor
