// The PC's clock as the operations take it: the local date and time, and the system's formats.
#pragma once
#include "link/civil_time.h"

namespace zelor {

// The PC's local date and time now.
CivilTime PcLocalTime();
// The PC's clock now, in the system's long time and short date formats.
PcDateTexts PcArchiveDateTexts();

}  // namespace zelor
