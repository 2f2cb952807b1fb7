// zelor-pui-cli against zelor-pui-sim on real pseudo-terminals: every command, its results
// compared with what the simulator holds and with the window's own archive download; two
// simulators backed up by one shell loop; a tenth of the replies dropped; no panel at all.
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "app/main_window.h"
#include "cli_pty_support.h"
#include "config/config_image.h"
#include "link/link_state.h"
#include "link/registers.h"
#include "model/cp1251.h"
#include "qtcore/qt_clock.h"
#include "qtcore/qt_port_sources.h"
#include "qtcore/qt_serial_port.h"
#include "service/archive_csv.h"
#include "service/archive_download.h"
#include "service/archive_lines.h"
#include "service/archive_tab.h"
#include "service/archive_tab_view.h"
#include "service/archive_texts.h"
#include "service/monitor_lines.h"
#include "service/monitor_texts.h"

namespace zelor::test {
namespace {

using enum OperationMode;

QByteArray ReadFile(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The simulator's archive, oldest record first, read straight from it.
std::vector<EventFields> SimRecords(const std::string& path, uint8_t address) {
  std::vector<EventFields> records;
  DirectReader reader(path, address);
  EXPECT_TRUE(reader.ok()) << path;
  const auto count = reader.Registers(reg::kRecordCount, 1);
  const auto pointers = reader.Registers(reg::kArchivePointers, 2);
  if (!count || !pointers) return records;
  uint16_t at = (*pointers)[1];
  for (int left = (*count)[0]; left > 0;) {
    const int n = std::min({left, 20, reg::kArchiveLast - at + 1});
    const auto bytes = reader.Read(at, static_cast<uint16_t>(n), 12U * static_cast<std::size_t>(n));
    if (!bytes) return records;
    for (int i = 0; i < n; ++i) records.push_back(DecodeEvent(bytes->data() + 12 * i));
    left -= n;
    at = static_cast<uint16_t>(at + n > reg::kArchiveLast ? reg::kArchiveFirst : at + n);
  }
  return records;
}

// The lines a download of these records writes after the header, in the file's bytes.
QByteArray RecordLines(const std::vector<EventFields>& records) {
  QByteArray bytes;
  for (std::size_t i = 0; i < records.size(); ++i) {
    bytes += QByteArray::fromStdString(Cp1251FromUtf8(ArchiveFileLine(static_cast<int32_t>(i + 1), records[i])).Bytes());
    bytes += "\r\n";
  }
  return bytes;
}

// The program's one clear line: a single line on stderr that names the program.
void ExpectOneClearLine(const CliRun& run, const char* what) {
  EXPECT_TRUE(run.err.startsWith("zelor-pui-cli: ")) << what << ": " << run.err.toStdString();
  EXPECT_EQ(run.err.count('\n'), 1) << what << ": " << run.err.toStdString();
}

class CliOnPtyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(runtime.isValid());
    ASSERT_TRUE(files.isValid());
    if (const char* old = std::getenv("XDG_RUNTIME_DIR")) oldRuntime = old;
    ::setenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit().constData(), 1);
    if (!QFileInfo(CliProgram()).isExecutable()) GTEST_SKIP() << "zelor-pui-cli is not built";
  }
  void TearDown() override {
    sims.clear();
    if (oldRuntime.empty()) {
      ::unsetenv("XDG_RUNTIME_DIR");
    } else {
      ::setenv("XDG_RUNTIME_DIR", oldRuntime.c_str(), 1);
    }
  }
  SimProcess& StartSim(const QStringList& args) {
    sims.push_back(std::make_unique<SimProcess>());
    EXPECT_TRUE(sims.back()->Start(args)) << "zelor-pui-sim did not start and register";
    return *sims.back();
  }
  QString File(const char* name) const { return files.filePath(name); }

  QTemporaryDir runtime;
  QTemporaryDir files;
  std::string oldRuntime;
  std::vector<std::unique_ptr<SimProcess>> sims;
};

TEST_F(CliOnPtyTest, HelpForTheProgramAndEveryCommand) {
  const CliRun help = RunCli({"--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_TRUE(help.out.startsWith("Usage: zelor-pui-cli")) << help.out.toStdString();
  for (const char* command : {"ports", "search", "params", "clock", "archive", "upgrade", "monitor", "config"}) {
    const CliRun run = RunCli({command, "--help"});
    EXPECT_EQ(run.exitCode, 0) << command;
    EXPECT_TRUE(run.out.startsWith("Usage: zelor-pui-cli")) << command;
    EXPECT_TRUE(run.out.contains(command)) << command;
  }
  const std::vector<QStringList> mistakes = {
      {}, {"bogus"}, {"--bogus", "params"}, {"--baud", "1234", "params"}, {"--address", "248", "params"},
      {"params", "extra"}, {"clock", "trim", "5"}, {"clock", "set", "2030-02-30", "00:00:00"},
      // Years the panel's clock cannot hold (it keeps the year modulo 100): never a false success.
      {"clock", "set", "2013-01-01", "00:00:00"}, {"clock", "set", "2031-06-07", "08:09:10"},
      // Two outputs on one file: the CSV would be written over the records.
      {"archive", "download", "same.txt", "--csv", "same.txt"}, {"archive", "download", "same.txt", "--csv", "./same.txt"},
      {"archive", "last", "16"}, {"search", "--delay", "120"}, {"archive", "download"},
  };
  for (const auto& args : mistakes) {
    const CliRun run = RunCli(args);
    EXPECT_EQ(run.exitCode, 2) << args.join(' ').toStdString();
    ExpectOneClearLine(run, args.join(' ').toUtf8().constData());
  }
  // The same file through a link, before either exists.
  ASSERT_TRUE(QFile::link(File("records.txt"), File("link.csv")));
  const CliRun linked = RunCli({"archive", "download", File("records.txt"), "--csv", File("link.csv")});
  EXPECT_EQ(linked.exitCode, 2) << linked.err.toStdString();
  EXPECT_TRUE(linked.err.contains("name the same file")) << linked.err.toStdString();
}

TEST_F(CliOnPtyTest, SearchParamsAndClockAgreeWithTheSimulator) {
  SimProcess& sim = StartSim({"--address", "9"});
  const QString port = QString::fromStdString(sim.name);

  const CliRun ports = RunCli({"ports"});
  EXPECT_EQ(ports.exitCode, 0);
  EXPECT_TRUE(ports.out.startsWith(port + "\n")) << "registered simulators first: " << ports.out.toStdString();

  const CliRun search = RunCli({"--port", port, "search", "--delay", "100"});
  EXPECT_EQ(search.exitCode, 0) << search.err.toStdString();
  EXPECT_EQ(search.out, "9\n");

  const CliRun set = RunCli({"--port", port, "--address", "9", "clock", "set", "2030-01-02", "03:04:05"});
  ASSERT_EQ(set.exitCode, 0) << set.err.toStdString();
  EXPECT_EQ(set.out, "clock set: 2030-01-02 03:04:05\n");
  const CliRun trim = RunCli({"--port", port, "--address", "9", "clock", "trim", "-3"});
  ASSERT_EQ(trim.exitCode, 0) << trim.err.toStdString();
  EXPECT_EQ(trim.out, "CLOCK TRIM -3\n");

  const CliRun params = RunCli({"--port", port, "--address", "9", "params", "--json"});
  ASSERT_EQ(params.exitCode, 0) << params.err.toStdString();
  const QJsonObject json = QJsonDocument::fromJson(params.out.toUtf8()).object();
  EXPECT_EQ(json["address"].toInt(), 9);
  EXPECT_EQ(json["clock_trim"].toInt(), -3);
  const CliRun text = RunCli({"--port", port, "--address", "9", "params"});
  EXPECT_EQ(text.exitCode, 0);
  EXPECT_TRUE(text.out.startsWith("address: 9\nclock: 2030-01-02 03:0")) << text.out.toStdString();

  // What the simulator holds: its clock runs on from the time set, the trim register is the step's.
  DirectReader reader(sim.Path(), 9);
  const auto clock = reader.Registers(reg::kClockHour, reg::kClockFieldCount);
  const auto trimRegister = reader.Registers(reg::kClockTrim, 1);
  const auto contrast = reader.Registers(reg::kLcdContrast, 1);
  ASSERT_TRUE(clock && trimRegister && contrast);
  EXPECT_EQ(std::vector<uint16_t>(clock->begin() + 3, clock->end()), (std::vector<uint16_t>{2, 1, 30}));
  const int seconds = (*clock)[0] * 3600 + (*clock)[1] * 60 + (*clock)[2];
  EXPECT_GE(seconds, 3 * 3600 + 4 * 60 + 5);
  EXPECT_LE(seconds, 3 * 3600 + 4 * 60 + 5 + 10);
  EXPECT_EQ((*trimRegister)[0], reg::kClockTrimCentre - 3);
  EXPECT_EQ(json["contrast"].toInt(), (*contrast)[0] & 0xFF);
  const QString shown = json["clock"].toString();
  EXPECT_TRUE(shown.startsWith("2030-01-02 03:0")) << shown.toStdString();
}

TEST_F(CliOnPtyTest, ArchiveEqualsTheWindowsDownloadByteForByte) {
  SimProcess& sim = StartSim({"--records", "100", "--wrapped"});
  const QString port = QString::fromStdString(sim.name);
  const QString windowFile = File("window.txt");
  {
    auto clock = std::make_unique<QtClock>();
    auto serial = std::make_unique<QtSerialPort>(*clock);
    TForm1 form(std::move(clock), std::move(serial), ProductionPortSources());
    form.show();
    ASSERT_EQ(form.port().PortName(), sim.name);
    form.archiveView().saveDialog = [&](const QString&, const QString&) { return std::optional<QString>(windowFile); };
    form.TeTabSheet2->File_ButtA->click();
    ASSERT_TRUE(WaitUntil([&] { return form.archiveDownload().DownloadActive == 0 && form.link().OperationMode == omIdle; }, 90000));
    form.close();
  }
  const CliRun run = RunCli({"--port", port, "archive", "download", File("cli.txt"), "--csv", File("cli.csv")});
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
  EXPECT_EQ(run.out.toStdString(), "1500 records written to " + File("cli.txt").toStdString() + "\n");
  EXPECT_TRUE(run.err.isEmpty()) << "no progress bar on a pipe: " << run.err.toStdString();

  const QByteArray window = ReadFile(windowFile);
  const QByteArray cli = ReadFile(File("cli.txt"));
  // The first line carries the moment of each download; everything after it is the same bytes.
  const auto afterFirstLine = [](const QByteArray& b) { return b.mid(b.indexOf("\r\n") + 2); };
  ASSERT_FALSE(window.isEmpty());
  EXPECT_EQ(afterFirstLine(cli), afterFirstLine(window));
  EXPECT_TRUE(cli.startsWith(QByteArray::fromStdString(Cp1251FromUtf8(archive_text::kFileTitle).Bytes())));

  const std::vector<EventFields> records = SimRecords(sim.Path(), kDefaultDeviceAddress);
  ASSERT_EQ(records.size(), 1500U);
  EXPECT_TRUE(cli.endsWith(RecordLines(records))) << "the records as the simulator holds them";
  std::string table = ArchiveCsvHeading();
  for (std::size_t i = 0; i < records.size(); ++i) table += ArchiveCsvRow(static_cast<int32_t>(i + 1), records[i]);
  EXPECT_EQ(ReadFile(File("cli.csv")).toStdString(), table);

  const CliRun last = RunCli({"--port", port, "archive", "last", "4"});
  ASSERT_EQ(last.exitCode, 0) << last.err.toStdString();
  QString expected;
  for (int row = 1; row <= 4; ++row) {
    const auto cells = FileGridRow(static_cast<uint16_t>(1500 - row), records[static_cast<std::size_t>(1500 - row)]);
    QStringList parts;
    for (const auto& c : cells) parts << QString::fromStdString(c);
    expected += parts.join(' ') + "\n";
  }
  EXPECT_EQ(last.out, expected);
}

TEST_F(CliOnPtyTest, TwoSimulatorsBackedUpByOneShellLoop) {
  StartSim({"--records", "30"});
  StartSim({"--records", "50"});
  const QString script = QStringLiteral(
      "set -e\n"
      "for port in $(\"$1\" ports | grep '^SIM'); do\n"
      "  \"$1\" --port \"$port\" archive download \"$2/$port.txt\"\n"
      "done\n");
  QProcess shell;
  shell.start("bash", {"-c", script, "backup", CliProgram(), files.path()});
  const CliRun run = Finish(shell);
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
  for (const auto& [name, count] : {std::pair{sims[0]->name, 30}, std::pair{sims[1]->name, 50}}) {
    const QByteArray file = ReadFile(files.filePath(QString::fromStdString(name) + ".txt"));
    EXPECT_EQ(file.count("\r\n"), 4 + count) << name;
    EXPECT_TRUE(file.endsWith(RecordLines(SimRecords(
        [&] { for (auto& s : sims) if (s->name == name) return s->Path(); return std::string(); }(),
        kDefaultDeviceAddress)))) << name;
  }
}

TEST_F(CliOnPtyTest, TenPercentDroppedRepliesStillSucceed) {
  SimProcess& sim = StartSim({"--address", "5", "--records", "300", "--fault", "noreply@rate=0.1", "--seed", "3",
                              "--log", File("sim.log")});
  const QString port = QString::fromStdString(sim.name);
  const std::vector<QStringList> commands = {
      {"--address", "5", "params"},
      {"--address", "5", "params", "--json"},
      {"--address", "5", "clock", "set", "now"},
      {"--address", "5", "clock", "trim", "2"},
      {"--address", "5", "archive", "last"},
      {"--address", "5", "archive", "download", File("dropped.txt")},
      {"search", "--delay", "100"},
  };
  for (const auto& args : commands) {
    const CliRun run = RunCli(QStringList{"--port", port} + args);
    EXPECT_EQ(run.exitCode, 0) << args.join(' ').toStdString() << ": " << run.err.toStdString();
  }
  EXPECT_EQ(ReadFile(File("dropped.txt")).count("\r\n"), 4 + 300);
  EXPECT_GT(ReadFile(File("sim.log")).count("noreply"), 0) << "replies were dropped";
  sim.Stop();
}

QByteArray GoldenSample() { return ReadFile(QStringLiteral(ZELOR_SOURCE_DIR "/tests/config/golden/sample.bin")); }

// The configuration round trip: the simulator's sample read to a file byte for byte, a changed
// configuration written, applied (the simulator's own copy equals it) and read back the same.
TEST_F(CliOnPtyTest, ConfigurationRoundTripThroughThePanel) {
  const QByteArray sample = GoldenSample();
  ASSERT_EQ(sample.size(), static_cast<qsizetype>(ImageSize));
  // The sample with the first zone renamed, built by the tool's own image code.
  ConfigImage image{};
  std::copy(sample.begin(), sample.end(), reinterpret_cast<char*>(image.data()));
  ConfigModel model;
  ASSERT_TRUE(ParseImage(model, image).empty());
  model.Nodes[0].Zones[0].Name = Cp1251FromUtf8("Cli test zone  ");
  ConfigImage changed{};
  ASSERT_EQ(BuildImage(model, changed), kBuildOk);
  QFile out(File("changed.bin"));
  ASSERT_TRUE(out.open(QIODevice::WriteOnly));
  out.write(reinterpret_cast<const char*>(changed.data()), static_cast<qint64>(changed.size()));
  out.close();

  for (const QStringList& faults : {QStringList{}, QStringList{"--fault", "noreply@rate=0.1", "--seed", "4"}}) {
    QFile::remove(File("applied.bin"));
    SimProcess& sim = StartSim(QStringList{"--config-out", File("applied.bin")} + faults);
    const QString port = QString::fromStdString(sim.name);
    const CliRun read = RunCli({"--port", port, "config", "read", File("read.bin")});
    ASSERT_EQ(read.exitCode, 0) << read.err.toStdString();
    EXPECT_EQ(ReadFile(File("read.bin")), sample) << "the simulator holds the sample";

    const CliRun write = RunCli({"--port", port, "config", "write", File("changed.bin"), "--verify"});
    ASSERT_EQ(write.exitCode, 0) << write.err.toStdString();
    EXPECT_EQ(write.out, "configuration written, applied and read back the same\n");
    ASSERT_TRUE(WaitUntil([&] { return QFileInfo::exists(File("applied.bin")); }, 3000));
    EXPECT_EQ(ReadFile(File("applied.bin")), ReadFile(File("changed.bin"))) << "what the panel took";

    const CliRun again = RunCli({"--port", port, "config", "read", File("again.bin")});
    ASSERT_EQ(again.exitCode, 0) << again.err.toStdString();
    EXPECT_EQ(ReadFile(File("again.bin")), ReadFile(File("changed.bin")));
    sims.clear();
  }

  const CliRun text = RunCli({"config", "show", File("again.bin")});
  EXPECT_EQ(text.exitCode, 0);
  EXPECT_TRUE(text.out.startsWith("DEVICES (10)\n")) << text.out.toStdString();
  EXPECT_TRUE(text.out.contains("\"Cli test zone\"")) << text.out.toStdString();
  const CliRun json = RunCli({"config", "show", File("again.bin"), "--json"});
  EXPECT_EQ(json.exitCode, 0);
  const QJsonObject report = QJsonDocument::fromJson(json.out.toUtf8()).object();
  EXPECT_EQ(report["devices"].toArray().size(), 10);
  EXPECT_EQ(report["rules"].toArray().size(), 8);
  const CliRun html = RunCli({"config", "show", File("again.bin"), "--html"});
  EXPECT_EQ(html.exitCode, 0);
  EXPECT_TRUE(html.out.startsWith("<!DOCTYPE html>"));
  EXPECT_TRUE(html.out.contains("Cli test zone"));

  // Files that are no configuration: refused with the window's words, nothing sent.
  QFile shortFile(File("short.bin"));
  ASSERT_TRUE(shortFile.open(QIODevice::WriteOnly));
  shortFile.write("too short");
  shortFile.close();
  for (const QStringList& args : {QStringList{"config", "show", File("short.bin")},
                                  QStringList{"config", "show", File("absent.bin")},
                                  QStringList{"--port", File("no-such-port"), "config", "write", File("short.bin")}}) {
    const CliRun run = RunCli(args);
    EXPECT_EQ(run.exitCode, 1) << args.join(' ').toStdString();
    ExpectOneClearLine(run, args.join(' ').toUtf8().constData());
  }
}

// The monitor prints the panel's new events until it is told to stop; the last one printed is the
// simulator's newest record.
TEST_F(CliOnPtyTest, MonitorPrintsTheNewEventsUntilInterrupted) {
  for (const QStringList& faults : {QStringList{}, QStringList{"--fault", "noreply@rate=0.1", "--seed", "2"}}) {
    SimProcess& sim = StartSim(QStringList{"--event-every", "1"} + faults);
    for (const bool json : {false, true}) {
      QStringList args{"--port", QString::fromStdString(sim.name), "monitor"};
      if (json) args << "--json";
      auto process = StartCli(args);
      QString out;
      // Two new events after the start summary's pointer line.
      ASSERT_TRUE(WaitUntil(
          [&] {
            out += QString::fromUtf8(process->readAllStandardOutput());
            const int pointer = out.indexOf(json ? "{\"line\": \"\\\\\\\\_\"}" : "\\\\_\n");
            return pointer >= 0 && out.mid(pointer).count('\n') >= 3;
          },
          20000))
          << out.toStdString();
      process->terminate();  // SIGTERM, as Ctrl+C's SIGINT
      const CliRun run = Finish(*process);
      out += run.out;
      EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
      EXPECT_TRUE(out.contains(QString::fromUtf8(monitor_text::kStarted))) << out.toStdString();
      DirectReader reader(sim.Path(), kDefaultDeviceAddress);
      const auto newest = reader.Registers(reg::kArchiveNewest, 1);
      ASSERT_TRUE(newest);
      // The events printed are records of the ring, in order, up to one of the newest two.
      QStringList lines = out.split('\n');
      if (!lines.isEmpty() && lines.back().isEmpty()) lines.removeLast();
      ASSERT_FALSE(lines.isEmpty());
      const std::string lastPrinted =
          json ? QJsonDocument::fromJson(lines.back().toUtf8()).object()["line"].toString().toStdString()
               : lines.back().toStdString();
      bool found = false;
      for (uint16_t back = 0; back < 3 && !found; ++back) {
        const uint16_t at = static_cast<uint16_t>((*newest)[0] - back);
        const auto record = reader.Read(at, 1, 12);
        ASSERT_TRUE(record);
        const std::string line = MonitorRecordLine(record->data());
        found = lastPrinted == line;
      }
      EXPECT_TRUE(found) << "the last line printed is not one of the simulator's newest records: " << lastPrinted;
    }
    sims.clear();
  }
}

TEST_F(CliOnPtyTest, UpgradeCarriesTheFirmwareEvenWithDroppedAcknowledgements) {
  std::vector<char> firmware(61442 + 100);
  for (std::size_t i = 0; i < firmware.size(); ++i) firmware[i] = static_cast<char>((i * 13 + i / 509) & 0xFF);
  QFile f(File("firmware.bin"));
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(firmware.data(), static_cast<qint64>(firmware.size()));
  f.close();
  for (const QStringList& faults : {QStringList{}, QStringList{"--fault", "noreply@rate=0.1", "--seed", "5"}}) {
    QFile::remove(File("received.bin"));
    SimProcess& sim = StartSim(QStringList{"--bootloader", "--firmware-out", File("received.bin")} + faults);
    const CliRun run = RunCli({"--port", QString::fromStdString(sim.name), "upgrade", File("firmware.bin")});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, "OK.\n");
    ASSERT_TRUE(WaitUntil([&] { return QFileInfo::exists(File("received.bin")); }, 3000));
    const QByteArray got = ReadFile(File("received.bin"));
    EXPECT_EQ(got.left(61442), QByteArray(firmware.data(), 61442)) << "firmware and check word";
    sims.clear();
  }
}

TEST_F(CliOnPtyTest, WithoutAPanelEveryCommandFailsWithOneClearLine) {
  QFile kept(File("kept.txt"));
  ASSERT_TRUE(kept.open(QIODevice::WriteOnly));
  kept.write("what was there\r\n");
  kept.close();
  QFile golden(File("golden.bin"));
  ASSERT_TRUE(golden.open(QIODevice::WriteOnly));
  golden.write(GoldenSample());
  golden.close();
  QFile firmware(File("firmware.bin"));
  ASSERT_TRUE(firmware.open(QIODevice::WriteOnly));
  firmware.write(QByteArray(61442 + 100, '\x5A'));
  firmware.close();

  struct Case {
    QStringList args;
    int giveUpMs;  // the operation's own give-up time, with room for a busy machine
  };
  // In the order of their give-up times, so that each is collected about when it ends.
  const std::vector<Case> cases = {
      {{"params"}, 5 * 350},
      {{"params", "--json"}, 5 * 350},
      {{"clock", "trim", "1"}, 5 * 350},
      {{"monitor"}, 6 * (350 + 250)},
      {{"config", "read", File("kept.bin")}, 11 * 350},
      {{"config", "write", File("golden.bin")}, 11 * 500},
      {{"archive", "last"}, 21 * 350},
      {{"archive", "download", File("kept.txt"), "--csv", File("kept.csv")}, 21 * 350},
      {{"clock", "set", "now"}, 5 * 2000},
      {{"upgrade", File("firmware.bin")}, 6 * 2000},
      {{"search", "--delay", "100", "--passes", "1"}, 247 * 100},
  };

  // Each on a terminal of its own, all at once.
  std::vector<std::unique_ptr<SilentTerminal>> lines;
  std::vector<std::unique_ptr<QProcess>> runs;
  QElapsedTimer elapsed;
  elapsed.start();
  for (const auto& c : cases) {
    lines.push_back(std::make_unique<SilentTerminal>());
    ASSERT_FALSE(lines.back()->path.empty());
    runs.push_back(StartCli(QStringList{"--port", QString::fromStdString(lines.back()->path)} + c.args));
  }
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const std::string what = cases[i].args.join(' ').toStdString();
    const CliRun run = Finish(*runs[i]);
    EXPECT_EQ(run.exitCode, 1) << what;
    ExpectOneClearLine(run, what.c_str());
    EXPECT_LT(elapsed.elapsed(), 3 * cases[i].giveUpMs + 5000) << what;
  }
  EXPECT_EQ(ReadFile(File("kept.txt")), "what was there\r\n") << "a failed download keeps the file that was there";
  EXPECT_FALSE(QFileInfo::exists(File("kept.csv")));
  EXPECT_FALSE(QFileInfo::exists(File("kept.bin"))) << "a failed read saves nothing";

  const CliRun absent = RunCli({"--port", File("no-such-port"), "params"});
  EXPECT_EQ(absent.exitCode, 1);
  ExpectOneClearLine(absent, "absent port");
  EXPECT_TRUE(absent.err.contains("no-such-port")) << absent.err.toStdString();
}


// One program is the master of a device, whatever name reaches it: a second program on the
// registered name, on a symbolic link of its own or on the terminal's path is refused at once with
// the holder's process id, also while the holder's monitoring has the port closed between polls.
// Once the holder has ended, the same names work.
TEST_F(CliOnPtyTest, ASecondProgramOnAnyNameOfTheDeviceIsRefusedWhileTheFirstRuns) {
  SimProcess& sim = StartSim({"--event-every", "1"});
  const std::string terminal = std::filesystem::read_symlink(sim.Path()).string();
  ASSERT_EQ(terminal.rfind("/dev/", 0), 0U) << terminal;
  const QString link = File("panel");
  std::filesystem::create_symlink(terminal, link.toStdString());

  auto holder = StartCli({"--port", QString::fromStdString(sim.name), "monitor"});
  QString out;
  ASSERT_TRUE(WaitUntil(
      [&] {
        out += QString::fromUtf8(holder->readAllStandardOutput());
        return out.contains("\\_\n");  // the start summary's pointer line: the monitor polls
      },
      20000))
      << out.toStdString();
  const QString holderPid = QString::number(holder->processId());
  for (const QString& name : {link, QString::fromStdString(sim.name), QString::fromStdString(terminal)}) {
    QElapsedTimer elapsed;
    elapsed.start();
    const CliRun second = RunCli({"--port", name, "params"}, 20000);
    EXPECT_EQ(second.exitCode, 1) << name.toStdString() << ": " << second.out.toStdString();
    ExpectOneClearLine(second, name.toStdString().c_str());
    EXPECT_TRUE(second.err.contains("in use by another program (process " + holderPid + ")"))
        << name.toStdString() << ": " << second.err.toStdString();
    EXPECT_LT(elapsed.elapsed(), 3000) << name.toStdString() << ": refused at once, not after a time-out";
  }
  EXPECT_EQ(holder->state(), QProcess::Running);
  holder->terminate();
  const CliRun first = Finish(*holder);
  EXPECT_EQ(first.exitCode, 0) << first.err.toStdString();

  const CliRun after = RunCli({"--port", link, "params"});
  EXPECT_EQ(after.exitCode, 0) << "the line is free once its master has ended: " << after.err.toStdString();
}

// At 1200 baud the 8-byte probe is on the line for 67 ms before the panel can answer: the search's
// time-out (the default 150 ms) counts from its end, so a panel that answers 30 ms after the probe,
// its 7-byte answer complete about 155 ms after the write, is found by the first probe.
TEST_F(CliOnPtyTest, SearchAt1200BaudFindsAPanelThatAnswersWithinTheDelay) {
  SimProcess& sim = StartSim({"--address", "1", "--pace", "--baud", "1200", "--turnaround", "30"});
  const CliRun search =
      RunCli({"--port", QString::fromStdString(sim.name), "--baud", "1200", "search", "--passes", "1"}, 20000);
  EXPECT_EQ(search.exitCode, 0) << search.err.toStdString();
  EXPECT_EQ(search.out, "1\n");
}

}  // namespace
}  // namespace zelor::test
