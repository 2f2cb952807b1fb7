// What the command-line program's end-to-end tests share: simulators on pseudo-terminals, a
// terminal nobody answers on, runs of zelor-pui-cli, and a plain MODBUS reader of the simulator.
#pragma once
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
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

#include "link/crc16.h"
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

// A plain MODBUS master on the terminal, sharing only the CRC with the tool's link: it reads what
// the simulator holds so that the program's results can be checked against it.
class DirectReader {
 public:
  DirectReader(const std::string& path, uint8_t address) : fd_(::open(path.c_str(), O_RDWR | O_NOCTTY)), address_(address) {
    if (fd_ < 0) return;
    termios t{};
    ::tcgetattr(fd_, &t);
    ::cfmakeraw(&t);
    ::tcsetattr(fd_, TCSANOW, &t);
  }
  ~DirectReader() {
    if (fd_ >= 0) ::close(fd_);
  }
  DirectReader(const DirectReader&) = delete;
  DirectReader& operator=(const DirectReader&) = delete;
  bool ok() const { return fd_ >= 0; }

  // Function 03 at `start` for `count` registers: the reply's data bytes, asked again when the
  // reply is missing (the simulator may drop some on purpose) or broken.
  std::optional<std::vector<uint8_t>> Read(uint16_t start, uint16_t count, std::size_t dataBytes) {
    std::vector<uint8_t> request = {address_, 3, static_cast<uint8_t>(start >> 8), static_cast<uint8_t>(start),
                                    static_cast<uint8_t>(count >> 8), static_cast<uint8_t>(count)};
    request.resize(8);
    AppendCrc16(request.data(), 6);
    const std::size_t want = dataBytes + 5;
    for (int attempt = 0; attempt < 50; ++attempt) {
      ::tcflush(fd_, TCIFLUSH);
      if (::write(fd_, request.data(), request.size()) != static_cast<ssize_t>(request.size())) return std::nullopt;
      std::vector<uint8_t> reply;
      pollfd p{fd_, POLLIN, 0};
      while (reply.size() < want && ::poll(&p, 1, 300) > 0) {
        uint8_t buf[512];
        const ssize_t n = ::read(fd_, buf, sizeof buf);
        if (n <= 0) break;
        reply.insert(reply.end(), buf, buf + n);
      }
      if (reply.size() != want || reply[2] != dataBytes || !Crc16Matches(reply.data(), reply.size())) continue;
      return std::vector<uint8_t>(reply.begin() + 3, reply.end() - 2);
    }
    return std::nullopt;
  }
  std::optional<std::vector<uint16_t>> Registers(uint16_t start, uint16_t count) {
    const auto bytes = Read(start, count, 2U * count);
    if (!bytes) return std::nullopt;
    std::vector<uint16_t> regs;
    for (std::size_t i = 0; i + 1 < bytes->size(); i += 2) regs.push_back(static_cast<uint16_t>((*bytes)[i] << 8 | (*bytes)[i + 1]));
    return regs;
  }

 private:
  int fd_;
  uint8_t address_;
};

}  // namespace zelor::test
