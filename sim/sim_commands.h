// The simulator program's text commands and its reports after traffic (a finished upgrade),
// independent of how the program waits on its line and its input.
#pragma once
#include <cstddef>
#include <ostream>
#include <string>

#include "sim/panel.h"
#include "sim/session.h"
#include "sim/traffic_log.h"

namespace zelor::sim {

class SimCommands {
 public:
  SimCommands(Panel& panel, Session& session, TrafficLog& log, std::ostream& say);

  std::string firmwareOut;  // where a finished upgrade is written, if anywhere
  std::string configOut;    // where an applied configuration is written, if anywhere

  // One text command; false for "quit".
  bool Command(const std::string& line);
  // Reports (and writes out) an upgrade that finished since the last call.
  void ReportUpgrade();
  // Reports (and writes out) a configuration applied since the last call.
  void ReportConfigApplied();

 private:
  Panel& panel_;
  Session& session_;
  TrafficLog& log_;
  std::ostream& say_;
  std::size_t upgradesSeen_ = 0;
  std::size_t appliesSeen_ = 0;
};

}  // namespace zelor::sim
