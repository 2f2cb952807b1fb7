// zelor-pui-sim: the simulated panel on a pseudo-terminal or a serial device (POSIX systems).
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <iostream>
#include <memory>
#include <optional>

#include "link/port_registry.h"
#include "sim/posix/serial_endpoint.h"
#include "sim/posix/sim_server.h"
#include "sim/sim_options.h"
#include "sim/sim_program.h"

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

}  // namespace

int main(int argc, char** argv) {
  std::string error;
  const auto options = ParseSimOptions(std::vector<std::string>(argv + 1, argv + argc), error);
  if (!options) return Fail(error + " (see zelor-pui-sim --help)");
  const SimOptions& o = *options;
  if (o.help) {
    std::cout << SimUsage();
    return 0;
  }
  auto program = SimProgram::Create(o, std::cout, error);
  if (!program) return Fail(error);

  signal(SIGPIPE, SIG_IGN);
  UniqueFd stopFd = SignalFd({SIGINT, SIGTERM, SIGHUP});
  UniqueFd eventFd = SignalFd({SIGUSR1});
  if (!stopFd || !eventFd) return Fail("cannot watch for signals");

  auto endpoint = o.device.empty() ? OpenPseudoTerminal(error)
                                   : OpenSerialDevice(o.device, program->session().lineBaud(), error);
  if (!endpoint) return Fail(error);

  // The --link path first: a path that a running simulator holds is refused before this one
  // registers anything.
  std::unique_ptr<PortClaim> link;
  if (!o.link.empty()) {
    try {
      link = std::make_unique<PortClaim>(o.link, endpoint->path);
    } catch (const PortInUse& e) {
      return Fail(std::string(e.what()) + "; not taking it over");
    } catch (const SerialPortError& e) {
      return Fail(e.what());
    }
  }
  std::unique_ptr<PortRegistration> registration;
  if (endpoint->pseudoTerminal && o.registerPort) {
    try {
      registration = std::make_unique<PortRegistration>(endpoint->path);
    } catch (const SerialPortError& e) {
      std::cout << "warning: " << e.what() << "; the tool will not list this port" << std::endl;
    }
  }

  std::cout << "zelor-pui-sim: serving on " << endpoint->path << std::endl;
  if (registration) std::cout << "zelor-pui-sim: registered as " << registration->name() << " (" << registration->path() << ")" << std::endl;
  if (link) std::cout << "zelor-pui-sim: linked from " << o.link << std::endl;
  std::cout << "zelor-pui-sim: " << program->Describe() << std::endl;

  SimServer server(program->panel(), program->session(), program->log(), endpoint->line.get(),
                   !endpoint->pseudoTerminal, std::cout);
  server.firmwareOut() = o.firmwareOut;
  server.configOut() = o.configOut;
  const int rc = server.Run(stopFd.get(), o.commands ? STDIN_FILENO : -1, eventFd.get());
  std::cout << "zelor-pui-sim: stopped after " << program->session().framesHandled() << " requests" << std::endl;
  return rc;
}
