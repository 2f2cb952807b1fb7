// The real window with the production clock and serial adapter on a real pseudo-terminal:
// a register-0 read through the engine, answered by a panel on the other side of the line.
#include <pty.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QScrollBar>
#include <QProcess>
#include <QSocketNotifier>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "app/main_window.h"
#include "qtcore/qt_clock.h"
#include "qtcore/qt_serial_port.h"
#include "link/port_registry.h"
#include "service/parameters_tab.h"
#include "sim/panel.h"
#include "sim_pty_fixture.h"

namespace zelor::test {
namespace {

const QStringList kRegisterZeroRead = {"TX : F7 03 00 00 00 01 90 9C ", "RX : F7 03 02 00 0B 31 96 ", "   : ОК."};

// Simulators register their ports under XDG_RUNTIME_DIR; each test gets its own.
class WindowOnPtyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(runtime.isValid());
    const char* old = std::getenv("XDG_RUNTIME_DIR");
    if (old != nullptr) oldRuntime = old;
    ::setenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit().constData(), 1);
  }
  void TearDown() override {
    form.reset();
    if (oldRuntime.empty()) {
      ::unsetenv("XDG_RUNTIME_DIR");
    } else {
      ::setenv("XDG_RUNTIME_DIR", oldRuntime.c_str(), 1);
    }
  }
  void OpenWindow() {
    auto clock = std::make_unique<QtClock>();
    auto port = std::make_unique<QtSerialPort>(*clock);
    form = std::make_unique<TForm1>(std::move(clock), std::move(port), ProductionPortSources());
    form->show();
  }
  QStringList PortCaptions() const {
    QStringList captions;
    for (QAction* a : form->PORT1->actions()) captions << a->text();
    return captions;
  }
  void ReadRegisterZero() {
    ASSERT_TRUE(form->link().SendReadRequest(0, 1));
    EXPECT_TRUE(form->port().IsOpen());
    ASSERT_TRUE(WaitFor([this] { return !form->link().Timer_Rx->Enabled(); }));
    EXPECT_EQ(form->TeMemo1->Lines(), kRegisterZeroRead);
    EXPECT_FALSE(form->port().IsOpen()) << "a single read closes the port after its answer";
  }

  // Starts zelor-pui-sim and waits for its registration; false when it is not built.
  bool StartSimulator(QProcess& sim) {
    const QString program = QStringLiteral(ZELOR_BINARY_DIR "/zelor-pui-sim");
    if (!QFileInfo(program).isExecutable()) return false;
    sim.start(program, {"--no-commands"});
    EXPECT_TRUE(sim.waitForStarted(3000));
    EXPECT_TRUE(WaitFor([] { return !ListRegisteredPorts().empty(); }, 5000)) << "the simulator registered no port";
    return true;
  }
  static void StopSimulator(QProcess& sim) {
    sim.terminate();
    if (!sim.waitForFinished(3000)) {
      sim.kill();
      sim.waitForFinished();
    }
  }

  QTemporaryDir runtime;
  std::string oldRuntime;
  std::unique_ptr<TForm1> form;
};

TEST_F(WindowOnPtyTest, RegisteredPseudoTerminalIsListedFirstSelectedAndAnswers) {
  int master = -1, slave = -1;
  char name[256] = {};
  ASSERT_EQ(::openpty(&master, &slave, name, nullptr, nullptr), 0);
  ::close(slave);
  auto registration = std::make_unique<PortRegistration>(name);
  ASSERT_EQ(registration->name(), "SIM1");

  // The panel: answers every complete request that reaches the master side.
  sim::Panel panel;
  std::vector<uint8_t> pending;
  QSocketNotifier notifier(master, QSocketNotifier::Read);
  QObject::connect(&notifier, &QSocketNotifier::activated, [&] {
    uint8_t buf[256];
    const ssize_t n = ::read(master, buf, sizeof buf);
    if (n <= 0) return;
    pending.insert(pending.end(), buf, buf + n);
    if (pending.size() < 8) return;
    if (auto reply = panel.Handle(pending.data(), 8)) {
      ASSERT_EQ(::write(master, reply->data(), reply->size()), static_cast<ssize_t>(reply->size()));
    }
    pending.erase(pending.begin(), pending.begin() + 8);
  });

  OpenWindow();
  ASSERT_FALSE(PortCaptions().isEmpty());
  EXPECT_EQ(PortCaptions().front(), "SIM1");
  EXPECT_EQ(form->StatusBar1->PanelText(0), "SIM1");
  EXPECT_EQ(form->port().PortName(), "SIM1");
  EXPECT_EQ(QtSerialPort::DevicePathFor("SIM1"), registration->path());
  ReadRegisterZero();

  // Closing the window closes an open port.
  form->link().OperationMode = OperationMode::omLast15Count;  // an operation that keeps the port open
  ASSERT_TRUE(form->link().SendReadRequest(0, 1));
  form->link().OperationMode = OperationMode::omIdle;
  ASSERT_TRUE(form->port().IsOpen());
  form->close();
  EXPECT_FALSE(form->port().IsOpen());
  form.reset();
  registration.reset();
  ::close(master);
}

TEST_F(WindowOnPtyTest, SimulatorProgramServesTheTool) {
  QProcess sim;
  if (!StartSimulator(sim)) GTEST_SKIP() << "zelor-pui-sim is not built";
  OpenWindow();
  EXPECT_EQ(PortCaptions().front(), "SIM1");
  ReadRegisterZero();
  form->close();
  StopSimulator(sim);
}

TEST_F(WindowOnPtyTest, ASimulatorStartedAfterTheToolAppearsWhenThePortMenuOpens) {
  OpenWindow();
  EXPECT_FALSE(PortCaptions().contains("SIM1"));
  QProcess sim;
  if (!StartSimulator(sim)) GTEST_SKIP() << "zelor-pui-sim is not built";
  emit form->PORT1->aboutToShow();
  ASSERT_FALSE(PortCaptions().isEmpty());
  EXPECT_EQ(PortCaptions().front(), "SIM1");
  StopSimulator(sim);
  emit form->PORT1->aboutToShow();
  EXPECT_FALSE(PortCaptions().contains("SIM1")) << "an ended simulator's port is gone";
  form->close();
}

// An adapter pulled out and plugged in again: the tool keeps its choice meanwhile and talks to
// the port again when it is back, without the user choosing it anew.
TEST_F(WindowOnPtyTest, ASimulatorStoppedAndStartedAgainStaysTheChosenPort) {
  QProcess sim;
  if (!StartSimulator(sim)) GTEST_SKIP() << "zelor-pui-sim is not built";
  OpenWindow();
  ASSERT_EQ(form->port().PortName(), "SIM1");
  ReadRegisterZero();

  StopSimulator(sim);
  ASSERT_TRUE(WaitFor([] { return ListRegisteredPorts().empty(); }, 5000));
  emit form->PORT1->aboutToShow();
  EXPECT_TRUE(PortCaptions().contains("SIM1  (absent)")) << PortCaptions().join(", ").toStdString();
  EXPECT_EQ(form->port().PortName(), "SIM1");
  EXPECT_EQ(form->StatusBar1->PanelText(0), "SIM1");

  QProcess again;
  ASSERT_TRUE(StartSimulator(again));
  emit form->PORT1->aboutToShow();
  EXPECT_EQ(PortCaptions().front(), "SIM1");
  EXPECT_FALSE(PortCaptions().contains("SIM1  (absent)"));
  EXPECT_EQ(form->port().PortName(), "SIM1");
  ReadRegisterZero();
  form->close();
  StopSimulator(again);
}

TEST_F(WindowOnPtyTest, ParametersTabIsFilledFromTheSimulatorAndWritesReachIt) {
  QProcess sim;
  if (!StartSimulator(sim)) GTEST_SKIP() << "zelor-pui-sim is not built";
  OpenWindow();
  ParametersTab* tab = form->TeTabSheet3;
  form->TePageControl1->setCurrentWidget(tab);  // showing the tab queries the panel
  ASSERT_TRUE(form->link().Timer_Rx->Enabled());
  ASSERT_TRUE(WaitFor([this] { return !form->link().Timer_Rx->Enabled(); }));
  EXPECT_EQ(form->TeMemo1->Lines().back(), "   : ОК.");
  // The simulator's defaults: contrast 35, volume 1 (loudest), 9600 inside, 10 ms extra time-out.
  EXPECT_EQ(tab->TeGroupBox10->title().toStdString(), "  КОНТРАСТ ЖКИ =  35  ");
  EXPECT_EQ(tab->TeGroupBox3->title().toStdString(), "  ГРОМКОСТЬ ЗВУК. ОПОВ. =   5  ");
  EXPECT_EQ(tab->TeSComboBox8->currentText().toStdString(), "9600");
  EXPECT_EQ(tab->TeLabel9->text().toStdString(), "  10");
  EXPECT_EQ(tab->TeScrollBar3->value(), 0);
  EXPECT_EQ(tab->Label2->text().left(5).toStdString(), "dT = ");
  EXPECT_NE(tab->TeSComboBox4->currentIndex(), -1) << "the panel's year is on the list";

  // One line step on the contrast bar writes 36, and the echo shows it.
  tab->TeScrollBar1->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  ASSERT_TRUE(WaitFor([this] { return !form->link().Timer_Rx->Enabled(); }));
  EXPECT_EQ(tab->TeGroupBox10->title().toStdString(), "  КОНТРАСТ ЖКИ =  36  ");
  EXPECT_EQ(form->TeMemo1->Lines().back(), "   : ОК.");
  if (const QString dir = qEnvironmentVariable("ZELOR_SCREENSHOT_DIR"); !dir.isEmpty()) {
    form->grab().save(dir + "/parameters_on_simulator.png");
  }
  form->close();
  StopSimulator(sim);
}

}  // namespace
}  // namespace zelor::test
