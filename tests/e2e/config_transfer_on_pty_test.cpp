// The configuration transfer of the real window, with the production clock and serial adapter,
// against zelor-pui-sim on a real pseudo-terminal: read, change, write back, read again; clean
// and with replies dropped and corrupted on the way.
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
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
#include "automation/rules.h"
#include "config/config_tab.h"
#include "config/config_test_support.h"
#include "config/config_transfer.h"
#include "link/port_registry.h"
#include "model/names.h"
#include "sim/sample_image.h"
#include "sim_pty_fixture.h"

namespace zelor::test {
namespace {

using testing::Dump;

std::vector<uint8_t> FileBytesOf(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  const QByteArray b = f.readAll();
  return {b.begin(), b.end()};
}

std::string ModelOf(const std::vector<uint8_t>& bytes) {
  ConfigImage image{};
  std::copy_n(bytes.begin(), std::min(bytes.size(), image.size()), image.begin());
  ConfigModel m;
  ParseImage(m, image);
  return Dump(m);
}

struct LineCase {
  const char* name;
  QStringList faults;  // extra simulator arguments
};
void PrintTo(const LineCase& c, std::ostream* os) { *os << c.name; }


class ConfigTransferOnPty : public SimOnPtyFixture<::testing::TestWithParam<LineCase>> {
 protected:
  bool StartSimulator(const QStringList& extra) {
    return StartSimulatorProcess(sim, QStringList{"--no-commands", "--config-out", AppliedPath(), "--log", LogPath()} + extra);
  }
  // Clicks a transfer button and waits until its operation has ended.
  void Run(QToolButton* button) {
    button->click();
    ASSERT_NE(form->link().OperationMode, OperationMode::omIdle);
    ASSERT_TRUE(WaitFor([this] { return form->link().OperationMode == OperationMode::omIdle; }, 90'000));
  }
  std::vector<std::string> Memo1() const {
    std::vector<std::string> out;
    for (const QString& l : form->TeMemo1->Lines()) out.push_back(l.toStdString());
    return out;
  }
  std::vector<uint8_t> ToolImage() const {
    const ConfigImage& image = form->transfer().Image();
    return {image.begin(), image.end()};
  }
  QString AppliedPath() const { return files.filePath("applied.bin"); }
  QString LogPath() const { return files.filePath("traffic.log"); }
  int LoggedFaults(const char* kind) const {
    QFile log(LogPath());
    if (!log.open(QIODevice::ReadOnly)) return 0;
    return static_cast<int>(log.readAll().count(QByteArray("fault ") + kind));
  }

};

TEST_P(ConfigTransferOnPty, ReadChangeWriteBackAndReadAgain) {
  if (!StartSimulator(GetParam().faults)) GTEST_SKIP() << "zelor-pui-sim is not built";
  OpenWindow();
  ConfigTab* tab = form->TeTabSheet12;
  const std::vector<std::string> readOk{"   : чтение конфигурации пульта...", "   : ОК."};

  Run(tab->Load_ButtA);
  EXPECT_EQ(Memo1(), readOk);
  EXPECT_EQ(Dump(form->Config), ModelOf(sim::SampleImage()));
  EXPECT_EQ(ToolImage(), sim::SampleImage());

  // A change through the core: a new sounder after the first device, a renamed first zone.
  ConfigModel& m = form->Config;
  m.SelectedNode = 0;
  ASSERT_EQ(AddNode(m, 14), kDone);
  // The display code writes Cyrillic letters that look Latin as Latin ones: the name is given as
  // the panel will show it, so that it reads back unchanged.
  const Cp1251String renamed = FitName(testing::Fold(testing::Cp("ВХОД ГЛАВНЫЙ")), kNameWidth);
  m.Nodes[0].Zones[0].Name = renamed;
  for (uint8_t r = 0; r < m.RuleCount; ++r) {  // as the editor does: the rules show the new name
    RefreshSideText(m, Side::Activator, r);
    RefreshSideText(m, Side::Executor, r);
  }
  Run(tab->Save_ButtA);
  EXPECT_EQ(Memo1(), (std::vector<std::string>{"   : запись конфигурации пульта...", "   : ОК."}));
  ASSERT_TRUE(WaitFor([this] { return FileBytesOf(AppliedPath()).size() == ImageSize; }, 5000));
  EXPECT_EQ(FileBytesOf(AppliedPath()), ToolImage()) << "the simulator took the tool's image";
  EXPECT_NE(ToolImage(), sim::SampleImage());

  // Read again: the model is the applied image's, and it builds the same bytes. (The model before
  // the write differs from it only where an image holds no more: the selection, the display code's
  // Latin look-alikes in the new device's default names, and numbers, which come back explicit.)
  const std::vector<uint8_t> applied = FileBytesOf(AppliedPath());
  Run(tab->Load_ButtA);
  EXPECT_EQ(Memo1(), readOk);
  EXPECT_EQ(Dump(form->Config), ModelOf(applied)) << "what was written reads back the same";
  EXPECT_EQ(ToolImage(), applied);
  EXPECT_EQ(form->Config.Nodes[0].Zones[0].Name, renamed);
  EXPECT_EQ(form->Config.Nodes[1].Type, 14);
  EXPECT_EQ(tab->NodesGrid->RowCount(), form->Config.NodeCount + 1);

  if (!GetParam().faults.isEmpty()) {
    EXPECT_GT(LoggedFaults("noreply"), 0) << "the line dropped replies";
    EXPECT_GT(LoggedFaults("badcrc"), 0) << "the line corrupted replies";
  }
  form->close();
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ConfigTransferOnPty,
    ::testing::Values(LineCase{"Clean", {}},
                      // The first rule that fires wins: 0.056 of the other 90 % is 5 % of all replies.
                      LineCase{"DroppedAndCorrupted",
                               {"--fault", "noreply@rate=0.1", "--fault", "badcrc@rate=0.056", "--seed", "7"}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zelor::test
