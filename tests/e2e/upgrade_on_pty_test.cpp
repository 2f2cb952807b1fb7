// The firmware upgrade of the real window, with the production clock and serial adapter, against
// zelor-pui-sim --bootloader on a pseudo-terminal: what the loader received equals the file's
// images, in order, with and without faults; a simulator killed mid-way ends the upgrade.
#include <QAction>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>

#include "app/main_window.h"
#include "qtcore/qt_clock.h"
#include "qtcore/qt_serial_port.h"
#include "link/link_texts.h"
#include "link/port_registry.h"
#include "upgrade/firmware_upgrade.h"
#include "upgrade/upgrade_menu_view.h"
#include "upgrade/upgrade_texts.h"
#include "sim_pty_fixture.h"

namespace zelor::test {
namespace {

using enum OperationMode;
using enum ResponseKind;

using Bytes = std::vector<uint8_t>;

Bytes ReadAll(const QString& path) {
  std::ifstream in(path.toStdString(), std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The loader frames the simulator took, in the order it took them, from its traffic log: the
// answered requests ("RX" lines without a note); a frame sent again after a spoilt or withheld
// acknowledgement ("TX" with a fault note, or "--") is the tool's repeat and counted once.
std::vector<std::string> FramesTaken(const QString& logPath) {
  std::ifstream in(logPath.toStdString());
  std::vector<std::string> frames;
  bool lastAckClean = true;
  for (std::string line; std::getline(in, line);) {
    if (line.find(" TX ") != std::string::npos || line.find(" -- ") != std::string::npos) {
      lastAckClean = line.find(" TX ") != std::string::npos && line.find(';') == std::string::npos;
      continue;
    }
    const auto at = line.find(" RX ");
    if (at == std::string::npos || line.find(';') != std::string::npos) continue;
    std::istringstream hex(line.substr(at + 4));
    Bytes b;
    for (std::string byte; hex >> byte;) b.push_back(static_cast<uint8_t>(std::stoul(byte, nullptr, 16)));
    std::string what = b.size() == 515 ? "page " + std::to_string(b[512])
                       : b.size() == 19 ? "aux " + std::to_string(b[16])
                       : b.size() == 8  ? "finish"
                                        : "? " + std::to_string(b.size());
    const bool repeat = !lastAckClean && !frames.empty() && frames.back() == what;
    if (!repeat) frames.push_back(what);
  }
  return frames;
}

std::vector<std::string> ExpectedOrder(int auxBlocks) {
  std::vector<std::string> d;
  for (int p = 0; p < 120; ++p) d.push_back("page " + std::to_string(p));
  for (int n = 0; n < auxBlocks; ++n) d.push_back("aux " + std::to_string(n));
  d.push_back("aux 127");
  d.push_back("finish");
  return d;
}

class UpgradeOnPtyTest : public SimOnPtyFixture<> {
 protected:
  bool StartSimulator(const QStringList& extra) {
    return StartSimulatorProcess(sim, QStringList{"--no-commands", "--bootloader", "--firmware-out", received, "--log", log} + extra);
  }
  void OpenWindowWithFile(std::size_t size) {
    firmware.resize(size);
    for (std::size_t i = 0; i < size; ++i) firmware[i] = static_cast<uint8_t>((i * 13 + i / 509) & 0xFF);
    const QString path = files.filePath("firmware.hex");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(reinterpret_cast<const char*>(firmware.data()), static_cast<qint64>(firmware.size()));
    f.close();
    auto clock = std::make_unique<QtClock>();
    auto port = std::make_unique<QtSerialPort>(*clock);
    form = std::make_unique<TForm1>(std::move(clock), std::move(port), ProductionPortSources());
    form->show();
    ASSERT_EQ(form->port().PortName(), "SIM1");
    form->upgradeView().runDialog = [this, path](QFileDialog& dialog) {
      ++dialogs;
      if (!answerDialog) return int(QDialog::Rejected);
      dialog.selectFile(path);
      return int(QDialog::Accepted);
    };
  }
  void RunUpgrade(int maxMs) {
    form->CustomItem13->trigger();
    ASSERT_EQ(form->link().OperationMode, omUpgrade);
    ASSERT_TRUE(WaitFor([this] { return form->link().OperationMode == omIdle; }, maxMs)) << "the upgrade did not end";
  }
  // The images as the tool built them, written as the simulator writes what it received.
  Bytes ImagesAsFile() const {
    const auto& images = form->upgrade().images();
    Bytes b(images.FirmwareImage.begin(), images.FirmwareImage.end());
    b.push_back(static_cast<uint8_t>(images.CheckWord & 0xFF));
    b.push_back(static_cast<uint8_t>(images.CheckWord >> 8));
    b.insert(b.end(), images.AuxImage.begin(), images.AuxImage.end());
    return b;
  }
  void ExpectCompleted(int auxBlocks) {
    const QStringList expected = {text::kUpgradeTitle, upgrade_text::kUpgradeOk, upgrade_text::kActiveInterface,
                                  QString(upgrade_text::kPortPrefix) + "SIM1" + upgrade_text::kPortGone};
    EXPECT_EQ(form->TeMemo1->Lines(), expected);
    EXPECT_FALSE(form->port().IsOpen());
    EXPECT_EQ(form->port().BaudRate(), 57600U);
    EXPECT_FALSE(form->TeProgressBar1->isVisible());
    ASSERT_TRUE(WaitFor([this] { return QFileInfo::exists(received); }, 3000)) << "the simulator wrote no firmware";
    const Bytes got = ReadAll(received);
    EXPECT_EQ(got.size(), 61440U + 2 + 2048);
    EXPECT_TRUE(got == ImagesAsFile()) << "the loader received other images";
    EXPECT_TRUE(std::equal(firmware.begin(), firmware.begin() + 61442, got.begin())) << "firmware and check word";
    EXPECT_EQ(FramesTaken(log), ExpectedOrder(auxBlocks));
  }

  QString received = files.filePath("received.hex");
  QString log = files.filePath("sim.log");
  Bytes firmware;
  int dialogs = 0;
  bool answerDialog = true;
};

TEST_F(UpgradeOnPtyTest, SimulatorReceivesTheFilesImagesInOrder) {
  if (!StartSimulator({})) GTEST_SKIP() << "zelor-pui-sim is not built";
  OpenWindowWithFile(61442 + 100);  // 7 auxiliary blocks
  RunUpgrade(60'000);
  ExpectCompleted(7);
}

// Dropped, corrupted and single-byte acknowledgements, never six in a row: every frame arrives,
// in order, and the upgrade completes.
TEST_F(UpgradeOnPtyTest, FaultsBelowTheGiveUpLimitAreRepeatedThrough) {
  if (!StartSimulator({"--fault", "noreply@every=37", "--fault", "badcrc@every=11", "--fault", "short@every=13"})) {
    GTEST_SKIP() << "zelor-pui-sim is not built";
  }
  OpenWindowWithFile(61442 + 2048);  // 128 auxiliary blocks: block 127 twice
  RunUpgrade(120'000);
  ExpectCompleted(128);
  std::ifstream in(log.toStdString());
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  for (const char* fault : {"fault noreply", "fault badcrc", "fault short"}) {
    EXPECT_NE(text.find(fault), std::string::npos) << fault << " never happened";
  }
}

TEST_F(UpgradeOnPtyTest, SimulatorKilledMidwayEndsTheUpgradeAndTheMenusWorkAgain) {
  if (!StartSimulator({})) GTEST_SKIP() << "zelor-pui-sim is not built";
  OpenWindowWithFile(61442);
  form->CustomItem13->trigger();
  ASSERT_TRUE(WaitFor([this] { return form->link().BlockIndex >= 30; }, 30'000));
  sim.kill();
  sim.waitForFinished(3000);
  ASSERT_TRUE(WaitFor([this] { return form->link().OperationMode == omIdle; }, 30'000)) << "the upgrade hangs";
  const QStringList lines = form->TeMemo1->Lines();
  const QStringList gaveUp = {text::kUpgradeTitle, text::kUpgradeNoAnswer, text::kUpgradeHintRestart, text::kUpgradeHintPort};
  const QStringList stopped = {text::kUpgradeTitle, QString(upgrade_text::kStoppedPortError) + "SIM1"};
  ::testing::Test::RecordProperty("ended_by", lines == stopped ? "port stop" : "give-up");
  EXPECT_TRUE(lines == gaveUp || lines == stopped) << lines.join('\n').toStdString();
  EXPECT_TRUE(form->TeMemo1->isVisible());
  EXPECT_FALSE(form->TeMemo2->isVisible());
  EXPECT_FALSE(form->TeProgressBar1->isVisible());
  EXPECT_FALSE(form->port().IsOpen());
  EXPECT_EQ(form->port().BaudRate(), 57600U);
  // The menus are usable again: the upgrade offers its dialog, the search starts and stops.
  answerDialog = false;
  form->CustomItem13->trigger();
  EXPECT_EQ(dialogs, 2);
  form->CustomItem5->trigger();
  EXPECT_EQ(form->link().OperationMode, omSearch);
  form->CustomItem5->trigger();
  EXPECT_EQ(form->link().OperationMode, omIdle);
}

}  // namespace
}  // namespace zelor::test
