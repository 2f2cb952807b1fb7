#include "service/parameter_block.h"

#include <algorithm>

#include "link/registers.h"
#include "service/parameter_texts.h"

namespace zelor {

int ModeRadio(uint8_t code) {
  switch (code) {
    case 0: return 5;
    case 1: return 4;
    case 2: return 3;
    default: return 0;
  }
}

int DurationRadio(uint8_t code) {
  switch (code) {
    case 0: return 1;
    case 1: return 2;
    default: return 0;
  }
}

std::optional<ParameterBlock> DecodeParameterBlock(const uint8_t* frame, int32_t rxCount, const CivilTime& pcNow) {
  constexpr int kDataBytes = 2 * reg::kParameterBlockCount;
  // A reply shorter than its byte count would leave the tail of the block to stale buffer bytes.
  if (rxCount < 3 + kDataBytes + 2 || frame[2] != kDataBytes) return std::nullopt;
  auto low = [&](int r) { return frame[4 + 2 * r]; };
  auto word = [&](int r) { return static_cast<uint16_t>(frame[3 + 2 * r] << 8 | frame[4 + 2 * r]); };
  if (low(reg::kTypeCode) != reg::kPanelTypeValue) return std::nullopt;

  ParameterBlock p;
  const int hour = low(reg::kClockHour), minute = low(reg::kClockMinute), second = low(reg::kClockSecond);
  p.HourIndex = hour <= 23 ? hour : 0;
  p.MinuteIndex = minute <= 59 ? minute : 0;
  p.SecondIndex = second <= 59 ? second : 0;
  const int day = low(reg::kClockDay), month = low(reg::kClockMonth), year = low(reg::kClockYear);
  p.DayIndex = day == 0 ? 0 : std::min(day, 31) - 1;
  p.MonthIndex = month == 0 ? 0 : std::min(month, 12) - 1;
  constexpr int first = kClockFirstYear - 2000, last = kClockLastYear - 2000;
  p.YearIndex = year > last ? last - first : year < first ? 0 : year - first;

  const int32_t pcSeconds = pcNow.hour * 3600 + pcNow.minute * 60 + pcNow.second;
  p.ClockDifference = param::ClockDifference(pcSeconds - (hour * 3600 + minute * 60 + second));

  p.FireMode = ModeRadio(low(reg::kFireOutputMode));
  p.FireDuration = DurationRadio(low(reg::kFireOutputDuration));
  p.AlarmMode = ModeRadio(low(reg::kAlarmOutputMode));
  p.AlarmDuration = DurationRadio(low(reg::kAlarmOutputDuration));

  p.ContrastPosition = std::max<int>(low(reg::kLcdContrast), 1);
  p.TrimPosition = std::clamp(static_cast<int>(word(reg::kClockTrim)) - reg::kClockTrimCentre, -4, 4);
  const int volume = low(reg::kSounderVolume);
  p.VolumePosition = volume == 0 ? 5 : volume <= 5 ? 6 - volume : 0;
  const int speed = low(reg::kInternalSpeed);
  p.InternalSpeedIndex = speed >= 1 && speed <= 8 ? speed - 1 : 3;
  const uint16_t timeout = word(reg::kExtraTimeout);
  p.TimeoutPosition = timeout > 4800 ? 0 : param::RoundHalfEven(timeout, 1, 16);
  p.TimeoutLabel = param::TimeoutLabel(timeout);
  return p;
}

}  // namespace zelor
