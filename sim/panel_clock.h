// The panel's real-time clock: the host's local time plus an offset that the master sets.
#pragma once
#include <cstdint>
#include <functional>

#include "link/civil_time.h"

namespace zelor::sim {

using zelor::CivilTime;

// Local wall time in microseconds since 1970-01-01 00:00 local time (no time zone left in it).
using TimeSource = std::function<int64_t()>;

// The host's local time; what a panel started now shows on its display.
TimeSource HostLocalTime();

int64_t MicrosFromCivil(const CivilTime& t);
CivilTime CivilFromMicros(int64_t micros);
int DaysInMonth(int year, int month);

class PanelClock {
 public:
  // Clock fields in register order: hour, minute, second, day, month, year - 2000.
  static constexpr int kFieldCount = 6;

  explicit PanelClock(TimeSource host);

  int64_t HostMicros() const { return host_(); }
  int64_t NowMicros() const { return host_() + offset_; }
  CivilTime Now() const { return CivilFromMicros(NowMicros()); }
  void Set(const CivilTime& t);

  uint16_t Field(int field) const;
  // One field (0..5) as register 7 + field is written; false when the value is out of range.
  // A day past the end of the month is taken as the month's last day.
  bool SetField(int field, uint16_t value);
  // All six fields at once (the time-set frame); nothing changes unless all are in range.
  bool SetFields(const uint16_t values[kFieldCount]);
  static bool FieldInRange(int field, uint16_t value);

 private:
  TimeSource host_;
  int64_t offset_ = 0;
};

}  // namespace zelor::sim
