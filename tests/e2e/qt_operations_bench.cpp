// Each line operation of the real window (its Link, Sequencer, QtClock and QtSerialPort) against
// zelor-pui-sim --pace on a pseudo-terminal: the median time of several runs beside the floor of
// the line, and the longest event-loop stall of one extra run with a zero-interval probe.
//
//   qt_operations_bench [runs] [runs at 1200 baud] [name filter]
//
// The floor of an operation is what the line and the protocol's pauses allow, nothing of ours:
//   bytes on the wire both ways at 10 bits a byte (requests and replies, at the operation's rate)
//   + the simulator's turnaround (--turnaround 1: 1 ms before each reply)
//   + the mandated pauses: each MODBUS exchange has the sequencer's 5 ms step (Timer_Programm)
//     before its request and 5 ms of quiet (Timer_Rx) after its reply; a loader frame only the
//     5 ms quiet (the next frame leaves on the acknowledgement); a search probe nobody answers
//     takes its 5 ms step and the whole chosen delay (100 ms), during which its 8 request bytes
//     are already on their way, so they add nothing.
// The exchanges: configuration read 68 x (8 + 197); configuration write 68 x (201 + 8) and the
// apply command (8 + 8); last 15: the record count (8 + 7), the pointers (8 + 9) and 15 x (8 + 17);
// download of 1500 records: the pointers (8 + 9) and 75 x (8 + 245); upgrade: 120 pages of 515,
// the auxiliary blocks and block 127 of 19, the finish frame of 8, each answered with 2 bytes.
// The simulator paces replies in whole microseconds a byte (173 at 57600, 86 at 115200), up to
// 0.8 % faster than the line; its traffic log is checked after every run against these counts.
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QSocketNotifier>
#include <QToolButton>

#include <memory>
#include <optional>
#include <pty.h>
#include <sched.h>
#include <unistd.h>

#include "app/main_window.h"
#include "config/config_image.h"
#include "config/config_tab.h"
#include "config/config_transfer.h"
#include "link/line_rates.h"
#include "link/link_texts.h"
#include "link/registers.h"
#include "qtcore/qt_clock.h"
#include "qtcore/qt_port_sources.h"
#include "qtcore/qt_serial_port.h"
#include "service/address_search.h"
#include "service/archive_download.h"
#include "service/archive_reading.h"
#include "service/archive_tab.h"
#include "service/archive_tab_view.h"
#include "upgrade/firmware_upgrade.h"
#include "upgrade/loader_frames.h"
#include "upgrade/upgrade_menu_view.h"
#include "upgrade/upgrade_texts.h"
#include "bench/qt_bench_support.h"

namespace {

using namespace zelor;
using namespace zelor::bench;
using enum OperationMode;

// What one run of an operation moves over the line.
struct Wire {
  int exchanges = 0;
  long bytes = 0;  // both ways
};

Wire Add(Wire w, int exchanges, int requestBytes, int replyBytes) {
  w.exchanges += exchanges;
  w.bytes += long{exchanges} * (requestBytes + replyBytes);
  return w;
}

double ModbusFloorMs(Wire w, double baud) {
  return double(w.bytes) * ByteMs(baud) + w.exchanges * double(kTurnaroundMs + Link::kQuietMs + Sequencer::kStartIntervalMs);
}
double LoaderFloorMs(Wire w) {
  return double(w.bytes) * ByteMs(kLoaderBaudRate) + w.exchanges * double(kTurnaroundMs + Link::kQuietMs);
}

constexpr int kBlocks = 68;
constexpr int kConfigReadReply = fn::kReadReplyOverhead + reg::kConfigBlockBytes;  // 197
constexpr int kConfigWriteFrame = 9 + reg::kConfigBlockBytes;                      // 201
constexpr int kSearchDelayMs = 100;

Wire ConfigReadWire() { return Add({}, kBlocks, fn::kRequestLength, kConfigReadReply); }
Wire ConfigWriteWire() {
  return Add(Add({}, kBlocks, kConfigWriteFrame, fn::kWriteReplyLength), 1, fn::kRequestLength, fn::kWriteReplyLength);
}
Wire Last15Wire() {
  Wire w = Add({}, 1, fn::kRequestLength, fn::kReadReplyOverhead + 2);  // record count
  w = Add(w, 1, fn::kRequestLength, fn::kReadReplyOverhead + 4);        // pointers
  return Add(w, 15, fn::kRequestLength, fn::kOneRecordReplyLength);
}
Wire DownloadWire() {
  return Add(Add({}, 1, fn::kRequestLength, fn::kReadReplyOverhead + 4), 1500 / reg::kArchiveBatchRecords,
             fn::kRequestLength, fn::kRecordBatchReplyLength);
}
Wire UpgradeWire(int auxBlocks) {
  Wire w = Add({}, static_cast<int>(kFirmwarePages), kPageFrameBytes, kLoaderAckLength);
  w = Add(w, auxBlocks + 1, kAuxFrameBytes, kLoaderAckLength);
  return Add(w, 1, 8, kLoaderAckLength);
}

// Runs at the ordinary priority while it lives, when asked to; the bench may have been started
// at a real-time one (scripts/run-benchmarks.sh), which the simulator inherits and keeps.
class RealTimeDropped {
 public:
  explicit RealTimeDropped(bool drop) {
    if (!drop || sched_getparam(0, &old_) != 0) return;
    policy_ = sched_getscheduler(0);
    const sched_param ordinary{};
    if (policy_ == SCHED_FIFO || policy_ == SCHED_RR) dropped_ = sched_setscheduler(0, SCHED_OTHER, &ordinary) == 0;
  }
  ~RealTimeDropped() {
    if (dropped_) sched_setscheduler(0, policy_, &old_);
  }
  RealTimeDropped(const RealTimeDropped&) = delete;
  RealTimeDropped& operator=(const RealTimeDropped&) = delete;

 private:
  sched_param old_{};
  int policy_ = SCHED_OTHER;
  bool dropped_ = false;
};

// The simulator's traffic log: what it took and sent since the last look.
class TrafficCheck {
 public:
  explicit TrafficCheck(QString path) : path_(std::move(path)) {}
  Wire Since() {
    QFile f(path_);
    Wire w;
    if (!f.open(QIODevice::ReadOnly)) return w;
    f.seek(offset_);
    const QByteArray text = f.readAll();
    offset_ += text.size();
    for (const QByteArray& line : text.split('\n')) {
      const bool rx = line.contains(" RX "), tx = line.contains(" TX ");
      if (!rx && !tx) continue;
      QByteArray hex = line.mid(line.indexOf(rx ? " RX " : " TX ") + 4);
      if (const auto note = hex.indexOf(';'); note >= 0) hex.truncate(note);
      w.bytes += hex.simplified().count(' ') + 1;
      if (rx) ++w.exchanges;
    }
    return w;
  }

 private:
  QString path_;
  qint64 offset_ = 0;
};

struct Operation {
  std::string name;
  long baud;                  // the line's rate during the operation
  QStringList simArgs;        // besides the pacing
  Wire wire;                  // per run
  double floorMs;
  std::function<bool(TForm1&)> prepare;  // once, before the runs
  std::function<void(TForm1&)> start;
  std::function<bool(TForm1&)> ended;
  std::function<bool(TForm1&)> clean;    // ended as it should
  bool probe = false;                    // one extra run with the stall probe
  bool bootLoader = false;               // the simulator has to be put back into its loader
};

bool Idle(TForm1& f) { return f.link().OperationMode == omIdle && !f.link().Timer_Rx->Enabled(); }

bool LastLineIs(TForm1& f, const char* line) {
  const QStringList lines = f.TeMemo1->Lines();
  return !lines.isEmpty() && lines.back().toStdString() == line;
}

bool RunBaudMenu(TForm1& f, long baud) {
  const auto index = BaudIndexOf(static_cast<uint32_t>(baud));
  if (!index) return false;
  f.BaudRateClick(*index);
  return f.port().BaudRate() == static_cast<uint32_t>(baud);
}

std::unique_ptr<TForm1> OpenWindow() {
  auto clock = std::make_unique<QtClock>();
  auto port = std::make_unique<QtSerialPort>(*clock);
  auto form = std::make_unique<TForm1>(std::move(clock), std::move(port), ProductionPortSources());
  if (!qEnvironmentVariableIsSet("ZELOR_BENCH_HIDDEN")) form->show();
  QCoreApplication::processEvents();
  return form;
}

// One operation: its simulator, its window, the timed runs and the probed one.
bool Measure(const Operation& op, int runs, const QString& files) {
  Simulator sim;
  const QString log = files + "/sim-" + QString::number(std::rand()) + ".log";
  QStringList args = op.simArgs;
  args << "--pace" << "--turnaround" << QString::number(kTurnaroundMs) << "--log" << log;
  if (!op.bootLoader) args << "--baud" << QString::number(op.baud) << "--no-commands";
  if (!sim.Start(args)) return false;
  TrafficCheck traffic(log);
  auto form = OpenWindow();
  if (form->port().PortName() != "SIM1") {
    std::fprintf(stderr, "%s: the window did not pick the simulator\n", op.name.c_str());
    return false;
  }
  if (!op.bootLoader && !RunBaudMenu(*form, op.baud)) return false;
  if (op.prepare && !op.prepare(*form)) {
    std::fprintf(stderr, "%s: preparation failed\n", op.name.c_str());
    return false;
  }
  traffic.Since();
  // The link's own work on the two timers that pace it: what it adds to each exchange's pauses.
  double workMs = 0;
  double longestWorkMs = 0;  // the longest single handler: the tool's own part of a stall
  auto timed = [&workMs, &longestWorkMs](std::function<void()> handler) {
    return [&workMs, &longestWorkMs, handler] {
      QElapsedTimer t;
      t.start();
      handler();
      const double ms = MillisSince(t);
      workMs += ms;
      longestWorkMs = std::max(longestWorkMs, ms);
    };
  };
  Link& link = form->link();
  link.Timer_Rx->SetHandler(timed([&link] { link.Timer_RxTimer(); }));
  link.Timer_Programm->SetHandler(timed([&form] { form->sequencer().Timer_ProgrammTimer(); }));
  double timedWorkMs = 0;
  std::vector<double> times;
  double stall = -1;
  const int total = runs + (op.probe ? 1 : 0);
  for (int run = 0; run < total; ++run) {
    const bool probed = op.probe && run == runs;
    if (op.bootLoader && run > 0) {
      sim.Command("bootloader");
      WaitFor([] { return false; }, 100);
    }
    StallProbe probe;
    // A busy probe at a real-time priority would never let the simulator have its core.
    const RealTimeDropped ordinary(probed);
    workMs = 0;
    QElapsedTimer t;
    t.start();
    op.start(*form);
    // From the click's return: the transfer's stalls, not the file dialog the upgrade opens.
    if (probed) probe.Start();
    if (!WaitFor([&] { return op.ended(*form); }, 600'000) || !op.clean(*form)) {
      // In the table too: an operation that cannot complete on this line is a finding.
      std::printf("%-32s %6ld  run %d did not complete after %.0f ms: %s\n", op.name.c_str(), op.baud, run + 1,
                  MillisSince(t), form->TeMemo1->Lines().join(" | ").toLocal8Bit().constData());
      std::fflush(stdout);
      return false;
    }
    const double ms = MillisSince(t);
    if (!probed) timedWorkMs += workMs;
    workMs = 0;
    if (probed) {
      stall = probe.Stop();
    } else {
      times.push_back(ms);
    }
    const Wire seen = traffic.Since();
    if (op.wire.exchanges != 0 && (seen.exchanges != op.wire.exchanges || seen.bytes != op.wire.bytes)) {
      std::fprintf(stderr, "%s: the simulator saw %d exchanges, %ld bytes; the floor counts %d, %ld\n", op.name.c_str(),
                   seen.exchanges, seen.bytes, op.wire.exchanges, op.wire.bytes);
      return false;
    }
  }
  PrintRow(op.name, op.baud, times.size(), Median(times), op.floorMs, stall,
           timedWorkMs * 1000 / double(times.size() * std::size_t(op.wire.exchanges)), longestWorkMs);
  return true;
}

// A pseudo-terminal nobody answers on, registered as SIM1; what the tool writes is read away.
class SilentLine {
 public:
  SilentLine() {
    char name[256] = {};
    int slave = -1;
    if (::openpty(&master_, &slave, name, nullptr, nullptr) != 0) return;
    ::close(slave);
    registration_ = std::make_unique<PortRegistration>(name);
    drain_ = std::make_unique<QSocketNotifier>(master_, QSocketNotifier::Read);
    QObject::connect(drain_.get(), &QSocketNotifier::activated, [this] {
      char buf[512];
      if (::read(master_, buf, sizeof buf) <= 0) drain_->setEnabled(false);
    });
  }
  ~SilentLine() {
    drain_.reset();
    if (master_ >= 0) ::close(master_);
  }
  bool ok() const { return registration_ != nullptr; }

 private:
  int master_ = -1;
  std::unique_ptr<PortRegistration> registration_;
  std::unique_ptr<QSocketNotifier> drain_;
};

bool MeasureSearch(long baud, int runs) {
  QTemporaryDir runtime;
  ::setenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit().constData(), 1);
  SilentLine line;
  if (!line.ok()) return false;
  auto form = OpenWindow();
  if (form->port().PortName() != "SIM1" || !RunBaudMenu(*form, baud)) return false;
  form->DelayItems[0]->trigger();
  if (form->link().SearchDelay != kSearchDelayMs) return false;
  std::vector<double> times;
  for (int run = 0; run < runs; ++run) {
    QElapsedTimer t;
    t.start();
    form->CustomItem5->trigger();
    if (!WaitFor([&] { return Idle(*form); }, 120'000) || form->link().DeviceAddress != kHighestSlaveAddress) {
      std::fprintf(stderr, "search: run %d did not end\n", run + 1);
      return false;
    }
    times.push_back(MillisSince(t));
  }
  const double floorMs = kHighestSlaveAddress * double(AddressSearch::kProbeIntervalMs + kSearchDelayMs);
  PrintRow("search, no panel, 100 ms", baud, times.size(), Median(times), floorMs);
  return true;
}

QString WriteFirmware(const QString& folder, int auxBlocks) {
  const QString path = folder + "/firmware-" + QString::number(auxBlocks) + ".hex";
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly)) return {};
  QByteArray bytes(static_cast<qsizetype>(kFirmwareBytes) + 2 + auxBlocks * kAuxBlockBytes, '\0');
  for (qsizetype i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>((i * 13 + i / 509) & 0xFF);
  f.write(bytes);
  return path;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  const int slowRuns = argc > 2 ? std::max(1, std::atoi(argv[2])) : std::min(runs, 3);
  const std::string filter = argc > 3 ? argv[3] : "";
  if (!QFileInfo(Simulator::Program()).isExecutable()) {
    std::fprintf(stderr, "no simulator at %s\n", Simulator::Program().toLocal8Bit().constData());
    return 2;
  }
  QTemporaryDir files;
  const QString archivePath = files.filePath("archive.txt");

  auto readConfig = [](TForm1& f) { f.TeTabSheet12->Load_ButtA->click(); };
  auto configRead = [&](TForm1& f) {
    readConfig(f);
    return WaitFor([&] { return Idle(f); }, 600'000) && ImageCrcMatches(f.transfer().Image());
  };
  std::vector<Operation> ops;
  for (const long baud : {57600L, 1200L}) {
    ops.push_back({"configuration read", baud, {}, ConfigReadWire(), ModbusFloorMs(ConfigReadWire(), double(baud)), nullptr,
                   readConfig, Idle,
                   [](TForm1& f) { return LastLineIs(f, text::kOk) && ImageCrcMatches(f.transfer().Image()); },
                   baud == 57600});
    ops.push_back({"configuration write with apply", baud, {}, ConfigWriteWire(),
                   ModbusFloorMs(ConfigWriteWire(), double(baud)), configRead,
                   [](TForm1& f) { f.TeTabSheet12->Save_ButtA->click(); }, Idle,
                   [](TForm1& f) {
                     return f.TeMemo1->Lines() == QStringList{text::kConfigWriting, text::kOk};
                   },
                   baud == 57600});
    ops.push_back({"last 15", baud, {"--records", "1500"}, Last15Wire(), ModbusFloorMs(Last15Wire(), double(baud)),
                   nullptr, [](TForm1& f) { f.TeTabSheet2->File_ButtB->click(); },
                   [](TForm1& f) { return f.archiveReading().Last15Active == 0 && Idle(f); },
                   [](TForm1& f) { return LastLineIs(f, text::kOk); }});
    ops.push_back({"archive download, 1500 records", baud, {"--records", "1500"}, DownloadWire(),
                   ModbusFloorMs(DownloadWire(), double(baud)),
                   [archivePath](TForm1& f) {
                     f.archiveView().saveDialog = [archivePath](const QString&, const QString&) {
                       return std::optional<QString>(archivePath);
                     };
                     return true;
                   },
                   [](TForm1& f) { f.TeTabSheet2->File_ButtA->click(); },
                   [](TForm1& f) { return f.archiveDownload().DownloadActive == 0 && Idle(f); },
                   [archivePath](TForm1&) { return QFileInfo(archivePath).size() > 1500 * 40; }, baud == 57600});
  }
  for (const int aux : {0, 128}) {
    const QString firmware = WriteFirmware(files.path(), aux);
    ops.push_back({"firmware upgrade, " + std::to_string(aux) + " aux blocks", long{kLoaderBaudRate}, {"--bootloader"},
                   UpgradeWire(aux), LoaderFloorMs(UpgradeWire(aux)),
                   [firmware](TForm1& f) {
                     f.upgradeView().runDialog = [firmware](QFileDialog& dialog) {
                       dialog.selectFile(firmware);
                       return int(QDialog::Accepted);
                     };
                     return true;
                   },
                   [](TForm1& f) { f.CustomItem13->trigger(); }, Idle,
                   [](TForm1& f) { return f.TeMemo1->Lines().size() == 4 && f.TeMemo1->Lines()[1].toStdString() == upgrade_text::kUpgradeOk; },
                   aux == 128, true});
  }

  std::printf("The real window's operations against zelor-pui-sim --pace --turnaround %d on a pseudo-terminal\n",
              kTurnaroundMs);
  PrintHeading();
  bool ok = true;
  for (const auto& op : ops) {
    if (!filter.empty() && (op.name + " " + std::to_string(op.baud)).find(filter) == std::string::npos) continue;
    ok = Measure(op, op.baud == 1200 ? slowRuns : runs, files.path()) && ok;
  }
  for (const long baud : {57600L, 1200L}) {
    if (filter.empty() || ("search " + std::to_string(baud)).find(filter) != std::string::npos) {
      ok = MeasureSearch(baud, baud == 1200 ? slowRuns : runs) && ok;
    }
  }
  return ok ? 0 : 1;
}
