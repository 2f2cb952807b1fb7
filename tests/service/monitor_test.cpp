// The live monitor's logic on the virtual clock against the in-process panel, and its lines.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "link/crc16.h"
#include "link/link_texts.h"
#include "link/registers.h"
#include "link_fixture.h"
#include "service/monitor.h"
#include "service/monitor_lines.h"
#include "service/monitor_texts.h"

namespace zelor::test {
namespace {

using enum OperationMode;

class FakeMonitorView : public MonitorView {
 public:
  void ClearMemo() override {
    lines.clear();
    ++clears;
  }
  void SetMemoBlue() override { blue = true; }
  void AddLine(const std::string& line) override { lines.push_back(line); }
  std::string ButtonCaption() const override { return caption; }
  void SetButtonCaption(const std::string& c) override { caption = c; }

  std::vector<std::string> lines{"an earlier run"};
  std::string caption = monitor_text::kStart;
  bool blue = false;
  int clears = 0;
};

// 2018-12-13 14:05:07 on the panel when the virtual clock stands at 0.
const CivilTime kPanelStart{2018, 12, 13, 14, 5, 7};
const CivilTime kPcTime{2019, 2, 3, 9, 5, 7};

sim::PanelOptions PanelOn(VirtualClock& clock) {
  sim::PanelOptions o;
  const int64_t base = sim::MicrosFromCivil(kPanelStart);
  o.now = [&clock, base] { return base + clock.NowMicros(); };
  return o;
}

uint16_t StartRegister(const std::vector<uint8_t>& request) {
  return static_cast<uint16_t>(request[2] << 8 | request[3]);
}

class LiveMonitorTest : public LinkFixture {
 protected:
  LiveMonitorTest() { panel = sim::Panel(PanelOn(clock)); }

  // Until the pointer has been taken and polling runs.
  void StartAndTakePointer() {
    monitor.TeButton2Click();
    ASSERT_TRUE(clock.RunUntil([this] { return link.OperationMode == omMonitorPoll; }, 5000));
  }
  std::vector<std::string> RecordLinesAfterPointer() const {
    std::vector<std::string> out;
    bool after = false;
    for (const auto& l : view.lines) {
      if (after) out.push_back(l);
      if (l == monitor_text::kPointerTaken) after = true;
    }
    return out;
  }

  FakeMonitorView view;
  LiveMonitor monitor{link, sequencer, view, [] { return kPcTime; }};
};

TEST_F(LiveMonitorTest, StartSummaryThenPointerLine) {
  panel.SetRegister(reg::kIntegralState, 0x0C);
  panel.SetRegister(reg::kRecordCount, 37);
  panel.SetRegister(reg::kPollingTime, 200);
  monitor.TeButton2Click();
  EXPECT_EQ(view.caption, "СТОП");
  EXPECT_TRUE(monitor.Running());
  EXPECT_TRUE(line.requests.empty()) << "the first step goes out at the first tick";
  clock.AdvanceMs(249);
  EXPECT_TRUE(line.requests.empty());
  clock.AdvanceMs(1);
  ASSERT_EQ(line.requests.size(), 1U);
  EXPECT_EQ(line.requests[0], (std::vector<uint8_t>{0xF7, 0x03, 0x00, 0x00, 0x00, 0x17, 0x11, 0x52}));
  ASSERT_TRUE(clock.RunUntil([this] { return link.OperationMode == omMonitorPoll; }, 5000));
  EXPECT_TRUE(view.blue);
  EXPECT_EQ(view.clears, 1);
  const std::vector<std::string> expected = {
      "09:05:07  03.02.2019   -ЗАПУСК МОНИТОРИНГА ПРИБОРА <ЗЕЛОР-ПУИ>",
      "14:05:07  13.12.2018   -ВРЕМЯ В ПРИБОРЕ <ЗЕЛОР-ПУИ>",
      "",
      "                       -ИНТЕГРАЛЬНОЕ СОСТОЯНИЕ ПРИБОРОВ В СЕТИ НА МОМЕНТ ЗАПУСКА:",
      "                         -ОХРАННАЯ ТРЕВОГА",
      "                         -ПОЖАРНАЯ ТРЕВОГА",
      "                         -НЕИСПРАВНОСТЬ",
      "",
      "                       -ЗАПИСЕЙ В АРХИВЕ НА МОМЕНТ ЗАПУСКА - 0037",
      "                       -ВРЕМЯ ОПРОСА ПРИБОРОВ - 0.125с.",
      "\\\\_",
  };
  EXPECT_EQ(view.lines, expected);
  EXPECT_EQ(link.MonitorAddress, panel.archive().Newest());
  EXPECT_EQ(link.Timer_Programm->Interval(), LiveMonitor::kIdlePollIntervalMs);
}

TEST(MonitorLines, IntegralStateLinesInTheirOrder) {
  const struct {
    uint8_t state;
    std::vector<std::string> lines;
  } cases[] = {
      {0x01, {"                         -НОРМА"}},
      {0x00, {"                         -НЕИСПРАВНОСТЬ"}},
      {0x0C, {"                         -ОХРАННАЯ ТРЕВОГА", "                         -ПОЖАРНАЯ ТРЕВОГА",
              "                         -НЕИСПРАВНОСТЬ"}},
      {0xFF, {"                         -ОХРАННАЯ ТРЕВОГА", "                         -ПОЖАРНАЯ ТРЕВОГА",
              "                         -ВНИМАНИЕ", "                         -НОРМА"}},
      {0x02, {"                         -ВНИМАНИЕ", "                         -НЕИСПРАВНОСТЬ"}},
  };
  for (const auto& c : cases) EXPECT_EQ(IntegralStateLines(c.state), c.lines) << int{c.state};
}

TEST(MonitorLines, PollingTimeHasThreeDecimalsAndAPoint) {
  const std::pair<uint16_t, const char*> cases[] = {
      {200, "0.125"}, {0, "0.000"}, {1600, "1.000"}, {1, "0.001"}, {65535, "40.959"}};
  for (const auto& [units, text] : cases) EXPECT_EQ(PollingTimeText(units), text) << units;
}

TEST(MonitorLines, StampKeepsItsTrailingBlankAndWritesWideValuesInFull) {
  EXPECT_EQ(MonitorStamp({2018, 12, 3, 9, 5, 7}), "09:05:07  03.12.2018 ");
  EXPECT_EQ(MonitorStamp({2255, 255, 255, 255, 255, 255}), "255:255:255  255.255.2255 ");
}

// A status-block reply of this panel, with the CRC.
std::vector<uint8_t> StatusBlock(uint8_t typeLow, uint8_t byteCount = 46) {
  std::vector<uint8_t> r{0xF7, 0x03, byteCount};
  r.resize(3 + 46, 0);
  r[4] = typeLow;
  r[4 + 2 * 3] = 0x01;
  r[4 + 2 * 10] = 1;
  r[4 + 2 * 11] = 1;
  r.resize(r.size() + 2);
  AppendCrc16(r.data(), static_cast<uint16_t>(r.size() - 2));
  return r;
}

TEST(MonitorLines, OnlyAWholeStatusBlockOfThisPanelGivesASummary) {
  const auto good = StatusBlock(11);
  EXPECT_TRUE(StartSummaryLines(good.data(), good.size(), kPcTime));
  const auto other = StatusBlock(10);
  EXPECT_FALSE(StartSummaryLines(other.data(), other.size(), kPcTime)) << "register 0 low byte 10";
  const auto count = StatusBlock(11, 44);
  EXPECT_FALSE(StartSummaryLines(count.data(), count.size(), kPcTime)) << "byte count 44";
  EXPECT_FALSE(StartSummaryLines(good.data(), good.size() - 1, kPcTime)) << "a reply cut short";
}

TEST(MonitorLines, RecordLinePiecesAndWidths) {
  const struct {
    sim::EventRecord record;
    const char* line;
  } cases[] = {
      {sim::MakeRecord(12, 4, 0, 2500, {2018, 12, 13, 14, 5, 7}),
       "14:05:07  13.12.2018   :0012    НОРМА            --> ПОЖАР            "},
      {sim::MakeRecord(1001, 4, 0, 150, {2018, 12, 3, 9, 5, 7}),
       " 9:05:07   3.12.2018   :П001    НОРМА            --> ПОЖАР  L= 0150м"},
      {sim::MakeRecord(1000, 254, 84, 0, {2019, 2, 3, 23, 59, 0}),
       "23:59:00   3.02.2019   :ПУЛЬТ                    --> ВКЛЮЧЕНИЕ        "},
      {sim::MakeRecord(700, 13, 14, 0, {2019, 2, 3, 0, 0, 9}),
       " 0:00:09   3.02.2019   :?       ?                --> --?              "},
      {sim::ErasedRecord(),
       "255:255:255  255.255.20255   :?                        --> ЗАПИСЬ ПОВРЕЖДЕНА"},
  };
  for (const auto& c : cases) EXPECT_EQ(MonitorRecordLine(c.record.data()), c.line);
}

TEST_F(LiveMonitorTest, WrapsFromTheLastRingAddressToTheFirst) {
  panel.archive().Clear();
  for (int i = 0; i < reg::kArchiveCapacity; ++i) panel.AddEvent(sim::MakeRecord(1, 4, 3, 0, kPanelStart));
  ASSERT_EQ(panel.archive().Newest(), reg::kArchiveLast);
  StartAndTakePointer();
  EXPECT_EQ(link.MonitorAddress, 9691);
  panel.AddEvent(sim::MakeRecord(2, 4, 8, 0, kPanelStart));
  panel.AddEvent(sim::MakeRecord(3, 4, 7, 0, kPanelStart));
  ASSERT_EQ(panel.archive().Newest(), 8193);
  const std::size_t before = line.requests.size();
  ASSERT_TRUE(clock.RunUntil([this] { return RecordLinesAfterPointer().size() == 2; }, 5000));
  std::vector<uint16_t> recordReads;
  for (std::size_t i = before; i < line.requests.size(); ++i) {
    if (StartRegister(line.requests[i]) != reg::kArchiveNewest) recordReads.push_back(StartRegister(line.requests[i]));
  }
  EXPECT_EQ(recordReads, (std::vector<uint16_t>{8192, 8193}));
  EXPECT_EQ(RecordLinesAfterPointer()[0].substr(23, 9), ":0002    ");
  EXPECT_EQ(RecordLinesAfterPointer()[1].substr(23, 9), ":0003    ");
}

TEST_F(LiveMonitorTest, AShortRecordReplyIsNotRenderedAndTheRecordIsAskedAgain) {
  StartAndTakePointer();
  panel.AddEvent(sim::MakeRecord(12, 4, 0, 2500, kPanelStart));
  ASSERT_TRUE(clock.RunUntil([this] { return link.OperationMode == omMonitorRecord; }, 5000));
  const uint16_t address = link.MonitorAddress;
  line.QueueFault(sim::Fault::NoReply);
  const std::size_t before = line.requests.size();
  ASSERT_TRUE(clock.RunUntil([&] { return line.requests.size() > before; }, 5000));
  ASSERT_EQ(StartRegister(line.requests.back()), address);
  // A good CRC but only one register's worth of bytes: the buffer's tail is an earlier reply's.
  std::vector<uint8_t> shortReply{0xF7, 0x03, 0x02, 0x20, 0x5B, 0, 0};
  AppendCrc16(shortReply.data(), 5);
  line.Inject(2000, shortReply);
  AwaitReceiveCycle();
  EXPECT_EQ(memo1.lines.back(), text::kOk);
  EXPECT_TRUE(RecordLinesAfterPointer().empty());
  EXPECT_EQ(link.OperationMode, omMonitorRecord);
  ASSERT_TRUE(clock.RunUntil([this] { return !RecordLinesAfterPointer().empty(); }, 5000));
  EXPECT_EQ(StartRegister(line.requests.back()), address) << "the same record, asked again";
  EXPECT_EQ(RecordLinesAfterPointer(),
            std::vector<std::string>{"14:05:07  13.12.2018   :0012    НОРМА            --> ПОЖАР            "});
}

// A reply that missed its time-out is taken for the next request of the same shape: MODBUS
// replies carry nothing to tell them apart. These stand in for such late replies.
std::vector<uint8_t> PointerReply(uint16_t pointer) {
  std::vector<uint8_t> r{0xF7, 0x03, 0x02, static_cast<uint8_t>(pointer >> 8), static_cast<uint8_t>(pointer), 0, 0};
  AppendCrc16(r.data(), 5);
  return r;
}
std::vector<uint8_t> RecordReply(const sim::EventRecord& record) {
  std::vector<uint8_t> r(17, 0);
  r[0] = 0xF7;
  r[1] = 0x03;
  r[2] = 0x0C;
  std::copy(record.begin(), record.end(), r.begin() + 3);
  AppendCrc16(r.data(), 15);
  return r;
}

TEST_F(LiveMonitorTest, ALatePointerBehindTheRecordsShownIsNotFollowedUntilThePanelConfirmsIt) {
  StartAndTakePointer();
  const uint16_t start = link.MonitorAddress;
  panel.AddEvent(sim::MakeRecord(1, 4, 0, 0, kPanelStart));
  panel.AddEvent(sim::MakeRecord(2, 4, 0, 0, kPanelStart));
  ASSERT_TRUE(clock.RunUntil([this] { return RecordLinesAfterPointer().size() == 2; }, 5000));
  // The late answer of a poll sent before the two records were fetched.
  ASSERT_TRUE(clock.RunUntil([this] { return link.OperationMode == omMonitorPoll && link.Timer_Rx->Enabled(); }, 5000));
  line.Inject(0, PointerReply(start));
  clock.AdvanceMs(5000);
  EXPECT_EQ(RecordLinesAfterPointer().size(), 2U) << "no record past the panel's newest, which would be its oldest";
  EXPECT_EQ(link.MonitorAddress, start + 2);

  // The panel's pointer really went back: after three polls that say so, the monitor goes on
  // from it, reading no record.
  panel.SetRegister(reg::kArchiveNewest, start);
  const std::size_t before = line.requests.size();
  ASSERT_TRUE(clock.RunUntil([&] { return link.MonitorAddress == start; }, 5000));
  EXPECT_EQ(line.requests.size() - before, 3U) << "three polls";
  clock.AdvanceMs(3000);
  for (std::size_t i = before; i < line.requests.size(); ++i) EXPECT_EQ(StartRegister(line.requests[i]), reg::kArchiveNewest);
  EXPECT_EQ(RecordLinesAfterPointer().size(), 3U) << "the two records and the pointer taken anew";
}

// The panel's archive reset (a panel started again with an empty archive): once the pointer that
// went back is confirmed, monitoring goes on from the panel's newest record, as a fresh start,
// and shows the new events, not the erased records from the last one shown on.
TEST_F(LiveMonitorTest, AfterTheArchiveIsResetOnlyNewEventsAreShown) {
  StartAndTakePointer();
  ASSERT_GT(link.MonitorAddress, reg::kArchiveFirst + 50) << "an archive with records";
  const sim::EventRecord first = sim::MakeRecord(12, 4, 8, 0, kPanelStart);
  panel.AddEvent(first);
  ASSERT_TRUE(clock.RunUntil([this] { return RecordLinesAfterPointer().size() == 1; }, 5000));
  panel.archive().Clear();
  clock.AdvanceMs(5000);
  EXPECT_EQ(link.MonitorAddress, reg::kArchiveFirst);
  // An empty archive's pointer is the address its first record takes, so that record leaves the
  // pointer where it was; it is not seen, as after a fresh start on an empty archive.
  panel.AddEvent(sim::MakeRecord(5, 4, 8, 0, kPanelStart));
  const sim::EventRecord second = sim::MakeRecord(3, 4, 0, 120, kPanelStart);
  const sim::EventRecord third = sim::MakeRecord(1000, 4, 7, 0, kPanelStart);
  panel.AddEvent(second);
  clock.AdvanceMs(2000);
  panel.AddEvent(third);
  clock.AdvanceMs(10'000);
  EXPECT_EQ(RecordLinesAfterPointer(),
            (std::vector<std::string>{MonitorRecordLine(first.data()), monitor_text::kPointerTaken,
                                      MonitorRecordLine(second.data()), MonitorRecordLine(third.data())}));
  EXPECT_EQ(link.MonitorAddress, panel.archive().Newest());
  EXPECT_EQ(view.caption, monitor_text::kStop);
}

TEST_F(LiveMonitorTest, ALateRecordRepeatingOneShownIsAskedAgainAndARealRepeatStillShown) {
  StartAndTakePointer();
  const sim::EventRecord first = sim::MakeRecord(1, 4, 0, 0, kPanelStart);
  const sim::EventRecord second = sim::MakeRecord(2, 4, 0, 0, kPanelStart);
  panel.AddEvent(first);
  ASSERT_TRUE(clock.RunUntil([this] { return RecordLinesAfterPointer().size() == 1; }, 5000));
  panel.AddEvent(second);
  ASSERT_TRUE(clock.RunUntil([this] { return link.OperationMode == omMonitorRecord && link.Timer_Rx->Enabled(); }, 5000));
  const uint16_t address = link.MonitorAddress;
  line.Inject(0, RecordReply(first));  // the late answer of the first record's read
  ASSERT_TRUE(clock.RunUntil([this] { return RecordLinesAfterPointer().size() == 2; }, 5000));
  EXPECT_EQ(RecordLinesAfterPointer()[1], MonitorRecordLine(second.data()));
  EXPECT_EQ(link.MonitorAddress, address);
  // The panel writes the same record twice: the second is asked once more, then shown.
  panel.AddEvent(second);
  ASSERT_TRUE(clock.RunUntil([this] { return RecordLinesAfterPointer().size() == 3; }, 5000));
  EXPECT_EQ(RecordLinesAfterPointer()[2], MonitorRecordLine(second.data()));
}

TEST_F(LiveMonitorTest, APointerOutsideTheRingIsAskedAgain) {
  panel.SetRegister(reg::kArchiveNewest, 5);
  monitor.TeButton2Click();
  ASSERT_TRUE(clock.RunUntil([this] { return link.OperationMode == omMonitorPointer; }, 5000));
  clock.AdvanceMs(3000);
  EXPECT_EQ(link.OperationMode, omMonitorPointer);
  EXPECT_EQ(StartRegister(line.requests.back()), reg::kArchiveNewest);
  panel.SetRegister(reg::kArchiveNewest, 8300);
  ASSERT_TRUE(clock.RunUntil([this] { return link.OperationMode == omMonitorPoll; }, 5000));
  EXPECT_EQ(link.MonitorAddress, 8300);
}

TEST_F(LiveMonitorTest, AStepThePortCouldNotSendIsSentAgainOnceThePortIsBack) {
  StartAndTakePointer();
  line.failOpen = true;
  ASSERT_TRUE(clock.RunUntil([this] { return memo1.lines.back() == text::kPortOpenError + line.PortName(); }, 5000));
  clock.AdvanceMs(5000);
  EXPECT_EQ(link.OperationMode, omMonitorPoll);
  EXPECT_EQ(memo1.lines.back(), text::kPortOpenError + line.PortName());
  line.failOpen = false;
  panel.AddEvent(sim::MakeRecord(12, 4, 8, 0, kPanelStart));
  ASSERT_TRUE(clock.RunUntil([this] { return RecordLinesAfterPointer().size() == 1; }, 3000))
      << "monitoring resumes by itself";
  monitor.TeButton2Click();
  const std::size_t sent = line.requests.size();
  clock.AdvanceMs(10'000);
  EXPECT_EQ(line.requests.size(), sent) << "a stopped monitor is not resumed";
}

TEST_F(LiveMonitorTest, AnotherOperationRunningIgnoresTheButton) {
  link.OperationMode = omConfigRead;
  monitor.TeButton2Click();
  EXPECT_EQ(view.caption, monitor_text::kStart);
  EXPECT_EQ(link.OperationMode, omConfigRead);
}

}  // namespace
}  // namespace zelor::test
