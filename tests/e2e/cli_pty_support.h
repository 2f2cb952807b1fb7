// What the command-line program's end-to-end tests share: simulators on pseudo-terminals, a
// terminal nobody answers on, runs of zelor-pui-cli; the plain reader of the simulator is direct_reader.h.
#pragma once
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QProcess>
#include <QStringList>
#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "direct_reader.h"
#include "link/port_registry.h"

namespace zelor::test {

inline bool WaitUntil(const std::function<bool()>& pred, int ms) {
  QDeadlineTimer deadline(ms);
  while (!pred() && !deadline.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  return pred();
}

inline std::vector<std::string> RegisteredNames() {
  std::vector<std::string> names;
  for (const auto& r : ListRegisteredPorts()) names.push_back(r.name);
  return names;
}

// One zelor-pui-sim process; its registered port name once started.
class SimProcess {
 public:
  ~SimProcess() { Stop(); }
  bool Start(const QStringList& args) {
    const QString program = QStringLiteral(ZELOR_BINARY_DIR "/zelor-pui-sim");
    if (!QFileInfo(program).isExecutable()) return false;
    const auto before = RegisteredNames();
    process.start(program, QStringList{"--no-commands"} + args);
    if (!process.waitForStarted(3000)) return false;
    return WaitUntil(
        [&] {
          for (const auto& n : RegisteredNames()) {
            if (std::find(before.begin(), before.end(), n) == before.end()) {
              name = n;
              return true;
            }
          }
          return false;
        },
        5000);
  }
  void Stop() {
    if (process.state() == QProcess::NotRunning) return;
    process.terminate();
    if (!process.waitForFinished(3000)) {
      process.kill();
      process.waitForFinished();
    }
  }
  std::string Path() const {
    for (const auto& r : ListRegisteredPorts()) {
      if (r.name == name) return r.path;
    }
    return {};
  }

  QProcess process;
  std::string name;
};

// A pseudo-terminal with nobody behind it: a line without a panel.
class SilentTerminal {
 public:
  SilentTerminal() {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) return;
    if (const char* name = ::ptsname(master_)) path = name;
  }
  ~SilentTerminal() {
    if (master_ >= 0) ::close(master_);
  }
  SilentTerminal(const SilentTerminal&) = delete;
  SilentTerminal& operator=(const SilentTerminal&) = delete;
  std::string path;

 private:
  int master_ = -1;
};

struct CliRun {
  int exitCode = -1;
  QString out;
  QString err;
  bool finished = false;
};

inline QString CliProgram() { return QStringLiteral(ZELOR_BINARY_DIR "/zelor-pui-cli"); }

// Starts zelor-pui-cli; Finish collects it.
inline std::unique_ptr<QProcess> StartCli(const QStringList& args) {
  auto p = std::make_unique<QProcess>();
  p->start(CliProgram(), args);
  return p;
}

inline CliRun Finish(QProcess& p, int ms = 90000) {
  CliRun r;
  r.finished = p.waitForFinished(ms);
  if (!r.finished) {
    p.kill();
    p.waitForFinished();
  }
  r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
  r.out = QString::fromUtf8(p.readAllStandardOutput());
  r.err = QString::fromUtf8(p.readAllStandardError());
  return r;
}

inline CliRun RunCli(const QStringList& args, int ms = 90000) {
  auto p = StartCli(args);
  return Finish(*p, ms);
}

}  // namespace zelor::test
