// The command-line program's own texts: its usage and the help of each command.
#pragma once
#include "cli/cli_output.h"

namespace zelor::cli::text {

inline constexpr const char* kProgram = kProgramName;

inline constexpr const char* kUsage =
    "Usage: zelor-pui-cli [--port NAME] [--baud RATE] [--address N] [--log] COMMAND [ARGS...]\n"
    "\n"
    "The service tool's operations from a terminal, on the same core as the window.\n"
    "\n"
    "Options:\n"
    "  --port NAME     the serial port (SIM1, ttyUSB0, /dev/pts/3 ...); default: the one the\n"
    "                  window would choose (registered simulators first)\n"
    "  --baud RATE     the line rate: 1200 2400 4800 9600 14400 19200 38400 57600 (default 57600)\n"
    "  --address N     the panel's MODBUS address, 1..247 (default 247)\n"
    "  --log           show the link's log lines (TX/RX and the operations' messages) on stderr\n"
    "  --help          this text; COMMAND --help shows the command's\n"
    "\n"
    "Commands:\n"
    "  ports                              the ports the window would list\n"
    "  search [--delay MS] [--passes N]   find the panel; prints its address\n"
    "  params [--json]                    the panel's parameters (\"ПРОГ.-2\")\n"
    "  clock set [now | YYYY-MM-DD HH:MM:SS]\n"
    "  clock trim N                       clock trim step, -4..4\n"
    "  archive download FILE.txt [--csv FILE.csv]\n"
    "  archive last [N]                   the N newest records (1..15, default 15)\n"
    "  upgrade FIRMWARE.bin               replace the panel's firmware (panel in boot-loader mode)\n"
    "  monitor [--json]                   the panel's events as they come, until interrupted\n"
    "  config read FILE.bin               the panel's configuration into a file\n"
    "  config write FILE.bin [--verify]   a configuration file into the panel, applied\n"
    "  config show FILE.bin [--json | --html]  a readable report of a configuration file\n"
    "\n"
    "Exit status: 0 on success, 1 when the operation failed, 2 for a usage mistake.\n";

struct CommandHelp {
  const char* name;
  const char* text;
};

inline constexpr CommandHelp kCommandHelp[] = {
    {"ports",
     "Usage: zelor-pui-cli ports\n"
     "Lists the ports the window's Port menu would list, one a line: the pseudo-terminals of\n"
     "running simulators first, then the system's serial devices (or \"comports.txt\").\n"},
    {"search",
     "Usage: zelor-pui-cli [--port NAME] [--baud RATE] search [--delay MS] [--passes N]\n"
     "Probes addresses 1..247 for the panel, waiting MS for each answer (100, 150, 200, 250,\n"
     "300 or 350; default 150), and prints the address it answered at. A reply lost on the\n"
     "line passes its address over, so a search that finds nothing is run again, up to N\n"
     "passes in all (1..10, default 3); each pass takes up to 247 x MS.\n"},
    {"params",
     "Usage: zelor-pui-cli [--port NAME] [--baud RATE] [--address N] params [--json]\n"
     "Reads the panel's parameters and prints them as text, or as one JSON object: address,\n"
     "clock, clock difference, alerting outputs, contrast, volume, clock trim, internal\n"
     "interface speed and extra response time-out.\n"},
    {"clock",
     "Usage: zelor-pui-cli [OPTIONS] clock set [now | YYYY-MM-DD HH:MM:SS]\n"
     "       zelor-pui-cli [OPTIONS] clock trim N\n"
     "set: sets the panel's clock to the PC's local time (now, the default) or to the given\n"
     "time. trim: sets the clock trim step N, -4..4.\n"},
    {"archive",
     "Usage: zelor-pui-cli [OPTIONS] archive download FILE.txt [--csv FILE.csv]\n"
     "       zelor-pui-cli [OPTIONS] archive last [N]\n"
     "download: the whole event archive, oldest record first, into FILE.txt in the window's\n"
     "format (cp1251, CR LF); with --csv also into FILE.csv (UTF-8, one column per field).\n"
     "A file that was there is replaced only when the download has succeeded.\n"
     "last: prints the N newest records (1..15, default 15), newest first.\n"},
    {"upgrade",
     "Usage: zelor-pui-cli [--port NAME] upgrade FIRMWARE.bin\n"
     "Carries the firmware file to the panel's boot loader (at 115200 baud); restart the\n"
     "panel in boot-loader mode first.\n"},
    {"config",
     "Usage: zelor-pui-cli [OPTIONS] config read FILE.bin\n"
     "       zelor-pui-cli [OPTIONS] config write FILE.bin [--verify]\n"
     "       zelor-pui-cli config show FILE.bin [--json | --html]\n"
     "read: the panel's configuration (devices, zones, groups, rules) into FILE.bin, as the\n"
     "window saves it (the name's extension becomes .bin); a read whose image check fails is\n"
     "not saved. write: FILE.bin into the panel and applied; a configuration the window would\n"
     "refuse (duplicate zone numbers, rules beyond the command slots) is refused with the\n"
     "window's message, and a file the tool cannot read whole is not written. --verify reads\n"
     "the configuration back and compares it. show: devices and their zones, the groups and\n"
     "the rules as text, as JSON, or as a printable HTML page for the installation records.\n"},
    {"monitor",
     "Usage: zelor-pui-cli [--port NAME] [--baud RATE] [--address N] monitor [--json]\n"
     "Live monitoring: the start summary (the panel's time, its integral state, the record\n"
     "count), then one line for each new event, as the window's status tab shows them, until\n"
     "Ctrl+C or SIGTERM (exit status 0). With --json, each line as {\"line\": \"...\"}. Fails\n"
     "when the panel does not answer the first requests.\n"},
};

}  // namespace zelor::cli::text
