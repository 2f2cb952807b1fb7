// Live monitoring end to end: the real window with the production clock and serial adapter, and
// zelor-pui-sim on a pseudo-terminal writing an event every second, killed and restarted mid-way.
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <signal.h>

#include <cstdlib>
#include <functional>
#include <memory>

#include "app/main_window.h"
#include "qtcore/qt_port_sources.h"
#include "qtcore/qt_clock.h"
#include "qtcore/qt_serial_port.h"
#include "link/link_texts.h"
#include "link/port_registry.h"
#include "link/registers.h"
#include "service/monitor.h"
#include "service/monitor_lines.h"
#include "service/monitor_texts.h"
#include "service/status_tab.h"
#include "sim_pty_fixture.h"

namespace zelor::test {
namespace {

using enum OperationMode;

// Seconds of monitoring before and after the restart; ZELOR_E2E_MONITOR_SECONDS lengthens a run.
int PhaseSeconds() {
  const int s = qEnvironmentVariableIntValue("ZELOR_E2E_MONITOR_SECONDS");
  return s > 0 ? s : 20;
}

uint16_t RingNext(uint16_t a) { return a >= reg::kArchiveLast ? reg::kArchiveFirst : static_cast<uint16_t>(a + 1); }
int RingDistance(uint16_t from, uint16_t to) {
  return (to - from + reg::kArchiveCapacity) % reg::kArchiveCapacity;
}

class MonitorOnPtyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(runtime.isValid());
    if (const char* old = std::getenv("XDG_RUNTIME_DIR")) oldRuntime = old;
    ::setenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit().constData(), 1);
  }
  void TearDown() override {
    form.reset();
    for (QProcess* sim : {&simA, &simB}) {
      if (sim->state() != QProcess::NotRunning) {
        sim->kill();
        sim->waitForFinished();
      }
    }
    if (oldRuntime.empty()) {
      ::unsetenv("XDG_RUNTIME_DIR");
    } else {
      ::setenv("XDG_RUNTIME_DIR", oldRuntime.c_str(), 1);
    }
  }
  bool StartSimulator(QProcess& sim, const QStringList& extra) {
    const QString program = QStringLiteral(ZELOR_BINARY_DIR "/zelor-pui-sim");
    if (!QFileInfo(program).isExecutable()) return false;
    sim.start(program, QStringList{"--no-commands", "--event-every", "1"} + extra);
    EXPECT_TRUE(sim.waitForStarted(3000));
    EXPECT_TRUE(Pump([] { return !ListRegisteredPorts().empty(); }, 5000)) << "the simulator registered no port";
    return true;
  }
  // Runs the event loop until pred() holds or ms pass; notes every log line and the longest
  // time one turn of the loop took.
  bool Pump(const std::function<bool()>& pred, int ms) {
    return WaitFor(pred, ms, [this](qint64 turnMs) {
      longestTurnMs = std::max(longestTurnMs, turnMs);
      if (!form || form->TeMemo1->Lines().isEmpty()) return;
      const QString last = form->TeMemo1->Lines().back();
      if (last == text::kTimeOut) ++timeOutsSeen;
      if (last.startsWith(text::kPortOpenError)) ++portErrorsSeen;
    });
  }
  void PumpFor(int ms) {
    Pump([] { return false; }, ms);
  }
  QStringList MemoLines() const { return form->TeTabSheet1->TeMemo3->toPlainText().split('\n'); }
  QStringList RecordLines() const {
    const QStringList all = MemoLines();
    const auto at = all.indexOf(QString(monitor_text::kPointerTaken));
    return at < 0 ? QStringList{} : all.mid(at + 1);
  }
  // The panel's record at `address` read through the link, as the monitor writes it.
  QString ReadRecordLine(uint16_t address) {
    Link& link = form->link();
    EXPECT_TRUE(link.SendReadRequest(address, 1));
    link.ExpectedLength = fn::kOneRecordReplyLength;
    EXPECT_TRUE(Pump([&] { return !link.Timer_Rx->Enabled(); }, 3000));
    if (form->TeMemo1->Lines().back() != text::kOk) return "no reply for " + QString::number(address);
    return QString::fromStdString(MonitorRecordLine(link.FrameBuffer.data() + 3));
  }

  QTemporaryDir runtime;
  std::string oldRuntime;
  QProcess simA;
  QProcess simB;
  std::unique_ptr<TForm1> form;
  qint64 longestTurnMs = 0;
  int timeOutsSeen = 0;   // loop turns that ended with "   : TIME OUT." last in the log
  int portErrorsSeen = 0;  // ... with the port error line last
};

TEST_F(MonitorOnPtyTest, OneLinePerEventInOrderAcrossASimulatorRestart) {
  if (!StartSimulator(simA, {})) GTEST_SKIP() << "zelor-pui-sim is not built";
  auto clock = std::make_unique<QtClock>();
  auto port = std::make_unique<QtSerialPort>(*clock);
  form = std::make_unique<TForm1>(std::move(clock), std::move(port), ProductionPortSources());
  form->show();
  ASSERT_EQ(form->port().PortName(), "SIM1");
  Link& link = form->link();

  form->TeTabSheet1->TeButton2->click();
  ASSERT_TRUE(Pump([&] { return link.OperationMode == omMonitorPoll; }, 5000));
  const uint16_t start = link.MonitorAddress;
  ASSERT_EQ(start, reg::kArchiveFirst + 99) << "the simulator's 100 records are not shown";
  ASSERT_TRUE(RecordLines().isEmpty());

  // Phase one: an event a second.
  PumpFor(PhaseSeconds() * 1000);
  ASSERT_TRUE(Pump([&] { return link.OperationMode == omMonitorPoll; }, 3000));  // not between poll and record
  const QStringList before = RecordLines();
  const uint16_t reached = link.MonitorAddress;
  EXPECT_GE(before.size(), PhaseSeconds() - 3);
  EXPECT_EQ(before.size(), RingDistance(start, reached)) << "one line per record, none twice";
  // In order: within one day the event times do not go back.
  for (int i = 1; i < before.size(); ++i) {
    if (before[i - 1].mid(10, 10) == before[i].mid(10, 10)) {
      EXPECT_LE(before[i - 1].left(8), before[i].left(8)) << i;
    }
  }

  // The panel hangs (its requests time out), then vanishes with its pseudo-terminal (the port
  // cannot be opened), then a panel on a new pseudo-terminal holds the same newest record.
  longestTurnMs = 0;
  ASSERT_EQ(::kill(static_cast<pid_t>(simA.processId()), SIGSTOP), 0);
  PumpFor(2500);
  EXPECT_GT(timeOutsSeen, 0);
  simA.kill();
  ASSERT_TRUE(simA.waitForFinished(3000));
  PumpFor(2000);
  EXPECT_GT(portErrorsSeen, 0);
  EXPECT_EQ(RecordLines().size(), before.size());
  EXPECT_EQ(link.OperationMode, omMonitorPoll) << "monitoring goes on";
  EXPECT_EQ(form->TeTabSheet1->TeButton2->text(), "СТОП");
  // A poll of the old panel may have announced a record not read yet: the new panel has it too.
  const uint16_t newest = link.MonitorAddress;
  const uint16_t resumeFrom = link.OperationMode == omMonitorRecord
                                  ? static_cast<uint16_t>(newest == reg::kArchiveFirst ? reg::kArchiveLast : newest - 1)
                                  : newest;
  ASSERT_EQ(RecordLines().size(), RingDistance(start, resumeFrom));
  ASSERT_TRUE(StartSimulator(simB, {"--records", QString::number(newest - reg::kArchiveFirst + 1)}));
  PumpFor(PhaseSeconds() * 1000);
  EXPECT_LT(longestTurnMs, 1000) << "the window stayed responsive";

  // Stopped between two steps, with no record announced but unread, MonitorAddress is the last shown.
  ASSERT_TRUE(Pump([&] { return link.OperationMode == omMonitorPoll && !link.Timer_Rx->Enabled(); }, 3000));
  form->TeTabSheet1->TeButton2->click();
  ASSERT_EQ(link.OperationMode, omIdle);
  const QStringList all = RecordLines();
  ASSERT_GE(all.size(), before.size());
  EXPECT_EQ(all.mid(0, before.size()), before);
  const QStringList after = all.mid(before.size());
  EXPECT_GE(after.size(), PhaseSeconds() - 5) << "the lines resumed";
  // Every line after the restart is the panel's record at its address, in archive order.
  QStringList expected;
  for (uint16_t a = RingNext(resumeFrom); expected.size() < after.size(); a = RingNext(a)) expected << ReadRecordLine(a);
  EXPECT_EQ(after, expected);
  EXPECT_EQ(RingDistance(resumeFrom, link.MonitorAddress), after.size());
  form->close();
}

}  // namespace
}  // namespace zelor::test
