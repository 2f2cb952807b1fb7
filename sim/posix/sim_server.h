// The simulator program's loop on POSIX systems: waits on the line, a stop descriptor and the
// command input, feeds the session, writes replies when they are due and lets the panel write
// its events.
#pragma once
#include <cstdint>
#include <ostream>
#include <string>

#include "sim/panel.h"
#include "sim/session.h"
#include "sim/sim_commands.h"
#include "sim/traffic_log.h"

namespace zelor::sim {

class SimServer {
 public:
  // `lineFd`: the pseudo-terminal master or the device; `realDevice`: switch its rate when the
  // panel's rate changes. Events and command answers are reported to `say`.
  SimServer(Panel& panel, Session& session, TrafficLog& log, int lineFd, bool realDevice, std::ostream& say);

  std::string& firmwareOut() { return commands_.firmwareOut; }
  std::string& configOut() { return commands_.configOut; }

  // Serves until `stopFd` is readable (then returns 0) or the line fails (1). `commandFd`
  // (or -1) carries text commands; `eventFd` (or -1) readable means "write one event now".
  int Run(int stopFd, int commandFd = -1, int eventFd = -1);
  // One text command; false for "quit".
  bool Command(const std::string& line);

 private:
  void AfterTraffic();

  Panel& panel_;
  Session& session_;
  TrafficLog& log_;
  int lineFd_;
  bool realDevice_;
  std::ostream& say_;
  SimCommands commands_;
  uint32_t lineRate_;
  std::string commandBuffer_;
};

int64_t MonotonicMicros();

}  // namespace zelor::sim
