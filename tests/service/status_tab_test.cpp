// The "СТАТУС" tab in the real window, on the virtual clock against the in-process panel.
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <random>

#include "app/window_fixture.h"
#include "link/link_texts.h"
#include "link/registers.h"
#include "service/monitor.h"
#include "service/monitor_lines.h"
#include "service/monitor_texts.h"
#include "service/status_tab.h"

namespace zelor::test {
namespace {

using enum OperationMode;

const CivilTime kPanelStart{2018, 12, 13, 14, 5, 7};

class StatusTabTest : public WindowTest {
 protected:
  void SetUp() override {
    sim::PanelOptions o;
    const int64_t base = sim::MicrosFromCivil(kPanelStart);
    o.now = [base] { return base; };  // the panel's clock stands still
    panel = sim::Panel(o);
    CreateAndShow();
    tab = form->TeTabSheet1;
    memo = Find<QPlainTextEdit>("TeMemo3");
    button = Find<QPushButton>("TeButton2");
  }
  QStringList MemoLines() const { return memo->toPlainText().split('\n'); }
  // The record lines: those after the pointer line.
  QStringList RecordLines() const {
    const QStringList all = MemoLines();
    const auto at = all.indexOf(QString(monitor_text::kPointerTaken));
    return at < 0 ? QStringList{} : all.mid(at + 1);
  }
  uint16_t StartRegister(std::size_t i) const {
    return static_cast<uint16_t>(line->requests[i][2] << 8 | line->requests[i][3]);
  }
  void StartAndTakePointer() {
    button->click();
    ASSERT_TRUE(clock->RunUntil([this] { return form->link().OperationMode == omMonitorPoll; }, 5000));
  }
  // Until a poll request is on the line and its reply is awaited.
  void AwaitPollInFlight() {
    const std::size_t n = line->requests.size();
    ASSERT_TRUE(clock->RunUntil([&] { return line->requests.size() > n; }, 5000));
    ASSERT_EQ(StartRegister(line->requests.size() - 1), reg::kArchiveNewest);
    ASSERT_TRUE(form->link().Timer_Rx->Enabled());
  }
  QString Expected(uint16_t address) const {
    return QString::fromStdString(MonitorRecordLine(panel.archive().At(address).data()));
  }
  sim::EventRecord Record(uint16_t zone) const { return sim::MakeRecord(zone, 4, 8, 0, kPanelStart); }

  StatusTab* tab = nullptr;
  QPlainTextEdit* memo = nullptr;
  QPushButton* button = nullptr;
};

TEST_F(StatusTabTest, SummaryShowsTheIntegralStateLinesInOrder) {
  const struct {
    uint16_t state;
    QStringList lines;
  } cases[] = {
      {0x0C, {"                         -ОХРАННАЯ ТРЕВОГА", "                         -ПОЖАРНАЯ ТРЕВОГА",
              "                         -НЕИСПРАВНОСТЬ"}},
      {0x01, {"                         -НОРМА"}},
  };
  panel.SetRegister(reg::kPollingTime, 200);
  for (const auto& c : cases) {
    panel.SetRegister(reg::kIntegralState, c.state);
    StartAndTakePointer();
    const QStringList lines = MemoLines();
    ASSERT_EQ(lines.size(), 8 + c.lines.size());
    EXPECT_TRUE(lines[0].endsWith("  -ЗАПУСК МОНИТОРИНГА ПРИБОРА <ЗЕЛОР-ПУИ>"));
    EXPECT_EQ(lines[1], "14:05:07  13.12.2018   -ВРЕМЯ В ПРИБОРЕ <ЗЕЛОР-ПУИ>");
    EXPECT_EQ(lines[3], "                       -ИНТЕГРАЛЬНОЕ СОСТОЯНИЕ ПРИБОРОВ В СЕТИ НА МОМЕНТ ЗАПУСКА:");
    EXPECT_EQ(lines.mid(4, c.lines.size()), c.lines);
    EXPECT_EQ(lines[lines.size() - 2], "                       -ВРЕМЯ ОПРОСА ПРИБОРОВ - 0.125с.");
    EXPECT_EQ(lines.back(), "\\\\_");
    EXPECT_EQ(memo->palette().color(QPalette::Text), QColor(0, 0, 255));
    EXPECT_EQ(button->text(), "СТОП");
    button->click();
    clock->AdvanceMs(1000);
    EXPECT_EQ(button->text(), "ЗАПУСК МОНИТОРА");
  }
}

TEST_F(StatusTabTest, AStatusBlockOfAnotherDeviceIsIgnoredAndAskedAgain) {
  panel.SetRegister(reg::kTypeCode, 10);
  button->click();
  ASSERT_TRUE(clock->RunUntil([this] { return line->requests.size() == 3; }, 5000));
  for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(StartRegister(i), reg::kTypeCode);
  EXPECT_EQ(memo->toPlainText(), "");
  EXPECT_EQ(form->link().OperationMode, omMonitorStart);
  panel.SetRegister(reg::kTypeCode, 11);
  ASSERT_TRUE(clock->RunUntil([this] { return form->link().OperationMode == omMonitorPoll; }, 5000));
  EXPECT_EQ(MemoLines().back(), "\\\\_");
}

TEST_F(StatusTabTest, FromTheLastRingAddressTheNextRecordsAreTheFirstTwo) {
  panel.archive().Clear();
  for (int i = 0; i < reg::kArchiveCapacity; ++i) panel.AddEvent(Record(1));
  StartAndTakePointer();
  ASSERT_EQ(form->link().MonitorAddress, 9691);
  panel.AddEvent(Record(2));
  panel.AddEvent(Record(3));
  const std::size_t from = line->requests.size();
  ASSERT_TRUE(clock->RunUntil([this] { return RecordLines().size() == 2; }, 5000));
  std::vector<uint16_t> reads;
  for (std::size_t i = from; i < line->requests.size(); ++i) {
    if (StartRegister(i) != reg::kArchiveNewest) reads.push_back(StartRegister(i));
  }
  EXPECT_EQ(reads, (std::vector<uint16_t>{8192, 8193}));
  EXPECT_EQ(RecordLines(), (QStringList{Expected(8192), Expected(8193)}));
}

TEST_F(StatusTabTest, ThreeNewRecordsGiveThreeLinesInArchiveOrder100MsApart) {
  StartAndTakePointer();
  AwaitPollInFlight();
  const uint16_t first = panel.archive().Newest();
  for (uint16_t zone : {7, 8, 9}) panel.AddEvent(Record(zone));
  // The poll in flight was answered when it was written: the next poll, 600 ms on, sees them.
  const std::size_t from = line->requests.size();
  ASSERT_TRUE(clock->RunUntil([this] { return RecordLines().size() == 3; }, 5000));
  EXPECT_EQ(RecordLines(), (QStringList{Expected(first + 1), Expected(first + 2), Expected(first + 3)}));
  EXPECT_EQ(StartRegister(from), reg::kArchiveNewest);
  // Record reads and polls then alternate, each request 100 ms after the previous reply was handled.
  ASSERT_GE(line->requests.size(), from + 6);
  for (std::size_t i = from + 1; i < from + 6; ++i) {
    const int64_t gap = line->requestMicros[i] - line->requestMicros[i - 1];
    EXPECT_GE(gap, 100'000) << i;
    EXPECT_LT(gap, 115'000) << i;
    const std::size_t k = i - from - 1;
    EXPECT_EQ(StartRegister(i), k % 2 == 0 ? first + 1 + k / 2 : reg::kArchiveNewest) << i;
  }
  clock->AdvanceMs(2000);
  EXPECT_EQ(RecordLines().size(), 3);
  EXPECT_EQ(form->link().Timer_Programm->Interval(), LiveMonitor::kIdlePollIntervalMs);
}

TEST_F(StatusTabTest, StopWaitsForThePollInFlightThenSendsNothingAndARestartShowsOnlyNewRecords) {
  StartAndTakePointer();
  AwaitPollInFlight();
  const std::size_t sent = line->requests.size();
  button->click();
  EXPECT_EQ(button->text(), "СТОП") << "parked until the poll's reply has been handled";
  clock->AdvanceMs(60'000);
  EXPECT_EQ(line->requests.size(), sent);
  EXPECT_EQ(button->text(), "ЗАПУСК МОНИТОРА");
  EXPECT_EQ(form->link().OperationMode, omIdle);
  EXPECT_EQ(form->TeMemo1->Lines().back(), "   : ОК.");
  const QStringList stopped = MemoLines();

  for (uint16_t zone : {7, 8}) panel.AddEvent(Record(zone));  // written while stopped
  button->click();
  ASSERT_TRUE(clock->RunUntil([this] { return form->link().OperationMode == omMonitorPointer; }, 5000));
  EXPECT_EQ(MemoLines().size(), 8) << "the new summary replaced the earlier lines";
  EXPECT_NE(MemoLines(), stopped);
  ASSERT_TRUE(clock->RunUntil([this] { return form->link().OperationMode == omMonitorPoll; }, 5000));
  panel.AddEvent(Record(9));
  ASSERT_TRUE(clock->RunUntil([this] { return RecordLines().size() == 1; }, 5000));
  EXPECT_EQ(RecordLines(), QStringList{Expected(panel.archive().Newest())});
  clock->AdvanceMs(3000);
  EXPECT_EQ(RecordLines().size(), 1);
}

TEST_F(StatusTabTest, AParameterWriteGoesOutRightAfterThePendingReplyThenMonitoringResumesAt500) {
  StartAndTakePointer();
  AwaitPollInFlight();
  const std::size_t poll = line->requests.size() - 1;
  form->Sound_Butt->click();
  EXPECT_EQ(line->requests.size(), poll + 1) << "parked while the poll's reply is awaited";
  ASSERT_TRUE(clock->RunUntil([&] { return line->requests.size() > poll + 1; }, 5000));
  EXPECT_EQ(line->requests[poll + 1][1], fn::kWriteSingle);
  EXPECT_EQ(StartRegister(poll + 1), reg::kSilenceSound);
  const int64_t writeAt = line->requestMicros[poll + 1];
  EXPECT_GE(writeAt - line->lastArrivalMicros, 25'000 - 1);  // 5 ms quiet, then 20 ms
  EXPECT_LT(writeAt - line->lastArrivalMicros, 30'000);
  ASSERT_TRUE(clock->RunUntil([&] { return line->requests.size() > poll + 2; }, 5000));
  EXPECT_EQ(panel.soundSilenced(), 1U);
  EXPECT_EQ(StartRegister(poll + 2), reg::kArchiveNewest) << "monitoring goes on where it was";
  const int64_t resumeGap = line->requestMicros[poll + 2] - line->requestMicros[poll + 1];
  EXPECT_GE(resumeGap, 500'000);
  EXPECT_LT(resumeGap, 515'000);
  ASSERT_TRUE(clock->RunUntil([&] { return line->requests.size() > poll + 3; }, 5000));
  const int64_t nextGap = line->requestMicros[poll + 3] - line->requestMicros[poll + 2];
  EXPECT_GE(nextGap, 600'000) << "the poll's handler set 600 ms again";
  EXPECT_LT(nextGap, 615'000);
}

TEST_F(StatusTabTest, ATimeOutIsLoggedAndTheSameStepIsSentAgain) {
  StartAndTakePointer();
  line->QueueFault(sim::Fault::NoReply);
  AwaitPollInFlight();
  const std::size_t failed = line->requests.size() - 1;
  ASSERT_TRUE(clock->RunUntil([this] { return !form->link().Timer_Rx->Enabled(); }, 5000));
  EXPECT_EQ(form->TeMemo1->Lines().back(), "   : TIME OUT.");
  EXPECT_EQ(form->link().OperationMode, omMonitorPoll);
  ASSERT_TRUE(clock->RunUntil([&] { return line->requests.size() > failed + 1; }, 5000));
  EXPECT_EQ(line->requests[failed + 1], line->requests[failed]);
  EXPECT_EQ(button->text(), "СТОП");
}

TEST_F(StatusTabTest, AnHourWithOneReplyInTenDroppedNeverStopsOrStalls) {
  std::mt19937 random(11);
  std::bernoulli_distribution drop(0.1);
  for (int i = 0; i < 20'000; ++i) line->QueueFault(drop(random) ? sim::Fault::NoReply : sim::Fault::None);
  StartAndTakePointer();
  const uint16_t start = form->link().MonitorAddress;
  // An event every 7 s of the hour, some of them in bursts of three.
  int written = 0;
  for (int64_t t = 7'000; t < 3'600'000; t += 7'000) {
    clock->AdvanceMs(7'000);
    const int burst = (t / 7'000) % 5 == 0 ? 3 : 1;
    for (int b = 0; b < burst; ++b, ++written) panel.AddEvent(Record(static_cast<uint16_t>(written % 500)));
  }
  ASSERT_TRUE(clock->RunUntil([&] { return RecordLines().size() == written; }, 60'000)) << RecordLines().size();
  QStringList expected;
  uint16_t a = start;
  for (int i = 0; i < written; ++i) {
    a = a >= reg::kArchiveLast ? reg::kArchiveFirst : static_cast<uint16_t>(a + 1);
    expected << Expected(a);
  }
  EXPECT_EQ(RecordLines(), expected);
  EXPECT_EQ(button->text(), "СТОП");
  EXPECT_NE(form->link().OperationMode, omIdle);
  const std::size_t sent = line->requests.size();
  clock->AdvanceMs(5'000);
  EXPECT_GT(line->requests.size(), sent + 5) << "still polling";
}

TEST_F(StatusTabTest, TheMemoKeepsTheNewestLinesUpToItsBound) {
  EXPECT_EQ(memo->maximumBlockCount(), static_cast<int>(kMonitorMemoLineLimit));
  for (std::size_t i = 0; i < kMonitorMemoLineLimit + 5; ++i) tab->AddLine(std::to_string(i));
  EXPECT_EQ(memo->blockCount(), static_cast<int>(kMonitorMemoLineLimit));
  EXPECT_EQ(memo->document()->firstBlock().text(), "5");
  EXPECT_EQ(memo->document()->lastBlock().text(), QString::number(kMonitorMemoLineLimit + 4));
}

}  // namespace
}  // namespace zelor::test
