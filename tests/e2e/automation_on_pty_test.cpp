// A rule made on the "КОНФИГ.-4" tab of the real window (production clock and serial adapter)
// is written to zelor-pui-sim on a real pseudo-terminal, and the simulator's applied image holds
// its executor command.
#include <QApplication>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QMouseEvent>
#include <QProcess>
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
#include "automation/automation_tab.h"
#include "config/config_image.h"
#include "config/config_tab.h"
#include "link/port_registry.h"
#include "sim_pty_fixture.h"

namespace zelor::test {
namespace {

std::vector<uint8_t> FileBytesOf(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  const QByteArray b = f.readAll();
  return {b.begin(), b.end()};
}

void SendMouse(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
  QMouseEvent e(type, at, w->mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}
void ClickCell(StringGrid* g, int column, int row) {
  const QModelIndex index = g->model()->index(row - 1, column);
  g->scrollTo(index);
  const QPoint at = g->visualRect(index).center();
  SendMouse(g->viewport(), QEvent::MouseButtonPress, at, Qt::LeftButton);
  SendMouse(g->viewport(), QEvent::MouseButtonRelease, at, Qt::NoButton);
}
void DoubleClickCell(StringGrid* g, int column, int row) {
  ClickCell(g, column, row);
  const QPoint at = g->visualRect(g->model()->index(row - 1, column)).center();
  SendMouse(g->viewport(), QEvent::MouseButtonDblClick, at, Qt::LeftButton);
  SendMouse(g->viewport(), QEvent::MouseButtonRelease, at, Qt::NoButton);
}

class AutomationOnPty : public SimOnPtyFixture<> {
 protected:
  bool StartSimulator() {
    return StartSimulatorProcess(sim, QStringList{"--no-commands", "--config-out", AppliedPath()});
  }
  void Run(QToolButton* button) {
    button->click();
    ASSERT_NE(form->link().OperationMode, OperationMode::omIdle);
    ASSERT_TRUE(WaitFor([this] { return form->link().OperationMode == OperationMode::omIdle; }, 90'000));
    EXPECT_EQ(form->TeMemo1->Lines().back().toStdString(), "   : ОК.");
  }
  QString AppliedPath() const { return files.filePath("applied.bin"); }

};

TEST_F(AutomationOnPty, ARuleMadeInTheEditorReachesTheSimulatorsAppliedImage) {
  if (!StartSimulator()) GTEST_SKIP() << "zelor-pui-sim is not built";
  auto clock = std::make_unique<QtClock>();
  auto port = std::make_unique<QtSerialPort>(*clock);
  form = std::make_unique<TForm1>(std::move(clock), std::move(port), ProductionPortSources());
  form->show();
  ASSERT_EQ(form->port().PortName(), "SIM1");

  // The simulator's sample: ten devices, eight rules in ten command slots.
  Run(form->TeTabSheet12->Load_ButtA);
  ConfigModel& m = form->Config;
  ASSERT_EQ(m.RuleCount, 8);
  ASSERT_EQ(m.Nodes[7].Type, 15);  // the sounder board at address 11
  ASSERT_EQ(m.Nodes[7].Address, 11);

  AutomationTab* tab = form->TeTabSheet4;
  form->TePageControl1->setCurrentWidget(tab);
  ASSERT_EQ(tab->AutoGrid->RowCount(), 9);
  ClickCell(tab->AutoGrid, 0, 8);  // the last rule; a new one comes after it
  tab->AddAuto_Butt->click();
  ASSERT_EQ(m.SelectedRule, 8);
  // Activator: the security zone "Коридор 1" (device 0, zone 0); event "  ВЗЯТ             ".
  DoubleClickCell(tab->AutoGrid, 1, 9);
  ASSERT_FALSE(tab->AutoNodeGrid->isHidden());
  ClickCell(tab->AutoNodeGrid, 1, 1);
  DoubleClickCell(tab->AutoZoneGrid, 1, 1);
  DoubleClickCell(tab->AutoGrid, 3, 9);
  ASSERT_EQ(tab->EventBox->itemText(1).toStdString(), "  ВЗЯТ             ");
  tab->EventBox->setCurrentIndex(1);
  emit tab->EventBox->activated(1);
  // Executor: the sounder board, straight from the device picker; action "  ВКЛЮЧИТЬ ЗВУК".
  DoubleClickCell(tab->AutoGrid, 5, 9);
  DoubleClickCell(tab->AutoNodeGrid, 1, 8);
  DoubleClickCell(tab->AutoGrid, 7, 9);
  ASSERT_EQ(tab->EventBox->count(), 10);
  ASSERT_EQ(tab->EventBox->itemText(9).toStdString(), "  ВКЛЮЧИТЬ ЗВУК");
  tab->EventBox->setCurrentIndex(9);
  emit tab->EventBox->activated(9);
  ASSERT_EQ(m.Activators[8].Code, 8);
  ASSERT_EQ(m.Executors[8].Code, 16);
  EXPECT_EQ(tab->AutoGrid->Cell(7, 9).toStdString(), "  ВКЛЮЧИТЬ ЗВУК");

  Run(form->TeTabSheet12->Save_ButtA);
  ASSERT_TRUE(WaitFor([this] { return FileBytesOf(AppliedPath()).size() == ImageSize; }, 5000));
  const std::vector<uint8_t> applied = FileBytesOf(AppliedPath());
  using namespace image;
  EXPECT_EQ(applied[kRuleCount], 9);
  EXPECT_EQ(applied[kRuleActivators + 2 * 8], 0x00);
  EXPECT_EQ(applied[kRuleActivators + 2 * 8 + 1], 0x00);
  EXPECT_EQ(applied[kRuleEvents + 8], 8);
  EXPECT_EQ(applied[kRuleFirstSlot + 8], 10) << "after the sample's ten slots";
  EXPECT_EQ(applied[kRuleSlotCount + 8], 1);
  // Register 3 := 10 at address 11; the CRC from the bit-by-bit CRC-16/MODBUS of
  // tests/link/crc_vectors.py, not from the code under test.
  const std::vector<uint8_t> command = {0x0B, 0x06, 0x00, 0x03, 0x00, 0x0A, 0xF9, 0x67};
  const auto* slot = applied.data() + kCommandSlots + 10 * kCommandSlotBytes;
  EXPECT_EQ(std::vector<uint8_t>(slot, slot + kCommandSlotBytes), command);
  form->close();
}

}  // namespace
}  // namespace zelor::test
