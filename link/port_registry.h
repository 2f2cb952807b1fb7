// Serial ports registered by running simulators: symbolic links to their pseudo-terminals in a
// per-user runtime folder, listed ahead of the system's serial devices. A link is trusted only
// while its owner lives: the owner holds a lock on a file beside it (".NAME.lock"), and whoever
// finds that lock free removes both.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "link/serial_port.h"

namespace zelor {

struct RegisteredPort {
  std::string name;  // shown in the port menu, e.g. "SIM1"
  std::string path;  // the link to open, e.g. /run/user/0/zelor-pui-ports/SIM1
};

// A link path that a living owner holds.
struct PortInUse : SerialPortError {
  using SerialPortError::SerialPortError;
};

// $XDG_RUNTIME_DIR/zelor-pui-ports, or /tmp/zelor-pui-ports-<uid> without it (POSIX); a folder
// in the user's local application data on Windows, where no simulator registers.
std::string PortRegistryDir();

// Live registrations in name order ("SIM2" before "SIM10"); entries whose owner has ended are
// removed from the folder on the way.
std::vector<RegisteredPort> ListRegisteredPorts(const std::string& dir = PortRegistryDir());

// The lock file that guards a link: ".NAME.lock" in the link's folder.
std::string PortLockPathFor(const std::string& linkPath);
// Orders registered names by length, then text, so that SIM2 comes before SIM10.
bool RegisteredNameLess(const std::string& a, const std::string& b);

// Makes `linkPath` a symbolic link to `target` for as long as this object lives. An entry left
// by an owner that has ended is replaced; throws PortInUse when a living owner holds the path,
// SerialPortError when the path is something else or the link cannot be made.
class PortClaim {
 public:
  PortClaim(const std::string& linkPath, const std::string& target);
  ~PortClaim();
  PortClaim(const PortClaim&) = delete;
  PortClaim& operator=(const PortClaim&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  std::string lockPath_;
  int lockFd_ = -1;
};

// Registers `target` under the lowest free name "SIM1", "SIM2", ... after removing the entries
// of owners that have ended; removes the registration when destroyed.
class PortRegistration {
 public:
  explicit PortRegistration(const std::string& target, const std::string& dir = PortRegistryDir());
  const std::string& name() const { return name_; }
  const std::string& path() const { return claim_->path(); }

 private:
  std::string name_;
  std::unique_ptr<PortClaim> claim_;
};

}  // namespace zelor
