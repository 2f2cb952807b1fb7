#include "sim/panel_clock.h"

#include <algorithm>
#include <chrono>
#include <ctime>

#include "link/local_time.h"

namespace zelor::sim {

namespace {
constexpr int64_t kMicrosPerDay = 86'400'000'000LL;

// Days since 1970-01-01 of a proleptic Gregorian date.
int64_t DaysFromCivil(int y, int m, int d) {
  y -= m <= 2 ? 1 : 0;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

int64_t FloorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0); }
}  // namespace

TimeSource HostLocalTime() {
  return [] {
    const auto now = std::chrono::system_clock::now();
    const int64_t micros = std::chrono::duration_cast<std::chrono::microseconds>(now.time_since_epoch()).count();
    // Whole seconds come from the local calendar fields; the fraction from the clock itself.
    const int64_t fraction = micros - FloorDiv(micros, 1'000'000) * 1'000'000;
    const auto local = LocalTimeOf(std::chrono::system_clock::to_time_t(now));
    if (!local) return micros;  // no time zone known: universal time
    CivilTime t;
    t.year = local->tm_year + 1900;
    t.month = local->tm_mon + 1;
    t.day = local->tm_mday;
    t.hour = local->tm_hour;
    t.minute = local->tm_min;
    t.second = std::min(local->tm_sec, 59);  // a leap second shows as :59
    return MicrosFromCivil(t) + fraction;
  };
}

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 31;
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

int64_t MicrosFromCivil(const CivilTime& t) {
  const int64_t days = DaysFromCivil(t.year, t.month, t.day);
  return days * kMicrosPerDay + ((t.hour * 60LL + t.minute) * 60LL + t.second) * 1'000'000LL;
}

CivilTime CivilFromMicros(int64_t micros) {
  const int64_t days = FloorDiv(micros, kMicrosPerDay);
  const int64_t secs = (micros - days * kMicrosPerDay) / 1'000'000;
  const int64_t z = days + 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  CivilTime t;
  t.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  t.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  t.year = static_cast<int>(yoe + era * 400 + (t.month <= 2 ? 1 : 0));
  t.hour = static_cast<int>(secs / 3600);
  t.minute = static_cast<int>(secs / 60 % 60);
  t.second = static_cast<int>(secs % 60);
  return t;
}

PanelClock::PanelClock(TimeSource host) : host_(host ? std::move(host) : HostLocalTime()) {}

void PanelClock::Set(const CivilTime& t) {
  CivilTime c = t;
  c.day = std::min(c.day, DaysInMonth(c.year, c.month));
  offset_ = MicrosFromCivil(c) - host_();
}

bool PanelClock::FieldInRange(int field, uint16_t v) {
  switch (field) {
    case 0: return v <= 23;
    case 1:
    case 2: return v <= 59;
    case 3: return v >= 1 && v <= 31;
    case 4: return v >= 1 && v <= 12;
    case 5: return v <= 99;
    default: return false;
  }
}

uint16_t PanelClock::Field(int field) const {
  const CivilTime t = Now();
  switch (field) {
    case 0: return static_cast<uint16_t>(t.hour);
    case 1: return static_cast<uint16_t>(t.minute);
    case 2: return static_cast<uint16_t>(t.second);
    case 3: return static_cast<uint16_t>(t.day);
    case 4: return static_cast<uint16_t>(t.month);
    case 5: return static_cast<uint16_t>((t.year - 2000 + 100 * 100) % 100);
    default: return 0;
  }
}

bool PanelClock::SetField(int field, uint16_t value) {
  if (!FieldInRange(field, value)) return false;
  uint16_t values[kFieldCount];
  for (int f = 0; f < kFieldCount; ++f) values[f] = Field(f);
  values[field] = value;
  return SetFields(values);
}

bool PanelClock::SetFields(const uint16_t values[kFieldCount]) {
  for (int f = 0; f < kFieldCount; ++f) {
    if (!FieldInRange(f, values[f])) return false;
  }
  CivilTime t;
  t.hour = values[0];
  t.minute = values[1];
  t.second = values[2];
  t.day = values[3];
  t.month = values[4];
  t.year = 2000 + values[5];
  Set(t);
  return true;
}

}  // namespace zelor::sim
