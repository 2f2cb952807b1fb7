// The simulator's end of the line on POSIX systems: a pseudo-terminal it creates, or a serial device it opens,
// both raw 8N1 and non-blocking.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace zelor::sim {

// An owned file descriptor, closed when destroyed.
class UniqueFd {
 public:
  UniqueFd() = default;
  explicit UniqueFd(int fd) : fd_(fd) {}
  UniqueFd(UniqueFd&& o) noexcept : fd_(o.release()) {}
  UniqueFd& operator=(UniqueFd&& o) noexcept;
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;
  ~UniqueFd();
  int get() const { return fd_; }
  int release();
  explicit operator bool() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

struct Endpoint {
  UniqueFd line;     // what the simulator reads and writes
  UniqueFd keeper;   // a pseudo-terminal's own end held open, so the master never hangs up
  std::string path;  // what the master opens: /dev/pts/N or the device
  bool pseudoTerminal = false;
};

// On failure these return nothing and say why in `error`.
std::optional<Endpoint> OpenPseudoTerminal(std::string& error);
std::optional<Endpoint> OpenSerialDevice(const std::string& path, uint32_t baud, std::string& error);
// Sets the rate of a serial device; false when the system has no such rate.
bool SetLineRate(int fd, uint32_t baud);

}  // namespace zelor::sim
