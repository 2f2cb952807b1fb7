// The address search of the real window, with the production clock and serial adapter, against
// zelor-pui-sim on a pseudo-terminal, and against a pseudo-terminal where nobody answers.
#include <pty.h>
#include <unistd.h>

#include <QAction>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QProcess>
#include <QSpinBox>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "app/main_window.h"
#include "qtcore/qt_clock.h"
#include "qtcore/qt_serial_port.h"
#include "link/port_registry.h"
#include "service/parameters_tab.h"
#include "service/search_texts.h"
#include "sim_pty_fixture.h"

namespace zelor::test {
namespace {

using enum OperationMode;
using enum ResponseKind;

class SearchOnPtyTest : public SimOnPtyFixture<> {
 protected:
  bool StartSimulator(const QStringList& args) {
    return StartSimulatorProcess(sim, QStringList{"--no-commands"} + args);
  }
  // Starts the search and waits for its end; the search of all 247 addresses at 350 ms takes 90 s.
  void SearchToTheEnd(int maxMs) {
    form->CustomItem5->trigger();
    ASSERT_EQ(form->link().OperationMode, omSearch);
    EXPECT_TRUE(WaitFor([this] { return form->link().OperationMode == omIdle && !form->link().Timer_Rx->Enabled(); },
                        maxMs));
  }
  QStringList Memo1() const { return form->TeMemo1->Lines(); }

};

TEST_F(SearchOnPtyTest, SimulatorAtAddress57IsFound) {
  if (!StartSimulator({"--address", "57"})) GTEST_SKIP() << "zelor-pui-sim is not built";
  OpenWindow();
  SearchToTheEnd(60'000);
  ASSERT_GE(Memo1().size(), 2);
  EXPECT_EQ(Memo1()[Memo1().size() - 2].toStdString(), "   : ОБНАРУЖЕН ПРИБОР <ЗЕЛОР-ПУИ> ПО АДРЕСУ 057");
  EXPECT_EQ(Memo1().back().toStdString(), "   : ОК.");
  EXPECT_EQ(form->link().DeviceAddress, 57);
  EXPECT_EQ(form->TeTabSheet3->TeSpinEdit1->value(), 57);
  EXPECT_EQ(form->StatusBar1->PanelText(2).toStdString(), "DEVICE : А = 057; Baud = 57600");
  EXPECT_EQ(form->CustomItem5->text().toStdString(), "Start");
  EXPECT_FALSE(form->port().IsOpen());
}

TEST_F(SearchOnPtyTest, PacedSimulatorAt1200BaudIsFoundWithTheLongestDelay) {
  if (!StartSimulator({"--address", "57", "--pace", "--baud", "1200"})) GTEST_SKIP() << "zelor-pui-sim is not built";
  OpenWindow();
  form->BR_[0]->trigger();
  form->DelayItems[5]->trigger();
  ASSERT_EQ(form->link().SearchDelay, 350);
  ASSERT_EQ(form->port().BaudRate(), 1200U);
  SearchToTheEnd(90'000);
  ASSERT_GE(Memo1().size(), 2);
  EXPECT_EQ(Memo1()[Memo1().size() - 2].toStdString(), "   : ОБНАРУЖЕН ПРИБОР <ЗЕЛОР-ПУИ> ПО АДРЕСУ 057");
  EXPECT_EQ(form->link().DeviceAddress, 57);
  EXPECT_EQ(form->StatusBar1->PanelText(2).toStdString(), "DEVICE : А = 057; Baud = 1200");
  EXPECT_FALSE(form->port().IsOpen());
}

TEST_F(SearchOnPtyTest, NobodyAnsweringEndsNotFoundWithThePortClosed) {
  int master = -1, slave = -1;
  char name[256] = {};
  ASSERT_EQ(::openpty(&master, &slave, name, nullptr, nullptr), 0);
  ::close(slave);
  auto registration = std::make_unique<PortRegistration>(name);
  ASSERT_EQ(registration->name(), "SIM1");
  OpenWindow();
  form->DelayItems[0]->trigger();  // 100 ms: the shortest full pass
  SearchToTheEnd(120'000);
  ASSERT_FALSE(Memo1().isEmpty());
  EXPECT_EQ(Memo1().back().toStdString(), search_text::kNotFound);
  EXPECT_EQ(form->link().DeviceAddress, 247);
  EXPECT_EQ(form->TeTabSheet3->TeSpinEdit1->value(), 247);
  EXPECT_EQ(form->CustomItem5->text().toStdString(), "Start");
  EXPECT_FALSE(form->port().IsOpen());
  // Every probe went out once, in order, and none beyond 247: the master saw 247 requests.
  std::vector<uint8_t> seen;
  uint8_t buf[4096];
  for (ssize_t n; seen.size() < 247 * 8 && (n = ::read(master, buf, sizeof buf)) > 0;) {
    seen.insert(seen.end(), buf, buf + n);
  }
  ASSERT_EQ(seen.size(), 247U * 8);
  for (std::size_t i = 0; i < 247; ++i) EXPECT_EQ(seen[i * 8], i + 1) << i;
  form.reset();
  registration.reset();
  ::close(master);
}

}  // namespace
}  // namespace zelor::test
