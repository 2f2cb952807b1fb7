// What the benchmark programs share: the simulator started on its own pseudo-terminal in a
// runtime folder of the bench's own, waiting on the event loop, medians, the event-loop stall
// probe, the line floor's arithmetic and the printed rows.
#pragma once
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include <sys/resource.h>

#include "link/port_registry.h"

namespace zelor::bench {

// The simulator's own pause between a request and its reply, passed to it as --turnaround.
constexpr int kTurnaroundMs = 1;

// One byte on the line: a start bit, 8 data bits, a stop bit.
inline double ByteMs(double baud) { return 10'000.0 / baud; }

// Runs the event loop until pred holds or ms have passed; the last answer of pred. It sleeps
// between events (a busy loop would take a core from the simulator and skew every figure) and
// looks at pred after each, so an end is seen as soon as the event that made it is handled.
inline bool WaitFor(const std::function<bool()>& pred, int ms) {
  QDeadlineTimer deadline(ms);
  QTimer wake;  // the deadline is an event too
  wake.setSingleShot(true);
  wake.setTimerType(Qt::PreciseTimer);
  while (!pred() && !deadline.hasExpired()) {
    // Started again when it fired before the deadline had quite passed.
    if (!wake.isActive()) wake.start(std::max<int>(1, static_cast<int>(deadline.remainingTime())));
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
  return pred();
}

inline double Median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  const std::size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

inline double MillisSince(const QElapsedTimer& t) { return static_cast<double>(t.nsecsElapsed()) / 1e6; }

// CPU time (user + system) this process has used so far, in milliseconds.
inline double ProcessCpuMs() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  auto ms = [](const timeval& t) { return static_cast<double>(t.tv_sec) * 1000 + static_cast<double>(t.tv_usec) / 1000; };
  return ms(u.ru_utime) + ms(u.ru_stime);
}

// The largest resident set this process has had, in megabytes.
inline double PeakRssMb() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return static_cast<double>(u.ru_maxrss) / 1024.0;
}

// A zero-interval timer: between two of its turns the event loop did something else, so the
// longest gap between turns is the longest time the window could not react.
class StallProbe {
 public:
  StallProbe() {
    timer_.setInterval(0);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      const double now = MillisSince(clock_);
      longest_ = std::max(longest_, now - last_);
      last_ = now;
    });
  }
  void Start() {
    longest_ = 0;
    clock_.start();
    last_ = 0;
    timer_.start();
  }
  // The longest gap since Start.
  double Stop() {
    timer_.stop();
    return longest_;
  }

 private:
  QTimer timer_;
  QElapsedTimer clock_;
  double last_ = 0;
  double longest_ = 0;
};

// zelor-pui-sim on a pseudo-terminal, registered (as SIM1) in a runtime folder of this process
// alone, so the window's port list finds it and nothing else.
class Simulator {
 public:
  Simulator() {
    ::setenv("XDG_RUNTIME_DIR", runtime_.path().toLocal8Bit().constData(), 1);
  }
  ~Simulator() { Stop(); }

  static QString Program() { return QCoreApplication::applicationDirPath() + "/zelor-pui-sim"; }

  // Starts it with `args` and waits for its registration; false (and a line on stderr) if not.
  bool Start(const QStringList& args) {
    Stop();
    const QString link = runtime_.filePath("panel");
    process_.start(Program(), QStringList{"--link", link} + args);
    if (!process_.waitForStarted(3000) ||
        !WaitFor([&] { return !ListRegisteredPorts().empty() && QFileInfo::exists(link); }, 5000)) {
      std::fprintf(stderr, "zelor-pui-sim did not start: %s\n", process_.readAllStandardError().constData());
      return false;
    }
    return true;
  }
  // A line on the simulator's command input ("bootloader", "event").
  void Command(const char* line) {
    process_.write(line);
    process_.write("\n");
    process_.waitForBytesWritten(1000);
  }
  void Stop() {
    if (process_.state() == QProcess::NotRunning) return;
    process_.terminate();
    if (!process_.waitForFinished(3000)) {
      process_.kill();
      process_.waitForFinished();
    }
  }
  QString Folder() const { return runtime_.path(); }

 private:
  QTemporaryDir runtime_;
  QProcess process_;
};

// One row of the table: the measured median beside the floor of the line, the longest stall of
// the event loop (probed run), the link's own work an exchange (microseconds on its two timers)
// and its longest single handler (milliseconds, any run).
inline void PrintHeading() {
  std::printf("%-32s %6s %4s %10s %10s %6s %8s %8s %8s\n", "operation", "baud", "runs", "median ms", "floor ms",
              "ratio", "stall ms", "work us", "max ms");
}
inline void PrintRow(const std::string& operation, long baud, std::size_t runs, double medianMs, double floorMs,
                     double stallMs = -1, double workMicros = -1, double longestWorkMs = -1) {
  auto optional = [](double v, const char* format) {
    char text[32] = "-";
    if (v >= 0) std::snprintf(text, sizeof text, format, v);
    return std::string(text);
  };
  std::printf("%-32s %6ld %4zu %10.0f %10.0f %6.3f %8s %8s %8s\n", operation.c_str(), baud, runs, medianMs, floorMs,
              medianMs / floorMs, optional(stallMs, "%.1f").c_str(), optional(workMicros, "%.0f").c_str(),
              optional(longestWorkMs, "%.1f").c_str());
  std::fflush(stdout);
}

}  // namespace zelor::bench
