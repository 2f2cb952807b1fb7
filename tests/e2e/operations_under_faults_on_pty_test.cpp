// Every line operation of the real window against zelor-pui-sim on a pseudo-terminal, under faults:
// a tenth of the replies dropped and a twentieth corrupted (each completes with exactly the
// simulator's data), the line cut by killing the simulator mid-way (each ends by its failure path
// with the port closed, the window responsive and no partial file passed off as whole), and the
// adapter unplugged and plugged back (the simulator ended and restarted under the same name).
#include <signal.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QToolButton>
#include <gtest/gtest.h>

#include <functional>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "config/config_tab.h"
#include "config/config_test_support.h"
#include "config/config_transfer.h"
#include "config/config_transfer_view.h"
#include "direct_reader.h"
#include "link/link_texts.h"
#include "link/port_registry.h"
#include "model/cp1251.h"
#include "qtcore/qt_clock.h"
#include "qtcore/qt_serial_port.h"
#include "service/archive_download.h"
#include "service/archive_lines.h"
#include "service/archive_reading.h"
#include "service/archive_tab.h"
#include "service/archive_tab_view.h"
#include "service/monitor.h"
#include "service/monitor_lines.h"
#include "service/monitor_texts.h"
#include "service/parameters_tab.h"
#include "service/search_texts.h"
#include "service/status_tab.h"
#include "sim/sample_image.h"
#include "sim_pty_fixture.h"
#include "upgrade/firmware_upgrade.h"
#include "upgrade/upgrade_menu_view.h"
#include "upgrade/upgrade_texts.h"

namespace zelor::test {
namespace {

using enum OperationMode;
using Bytes = std::vector<uint8_t>;

// The figures: a tenth of the replies dropped, a twentieth corrupted. The first rule that
// fires wins, so 0.056 of the remaining 90 % is 5 % of all replies.
const QStringList kLineFaults = {"--fault", "noreply@rate=0.1", "--fault", "badcrc@rate=0.056"};
constexpr int kArchiveRecords = 300;  // 15 download batches
constexpr int kSearchAddress = 5;
constexpr std::size_t kFirmwareBytes = 61442;  // the smallest firmware file: pages and check word

Bytes FileBytes(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  const QByteArray b = f.readAll();
  return {b.begin(), b.end()};
}

class OperationsUnderFaults;

// One operation of the window: how it is started, when it has ended, the point to cut the line
// at, and how its right data and its failure path are told.
struct Operation {
  const char* name;
  QStringList simArgs;
  // Reads what the simulator holds (the tool's port is closed then) and answers the dialogs.
  std::function<void(OperationsUnderFaults&)> prepare;
  std::function<void(OperationsUnderFaults&)> start;
  std::function<bool(OperationsUnderFaults&)> midway;
  // Ended as the user sees it; monitoring is stopped by the user here.
  std::function<bool(OperationsUnderFaults&)> ended;
  std::function<void(OperationsUnderFaults&)> expectRightData;
  // After the cut, once the operation has ended: its own failure lines and what it left behind.
  std::function<void(OperationsUnderFaults&)> expectFailurePath;
  int maxMs;
};
void PrintTo(const Operation& op, std::ostream* os) { *os << op.name; }

class OperationsUnderFaults : public SimOnPtyFixture<::testing::TestWithParam<Operation>> {
 public:
  // The table's functions reach the window, the simulator and the files.
  using SimOnPtyFixture::files;
  using SimOnPtyFixture::form;
  using SimOnPtyFixture::sim;

  // The simulator works in the test's folder: relative file options land there.
  bool StartSimulator(const QStringList& extra) {
    sim.setWorkingDirectory(files.path());
    return StartSimulatorProcess(sim, QStringList{"--no-commands", "--log", files.filePath("sim.log"), "--records",
                                                  QString::number(kArchiveRecords), "--config-out", Applied()} +
                                          GetParam().simArgs + extra);
  }
  // Runs the event loop until pred holds or ms pass, noting the longest turn of the loop.
  bool Pump(const std::function<bool()>& pred, int ms) {
    return WaitFor(pred, ms, [this](qint64 turnMs) { longestTurnMs = std::max(longestTurnMs, turnMs); });
  }
  void Run() {
    const Operation& op = GetParam();
    op.prepare(*this);
    // What the test's own reader met while preparing is not the tool's.
    readerFaults = Logged("fault noreply") + Logged("fault badcrc");
    op.start(*this);
    ASSERT_TRUE(Pump([&] { return op.ended(*this); }, op.maxMs)) << op.name << " did not end";
  }
  // Until the operation has ended by its failure path after the line was lost: monitoring goes
  // on and logs the port's error, the others end.
  bool FailedAfterCut() {
    if (std::string(GetParam().name) == "Monitoring") return PortErrorShown();
    return Idle();
  }
  bool PortErrorShown() const {
    for (const QString& line : Memo1()) {
      if (line.endsWith(QString(kPortOpenErrorWords) + "SIM1")) return true;
    }
    return false;
  }
  static constexpr const char* kPortOpenErrorWords = "ОШИБКА ОТКРЫТИЯ ПОРТА ";
  Link& link() { return form->link(); }
  bool Idle() { return link().OperationMode == omIdle && !link().Timer_Rx->Enabled(); }
  QStringList Memo1() const { return form->TeMemo1->Lines(); }
  std::string SimPath() const { return QtSerialPort::DevicePathFor("SIM1"); }
  QString Applied() const { return files.filePath("applied.bin"); }
  int Logged(const char* what) const {
    QFile log(files.filePath("sim.log"));
    if (!log.open(QIODevice::ReadOnly)) return 0;
    return static_cast<int>(log.readAll().count(what));
  }
  QStringList MonitorRecordLines() const {
    const QStringList all = form->TeTabSheet1->TeMemo3->toPlainText().split('\n');
    const auto at = all.lastIndexOf(QString(monitor_text::kPointerTaken));
    return at < 0 ? QStringList{} : all.mid(at + 1);
  }

  // What the simulator held before the operation, and what the operation is compared with.
  SimArchive archive;
  std::string modelBefore;
  Bytes savedBin;
  Bytes imageBefore;
  Bytes firmware;
  int queryTries = 0;
  int searchMisses = 0;
  int readerFaults = 0;
  qint64 longestTurnMs = 0;
};

// ---- the operations ----

void ExpectGaveUp(OperationsUnderFaults& t, const char* title) {
  const QStringList lines = t.Memo1();
  ASSERT_EQ(lines.size(), 2) << lines.join('\n').toStdString();
  EXPECT_EQ(lines[0].toStdString(), title);
  const QString stopped = QString(text::kStoppedPortError) + "SIM1";
  EXPECT_TRUE(lines[1] == text::kNoPanelAnswer || lines[1] == stopped) << lines[1].toStdString();
  ::testing::Test::RecordProperty("ended_by", lines[1] == stopped ? "port error" : "no answer");
}

void ChooseConfigFiles(OperationsUnderFaults& t) {
  ConfigTransferView& view = t.form->transferView();
  const QString golden = QStringLiteral(ZELOR_SOURCE_DIR "/tests/config/golden/sample.bin");
  const QString saved = t.files.filePath("saved.bin");
  view.openChoice = [golden] { return std::optional<QString>(golden); };
  view.saveChoice = [saved] { return std::optional<QString>(saved); };
}

// A .bin saved before the operation; after a cut read the save writes the model's whole image,
// which the read did not change, so the file's bytes stay what they were.
void SaveBinBefore(OperationsUnderFaults& t) {
  ChooseConfigFiles(t);
  t.form->TeTabSheet12->Save_ButtB->click();
  t.savedBin = FileBytes(t.files.filePath("saved.bin"));
  ASSERT_EQ(t.savedBin.size(), ImageSize);
  t.modelBefore = testing::Dump(t.form->Config);
  const ConfigImage& image = t.form->transfer().Image();
  t.imageBefore.assign(image.begin(), image.end());
}
void ExpectModelAndBinUnchanged(OperationsUnderFaults& t) {
  EXPECT_EQ(testing::Dump(t.form->Config), t.modelBefore) << "a cut read changed the model";
  const ConfigImage& image = t.form->transfer().Image();
  EXPECT_TRUE(Bytes(image.begin(), image.end()) == t.imageBefore) << "a cut read left part of its blocks in the image";
  t.form->TeTabSheet12->Save_ButtB->click();
  EXPECT_EQ(FileBytes(t.files.filePath("saved.bin")), t.savedBin) << "the save wrote what the cut read left";
}

Operation ConfigRead() {
  return {
      "ConfigurationRead",
      {},
      [](auto& t) { SaveBinBefore(t); },
      [](auto& t) { t.form->TeTabSheet12->Load_ButtA->click(); },
      [](auto& t) { return t.link().BlockIndex >= 60; },
      [](auto& t) { return t.Idle(); },
      [](auto& t) {
        EXPECT_EQ(t.Memo1(), (QStringList{text::kConfigReading, text::kOk}));
        EXPECT_EQ(testing::Dump(t.form->Config), [] {
          ConfigModel m;
          ConfigImage image{};
          const Bytes sample = sim::SampleImage();
          std::copy_n(sample.begin(), std::min(sample.size(), image.size()), image.begin());
          ParseImage(m, image);
          return testing::Dump(m);
        }());
        const ConfigImage& image = t.form->transfer().Image();
        EXPECT_EQ(Bytes(image.begin(), image.end()), sim::SampleImage());
      },
      [](auto& t) {
        ExpectGaveUp(t, text::kConfigReading);
        ExpectModelAndBinUnchanged(t);
      },
      60'000};
}

Operation ConfigWrite() {
  return {
      "ConfigurationWrite",
      {},
      [](auto& t) {
        ChooseConfigFiles(t);
        t.form->TeTabSheet12->Load_ButtB->click();  // the sample from its file
        ConfigModel& m = t.form->Config;
        m.SelectedNode = 0;
        ASSERT_EQ(AddNode(m, 14), kDone);  // a change the simulator's own image does not hold
        QFile::remove(t.Applied());
      },
      [](auto& t) { t.form->TeTabSheet12->Save_ButtA->click(); },
      [](auto& t) { return t.link().OperationMode == omConfigWrite && t.link().BlockIndex >= 60; },
      [](auto& t) { return t.Idle(); },
      [](auto& t) {
        EXPECT_EQ(t.Memo1(), (QStringList{text::kConfigWriting, text::kOk}));
        ASSERT_TRUE(t.Pump([&] { return FileBytes(t.Applied()).size() == ImageSize; }, 5000));
        const ConfigImage& image = t.form->transfer().Image();
        EXPECT_EQ(FileBytes(t.Applied()), Bytes(image.begin(), image.end())) << "the simulator took the tool's image";
        EXPECT_NE(FileBytes(t.Applied()), sim::SampleImage());
      },
      [](auto& t) {
        ExpectGaveUp(t, text::kConfigWriting);
        EXPECT_FALSE(QFileInfo::exists(t.Applied())) << "the panel applied a half-written configuration";
      },
      60'000};
}

void ReadArchiveBefore(OperationsUnderFaults& t) {
  t.archive = ReadSimArchive(t.SimPath());
  ASSERT_EQ(t.archive.count, kArchiveRecords);
  ASSERT_EQ(t.archive.oldestFirst.size(), std::size_t{kArchiveRecords});
}

Operation Last15() {
  return {
      "LastFifteen",
      {},
      [](auto& t) { ReadArchiveBefore(t); },
      [](auto& t) { t.form->TeTabSheet2->File_ButtB->click(); },
      [](auto& t) {
        return t.link().OperationMode == omLast15Record && t.form->archiveReading().ArchiveRemaining <= 10;
      },
      [](auto& t) { return t.form->archiveReading().Last15Active == 0 && t.Idle(); },
      [](auto& t) {
        EXPECT_EQ(t.Memo1().back().toStdString(), text::kOk);
        for (int row = 1; row <= 15; ++row) {
          const auto& event = t.archive.oldestFirst[static_cast<std::size_t>(kArchiveRecords - row)];
          const auto cells = FileGridRow(static_cast<uint16_t>(kArchiveRecords - row), event);
          for (int c = 0; c < kFileGridColumns; ++c) {
            EXPECT_EQ(t.form->TeTabSheet2->FileGrid->Cell(c, row).toStdString(), cells[static_cast<std::size_t>(c)])
                << row << "," << c;
          }
        }
      },
      [](auto& t) {
        ExpectGaveUp(t, text::kArchiveReading);
        EXPECT_TRUE(t.form->TeTabSheet2->File_ButtA->isEnabled());
        EXPECT_FALSE(t.form->TeTabSheet2->TeProgressBar2->isVisible());
      },
      30'000};
}

// The download's file: the header and then record lines, each exactly the simulator's record.
int CheckArchiveFile(OperationsUnderFaults& t) {
  QFile file(t.files.filePath("archive.txt"));
  EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << "no archive file";
  const QList<QByteArray> lines = file.readAll().split('\n');
  EXPECT_GE(lines.size(), 5);
  EXPECT_TRUE(lines.back().isEmpty()) << "the last line is whole";
  const int records = static_cast<int>(lines.size()) - 5;
  for (int i = 0; i < records && i < kArchiveRecords; ++i) {
    const std::string expected =
        Cp1251FromUtf8(ArchiveFileLine(i + 1, t.archive.oldestFirst[static_cast<std::size_t>(i)])).Bytes() + "\r";
    EXPECT_EQ(lines[4 + i].toStdString(), expected) << "record line " << i + 1;
  }
  EXPECT_FALSE(QFileInfo::exists(t.files.filePath("archive.txt.part"))) << "the working file was left behind";
  return records;
}

Operation Download() {
  return {
      "ArchiveDownload",
      {},
      [](auto& t) {
        ReadArchiveBefore(t);
        const QString chosen = t.files.filePath("archive.txt");
        t.form->archiveView().saveDialog = [chosen](const QString&, const QString&) {
          return std::optional<QString>(chosen);
        };
      },
      [](auto& t) { t.form->TeTabSheet2->File_ButtA->click(); },
      [](auto& t) {
        return t.link().OperationMode == omDownloadRecords && t.link().ArchiveAddress >= reg::kArchiveFirst + 100;
      },
      [](auto& t) { return t.form->archiveDownload().DownloadActive == 0 && t.Idle(); },
      [](auto& t) {
        EXPECT_EQ(t.Memo1().back().toStdString(), text::kOk);
        EXPECT_EQ(CheckArchiveFile(t), kArchiveRecords);
      },
      [](auto& t) {
        ExpectGaveUp(t, text::kArchiveReading);
        const int kept = CheckArchiveFile(t);
        EXPECT_GE(kept, 100) << "the lines written before the cut are kept";
        EXPECT_LT(kept, kArchiveRecords);
        EXPECT_TRUE(t.form->TeTabSheet2->File_ButtB->isEnabled());
      },
      30'000};
}

Operation Monitoring() {
  return {
      "Monitoring",
      {"--event-every", "1"},
      [](auto&) {},
      [](auto& t) { t.form->TeTabSheet1->TeButton2->click(); },
      [](auto& t) { return t.MonitorRecordLines().size() >= 2; },
      // Watched for a few events, then stopped between two steps.
      [](auto& t) {
        if (t.link().OperationMode == omIdle) return true;
        if (t.MonitorRecordLines().size() < 4) return false;
        if (t.link().OperationMode != omMonitorPoll || t.link().Timer_Rx->Enabled()) return false;
        t.form->TeTabSheet1->TeButton2->click();
        return t.Idle();
      },
      [](auto& t) {
        const QStringList lines = t.MonitorRecordLines();
        ASSERT_GE(lines.size(), 4);
        const uint16_t last = t.link().MonitorAddress;
        DirectReader reader(t.SimPath());
        ASSERT_TRUE(reader.ok());
        // The lines are the panel's records up to MonitorAddress, one each, in archive order.
        for (int i = 0; i < lines.size(); ++i) {
          const auto address = static_cast<uint16_t>(last - (lines.size() - 1 - i));
          const auto record = reader.Read(address, 1, 12);
          ASSERT_TRUE(record) << address;
          EXPECT_EQ(lines[i].toStdString(), MonitorRecordLine(record->data())) << "line " << i;
        }
      },
      [](auto& t) {
        // Monitoring outlives a lost line: it logs each failure and goes on.
        EXPECT_EQ(t.form->TeTabSheet1->TeButton2->text().toStdString(), monitor_text::kStop);
        EXPECT_NE(t.link().OperationMode, omIdle);
        t.form->TeTabSheet1->TeButton2->click();
        EXPECT_TRUE(t.Pump([&] { return t.Idle(); }, 3000));
      },
      30'000};
}

Operation ParameterQuery() {
  return {
      "ParameterQuery",
      {},
      [](auto&) {},
      [](auto& t) { t.form->TeTabSheet3->QueryA_Butt->click(); },
      [](auto&) { return true; },
      // A single request: a reply lost on the way ends it with the engine's line, and the user
      // asks again; a few tries are allowed.
      [](auto& t) {
        if (!t.Idle()) return false;
        if (t.Memo1().back() == text::kOk) return true;
        const QString last = t.Memo1().back();
        EXPECT_TRUE(last == text::kTimeOut || last == text::kCrcError) << last.toStdString();
        EXPECT_EQ(t.form->TeTabSheet3->TeLabel9->text().toStdString(), "0") << "a failed query filled the tab";
        if (++t.queryTries > 8) return true;
        t.form->TeTabSheet3->QueryA_Butt->click();
        return false;
      },
      [](auto& t) {
        EXPECT_EQ(t.Memo1().back().toStdString(), text::kOk);
        // The simulator's defaults: contrast 35, volume 1 (loudest), 9600 inside, 10 ms extra time-out.
        ParametersTab* tab = t.form->TeTabSheet3;
        EXPECT_EQ(tab->TeGroupBox10->title().toStdString(), "  КОНТРАСТ ЖКИ =  35  ");
        EXPECT_EQ(tab->TeGroupBox3->title().toStdString(), "  ГРОМКОСТЬ ЗВУК. ОПОВ. =   5  ");
        EXPECT_EQ(tab->TeSComboBox8->currentText().toStdString(), "9600");
        EXPECT_EQ(tab->TeLabel9->text().toStdString(), "  10");
      },
      [](auto& t) {
        EXPECT_EQ(t.Memo1().back().toStdString(), text::kTimeOut);
        EXPECT_EQ(t.form->TeTabSheet3->TeLabel9->text().toStdString(), "0") << "a failed query filled the tab";
        EXPECT_EQ(t.link().ControlsLocked, 0);
      },
      10'000};
}

Operation Upgrade() {
  return {
      "Upgrade",
      {"--bootloader", "--firmware-out", "received.hex"},
      [](auto& t) {
        t.firmware.resize(kFirmwareBytes);
        for (std::size_t i = 0; i < kFirmwareBytes; ++i) t.firmware[i] = static_cast<uint8_t>((i * 13 + i / 509) & 0xFF);
        const QString path = t.files.filePath("firmware.hex");
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(reinterpret_cast<const char*>(t.firmware.data()), static_cast<qint64>(t.firmware.size()));
        f.close();
        t.form->upgradeView().runDialog = [path](QFileDialog& dialog) {
          dialog.selectFile(path);
          return int(QDialog::Accepted);
        };
        QFile::remove(t.files.filePath("received.hex"));
      },
      [](auto& t) { t.form->CustomItem13->trigger(); },
      [](auto& t) { return t.link().BlockIndex >= 30; },
      [](auto& t) { return t.Idle(); },
      [](auto& t) {
        const QStringList expected = {text::kUpgradeTitle, upgrade_text::kUpgradeOk, upgrade_text::kActiveInterface,
                                      QString(upgrade_text::kPortPrefix) + "SIM1" + upgrade_text::kPortGone};
        EXPECT_EQ(t.Memo1(), expected);
        const QString received = t.files.filePath("received.hex");
        ASSERT_TRUE(t.Pump([&] { return QFileInfo::exists(received); }, 3000)) << "the simulator wrote no firmware";
        const Bytes got = FileBytes(received);
        ASSERT_GE(got.size(), kFirmwareBytes);
        EXPECT_TRUE(std::equal(t.firmware.begin(), t.firmware.end(), got.begin())) << "firmware and check word";
      },
      [](auto& t) {
        const QStringList gaveUp = {text::kUpgradeTitle, text::kUpgradeNoAnswer, text::kUpgradeHintRestart,
                                    text::kUpgradeHintPort};
        const QStringList stopped = {text::kUpgradeTitle, QString(upgrade_text::kStoppedPortError) + "SIM1"};
        EXPECT_TRUE(t.Memo1() == gaveUp || t.Memo1() == stopped) << t.Memo1().join('\n').toStdString();
        EXPECT_EQ(t.form->port().BaudRate(), 57600U);
        EXPECT_FALSE(t.form->TeProgressBar1->isVisible());
      },
      60'000};
}

Operation Search() {
  return {
      "Search",
      {"--address", QString::number(kSearchAddress)},
      [](auto& t) { t.form->DelayItems[0]->trigger(); },  // 100 ms
      [](auto& t) { t.form->CustomItem5->trigger(); },
      [](auto& t) { return t.link().DeviceAddress >= 2; },
      // One probe per address: a lost or corrupted answer from the panel passes it over, and the
      // search would end "not found" 24 s later. Once the probes are past the panel's address the
      // search has missed it; it is stopped there and started again, as the user would.
      [](auto& t) {
        if (t.link().OperationMode == omSearch && t.link().DeviceAddress > kSearchAddress + 1) {
          ++t.searchMisses;
          t.form->CustomItem5->trigger();  // Stop
          if (!t.Pump([&] { return t.Idle(); }, 3000)) return false;
          if (t.searchMisses > 3) return true;  // the data check says what was found
          t.form->CustomItem5->trigger();
          return false;
        }
        return t.Idle();
      },
      [](auto& t) {
        std::cout << "searches that missed the panel: " << t.searchMisses << "\n";
        ASSERT_GE(t.Memo1().size(), 2);
        EXPECT_EQ(t.Memo1()[t.Memo1().size() - 2].toStdString(),
                  search_text::kFoundAt + std::string("00") + std::to_string(kSearchAddress));
        EXPECT_EQ(t.link().DeviceAddress, kSearchAddress);
        EXPECT_EQ(t.form->CustomItem5->text().toStdString(), search_text::kStart);
      },
      [](auto& t) {
        EXPECT_EQ(t.form->CustomItem5->text().toStdString(), search_text::kStart);
        EXPECT_FALSE(t.form->TeProgressBar1->isVisible());
        EXPECT_NE(t.link().DeviceAddress, kSearchAddress) << "a panel found on a cut line";
      },
      60'000};
}

// ---- the scenarios ----

TEST_P(OperationsUnderFaults, DroppedAndCorruptedRepliesGiveExactlyTheRightData) {
  if (!StartSimulator(kLineFaults + QStringList{"--seed", "11"})) GTEST_SKIP() << "zelor-pui-sim is not built";
  OpenWindow();
  Run();
  const int faults = Logged("fault noreply") + Logged("fault badcrc") - readerFaults;
  GetParam().expectRightData(*this);
  std::cout << GetParam().name << ": replies dropped or corrupted on the way to the tool: " << faults << "\n";
  EXPECT_GT(faults, 0) << "the line had no faults";
}

TEST_P(OperationsUnderFaults, LineCutMidwayEndsByTheFailurePath) {
  if (!StartSimulator({})) GTEST_SKIP() << "zelor-pui-sim is not built";
  OpenWindow();
  const Operation& op = GetParam();
  op.prepare(*this);
  op.start(*this);
  ASSERT_TRUE(Pump([&] { return op.midway(*this); }, op.maxMs)) << "never reached the middle";
  ASSERT_NE(link().OperationMode == omIdle && !link().Timer_Rx->Enabled(), true) << "ended before the cut";
  ::kill(static_cast<pid_t>(sim.processId()), SIGKILL);
  sim.waitForFinished(3000);
  longestTurnMs = 0;
  ASSERT_TRUE(Pump([&] { return FailedAfterCut(); }, 30'000))
      << "the operation hangs: " << Memo1().join('\n').toStdString();
  op.expectFailurePath(*this);
  EXPECT_FALSE(form->port().IsOpen());
  EXPECT_LT(longestTurnMs, 500) << "the window stayed responsive";
}

TEST_P(OperationsUnderFaults, UnplugFailsTheOperationAndReplugWorksWithoutRestartingTheTool) {
  if (!StartSimulator({})) GTEST_SKIP() << "zelor-pui-sim is not built";
  OpenWindow();
  const Operation& op = GetParam();
  const bool monitoring = std::string(op.name) == "Monitoring";
  op.prepare(*this);
  op.start(*this);
  ASSERT_TRUE(Pump([&] { return op.midway(*this); }, op.maxMs)) << "never reached the middle";
  // Pulled out: the simulator closes its end of the line and its port leaves the list.
  sim.terminate();
  ASSERT_TRUE(sim.waitForFinished(3000));
  ASSERT_TRUE(Pump([&] { return FailedAfterCut(); }, 30'000))
      << "the operation hangs: " << Memo1().join('\n').toStdString();
  EXPECT_FALSE(form->port().IsOpen());

  // The next action is told that the port is not there.
  if (monitoring) {
    form->TeTabSheet1->TeButton2->click();
    ASSERT_TRUE(Pump([&] { return Idle(); }, 3000));
  }
  form->TeMemo1->Clear();
  op.start(*this);
  EXPECT_TRUE(Pump([&] { return PortErrorShown() && (monitoring || Idle()); }, 10'000))
      << Memo1().join('\n').toStdString();
  EXPECT_FALSE(form->port().IsOpen());
  EXPECT_EQ(link().ControlsLocked, 0) << "the parameter controls stay dead";

  // Plugged back under the same name: the operation works, the tool not restarted.
  ASSERT_TRUE(StartSimulator({}));
  ASSERT_EQ(SimPath(), QtSerialPort::DevicePathFor(form->port().PortName()));
  if (!monitoring) {
    op.prepare(*this);
    op.start(*this);
  }
  ASSERT_TRUE(Pump([&] { return op.ended(*this); }, op.maxMs)) << op.name << " did not end after the replug";
  op.expectRightData(*this);
}

INSTANTIATE_TEST_SUITE_P(Operations, OperationsUnderFaults,
                         ::testing::Values(ConfigRead(), ConfigWrite(), Last15(), Download(), Monitoring(),
                                           ParameterQuery(), Upgrade(), Search()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zelor::test
