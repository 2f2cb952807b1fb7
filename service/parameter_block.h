// Decoding the panel's parameter block (registers 0..23) into the values of the tab's controls.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "link/civil_time.h"

namespace zelor {

struct ParameterBlock {
  int hourIndex = 0, minuteIndex = 0, secondIndex = 0, dayIndex = 0, monthIndex = 0, yearIndex = 0;
  std::string clockDifference;      // Label2
  int fireMode = 0;                 // radio number 3..5, 0 = group cleared
  int fireDuration = 0;             // radio number 1..2, 0 = group cleared
  int alarmMode = 0;
  int alarmDuration = 0;
  int contrastPosition = 1;
  int trimPosition = 0;
  int volumePosition = 0;
  int internalSpeedIndex = 3;
  int timeoutPosition = 0;
  std::string timeoutLabel;         // TeLabel9
};

// The reply frame as received (address, function, byte count, data, CRC). Nothing when the byte
// count is not 48, the frame is shorter than that count says, or register 0 is not this panel.
std::optional<ParameterBlock> DecodeParameterBlock(const uint8_t* frame, int32_t rxCount, const CivilTime& pcNow);

// Radio numbers for a mode (0 steady, 1 at 1.0 Hz, 2 at 0.5 Hz) and a duration (0 steady, 1 five minutes).
int ModeRadio(uint8_t code);
int DurationRadio(uint8_t code);

}  // namespace zelor
