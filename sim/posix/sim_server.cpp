#include "sim/posix/sim_server.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>

#include "sim/posix/serial_endpoint.h"

namespace zelor::sim {

int64_t MonotonicMicros() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<int64_t>(ts.tv_sec) * 1'000'000 + ts.tv_nsec / 1000;
}

SimServer::SimServer(Panel& panel, Session& session, TrafficLog& log, int lineFd, bool realDevice, std::ostream& say)
    : panel_(panel), session_(session), log_(log), lineFd_(lineFd), realDevice_(realDevice), say_(say),
      commands_(panel, session, log, say), lineRate_(session.lineBaud()) {}

void SimServer::AfterTraffic() {
  commands_.ReportUpgrade();
  commands_.ReportConfigApplied();
  if (session_.lineBaud() != lineRate_) {
    lineRate_ = session_.lineBaud();
    if (realDevice_ && !SetLineRate(lineFd_, lineRate_)) {
      say_ << "warning: the device cannot run at " << lineRate_ << " baud; it keeps its rate" << std::endl;
    }
  }
}

bool SimServer::Command(const std::string& line) {
  const bool goOn = commands_.Command(line);
  AfterTraffic();
  return goOn;
}

int SimServer::Run(int stopFd, int commandFd, int eventFd) {
  uint8_t buffer[4096];
  for (;;) {
    const int64_t now = MonotonicMicros();
    const auto due = session_.TakeDue(now);
    if (!due.empty()) {
      const ssize_t n = ::write(lineFd_, due.data(), due.size());
      if (n < 0 && errno != EAGAIN && errno != EIO) {
        say_ << "error: writing the line failed: " << std::strerror(errno) << std::endl;
        return 1;
      }
      if (n < static_cast<ssize_t>(due.size())) log_.Note("line full, reply bytes dropped");
    }
    panel_.Service();
    AfterTraffic();

    int64_t wait = 1'000'000;
    if (auto d = session_.NextDeadline()) wait = std::min(wait, *d - now);
    if (auto e = panel_.NextEventMicros()) wait = std::min(wait, *e - panel_.clock().HostMicros());
    wait = std::max<int64_t>(wait, 0);
    const timespec timeout{static_cast<time_t>(wait / 1'000'000), static_cast<long>(wait % 1'000'000) * 1000};

    pollfd fds[4] = {{lineFd_, POLLIN, 0}, {stopFd, POLLIN, 0}, {commandFd, POLLIN, 0}, {eventFd, POLLIN, 0}};
    const int ready = ppoll(fds, 4, &timeout, nullptr);
    if (ready < 0) {
      if (errno == EINTR) continue;
      say_ << "error: waiting failed: " << std::strerror(errno) << std::endl;
      return 1;
    }
    if (fds[1].revents != 0) return 0;
    if (fds[0].revents & POLLIN) {
      const ssize_t n = ::read(lineFd_, buffer, sizeof buffer);
      if (n > 0) session_.OnBytes(buffer, static_cast<std::size_t>(n), MonotonicMicros());
    } else if (fds[0].revents & (POLLERR | POLLNVAL)) {
      say_ << "error: the line failed" << std::endl;
      return 1;
    }
    if (fds[3].revents & POLLIN) {
      char drain[128];
      if (::read(eventFd, drain, sizeof drain) > 0) Command("event");
    }
    if (fds[2].revents != 0) {
      char text[512];
      const ssize_t n = ::read(commandFd, text, sizeof text);
      if (n <= 0) {
        commandFd = -1;  // end of input: go on without commands
        continue;
      }
      commandBuffer_.append(text, static_cast<std::size_t>(n));
      std::size_t nl;
      while ((nl = commandBuffer_.find('\n')) != std::string::npos) {
        const std::string line = commandBuffer_.substr(0, nl);
        commandBuffer_.erase(0, nl + 1);
        if (!Command(line)) return 0;
      }
      if (commandBuffer_.size() > 4096) commandBuffer_.clear();
    }
  }
}

}  // namespace zelor::sim
