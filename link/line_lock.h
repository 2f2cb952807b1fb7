// Which program is the master of a serial line. The lock is keyed by the device itself, so every
// name that reaches it (a registered simulator name, a symbolic link, the device path) meets the
// same lock; a second program is refused at once with the holder's process id.
#pragma once
#include <string>

#include "link/port_registry.h"
#include "link/serial_port.h"

namespace zelor {

// The line is held by another running program.
struct LineInUse : SerialPortError {
  using SerialPortError::SerialPortError;
};

// One program's hold on one device at a time; released when destroyed. On POSIX systems an
// flock(2) lock on ".line-<device>.lock" in `dir`, which the kernel drops when the holder ends
// however it ends. On Windows the system itself lets one program open a COM port at a time, and
// nothing more is done.
class LineLock {
 public:
  explicit LineLock(std::string dir = PortRegistryDir());
  ~LineLock();
  LineLock(const LineLock&) = delete;
  LineLock& operator=(const LineLock&) = delete;

  // Takes the lock of the device at `devicePath` (links followed), letting go of one held for
  // another device. Throws LineInUse, naming `shownName` and the holder's process id, when another
  // program holds it, SerialPortError when the lock cannot be made. A path that names nothing
  // takes nothing: opening it fails with the system's own reason.
  void Acquire(const std::string& devicePath, const std::string& shownName);
  void Release();
  bool Held() const;

 private:
  std::string dir_;
  std::string lockPath_;
  int fd_ = -1;
};

}  // namespace zelor
