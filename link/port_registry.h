// Serial ports registered by running simulators: symbolic links to their pseudo-terminals in a
// per-user runtime folder, listed ahead of the system's serial devices.
#pragma once
#include <string>
#include <vector>

namespace zelor {

struct RegisteredPort {
  std::string name;  // shown in the port menu, e.g. "SIM1"
  std::string path;  // the link to open, e.g. /run/user/0/zelor-pui-ports/SIM1
};

// $XDG_RUNTIME_DIR/zelor-pui-ports, or /tmp/zelor-pui-ports-<uid> without it.
std::string PortRegistryDir();

// Live registrations in name order; links whose pseudo-terminal is gone are skipped.
std::vector<RegisteredPort> ListRegisteredPorts(const std::string& dir = PortRegistryDir());

// Registers `target` under the first free name "SIM1", "SIM2", ...; removes the link when destroyed.
class PortRegistration {
 public:
  explicit PortRegistration(const std::string& target, const std::string& dir = PortRegistryDir());
  ~PortRegistration();
  PortRegistration(const PortRegistration&) = delete;
  PortRegistration& operator=(const PortRegistration&) = delete;
  const std::string& name() const { return name_; }
  const std::string& path() const { return path_; }

 private:
  std::string name_;
  std::string path_;
};

}  // namespace zelor
