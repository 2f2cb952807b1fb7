// zelor-pui-sim: the simulated panel on a pseudo-terminal or a serial device.
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>

#include "link/port_registry.h"
#include "link/serial_port.h"
#include "sim/config_memory.h"
#include "sim/serial_endpoint.h"
#include "sim/session.h"
#include "sim/sim_options.h"
#include "sim/sim_server.h"

namespace fs = std::filesystem;
using namespace zelor;
using namespace zelor::sim;

namespace {

int Fail(const std::string& message) {
  std::cerr << "zelor-pui-sim: " << message << std::endl;
  return 2;
}

// A signal descriptor for the given signals, which are blocked for normal delivery.
UniqueFd SignalFd(std::initializer_list<int> signals) {
  sigset_t set;
  sigemptyset(&set);
  for (int s : signals) sigaddset(&set, s);
  sigprocmask(SIG_BLOCK, &set, nullptr);
  return UniqueFd(signalfd(-1, &set, SFD_CLOEXEC));
}

// The --link symbolic link, removed again when the program ends.
class LinkToPort {
 public:
  LinkToPort(const std::string& path, const std::string& target, std::string& error) {
    std::error_code ec;
    if (fs::is_symlink(path, ec)) fs::remove(path, ec);
    if (fs::exists(path, ec)) {
      error = path + " exists and is not a symbolic link; not replacing it";
      return;
    }
    fs::create_symlink(target, path, ec);
    if (ec) {
      error = "cannot create the link " + path + ": " + ec.message();
      return;
    }
    path_ = path;
  }
  ~LinkToPort() {
    std::error_code ec;
    if (!path_.empty()) fs::remove(path_, ec);
  }
  LinkToPort(const LinkToPort&) = delete;
  LinkToPort& operator=(const LinkToPort&) = delete;

 private:
  std::string path_;
};

}  // namespace

int main(int argc, char** argv) {
  std::string error;
  const auto options = ParseSimOptions(std::vector<std::string>(argv + 1, argv + argc), error);
  if (!options) return Fail(error + "\n(see zelor-pui-sim --help)");
  const SimOptions& o = *options;
  if (o.help) {
    std::cout << SimUsage();
    return 0;
  }

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
    if (!image) return Fail(error);
    if (!ImageCrcValid(image->data(), image->size())) {
      std::cout << "warning: the image CRC of " << o.image << " is wrong; serving it as it is" << std::endl;
    }
    po.image = std::move(*image);
  }
  Panel panel(std::move(po));
  if (o.bootLoader) panel.EnterBootLoader();

  std::ofstream logFile;
  std::ostream* logStream = nullptr;
  if (o.log == "-") {
    logStream = &std::cout;
  } else if (!o.log.empty()) {
    logFile.open(o.log, std::ios::app);
    if (!logFile) return Fail("cannot open the log " + o.log);
    logStream = &logFile;
  }
  TrafficLog log(logStream, {});
  FaultScript faults(o.seed);
  for (const auto& rule : o.faults) faults.Add(rule);
  faults.delayMicros = o.faultDelayMicros;
  faults.gapMicros = o.faultGapMicros;
  Session session(panel, faults, log);
  session.paced = o.pace;
  session.turnaroundMicros = o.turnaroundMicros;
  if (speedCode == 0) session.baudOverride = o.baud;

  signal(SIGPIPE, SIG_IGN);
  UniqueFd stopFd = SignalFd({SIGINT, SIGTERM, SIGHUP});
  UniqueFd eventFd = SignalFd({SIGUSR1});
  if (!stopFd || !eventFd) return Fail("cannot watch for signals");

  auto endpoint = o.device.empty() ? OpenPseudoTerminal(error) : OpenSerialDevice(o.device, session.lineBaud(), error);
  if (!endpoint) return Fail(error);

  std::unique_ptr<PortRegistration> registration;
  if (endpoint->pseudoTerminal && o.registerPort) {
    try {
      registration = std::make_unique<PortRegistration>(endpoint->path);
    } catch (const SerialPortError& e) {
      std::cout << "warning: " << e.what() << "; the tool will not list this port" << std::endl;
    }
  }
  std::unique_ptr<LinkToPort> link;
  if (!o.link.empty()) {
    link = std::make_unique<LinkToPort>(o.link, endpoint->path, error);
    if (!error.empty()) return Fail(error);
  }

  std::cout << "zelor-pui-sim: serving on " << endpoint->path << std::endl;
  if (registration) std::cout << "zelor-pui-sim: registered as " << registration->name() << " (" << registration->path() << ")" << std::endl;
  if (link) std::cout << "zelor-pui-sim: linked from " << o.link << std::endl;
  std::cout << "zelor-pui-sim: " << (panel.inBootLoader() ? "boot loader" : "panel") << " at address "
            << int(panel.address()) << ", " << session.lineBaud() << " baud" << (o.pace ? ", paced" : "")
            << "; archive " << panel.archive().Count() << " records" << std::endl;

  SimServer server(panel, session, log, endpoint->line.get(), !endpoint->pseudoTerminal, std::cout);
  server.firmwareOut = o.firmwareOut;
  const int rc = server.Run(stopFd.get(), o.commands ? STDIN_FILENO : -1, eventFd.get());
  std::cout << "zelor-pui-sim: stopped after " << session.framesHandled() << " requests" << std::endl;
  return rc;
}
