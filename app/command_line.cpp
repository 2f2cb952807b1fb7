#include "app/command_line.h"

#include <string_view>

namespace zelor {

InfoOption InfoOptionOf(int argc, const char* const* argv) {
  if (argc != 2 || argv == nullptr || argv[1] == nullptr) return InfoOption::None;
  const std::string_view a = argv[1];
  if (a == "--help" || a == "-h") return InfoOption::Help;
  if (a == "--version") return InfoOption::Version;
  return InfoOption::None;
}

std::string ToolHelpText() {
  return R"(Usage: zelor-pui [--help | --version]
The service tool of the ZELOR-PUI fire and security alarm panel: the one MODBUS-RTU master on
the panel's external RS-485 line. It finds the panel on the line, shows its events live, reads
and sets its parameters and clock, reads its event archive, edits its configuration (devices,
zones, groups, automation rules) and replaces its firmware.

Started without options it opens its window. Every start uses panel address 247, 57600 baud
and the serial port it finds (Connection > Port); nothing is kept between runs.

Options:
  --help               this text
  --version            the version of the tool

Serial ports: the ports the system lists (ttyS*, ttyUSB*, ttyACM*, ...), preceded by the ports
of running zelor-pui-sim simulators (SIM1, SIM2, ...). Your user needs access to the device
(on Debian the dialout group). If the system lists no port, the tool reads port names from
comports.txt in the folder it is started from, one name per line.
)";
}

std::string ToolVersionText(const std::string& version) {
  return "zelor-pui " + version + "\nThe ZELOR-PUI (MODBUS-RTU) service tool.\n";
}

}  // namespace zelor
