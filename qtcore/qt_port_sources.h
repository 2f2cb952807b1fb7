// The production port sources: the pseudo-terminals of running simulators first, then the serial
// devices Qt knows; the "comports.txt" file in the current folder.
#pragma once
#include "link/port_choice.h"

namespace zelor {

PortSources ProductionPortSources();

}  // namespace zelor
