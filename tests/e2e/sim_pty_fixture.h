// What the end-to-end tests share: a runtime folder of their own for the port registry, the real
// zelor-pui-sim started on a pseudo-terminal and stopped again, and waiting on the event loop.
#pragma once
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

#include "app/main_window.h"
#include "link/port_registry.h"
#include "qtcore/qt_clock.h"
#include "qtcore/qt_port_sources.h"
#include "qtcore/qt_serial_port.h"

namespace zelor::test {

// Runs the event loop until pred holds or ms have passed; the last answer of pred. afterTurn, when
// given, is told how long each turn of the loop took (a test's measure of the window's response).
inline bool WaitFor(const std::function<bool()>& pred, int ms = 3000,
                    const std::function<void(qint64)>& afterTurn = {}) {
  QDeadlineTimer deadline(ms);
  QElapsedTimer turn;
  while (!pred() && !deadline.hasExpired()) {
    turn.start();
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    if (afterTurn) afterTurn(turn.elapsed());
  }
  return pred();
}

// Starts the built simulator with args and waits for its port registration; false when the
// simulator program was not built.
inline bool StartSimulatorProcess(QProcess& sim, const QStringList& args) {
  const QString program = QStringLiteral(ZELOR_BINARY_DIR "/zelor-pui-sim");
  if (!QFileInfo(program).isExecutable()) return false;
  sim.start(program, args);
  EXPECT_TRUE(sim.waitForStarted(3000));
  EXPECT_TRUE(WaitFor([] { return !ListRegisteredPorts().empty(); }, 5000)) << "the simulator registered no port";
  return true;
}

// Asks the process to end, and ends it when it does not within 3 s.
inline void StopProcess(QProcess& process) {
  if (process.state() == QProcess::NotRunning) return;
  process.terminate();
  if (!process.waitForFinished(3000)) {
    process.kill();
    process.waitForFinished();
  }
}

// A test with its own XDG_RUNTIME_DIR (so only its simulators are listed), a folder for files, one
// simulator process and the window; the window and the simulator are gone after each test.
template <class Base = ::testing::Test>
class SimOnPtyFixture : public Base {
 protected:
  void SetUp() override {
    ASSERT_TRUE(runtime.isValid());
    ASSERT_TRUE(files.isValid());
    if (const char* old = std::getenv("XDG_RUNTIME_DIR")) oldRuntime = old;
    ::setenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit().constData(), 1);
  }
  void TearDown() override {
    form.reset();
    StopProcess(sim);
    if (oldRuntime.empty()) {
      ::unsetenv("XDG_RUNTIME_DIR");
    } else {
      ::setenv("XDG_RUNTIME_DIR", oldRuntime.c_str(), 1);
    }
  }

  // The window with the production clock, serial adapter and port list, shown.
  void ShowWindow() {
    auto clock = std::make_unique<QtClock>();
    auto port = std::make_unique<QtSerialPort>(*clock);
    form = std::make_unique<TForm1>(std::move(clock), std::move(port), ProductionPortSources());
    form->show();
  }
  // The same, on the simulator's port, which the window picks by itself.
  void OpenWindow() {
    ShowWindow();
    ASSERT_EQ(form->port().PortName(), "SIM1");
  }

  QTemporaryDir runtime;
  QTemporaryDir files;
  std::string oldRuntime;
  QProcess sim;
  std::unique_ptr<TForm1> form;
};

}  // namespace zelor::test
