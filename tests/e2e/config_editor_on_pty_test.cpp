// The configuration editor of the real window, with the production clock and serial adapter,
// against zelor-pui-sim on a real pseudo-terminal: read the panel's configuration, add a device,
// rename a zone, put a zone in a group, all by clicks; write it back and read it again.
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "qtcore/qt_clock.h"
#include "qtcore/qt_serial_port.h"
#include "config/config_tab.h"
#include "config/config_test_support.h"
#include "config/config_transfer.h"
#include "config/grid_clicks.h"
#include "link/port_registry.h"
#include "model/cp1251.h"
#include "sim_pty_fixture.h"

namespace zelor::test {
namespace {

std::vector<uint8_t> FileBytesOf(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  const QByteArray b = f.readAll();
  return {b.begin(), b.end()};
}

// A grid cell as the panel keeps it: the display code writes Cyrillic letters that look Latin as
// Latin ones, and every number read from a panel is explicit (it carries the marker).
std::string AsStored(const QString& cell) {
  QString text = cell;
  text.remove(QChar(u'\0'));
  return Utf8FromCp1251(testing::Fold(Cp1251FromUtf8(text.toStdString())));
}

class ConfigEditorOnPty : public SimOnPtyFixture<> {
 protected:
  bool StartSimulator() {
    return StartSimulatorProcess(sim, QStringList{"--no-commands", "--config-out", AppliedPath()});
  }
  void OpenWindow() {
    ShowWindow();
    form->TePageControl1->setCurrentWidget(form->TeTabSheet12);
    tab = form->TeTabSheet12;
  }
  void Run(QToolButton* button) {
    button->click();
    ASSERT_NE(form->link().OperationMode, OperationMode::omIdle);
    ASSERT_TRUE(WaitFor([this] { return form->link().OperationMode == OperationMode::omIdle; }, 90'000));
    ASSERT_EQ(form->TeMemo1->Lines().back().toStdString(), "   : ОК.");
  }
  std::vector<uint8_t> ToolImage() const {
    const ConfigImage& image = form->transfer().Image();
    return {image.begin(), image.end()};
  }
  // Every cell of the device list and of every device's zone list, as stored.
  std::vector<std::string> Grids() {
    std::vector<std::string> cells;
    auto take = [&cells](StringGrid* grid) {
      for (int r = 0; r < grid->RowCount(); ++r)
        for (int c = 0; c < grid->ColCount(); ++c) cells.push_back(AsStored(grid->Cell(c, r)));
    };
    take(tab->NodesGrid);
    for (int row = 1; row < tab->NodesGrid->RowCount(); ++row) {
      ClickCell(tab->NodesGrid, 1, row);
      take(tab->ZoneGrid);
    }
    return cells;
  }
  QString AppliedPath() const { return files.filePath("applied.bin"); }

  ConfigTab* tab = nullptr;
};

TEST_F(ConfigEditorOnPty, EditedByClicksWrittenBackAndReadAgain) {
  if (!StartSimulator()) GTEST_SKIP() << "zelor-pui-sim is not built";
  OpenWindow();
  Run(tab->Load_ButtA);
  const int devices = form->Config.NodeCount;
  ASSERT_GT(devices, 0);
  ASSERT_EQ(tab->NodesGrid->RowCount(), devices + 1);

  // A ЗЕЛОР-16И after the last device. (Read numbers are explicit: inserted before other devices,
  // its automatic numbers would repeat theirs, and the write would be refused.)
  tab->Add_Butt_00->click();
  ClickCell(tab->NodesGrid, 1, devices);
  form->findChild<QPushButton*>("ADD_Butt_01")->click();
  ASSERT_EQ(form->Config.NodeCount, devices + 1);
  ASSERT_EQ(tab->NodesGrid->currentRow(), devices);
  ASSERT_EQ(tab->ZoneGrid->RowCount(), 17);

  // Its third zone renamed, made a security zone and put in group 5.
  DoubleClickCell(tab->ZoneGrid, 1, 3);
  ASSERT_TRUE(tab->NameEdit->isVisible());
  ASSERT_TRUE(WaitFor([this] { return form->focusWidget() == tab->NameEdit; }, 3000)) << "TimerX1 hands the focus over";
  tab->NameEdit->setText("ШЛЮЗ Жё О-2");  // О is the Cyrillic letter
  QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
  QApplication::sendEvent(tab->NameEdit, &enter);
  ASSERT_TRUE(tab->NameEdit->isHidden());
  DoubleClickCell(tab->ZoneGrid, 2, 3);
  ASSERT_TRUE(tab->TypeBox->isVisible());
  SendMouse(tab->TypeBox->viewport(), QEvent::MouseButtonPress,
            tab->TypeBox->visualItemRect(tab->TypeBox->item(0)).center(), Qt::LeftButton);
  SendMouse(tab->TypeBox->viewport(), QEvent::MouseButtonRelease,
            tab->TypeBox->visualItemRect(tab->TypeBox->item(0)).center(), Qt::NoButton);
  ASSERT_EQ(tab->ZoneGrid->Cell(2, 3).toStdString(), "  ОХР.");
  DoubleClickCell(tab->ZoneGrid, 3, 3);
  ASSERT_TRUE(tab->GroupGrid->isVisible());
  DoubleClickCell(tab->GroupGrid, 0, 7);  // "05"
  ASSERT_EQ(tab->ZoneGrid->Cell(3, 3).toStdString(), "05");
  const ZoneRecord& zone = form->Config.Nodes[devices].Zones[2];
  EXPECT_EQ(Utf8FromCp1251(zone.Name), "ШЛЮЗ Жё О-2    ");
  EXPECT_EQ(zone.Group, 5);

  const std::vector<std::string> edited = Grids();
  Run(tab->Save_ButtA);
  ASSERT_TRUE(WaitFor([this] { return FileBytesOf(AppliedPath()).size() == ImageSize; }, 5000));
  EXPECT_EQ(FileBytesOf(AppliedPath()), ToolImage()) << "the simulator applied the tool's image";

  Run(tab->Load_ButtA);
  EXPECT_EQ(ToolImage(), FileBytesOf(AppliedPath()));
  EXPECT_EQ(Grids(), edited) << "the grids read back as they were edited";
  const ZoneRecord& back = form->Config.Nodes[devices].Zones[2];
  // Ж and ё come back as they were; the Cyrillic О comes back as the Latin O the display shows.
  EXPECT_EQ(Utf8FromCp1251(back.Name), "ШЛЮЗ Жё O-2    ");
  EXPECT_EQ(back.Kind, kKindSecurity);
  EXPECT_EQ(back.Group, 5);
  form->close();
}

}  // namespace
}  // namespace zelor::test
