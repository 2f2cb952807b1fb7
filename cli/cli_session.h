// One run of a command: the Qt clock and serial adapter, the link and the sequencer, as the
// window holds them, and the event loop that runs an operation until it ends.
#pragma once
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>

#include "cli/cli_output.h"
#include "link/engine.h"
#include "link/sequencer.h"
#include "qtcore/qt_clock.h"
#include "qtcore/qt_serial_port.h"

namespace zelor::cli {

// A command that failed: its one line for stderr.
class CommandFailed : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct LineOptions {
  std::optional<std::string> port;  // none: the port the window would choose
  uint8_t baudIndex = kDefaultBaudIndex;
  uint8_t address = kDefaultDeviceAddress;
  bool log = false;
};

class Session {
 public:
  explicit Session(const LineOptions& options);
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // Claims the line for the whole command (refused when another program holds the device under
  // any name), then opens the port once and closes it again, so that a port that cannot be opened
  // is reported with the system's reason before any operation starts.
  void CheckPort();
  // From now on SIGINT and SIGTERM do not end the program but make Interrupted() true.
  void CatchInterrupt();
  bool Interrupted();
  // Runs the event loop until `done` holds or `limitMs` has passed; false on the latter.
  bool RunUntil(const std::function<bool()>& done, int limitMs);
  // No operation running and no answer awaited.
  bool Idle() const;
  // Runs one single-request step until it ends; retries it when its reply was lost or broken,
  // up to `attempts` times. True when the last log line is the link's "   : ОК.".
  bool RunRequest(const std::function<void()>& send, int attempts);
  // The last log line as a message, or `fallback` when the log is empty.
  std::string LastLogLine(const std::string& fallback) const;

  QtClock clock;
  QtSerialPort port{clock};
  KeptLog memo1;
  KeptLog memo2;
  KeptStatus status;
  TerminalProgress progress;
  Link link{clock, port, LinkSurfaces{memo1, memo2, status, progress}};
  Sequencer sequencer{link};

 private:
  int signalFd_ = -1;
  bool interrupted_ = false;
};

// How many times a single request is sent before the command gives up.
constexpr int kRequestAttempts = 5;

}  // namespace zelor::cli
