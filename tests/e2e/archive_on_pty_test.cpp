// The archive tab on the production clock and serial adapter against zelor-pui-sim on a real
// pseudo-terminal: a wrapped, full archive downloaded to a file and its newest 15 in the grid,
// then compared with the records read straight from the simulator.
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>
#include <memory>
#include <vector>

#include "app/main_window.h"
#include "qtcore/qt_clock.h"
#include "qtcore/qt_serial_port.h"
#include "model/cp1251.h"
#include "link/port_registry.h"
#include "link/registers.h"
#include "service/archive_download.h"
#include "service/archive_lines.h"
#include "service/archive_reading.h"
#include "service/archive_tab.h"
#include "service/archive_tab_view.h"
#include "direct_reader.h"
#include "sim_pty_fixture.h"

namespace zelor::test {
namespace {

using enum OperationMode;

class ArchiveOnPtyTest : public SimOnPtyFixture<> {
 protected:
  bool StartSimulator(const QStringList& extra) {
    return StartSimulatorProcess(sim, QStringList{"--no-commands", "--records", "100", "--wrapped", "--log", files.filePath("sim.log")} + extra);
  }
  bool Idle() const { return form->link().OperationMode == omIdle && !form->link().Timer_Rx->Enabled(); }

  // Downloads to a file and reads the newest 15, then checks both against the simulator.
  void DownloadAndReadNewest() {
    ArchiveTab* tab = form->TeTabSheet2;
    form->TePageControl1->setCurrentWidget(tab);
    const QString chosen = files.filePath("archive.txt");
    form->archiveView().saveDialog = [chosen](const QString&, const QString&) { return std::optional<QString>(chosen); };
    tab->File_ButtA->click();
    ASSERT_EQ(form->archiveDownload().DownloadActive, 1);
    ASSERT_TRUE(WaitFor([this] { return form->archiveDownload().DownloadActive == 0 && Idle(); }, 90000));
    tab->File_ButtB->click();
    ASSERT_TRUE(WaitFor([this] { return form->archiveReading().Last15Active == 0 && Idle(); }, 30000));
    EXPECT_EQ(form->TeMemo1->Lines().back().toStdString(), "   : ОК.");
    form->close();  // the port is free for the direct reader
    droppedForTheTool = DroppedReplies();

    const SimArchive archive = ReadSimArchive(QtSerialPort::DevicePathFor("SIM1"));
    ASSERT_EQ(archive.count, 1500);
    ASSERT_EQ(archive.newest + 1, archive.oldest) << "a wrapped ring";
    ASSERT_EQ(archive.oldestFirst.size(), 1500U);

    QFile file(chosen);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QList<QByteArray> lines = file.readAll().split('\n');
    ASSERT_EQ(lines.size(), 4 + 1500 + 1);
    EXPECT_TRUE(lines.back().isEmpty());
    for (int i = 0; i < 1500; ++i) {
      const std::string expected = Cp1251FromUtf8(ArchiveFileLine(i + 1, archive.oldestFirst[static_cast<std::size_t>(i)])).Bytes() + "\r";
      ASSERT_EQ(lines[4 + i].toStdString(), expected) << "record line " << i + 1;
    }
    for (int row = 1; row <= 15; ++row) {
      const auto& event = archive.oldestFirst[static_cast<std::size_t>(1500 - row)];
      const auto cells = FileGridRow(static_cast<uint16_t>(1500 - row), event);
      for (int c = 0; c < kFileGridColumns; ++c) {
        EXPECT_EQ(tab->FileGrid->Cell(c, row).toStdString(), cells[static_cast<std::size_t>(c)]) << row << "," << c;
      }
    }
  }
  int DroppedReplies() {
    QFile log(files.filePath("sim.log"));
    if (!log.open(QIODevice::ReadOnly)) return -1;
    return static_cast<int>(log.readAll().count("noreply"));
  }

  int droppedForTheTool = -1;
};

TEST_F(ArchiveOnPtyTest, FullWrappedArchiveToFileAndTheNewestFifteen) {
  if (!StartSimulator({})) GTEST_SKIP() << "zelor-pui-sim is not built";
  OpenWindow();
  DownloadAndReadNewest();
  EXPECT_EQ(droppedForTheTool, 0);
}

TEST_F(ArchiveOnPtyTest, TenPercentOfRepliesDroppedGiveEveryRecordOnce) {
  if (!StartSimulator({"--fault", "noreply@rate=0.1", "--seed", "5"})) GTEST_SKIP() << "zelor-pui-sim is not built";
  OpenWindow();
  DownloadAndReadNewest();
  EXPECT_GT(droppedForTheTool, 3) << "the simulator dropped replies to the tool";
  std::cout << "replies the simulator dropped on the way to the tool: " << droppedForTheTool << "\n";
}

}  // namespace
}  // namespace zelor::test
