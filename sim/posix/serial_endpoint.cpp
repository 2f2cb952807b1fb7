#include "sim/posix/serial_endpoint.h"

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace zelor::sim {

namespace {
std::optional<speed_t> SpeedOf(uint32_t baud) {
  switch (baud) {
    case 1200: return B1200;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    default: return std::nullopt;  // 14400 has no termios rate
  }
}

bool MakeRaw(int fd, std::optional<speed_t> speed) {
  termios t{};
  if (tcgetattr(fd, &t) != 0) return false;
  cfmakeraw(&t);
  t.c_cflag |= CLOCAL | CREAD;
  t.c_cflag &= ~static_cast<tcflag_t>(CSTOPB | PARENB | CRTSCTS);
  t.c_cc[VMIN] = 1;
  t.c_cc[VTIME] = 0;
  if (speed) {
    cfsetispeed(&t, *speed);
    cfsetospeed(&t, *speed);
  }
  return tcsetattr(fd, TCSANOW, &t) == 0;
}

std::string Why(const std::string& what) { return what + ": " + std::strerror(errno); }
}  // namespace

UniqueFd& UniqueFd::operator=(UniqueFd&& o) noexcept {
  if (this != &o) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = o.release();
  }
  return *this;
}

UniqueFd::~UniqueFd() {
  if (fd_ >= 0) ::close(fd_);
}

int UniqueFd::release() {
  const int fd = fd_;
  fd_ = -1;
  return fd;
}

std::optional<Endpoint> OpenPseudoTerminal(std::string& error) {
  int master = -1;
  int slave = -1;
  char name[256] = {};
  if (openpty(&master, &slave, name, nullptr, nullptr) != 0) {
    error = Why("cannot create a pseudo-terminal");
    return std::nullopt;
  }
  Endpoint e;
  e.line = UniqueFd(master);
  e.keeper = UniqueFd(slave);
  e.path = name;
  e.pseudoTerminal = true;
  // Raw on the terminal side: no echo of our replies back to us, no line editing of requests.
  if (!MakeRaw(slave, std::nullopt) || fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK) != 0 ||
      fcntl(master, F_SETFD, FD_CLOEXEC) != 0 || fcntl(slave, F_SETFD, FD_CLOEXEC) != 0) {
    error = Why("cannot set up the pseudo-terminal " + e.path);
    return std::nullopt;
  }
  return e;
}

std::optional<Endpoint> OpenSerialDevice(const std::string& path, uint32_t baud, std::string& error) {
  const auto speed = SpeedOf(baud);
  if (!speed) {
    error = "the serial device cannot run at " + std::to_string(baud) + " baud";
    return std::nullopt;
  }
  const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    error = Why("cannot open " + path);
    return std::nullopt;
  }
  Endpoint e;
  e.line = UniqueFd(fd);
  e.path = path;
  if (!MakeRaw(fd, speed)) {
    error = Why("cannot set up " + path);
    return std::nullopt;
  }
  return e;
}

bool SetLineRate(int fd, uint32_t baud) {
  const auto speed = SpeedOf(baud);
  if (!speed) return false;
  termios t{};
  if (tcgetattr(fd, &t) != 0) return false;
  tcdrain(fd);  // the reply at the old rate goes out first
  cfsetispeed(&t, *speed);
  cfsetospeed(&t, *speed);
  return tcsetattr(fd, TCSANOW, &t) == 0;
}

}  // namespace zelor::sim
