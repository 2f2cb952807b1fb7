// A calendar date and time of day, as the panel's clock registers and the PC's clock give it.
#pragma once
#include <string>

namespace zelor {

struct CivilTime {
  int year = 2000;
  int month = 1;
  int day = 1;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

// The PC's clock in the system's formats, for the archive file's name and its first line.
struct PcDateTexts {
  std::string longTime;   // the system's long time format, for example "14:05:07"
  std::string shortDate;  // the system's short date format, for example "13.12.2018"
};

}  // namespace zelor
