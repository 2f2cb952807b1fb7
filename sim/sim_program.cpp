#include "sim/sim_program.h"

#include <cerrno>
#include <cstring>
#include <iostream>
#include <sstream>

#include "sim/config_memory.h"
#include "sim/sim_files.h"

namespace zelor::sim {

std::unique_ptr<SimProgram> SimProgram::Create(const SimOptions& o, std::ostream& say, std::string& error) {
  // Every file option before anything starts: a folder that does not exist must not show only
  // after a whole upgrade.
  error = CheckSimFiles(o);
  if (!error.empty()) return nullptr;
  std::unique_ptr<SimProgram> p(new SimProgram());
  PanelOptions po;
  po.address = o.address;
  po.records = o.records;
  po.wrapped = o.wrapped;
  po.seed = o.seed;
  po.eventEveryMicros = o.eventEveryMicros;
  const uint16_t speedCode = SpeedCodeOfBaud(o.baud);
  if (speedCode != 0) po.externalSpeedCode = static_cast<uint8_t>(speedCode);
  if (!o.image.empty()) {
    auto image = LoadImageFile(o.image, error);
    if (!image) return nullptr;
    if (!ImageCrcValid(image->data(), image->size())) {
      say << "warning: the image CRC of " << o.image << " is wrong; serving it as it is" << std::endl;
    }
    po.image = std::move(*image);
  }
  p->panel_ = std::make_unique<Panel>(std::move(po));
  if (o.bootLoader) p->panel_->EnterBootLoader();

  std::ostream* logStream = nullptr;
  if (o.log == "-") {
    logStream = &std::cout;
  } else if (!o.log.empty()) {
    errno = 0;
    p->logFile_.open(o.log, std::ios::app);
    if (!p->logFile_) {
      error = "cannot open the log " + o.log + ": " + std::strerror(errno != 0 ? errno : EACCES);
      return nullptr;
    }
    logStream = &p->logFile_;
  }
  p->log_ = std::make_unique<TrafficLog>(logStream, TimeSource{});
  p->faults_ = std::make_unique<FaultScript>(o.seed);
  for (const auto& rule : o.faults) p->faults_->Add(rule);
  p->faults_->delayMicros = o.faultDelayMicros;
  p->faults_->gapMicros = o.faultGapMicros;
  p->session_ = std::make_unique<Session>(*p->panel_, *p->faults_, *p->log_);
  p->session_->paced = o.pace;
  p->session_->turnaroundMicros = o.turnaroundMicros;
  p->session_->pacedRequests = o.pace && o.device.empty();  // a real device paces them itself
  if (speedCode == 0) p->session_->baudOverride = o.baud;
  p->paced_ = o.pace;
  return p;
}

std::string SimProgram::Describe() const {
  std::ostringstream s;
  s << (panel_->inBootLoader() ? "boot loader" : "panel") << " at address " << int(panel_->address()) << ", "
    << session_->lineBaud() << " baud" << (paced_ ? ", paced" : "") << "; archive " << panel_->archive().Count()
    << " records";
  return s.str();
}

}  // namespace zelor::sim
