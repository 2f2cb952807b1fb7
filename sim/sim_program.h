// The simulator program's parts built from its command line: the panel, its traffic log, the
// fault script and the session, wired together and kept in one place.
#pragma once
#include <fstream>
#include <memory>
#include <ostream>
#include <string>

#include "sim/fault_script.h"
#include "sim/panel.h"
#include "sim/session.h"
#include "sim/sim_options.h"
#include "sim/traffic_log.h"

namespace zelor::sim {

class SimProgram {
 public:
  // Nothing, with the reason in `error`, when a file the options name cannot be used (CheckSimFiles:
  // the image read, the log, firmware and configuration outputs written) or the image is no image.
  // Warnings (an image with a wrong CRC) go to `say`.
  static std::unique_ptr<SimProgram> Create(const SimOptions& options, std::ostream& say, std::string& error);

  Panel& panel() { return *panel_; }
  Session& session() { return *session_; }
  TrafficLog& log() { return *log_; }
  // "panel at address 247, 57600 baud, paced; archive 100 records"
  std::string Describe() const;

 private:
  SimProgram() = default;
  bool paced_ = false;
  std::unique_ptr<Panel> panel_;
  std::ofstream logFile_;
  std::unique_ptr<TrafficLog> log_;
  std::unique_ptr<FaultScript> faults_;
  std::unique_ptr<Session> session_;
};

}  // namespace zelor::sim
