#include "cli/cli_session.h"

#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTimer>

#include "link/link_texts.h"
#include "link/port_choice.h"
#include "qtcore/qt_port_sources.h"

namespace zelor::cli {

using enum OperationMode;

namespace {
// The port choice as a command line makes it: the window's entry, nothing listed.
class ChosenPort : public PortMenu {
 public:
  explicit ChosenPort(SerialPort& port) : port_(port) {}
  void SetEntries(const std::vector<std::string>& names) override { names_ = names; }
  std::optional<std::string> Choose(std::size_t index) override {
    if (index >= names_.size()) return std::nullopt;
    port_.SetPort(names_[index]);
    chosen = true;
    return std::nullopt;
  }
  bool chosen = false;

 private:
  SerialPort& port_;
  std::vector<std::string> names_;
};
}  // namespace

Session::Session(const LineOptions& options) : memo1(options.log), memo2(options.log) {
  if (options.port) {
    port.SetPort(*options.port);
  } else {
    ChosenPort menu(port);
    KeptLog quiet(false);
    RefreshPorts(ProductionPortSources(), port.PortName(), menu, quiet);
    if (!menu.chosen) throw CommandFailed("no serial port found (give one with --port)");
  }
  link.SetPcBaudIndex(options.baudIndex);
  link.BaudIndex = options.baudIndex;
  link.DeviceAddress = options.address;
}

Session::~Session() {
  if (signalFd_ >= 0) ::close(signalFd_);
}

void Session::CatchInterrupt() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGTERM);
  ::sigprocmask(SIG_BLOCK, &set, nullptr);
  signalFd_ = ::signalfd(-1, &set, SFD_NONBLOCK | SFD_CLOEXEC);
}

bool Session::Interrupted() {
  if (signalFd_ >= 0 && !interrupted_) {
    signalfd_siginfo info{};
    interrupted_ = ::read(signalFd_, &info, sizeof info) == static_cast<ssize_t>(sizeof info);
  }
  return interrupted_;
}

void Session::CheckPort() {
  try {
    // One master for the whole command, whatever name reaches the device: the line stays this
    // program's also while the port is closed between steps.
    port.ClaimLine();
    port.Open();
  } catch (const SerialPortError& e) {
    throw CommandFailed(e.what());
  }
  port.Close();
}

bool Session::RunUntil(const std::function<bool()>& done, int limitMs) {
  // A heartbeat, so that the loop wakes to test `done` even when nothing else is due.
  QTimer heartbeat;
  heartbeat.start(20);
  const QDeadlineTimer deadline(limitMs);
  while (!done()) {
    if (deadline.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
  return true;
}

bool Session::Idle() const { return link.OperationMode == omIdle && !link.Timer_Rx->Enabled() && link.WaitPending == 0; }

bool Session::RunRequest(const std::function<void()>& send, int attempts) {
  constexpr int kRequestLimitMs = 10000;
  for (int attempt = 0; attempt < attempts; ++attempt) {
    send();
    if (!RunUntil([this] { return Idle(); }, kRequestLimitMs)) throw CommandFailed("the request did not end");
    const std::string last = memo1.LastLine();
    if (last == text::kOk) return true;
    // A port that cannot be opened or written does not get better by asking again.
    if (last.rfind(text::kPortOpenError, 0) == 0) return false;
  }
  return false;
}

std::string Session::LastLogLine(const std::string& fallback) const {
  const std::string last = memo1.LastLine();
  return last.empty() ? fallback : WithoutLead(last);
}

}  // namespace zelor::cli
