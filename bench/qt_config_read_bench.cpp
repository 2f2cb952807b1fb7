// How long the 68-block configuration read takes with the tool's own link, clock and serial
// adapter against zelor-pui-sim pacing its replies at 57600 baud on a pseudo-terminal, printed
// beside the floor the line allows: the bytes on the wire, the panel's turnaround and the two
// 5 ms pauses of every block (the quiet that ends a reply and the sequencer's step interval).
//   qt_config_read_bench [runs] [path to zelor-pui-sim]
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "qtcore/qt_clock.h"
#include "qtcore/qt_serial_port.h"
#include "config/config_image.h"
#include "config/config_transfer.h"
#include "link/engine.h"
#include "link/registers.h"
#include "link/sequencer.h"
#include "sim/reply_shaping.h"

namespace {

using namespace zelor;

constexpr uint32_t kBaud = 57600;
constexpr int kTurnaroundMs = 1;
constexpr int kBlocks = 68;

class Memo : public LogMemo {
 public:
  void Clear() override { lines.clear(); }
  void AddLine(const std::string& line) override { lines.push_back(line); }
  void DeleteLastLine() override {
    if (!lines.empty()) lines.pop_back();
  }
  void SetColor(MemoColor) override {}
  void SetVisible(bool) override {}
  std::vector<std::string> lines;
};
class Status : public StatusBar {
 public:
  void SetPanelText(int, const std::string&) override {}
};
class Progress : public ProgressBar {
 public:
  void SetVisible(bool) override {}
  void SetRange(int, int) override {}
  void SetPosition(int) override {}
};
class NoView : public TransferView {
 public:
  void ShowAddButton() override {}
  void ModelReplaced() override {}
  std::optional<std::string> ChooseFileToOpen() override { return std::nullopt; }
  std::optional<std::string> ChooseFileToSave() override { return std::nullopt; }
  FileBytes ReadFile(const std::string&, std::size_t) override { return {}; }
  std::string WriteFile(const std::string&, std::span<const uint8_t>) override { return "not here"; }
};

bool WaitFor(const std::function<bool()>& pred, int ms) {
  QDeadlineTimer deadline(ms);
  while (!pred() && !deadline.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
  return pred();
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  const QString simPath = argc > 2 ? QString::fromLocal8Bit(argv[2])
                                   : QCoreApplication::applicationDirPath() + "/zelor-pui-sim";
  if (!QFileInfo(simPath).isExecutable()) {
    std::fprintf(stderr, "no simulator at %s\n", simPath.toLocal8Bit().constData());
    return 2;
  }
  QTemporaryDir dir;
  const QString link = dir.filePath("panel");
  QProcess sim;
  sim.start(simPath, {"--no-register", "--no-commands", "--pace", "--baud", QString::number(kBaud), "--turnaround",
                      QString::number(kTurnaroundMs), "--link", link});
  if (!sim.waitForStarted(3000) || !WaitFor([&] { return QFileInfo::exists(link); }, 5000)) {
    std::fprintf(stderr, "the simulator did not start\n");
    return 2;
  }

  QtClock clock;
  QtSerialPort port(clock);
  port.SetPort(link.toStdString());
  Memo memo1, memo2;
  Status status;
  Progress progress;
  Link linkState(clock, port, LinkSurfaces{memo1, memo2, status, progress});
  Sequencer sequencer(linkState);
  linkState.SetPcBaudIndex(kDefaultBaudIndex);
  ConfigModel model;
  NoView view;
  ConfigTransfer transfer(linkState, sequencer, model, view);

  std::vector<double> times;
  for (int run = 0; run < runs; ++run) {
    const auto start = std::chrono::steady_clock::now();
    transfer.Load_ButtAClick();
    if (!WaitFor([&] { return linkState.OperationMode == OperationMode::omIdle; }, 60'000) ||
        memo1.lines.empty() || memo1.lines.back() != "   : ОК." || !ImageCrcMatches(transfer.Image())) {
      std::fprintf(stderr, "run %d did not complete cleanly\n", run + 1);
      return 1;
    }
    times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  sim.terminate();
  sim.waitForFinished(3000);

  const double byteMs = 10'000.0 / kBaud;  // 10 bits a byte
  const double requestsMs = kBlocks * fn::kRequestLength * byteMs;
  const double replyBytes = kBlocks * (fn::kReadReplyOverhead + reg::kConfigBlockBytes);
  const double repliesMs = replyBytes * byteMs;
  const double turnaroundMs = kBlocks * kTurnaroundMs;
  const double pausesMs = kBlocks * double(Link::kQuietMs + Sequencer::kStartIntervalMs);
  const double floorMs = requestsMs + repliesMs + turnaroundMs + pausesMs;
  // Here the requests cross the pseudo-terminal at once, and the simulator paces its replies in
  // whole microseconds a byte.
  const double hereMs = replyBytes * sim::ByteMicros(kBaud) / 1000.0 + turnaroundMs + pausesMs;
  std::sort(times.begin(), times.end());
  const double median = times[times.size() / 2];

  std::printf("configuration read, %d blocks of %u bytes at %u baud, %d runs\n", kBlocks, reg::kConfigBlockBytes, kBaud,
              runs);
  std::printf("  measured:         median %.0f ms, fastest %.0f ms, slowest %.0f ms\n", median, times.front(),
              times.back());
  std::printf("  floor of a line:  %.0f ms = requests %.0f + replies %.0f + turnaround %.0f + pauses %.0f (2 x 5 ms a block)\n",
              floorMs, requestsMs, repliesMs, turnaroundMs, pausesMs);
  std::printf("  floor here:       %.0f ms (the pseudo-terminal takes the requests at once)\n", hereMs);
  std::printf("  median over the floor here: %+.0f ms (%+.1f ms a block)\n", median - hereMs, (median - hereMs) / kBlocks);
  return 0;
}
