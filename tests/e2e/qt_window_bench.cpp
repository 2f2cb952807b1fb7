// The window's side of performance: the time from starting the program to its first painted
// window, the peak memory after a full configuration read and a 1500-record download, and the CPU
// an hour of live monitoring takes (measured over a few minutes against zelor-pui-sim --pace with
// an event every 10 s, and scaled). The window is on the offscreen platform unless QT_QPA_PLATFORM
// says otherwise.
//
//   qt_window_bench [starts] [monitoring seconds]
#include <QApplication>
#include <QPushButton>
#include <QToolButton>

#include <cstring>
#include <iostream>
#include <memory>
#include <optional>

#include "app/main_window.h"
#include "config/config_image.h"
#include "config/config_tab.h"
#include "config/config_transfer.h"
#include "qtcore/qt_clock.h"
#include "qtcore/qt_port_sources.h"
#include "qtcore/qt_serial_port.h"
#include "service/archive_download.h"
#include "service/archive_tab.h"
#include "service/archive_tab_view.h"
#include "service/status_tab.h"
#include "bench/qt_bench_support.h"

namespace {

using namespace zelor;
using namespace zelor::bench;
using enum OperationMode;

constexpr const char* kPaintChild = "--paint-child";

// Reports the first paint of its window on standard output: the first paint event of any of the
// window's widgets, reported once that painting pass has ended (and been flushed).
class FirstPaint : public QObject {
 public:
  explicit FirstPaint(QWidget& window) : window_(window) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (event->type() == QEvent::Paint && !seen_ && widget != nullptr && widget->window() == &window_) {
      seen_ = true;
      // After this paint has been flushed: the window is on the screen.
      QMetaObject::invokeMethod(
          qApp,
          [] {
            std::cout << "painted" << std::endl;
            QCoreApplication::exit(0);
          },
          Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  QWidget& window_;
  bool seen_ = false;
};

// The program's own start (app/main.cpp) up to the first paint of its window.
int PaintChild(int argc, char** argv) {
  QApplication app(argc, argv);
  QGuiApplication::setDesktopFileName("zelor-pui");
  auto clock = std::make_unique<QtClock>();
  auto port = std::make_unique<QtSerialPort>(*clock);
  TForm1 form(std::move(clock), std::move(port), ProductionPortSources());
  FirstPaint watcher(form);
  app.installEventFilter(&watcher);
  form.show();
  return QApplication::exec();
}

// From starting a process to its painted window, the median of `starts`.
std::optional<double> StartToPaintMs(int starts) {
  std::vector<double> times;
  for (int i = 0; i < starts; ++i) {
    QProcess child;
    QElapsedTimer t;
    t.start();
    child.start(QCoreApplication::applicationFilePath(), {kPaintChild});
    if (!child.waitForReadyRead(20'000) || !child.readAllStandardOutput().contains("painted")) {
      std::fprintf(stderr, "the window did not paint: %s\n", child.readAllStandardError().constData());
      return std::nullopt;
    }
    times.push_back(MillisSince(t));
    child.waitForFinished(5000);
  }
  return Median(times);
}

bool Monitoring(const LinkState& link) {
  const auto m = link.OperationMode;
  return m == omMonitorStart || m == omMonitorPointer || m == omMonitorPoll || m == omMonitorRecord;
}

bool Idle(TForm1& f) { return f.link().OperationMode == omIdle && !f.link().Timer_Rx->Enabled(); }

void PrintFigure(const char* what, double value, const char* unit, const char* target) {
  std::printf("%-72s %9.2f %-3s %s\n", what, value, unit, target);
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  if (argc > 1 && std::strcmp(argv[1], kPaintChild) == 0) return PaintChild(argc, argv);
  QApplication app(argc, argv);
  const int starts = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  const int monitorSeconds = argc > 2 ? std::max(5, std::atoi(argv[2])) : 180;
  if (!QFileInfo(Simulator::Program()).isExecutable()) {
    std::fprintf(stderr, "no simulator at %s\n", Simulator::Program().toLocal8Bit().constData());
    return 2;
  }
  Simulator sim;
  if (!sim.Start({"--pace", "--baud", "57600", "--turnaround", QString::number(kTurnaroundMs), "--records", "1500",
                  "--event-every", "10", "--no-commands"})) {
    return 2;
  }
  std::printf("The window (QT_QPA_PLATFORM=%s) beside zelor-pui-sim --pace at 57600 baud\n",
              qgetenv("QT_QPA_PLATFORM").constData());

  // The start with the simulator registered, as scripts/run-tool.sh starts it.
  const auto startMs = StartToPaintMs(starts);
  if (!startMs) return 1;
  PrintFigure(("start to a painted window, median of " + std::to_string(starts)).c_str(), *startMs, "ms", "target < 500 ms");

  auto clock = std::make_unique<QtClock>();
  auto port = std::make_unique<QtSerialPort>(*clock);
  auto form = std::make_unique<TForm1>(std::move(clock), std::move(port), ProductionPortSources());
  form->show();
  if (form->port().PortName() != "SIM1") {
    std::fprintf(stderr, "the window did not pick the simulator\n");
    return 1;
  }
  form->TeTabSheet12->Load_ButtA->click();
  if (!WaitFor([&] { return Idle(*form); }, 120'000) || !ImageCrcMatches(form->transfer().Image())) {
    std::fprintf(stderr, "the configuration read failed\n");
    return 1;
  }
  QTemporaryDir files;
  const QString archive = files.filePath("archive.txt");
  form->archiveView().saveDialog = [archive](const QString&, const QString&) { return std::optional<QString>(archive); };
  form->TePageControl1->setCurrentWidget(form->TeTabSheet2);
  form->TeTabSheet2->File_ButtA->click();
  if (!WaitFor([&] { return form->archiveDownload().DownloadActive == 0 && Idle(*form); }, 120'000) ||
      QFileInfo(archive).size() < 1500 * 40) {
    std::fprintf(stderr, "the archive download failed\n");
    return 1;
  }
  WaitFor([] { return false; }, 500);  // what the end of the download left to paint
  PrintFigure("peak memory (RSS) after a configuration read and a 1500-record download", PeakRssMb(), "MB",
              "target < 80 MB");

  form->TePageControl1->setCurrentWidget(form->TeTabSheet1);
  form->TeTabSheet1->TeButton2->click();
  if (!WaitFor([&] { return Monitoring(form->link()); }, 5000)) {
    std::fprintf(stderr, "monitoring did not start\n");
    return 1;
  }
  WaitFor([] { return false; }, 2000);  // past the start-up reads
  const double cpuBefore = ProcessCpuMs();
  QElapsedTimer wall;
  wall.start();
  WaitFor([] { return false; }, monitorSeconds * 1000);
  const double cpuMs = ProcessCpuMs() - cpuBefore;
  const double wallMs = MillisSince(wall);
  if (!Monitoring(form->link())) {
    std::fprintf(stderr, "monitoring stopped\n");
    return 1;
  }
  const double share = 100.0 * cpuMs / wallMs;
  PrintFigure(("monitoring: CPU over " + std::to_string(monitorSeconds) + " s, share of one core").c_str(), share, "%",
              "target < 1 %");
  PrintFigure("monitoring: CPU seconds an hour (scaled)", cpuMs / wallMs * 3600.0, "s", "(36 s = 1 %)");
  return 0;
}
