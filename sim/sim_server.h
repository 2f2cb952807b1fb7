// The simulator program's loop: waits on the line, a stop descriptor and the command input,
// feeds the session, writes replies when they are due and lets the panel write its events.
#pragma once
#include <cstdint>
#include <ostream>
#include <string>

#include "sim/panel.h"
#include "sim/session.h"
#include "sim/traffic_log.h"

namespace zelor::sim {

class SimServer {
 public:
  // `lineFd`: the pseudo-terminal master or the device; `realDevice`: switch its rate when the
  // panel's rate changes. `stopFd` becoming readable ends Run; `commandFd` (or -1) carries
  // text commands; `sayFd` events are reported to `say`.
  SimServer(Panel& panel, Session& session, TrafficLog& log, int lineFd, bool realDevice, std::ostream& say);

  std::string firmwareOut;  // where a finished upgrade is written, if anywhere

  // Serves until `stopFd` is readable (then returns 0) or the line fails (1).
  // `eventFd` (or -1): readable means "write one event now" (SIGUSR1).
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
  uint32_t lineRate_;
  std::size_t upgradesSeen_ = 0;
  std::string commandBuffer_;
};

int64_t MonotonicMicros();

}  // namespace zelor::sim
