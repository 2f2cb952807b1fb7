// The simulator port registry on Windows: the simulator does not run there, so the folder is
// only named and nothing is ever listed or registered.
#include <cstdlib>

#include "link/port_registry.h"

namespace zelor {

std::string PortRegistryDir() {
  const char* local = std::getenv("LOCALAPPDATA");
  return std::string(local != nullptr ? local : ".") + "\\zelor-pui-ports";
}

std::vector<RegisteredPort> ListRegisteredPorts(const std::string&) { return {}; }

PortClaim::PortClaim(const std::string& linkPath, const std::string&) {
  throw SerialPortError("cannot link " + linkPath + ": simulator ports are not supported on this system");
}

PortClaim::~PortClaim() = default;

PortRegistration::PortRegistration(const std::string& target, const std::string& dir) {
  throw SerialPortError("cannot register " + target + " in " + dir + ": not supported on this system");
}

}  // namespace zelor
