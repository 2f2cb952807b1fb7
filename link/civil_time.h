// A calendar date and time of day, as the panel's clock registers and the PC's clock give it.
#pragma once

namespace zelor {

struct CivilTime {
  int year = 2000;
  int month = 1;
  int day = 1;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

}  // namespace zelor
