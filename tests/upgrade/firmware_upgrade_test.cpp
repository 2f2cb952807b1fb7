// The firmware upgrade through the link on the virtual clock, against the in-process panel's
// boot loader: the start, the frame order, completion, repeats and the give-up, the file
// problems, and the stops when the port fails.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <optional>

#include "link/line_rates.h"
#include "link/link_texts.h"
#include "link_fixture.h"
#include "upgrade/firmware_upgrade.h"
#include "upgrade/upgrade_texts.h"
#include "upgrade_test_support.h"

namespace zelor::test {
namespace {

using enum OperationMode;
using enum ResponseKind;

using Lines = std::vector<std::string>;

class FakeUpgradeView : public UpgradeView {
 public:
  std::optional<std::string> ChooseFirmwareFile(const FirmwareDialogSetup& s) override {
    ++dialogs;
    setup = s;
    return path;
  }
  void CloseAddBox() override { ++addBoxClosed; }
  void HideAddBox() override { ++addBoxHidden; }

  std::optional<std::string> path;  // nothing: the dialog is cancelled
  FirmwareDialogSetup setup;
  int dialogs = 0;
  int addBoxClosed = 0;
  int addBoxHidden = 0;
};

class FirmwareUpgradeTest : public LinkFixture {
 protected:
  FirmwareUpgradeTest() {
    panel.EnterBootLoader();
    line.SetBaudRate(57600);  // the menu's rate before the upgrade
  }
  void StartWithFile(std::size_t size) {
    file = FirmwareFileBytes(size);
    view.path = WriteFirmwareFile("upgrade.hex", file);
    upgrade.CustomItem13Click();
  }
  void RunToEnd() {
    clock.RunUntil([this] { return link.OperationMode == omIdle && !link.Timer_Rx->Enabled(); }, 600'000);
  }
  // The kind and number of each frame written, as the boot loader sees them.
  static std::string Describe(const std::vector<uint8_t>& frame) {
    switch (frame.size()) {
      case 515: return "page " + std::to_string(frame[512]);
      case 19: return "aux " + std::to_string(frame[16]);
      case 8: return "finish";
      default: return "? " + std::to_string(frame.size());
    }
  }
  std::vector<std::string> Sent() const {
    std::vector<std::string> d;
    for (const auto& r : line.requests) d.push_back(Describe(r));
    return d;
  }
  static std::vector<std::string> Expected(const std::vector<int>& auxBlocks) {
    std::vector<std::string> d;
    for (int p = 0; p < 120; ++p) d.push_back("page " + std::to_string(p));
    for (int n : auxBlocks) d.push_back("aux " + std::to_string(n));
    d.push_back("aux 127");
    d.push_back("finish");
    return d;
  }
  static std::vector<int> Blocks(int count) {
    std::vector<int> b;
    for (int n = 0; n < count; ++n) b.push_back(n);
    return b;
  }
  Lines CompletionLines() const {
    return {text::kUpgradeTitle, upgrade_text::kUpgradeOk, upgrade_text::kActiveInterface,
            std::string(upgrade_text::kPortPrefix) + "SIM1" + upgrade_text::kPortGone};
  }
  Lines GiveUpLines() const {
    return {text::kUpgradeTitle, text::kUpgradeNoAnswer, text::kUpgradeHintRestart, text::kUpgradeHintPort};
  }

  FakeUpgradeView view;
  FirmwareUpgrade upgrade{link, sequencer, view};
  std::vector<uint8_t> file;
};

TEST_F(FirmwareUpgradeTest, StartLoadsTheFileSwitchesToTheLoadersRateAndSendsPageZero) {
  memo1.lines = {"TX :", "RX :"};
  StartWithFile(61442 + 40);
  EXPECT_EQ(view.dialogs, 1);
  EXPECT_EQ(view.setup.title, "    OPEN");
  EXPECT_EQ(view.setup.fileName, " -> ВЫБЕРИТЕ ФАЙЛ С ПРОШИВКОЙ...");
  EXPECT_EQ(view.setup.filter, "hex файлы|*.hex");
  EXPECT_EQ(line.BaudRate(), 115200U);
  EXPECT_EQ(link.OperationMode, omUpgrade);
  EXPECT_EQ(link.ResponseKind, rkUpgrade);
  EXPECT_EQ(link.ErrorCount, 0);
  EXPECT_EQ(link.BlockIndex, 0);
  EXPECT_EQ(link.ExpectedLength, 2);
  EXPECT_TRUE(progress1.visible);
  EXPECT_EQ(progress1.minimum, 0);
  EXPECT_EQ(progress1.maximum, 3 + 121);
  EXPECT_EQ(progress1.position, 1);
  EXPECT_EQ(view.addBoxHidden, 1);
  EXPECT_FALSE(memo1.visible);
  EXPECT_EQ(memo1.lines, (Lines{"TX :", "RX :"})) << "no transmit line for loader frames";
  EXPECT_TRUE(memo2.visible);
  EXPECT_EQ(memo2.lines, (Lines{"   : download firmware..."}));
  EXPECT_EQ(memo2.color, MemoColor::Blue);
  ASSERT_EQ(line.requests.size(), 1U);
  EXPECT_EQ(Describe(line.requests[0]), "page 0");
  EXPECT_TRUE(link.Timer_Rx->Enabled());
  // 1 s after the page has left the line at the loader's rate.
  EXPECT_EQ(link.Timer_Rx->Interval(), 1000U + LineTimeMs(line.requests[0].size(), kLoaderBaudRate));
}

TEST_F(FirmwareUpgradeTest, EachFrameKindWaitsItsOwnTimeOutForTwoBytes) {
  StartWithFile(61442 + 16);
  struct Stage {
    std::size_t framesWritten;
    const char* frame;
    uint32_t timeoutMs;
  };
  for (const Stage s : {Stage{1, "page 0", 1000}, Stage{120, "page 119", 1000}, Stage{121, "aux 0", 500},
                        Stage{122, "aux 127", 500}, Stage{123, "finish", 1000}}) {
    SCOPED_TRACE(s.frame);
    clock.RunUntil([&] { return line.requests.size() >= s.framesWritten; }, 60'000);
    ASSERT_EQ(line.requests.size(), s.framesWritten);
    EXPECT_EQ(Describe(line.requests.back()), s.frame);
    EXPECT_TRUE(link.Timer_Rx->Enabled());
    EXPECT_EQ(link.Timer_Rx->Interval(), s.timeoutMs + LineTimeMs(line.requests.back().size(), kLoaderBaudRate));
    EXPECT_EQ(link.ExpectedLength, 2);
    EXPECT_EQ(link.ResponseKind, rkUpgrade);
  }
  RunToEnd();
  EXPECT_EQ(memo1.lines, CompletionLines());
}

TEST_F(FirmwareUpgradeTest, WholeUpgradeInOrderEndsWithTheFourLinesAndThePortClosed) {
  struct Case {
    std::size_t size;
    int auxBlocks;
  };
  for (const Case c : {Case{61442, 0}, Case{61442 + 17, 2}, Case{61442 + 2048, 128}}) {
    SCOPED_TRACE(c.size);
    line.requests.clear();
    panel.EnterBootLoader();
    panel.loader().Reset();
    const std::size_t finished = panel.upgradesFinished();
    StartWithFile(c.size);
    clock.RunUntil([this] { return line.requests.size() >= 50; }, 60'000);
    EXPECT_EQ(progress1.position, 49) << "the bar follows the acknowledged frames";
    RunToEnd();
    EXPECT_EQ(Sent(), Expected(Blocks(c.auxBlocks)));
    EXPECT_EQ(line.requests.size(), static_cast<std::size_t>(122 + c.auxBlocks));
    EXPECT_EQ(progress1.maximum, c.auxBlocks + 121);
    EXPECT_EQ(progress1.position, c.auxBlocks + 121) << "the last position shown before completion";
    EXPECT_FALSE(progress1.visible);
    EXPECT_EQ(memo1.lines, CompletionLines());
    EXPECT_EQ(memo1.color, MemoColor::Blue);
    EXPECT_TRUE(memo1.visible);
    EXPECT_FALSE(memo2.visible);
    EXPECT_EQ(link.OperationMode, omIdle);
    EXPECT_EQ(link.ResponseKind, rkNone);
    EXPECT_EQ(link.RxCount, 0);
    EXPECT_FALSE(line.IsOpen());
    EXPECT_EQ(line.BaudRate(), 57600U) << "the menu's rate is put back";
    EXPECT_EQ(status.panels[2], "DEVICE : А = 247; Baud = 57600");
    // What the boot loader took is the file's images.
    EXPECT_EQ(panel.upgradesFinished(), finished + 1);
    const auto& images = upgrade.images();
    EXPECT_TRUE(std::equal(images.FirmwareImage.begin(), images.FirmwareImage.end(), panel.loader().firmware().begin()));
    EXPECT_TRUE(std::equal(images.AuxImage.begin(), images.AuxImage.end(), panel.loader().aux().begin()));
    EXPECT_EQ(panel.loader().CheckWord(), 0x1234);
    clock.AdvanceMs(2000);
    EXPECT_EQ(line.requests.size(), static_cast<std::size_t>(122 + c.auxBlocks)) << "nothing after completion";
  }
}

// A dropped, corrupted, swapped or single-byte acknowledgement is a failure: the same frame goes
// again and panel 2 counts; an acknowledgement sets the count back to 0.
TEST_F(FirmwareUpgradeTest, EveryKindOfBadAcknowledgementRepeatsTheSameFrame) {
  sim::FaultSpec swapped = sim::MakeFault(sim::Fault::Garbage);
  swapped.garbage = {0xA5};  // the read takes A5 07; the stray A5 is dropped before the repeat
  struct Case {
    const char* what;
    sim::FaultSpec fault;
  };
  for (const Case& c : {Case{"dropped", sim::MakeFault(sim::Fault::NoReply)}, Case{"corrupted", sim::MakeFault(sim::Fault::BadCrc)},
                        Case{"swapped", swapped}, Case{"single byte", sim::MakeFault(sim::Fault::Short)}}) {
    SCOPED_TRACE(c.what);
    line.requests.clear();
    status.panel2History.clear();
    for (int i = 0; i < 3; ++i) line.QueueFault(sim::Fault::None);  // pages 0, 1, 2
    for (int i = 0; i < 5; ++i) line.QueueFault(c.fault);            // page 3 five times
    StartWithFile(61442);
    clock.RunUntil([this] { return line.requests.size() >= 10; }, 60'000);
    ASSERT_EQ(Sent(), (std::vector<std::string>{"page 0", "page 1", "page 2", "page 3", "page 3", "page 3", "page 3",
                                                "page 3", "page 3", "page 4"}));
    EXPECT_EQ(status.panel2History, (std::vector<std::string>{"UPGRADE PROCESS : ОШИБКИ -> 01", "UPGRADE PROCESS : ОШИБКИ -> 02",
                                                              "UPGRADE PROCESS : ОШИБКИ -> 03", "UPGRADE PROCESS : ОШИБКИ -> 04",
                                                              "UPGRADE PROCESS : ОШИБКИ -> 05"}));
    EXPECT_EQ(link.ErrorCount, 0) << "the acknowledgement after five failures set the count back";
    EXPECT_EQ(link.OperationMode, omUpgrade);
    EXPECT_EQ(progress1.position, 4) << "the bar did not move on the repeats";
    RunToEnd();
    EXPECT_EQ(memo1.lines, CompletionLines());
    panel.EnterBootLoader();
  }
}

TEST_F(FirmwareUpgradeTest, SixthConsecutiveFailureAbandonsTheUpgrade) {
  for (int i = 0; i < 120; ++i) line.QueueFault(sim::Fault::None);
  for (int i = 0; i < 6; ++i) line.QueueFault(sim::Fault::NoReply);  // the first auxiliary block
  StartWithFile(61442 + 16);
  RunToEnd();
  std::vector<std::string> expected = Expected({});
  expected.resize(120);
  for (int i = 0; i < 6; ++i) expected.push_back("aux 0");
  EXPECT_EQ(Sent(), expected) << "a missing acknowledgement of an auxiliary block repeats that block";
  EXPECT_EQ(memo1.lines, GiveUpLines());
  EXPECT_TRUE(memo1.visible);
  EXPECT_FALSE(memo2.visible);
  EXPECT_FALSE(progress1.visible);
  EXPECT_EQ(link.OperationMode, omIdle);
  EXPECT_FALSE(line.IsOpen());
  EXPECT_EQ(status.panels[2], "DEVICE : А = 247; Baud = 57600");
  clock.AdvanceMs(5000);
  EXPECT_EQ(line.requests.size(), 126U);
}

TEST_F(FirmwareUpgradeTest, RefusedWhileAnyOperationRuns) {
  link.OperationMode = omMonitorPoll;
  StartWithFile(61442);
  EXPECT_EQ(view.dialogs, 0);
  EXPECT_TRUE(line.requests.empty());
  EXPECT_EQ(link.OperationMode, omMonitorPoll);
}

TEST_F(FirmwareUpgradeTest, CancelledDialogSendsNothingAndLeavesTheImagesErased) {
  StartWithFile(61442);
  RunToEnd();
  line.requests.clear();
  view.path.reset();
  upgrade.CustomItem13Click();
  EXPECT_EQ(view.dialogs, 2);
  EXPECT_TRUE(line.requests.empty());
  EXPECT_EQ(link.OperationMode, omIdle);
  const auto& images = upgrade.images();
  EXPECT_TRUE(std::all_of(images.FirmwareImage.begin(), images.FirmwareImage.end(), [](uint8_t b) { return b == 0xFF; }));
  EXPECT_TRUE(std::all_of(images.AuxImage.begin(), images.AuxImage.end(), [](uint8_t b) { return b == 0xFF; }));
}

TEST_F(FirmwareUpgradeTest, FileProblemsAreLoggedAndNothingIsSent) {
  struct Case {
    const char* what;
    std::optional<std::size_t> size;  // nothing: a file that is not there
    Lines lines;
  };
  const Lines wrongSize = {"   : download firmware...", "   : ОШИБКА: НЕВЕРНЫЙ РАЗМЕР ФАЙЛА."};
  for (const Case& c : {Case{"short", 61441, wrongSize}, Case{"long", 61442 + 2049, wrongSize},
                        Case{"missing", std::nullopt, {std::string("   : ERROR - ") + std::strerror(ENOENT) + "."}}}) {
    SCOPED_TRACE(c.what);
    memo2.visible = true;
    const int closed = view.addBoxClosed;
    if (c.size) {
      StartWithFile(*c.size);
    } else {
      view.path = ::testing::TempDir() + "not-there.hex";
      upgrade.CustomItem13Click();
    }
    EXPECT_EQ(memo1.lines, c.lines);
    EXPECT_EQ(memo1.color, MemoColor::Blue);
    EXPECT_EQ(view.addBoxClosed, closed + 1);
    EXPECT_TRUE(line.requests.empty());
    EXPECT_EQ(link.OperationMode, omIdle);
    EXPECT_EQ(line.BaudRate(), 57600U);
    if (!c.size) {
      EXPECT_FALSE(memo2.visible);
    }
  }
}

// A port that fails while any frame is sent stops the upgrade with the stop message; nothing is
// left armed, and the tool is not left in the upgrade mode.
TEST_F(FirmwareUpgradeTest, PortFailureStopsTheUpgradeAtEveryStage) {
  struct Case {
    const char* what;
    std::size_t sentBefore;  // frames written before the port fails
  };
  for (const Case c : {Case{"page 0", 0}, Case{"page 7", 7}, Case{"auxiliary block", 120}, Case{"block 127", 121},
                       Case{"finish", 122}}) {
    SCOPED_TRACE(c.what);
    line.requests.clear();
    line.failOpen = false;
    line.failWrite = false;
    line.Close();
    panel.EnterBootLoader();
    if (c.sentBefore == 0) line.failOpen = true;
    StartWithFile(61442 + 1);
    if (c.sentBefore > 0) {
      clock.RunUntil([&] { return line.requests.size() >= c.sentBefore; }, 60'000);
      line.failWrite = true;
      clock.RunUntil([this] { return link.OperationMode == omIdle; }, 5'000);
    }
    EXPECT_EQ(line.requests.size(), c.sentBefore);
    EXPECT_EQ(memo1.lines, (Lines{"   : firmware upgrade...", "   : ОСТАНОВЛЕНО - ОШИБКА ОТКРЫТИЯ ПОРТА SIM1"}));
    EXPECT_TRUE(memo1.visible);
    EXPECT_FALSE(memo2.visible);
    EXPECT_FALSE(progress1.visible);
    EXPECT_EQ(link.OperationMode, omIdle);
    EXPECT_FALSE(link.Timer_Rx->Enabled());
    EXPECT_FALSE(line.IsOpen());
    EXPECT_EQ(line.BaudRate(), 57600U) << "the menu's rate is put back";
    EXPECT_EQ(status.panels[2], "DEVICE : А = 247; Baud = 57600");
    clock.AdvanceMs(3000);
    EXPECT_EQ(line.requests.size(), c.sentBefore);
  }
}

}  // namespace
}  // namespace zelor::test
