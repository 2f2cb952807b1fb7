#include <gtest/gtest.h>

#include "link/format.h"
#include "link/frames.h"
#include "link/registers.h"
#include "link_fixture.h"

namespace zelor::test {
namespace {

using Lines = std::vector<std::string>;

class SequencerTest : public LinkFixture {
 protected:
  SequencerTest() {
    // Stand-ins for the operations that build their own frames.
    sequencer.SetFrameSender(OperationMode::omConfigWrite, [this] {
      auto& f = link.FrameBuffer;
      const uint8_t head[] = {link.DeviceAddress, 0x10, 0x00, 0x07, 0x00, 0x06, 12};
      std::copy(std::begin(head), std::end(head), f.begin());
      std::fill(f.begin() + 7, f.begin() + 19, 0);
      SealFrame(link, 19);
      link.SendFrame(21, 2000);
      link.ExpectedLength = 8;
    });
    sequencer.SetFrameSender(OperationMode::omUpgrade, [this] {
      std::fill(link.FrameBuffer.begin(), link.FrameBuffer.begin() + 6, 0);
      SealFrame(link, 6);
      link.SendLoaderFrame(8, 1000);
      link.ExpectedLength = 2;
    });
  }

  void RunUntilIdle(int64_t maxMs = 600'000) {
    clock.RunUntil([this] { return link.OperationMode == OperationMode::omIdle && !link.Timer_Rx->Enabled(); }, maxMs);
  }
};

TEST_F(SequencerTest, FailuresRepeatTheStepAndGiveUpAtTheLimit) {
  struct Case {
    OperationMode mode;
    const char* counter;
    int attempts;  // the attempt that gives up
    Lines lines;
  };
  const Case cases[] = {
      {OperationMode::omConfigRead, "ЧТЕНИЕ КОНФИГА : ОШИБКИ -> ", 11,
       {"   : чтение конфигурации пульта...", "   : ОШИБКА -> Нет ответа от пульта."}},
      {OperationMode::omConfigWrite, "ЗАПИСЬ КОНФИГА : ОШИБКИ -> ", 11,
       {"   : запись конфигурации пульта...", "   : ОШИБКА -> Нет ответа от пульта."}},
      {OperationMode::omConfigApply, "ЗАПИСЬ КОНФИГА : ОШИБКИ -> ", 11,
       {"   : запись конфигурации пульта...", "   : ОШИБКА -> Нет ответа от пульта."}},
      {OperationMode::omLast15Pointers, "ЧТЕНИЕ АРХИВА : ОШИБКИ -> ", 21,
       {"   : чтение архива событий...", "   : ОШИБКА -> Нет ответа от пульта."}},
      {OperationMode::omDownloadRecords, "ЧТЕНИЕ АРХИВА : ОШИБКИ -> ", 21,
       {"   : чтение архива событий...", "   : ОШИБКА -> Нет ответа от пульта."}},
      {OperationMode::omUpgrade, "UPGRADE PROCESS : ОШИБКИ -> ", 6,
       {"   : firmware upgrade...", "   : ERROR: Нет ответа от пульта.",
        "   : ? -> Перезапустить пульт в режиме загрузчика;", "   :   -> Проверить настройки COM порта;"}},
  };
  line.defaultFault = sim::MakeFault(sim::Fault::NoReply);
  for (const auto& c : cases) {
    SCOPED_TRACE(int(c.mode));
    line.requests.clear();
    status.panel2History.clear();
    link.ErrorCount = 0;
    int extraSteps = 0;
    const FailureCode code = c.mode == OperationMode::omConfigRead ? FailureCode::fcConfigRead
                         : (c.mode == OperationMode::omConfigWrite || c.mode == OperationMode::omConfigApply) ? FailureCode::fcConfigWrite
                         : c.mode == OperationMode::omLast15Pointers ? FailureCode::fcArchiveLast15
                         : c.mode == OperationMode::omDownloadRecords ? FailureCode::fcArchiveDownload : FailureCode::fcUpgrade;
    link.SetAbandonSteps(code, [&] {
      ++extraSteps;
      EXPECT_EQ(link.OperationMode, c.mode) << "extra steps run before the mode is reset";
    });
    memo2.visible = true;
    progress1.visible = true;
    sequencer.Start(c.mode, Sequencer::kStartIntervalMs);
    RunUntilIdle();
    ASSERT_EQ(static_cast<int>(line.requests.size()), c.attempts);
    for (const auto& r : line.requests) EXPECT_EQ(r, line.requests.front()) << "the same step is repeated";
    ASSERT_EQ(static_cast<int>(status.panel2History.size()), c.attempts + 1);  // counters, then the device line
    for (int i = 0; i < c.attempts; ++i) {
      EXPECT_EQ(status.panel2History[static_cast<std::size_t>(i)], c.counter + FormatZeroPadded(uint16_t(i + 1), 2));
    }
    EXPECT_EQ(status.panels[2], "DEVICE : А = 247; Baud = 57600");
    EXPECT_EQ(memo1.lines, c.lines);
    EXPECT_EQ(memo1.color, MemoColor::Blue);
    EXPECT_FALSE(memo2.visible);
    EXPECT_FALSE(progress1.visible);
    EXPECT_EQ(extraSteps, 1);
    EXPECT_FALSE(line.IsOpen());
    EXPECT_FALSE(link.Timer_Programm->Enabled());
  }
}

// A panel that refuses a step refuses it again: exception replies count like missing answers, so
// the transfers and the archive readers end by their give-up at the same limit instead of asking
// for ever, and the give-up names the exception. The search and the monitor go on.
TEST_F(SequencerTest, RefusedStepsCountLikeMissingAnswersAndGiveUpAtTheLimit) {
  struct Case {
    OperationMode mode;
    FailureCode code;
    int attempts;  // the attempt that gives up
    Lines lines;
  };
  const std::string refused = "   : ОШИБКА -> Пульт отклонил запрос, исключение 04.";
  const Case cases[] = {
      {OperationMode::omConfigRead, FailureCode::fcConfigRead, 11, {"   : чтение конфигурации пульта...", refused}},
      {OperationMode::omConfigWrite, FailureCode::fcConfigWrite, 11, {"   : запись конфигурации пульта...", refused}},
      {OperationMode::omConfigApply, FailureCode::fcConfigWrite, 11, {"   : запись конфигурации пульта...", refused}},
      {OperationMode::omLast15Count, FailureCode::fcArchiveLast15, 21, {"   : чтение архива событий...", refused}},
      {OperationMode::omDownloadPointers, FailureCode::fcArchiveDownload, 21, {"   : чтение архива событий...", refused}},
      {OperationMode::omDownloadRecords, FailureCode::fcArchiveDownload, 21, {"   : чтение архива событий...", refused}},
  };
  line.defaultFault = sim::MakeFault(sim::Fault::Exception);
  for (const auto& c : cases) {
    SCOPED_TRACE(int(c.mode));
    line.requests.clear();
    status.panel2History.clear();
    link.ErrorCount = 0;
    int extraSteps = 0;
    link.SetAbandonSteps(c.code, [&] { ++extraSteps; });
    sequencer.Start(c.mode, Sequencer::kStartIntervalMs);
    RunUntilIdle(60'000);
    ASSERT_EQ(link.OperationMode, OperationMode::omIdle) << "the refused step is still being asked";
    EXPECT_EQ(static_cast<int>(line.requests.size()), c.attempts);
    ASSERT_EQ(static_cast<int>(status.panel2History.size()), c.attempts + 1);  // counters, then the device line
    EXPECT_TRUE(status.panel2History[static_cast<std::size_t>(c.attempts) - 1].ends_with(
        FormatZeroPadded(uint16_t(c.attempts), 2)));
    EXPECT_EQ(memo1.lines, c.lines);
    EXPECT_EQ(extraSteps, 1);
    EXPECT_FALSE(line.IsOpen());
    EXPECT_FALSE(link.Timer_Programm->Enabled());
  }

  // Monitoring asks again at its pace and never gives up; nothing is counted.
  line.requests.clear();
  status.panel2History.clear();
  link.ErrorCount = 0;
  sequencer.Start(OperationMode::omMonitorPoll, Sequencer::kMonitorStartIntervalMs);
  ASSERT_TRUE(clock.RunUntil([&] { return line.requests.size() == 30; }, 60'000));
  AwaitReceiveCycle();
  EXPECT_EQ(link.OperationMode, OperationMode::omMonitorPoll);
  EXPECT_EQ(memo1.lines.back(), "   : ОШИБКА.");
  EXPECT_EQ(link.ErrorCount, 0);
  link.OperationMode = OperationMode::omIdle;
  AwaitReceiveCycle();

  // The search passes a refusing device over and probes the next address, until one is silent.
  link.SetAbandonSteps(FailureCode::fcSearch, [&] { link.OperationMode = OperationMode::omIdle; });
  panel.set_address(246);
  line.requests.clear();
  link.DeviceAddress = 244;
  sequencer.Start(OperationMode::omSearch, Sequencer::kStartIntervalMs);
  RunUntilIdle(60'000);
  ASSERT_EQ(line.requests.size(), 3U);
  EXPECT_EQ(line.requests[1][0], 246) << "the refusing panel";
  EXPECT_EQ(line.requests[2][0], 247) << "probed after the refusal";
  EXPECT_EQ(link.ErrorCount, 0);
}

// The port vanishes mid-way (adapter unplugged): the step that cannot be sent ends the operation
// by its give-up, with the port's error, instead of halting it for good; monitoring goes on.
TEST_F(SequencerTest, AStepThatCannotBeSentEndsTheOperation) {
  struct Case {
    OperationMode mode;
    FailureCode code;
    Lines lines;  // after the give-up; none: the log keeps the failed request and its error
  };
  const std::string portError = "   : ОШИБКА ОТКРЫТИЯ ПОРТА SIM1";
  const std::string stopped = "   : ОСТАНОВЛЕНО - ОШИБКА ОТКРЫТИЯ ПОРТА SIM1";
  const Case cases[] = {
      {OperationMode::omConfigRead, FailureCode::fcConfigRead, {"   : чтение конфигурации пульта...", stopped}},
      {OperationMode::omConfigWrite, FailureCode::fcConfigWrite, {"   : запись конфигурации пульта...", stopped}},
      {OperationMode::omConfigApply, FailureCode::fcConfigWrite, {"   : запись конфигурации пульта...", stopped}},
      {OperationMode::omLast15Record, FailureCode::fcArchiveLast15, {"   : чтение архива событий...", stopped}},
      {OperationMode::omDownloadRecords, FailureCode::fcArchiveDownload, {"   : чтение архива событий...", stopped}},
      {OperationMode::omUpgrade, FailureCode::fcUpgrade, {"   : firmware upgrade...", stopped}},
      {OperationMode::omSearch, FailureCode::fcSearch, {"TX : F7 03 00 00 00 01 90 9C ", "RX :", portError}},
  };
  line.failOpen = true;
  for (const auto& c : cases) {
    SCOPED_TRACE(int(c.mode));
    int extraSteps = 0;
    link.SetAbandonSteps(c.code, [&] { ++extraSteps; });
    link.DeviceAddress = c.mode == OperationMode::omSearch ? 246 : 247;
    sequencer.Start(c.mode, Sequencer::kStartIntervalMs);
    clock.AdvanceMs(5000);
    EXPECT_EQ(link.OperationMode, OperationMode::omIdle);
    EXPECT_EQ(extraSteps, 1);
    EXPECT_EQ(memo1.lines, c.lines);
    EXPECT_FALSE(line.IsOpen());
    EXPECT_FALSE(link.Timer_Programm->Enabled());
    EXPECT_TRUE(line.requests.empty());
  }
  link.DeviceAddress = 247;
  sequencer.Start(OperationMode::omMonitorPoll, Sequencer::kMonitorStartIntervalMs);
  clock.AdvanceMs(5000);
  EXPECT_EQ(link.OperationMode, OperationMode::omMonitorPoll) << "monitoring waits for the port";
  EXPECT_EQ(memo1.lines.back(), portError);
}

TEST_F(SequencerTest, SuccessResetsTheCount) {
  int successes = 0;
  link.RegisterHandler(ResponseKind::rkLast15Count, [&] {
    ++successes;
    link.ErrorCount = 0;  // as every success handler does
  });
  for (int i = 0; i < 20; ++i) line.QueueFault(sim::Fault::NoReply);
  line.QueueFault(sim::Fault::None);
  line.defaultFault = sim::MakeFault(sim::Fault::BadCrc);
  sequencer.Start(OperationMode::omLast15Count, Sequencer::kStartIntervalMs);
  RunUntilIdle();
  EXPECT_EQ(successes, 1);
  EXPECT_EQ(line.requests.size(), 20U + 1U + 21U);
  EXPECT_EQ(status.panel2History[20], "ЧТЕНИЕ АРХИВА : ОШИБКИ -> 01");
}

TEST_F(SequencerTest, MonitoringFailuresNeverGiveUp) {
  line.defaultFault = sim::MakeFault(sim::Fault::NoReply);
  sequencer.Start(OperationMode::omMonitorPoll, Sequencer::kMonitorStartIntervalMs);
  ASSERT_TRUE(clock.RunUntil([&] { return line.requests.size() == 30; }, 60'000));
  AwaitReceiveCycle();
  EXPECT_EQ(link.OperationMode, OperationMode::omMonitorPoll);
  EXPECT_EQ(memo1.lines.back(), "   : TIME OUT.");
  line.defaultFault = sim::MakeFault(sim::Fault::BadCrc);
  ASSERT_TRUE(clock.RunUntil([&] { return line.requests.size() == 31; }, 60'000));
  AwaitReceiveCycle();
  EXPECT_EQ(memo1.lines.back(), "   : CRC ERROR.");
  EXPECT_EQ(link.OperationMode, OperationMode::omMonitorPoll);
  EXPECT_EQ(link.ErrorCount, 0);
  EXPECT_TRUE(status.panel2History.empty());
}

TEST_F(SequencerTest, TickWithoutAnOperationSendsNothing) {
  for (auto mode : {OperationMode::omIdle, static_cast<OperationMode>(9), static_cast<OperationMode>(100)}) {
    link.OperationMode = mode;
    link.Timer_Programm->SetEnabled(true);
    clock.AdvanceMs(50);
    EXPECT_TRUE(line.requests.empty());
    EXPECT_FALSE(link.Timer_Programm->Enabled());
  }
}

TEST_F(SequencerTest, RequestsOfTheModeTable) {
  struct Case {
    OperationMode mode;
    uint16_t start, count;
    ResponseKind kind;
    uint8_t expected;
  };
  link.ArchiveAddress = 0x12000 + 8200;  // only the low 16 bits are sent
  link.MonitorAddress = 9000;
  link.BlockIndex = 6;
  const Case cases[] = {
      {OperationMode::omConfigRead, 0x0F06, 96, ResponseKind::rkConfigBlockRead, 197}, {OperationMode::omLast15Count, 6, 1, ResponseKind::rkLast15Count, 7},
      {OperationMode::omLast15Pointers, 9692, 2, ResponseKind::rkLast15Pointers, 9},   {OperationMode::omLast15Record, 8200 + 0x2000, 1, ResponseKind::rkLast15Record, 17},
      {OperationMode::omDownloadPointers, 9692, 2, ResponseKind::rkDownloadPointers, 9}, {OperationMode::omDownloadRecords, 8200 + 0x2000, 20, ResponseKind::rkDownloadRecords, 245},
      {OperationMode::omMonitorStart, 0, 23, ResponseKind::rkMonitorStart, 51},         {OperationMode::omMonitorPointer, 9692, 1, ResponseKind::rkMonitorPointer, 7},
      {OperationMode::omMonitorPoll, 9692, 1, ResponseKind::rkMonitorPoll, 7},          {OperationMode::omMonitorRecord, 9000, 1, ResponseKind::rkMonitorRecord, 17},
  };
  for (const auto& c : cases) {
    line.requests.clear();
    link.OperationMode = c.mode;
    sequencer.Timer_ProgrammTimer();
    ASSERT_EQ(line.requests.size(), 1U) << int(c.mode);
    const auto& r = line.requests[0];
    EXPECT_EQ(r[1], 0x03);
    EXPECT_EQ((r[2] << 8) | r[3], c.start) << int(c.mode);
    EXPECT_EQ((r[4] << 8) | r[5], c.count) << int(c.mode);
    EXPECT_EQ(link.ResponseKind, c.kind) << int(c.mode);
    EXPECT_EQ(link.ExpectedLength, c.expected) << int(c.mode);
    link.Timer_Rx->SetEnabled(false);
    link.ClosePort();
  }
}

TEST_F(SequencerTest, SearchProbesEveryAddressAtTheSearchDelay) {
  panel.set_address(5);
  link.DeviceAddress = 0;
  link.SearchDelay = 100;
  int64_t foundAt = -1;
  link.RegisterHandler(ResponseKind::rkSearchProbe, [&] {
    foundAt = clock.NowMs();
    link.OperationMode = OperationMode::omIdle;
  });
  sequencer.Start(OperationMode::omSearch, Sequencer::kStartIntervalMs);
  RunUntilIdle();
  EXPECT_EQ(link.DeviceAddress, 5);
  EXPECT_EQ(progress1.position, 5);
  EXPECT_EQ(line.requests.size(), 5U);
  // Each probe waits 100 ms after its 2 ms on the line.
  EXPECT_GE(foundAt, 4 * (100 + 2));
  EXPECT_LT(foundAt, 4 * (100 + 2) + 4 * 5 + 20);

  // Nobody there: all 247 addresses are tried, then the search's own ending runs once.
  line.defaultFault = sim::MakeFault(sim::Fault::NoReply);
  line.requests.clear();
  link.DeviceAddress = 0;
  int ended = 0;
  link.SetAbandonSteps(FailureCode::fcSearch, [&] {
    ++ended;
    link.OperationMode = OperationMode::omIdle;
  });
  sequencer.Start(OperationMode::omSearch, Sequencer::kStartIntervalMs);
  RunUntilIdle();
  EXPECT_EQ(line.requests.size(), 247U);
  EXPECT_EQ(line.requests.back()[0], 247);
  EXPECT_EQ(ended, 1);
}

TEST_F(SequencerTest, UserActionIsParkedAndTheOperationResumesAt500ms) {
  panel.SetRegister(reg::kArchiveNewest, 8200);
  std::vector<int64_t> pollHandled, writeHandled;
  link.RegisterHandler(ResponseKind::rkMonitorPoll, [&] {
    pollHandled.push_back(clock.NowMicros());
    link.Timer_Programm->SetInterval(600);  // as the monitor does while nothing is new
  });
  link.RegisterHandler(ResponseKind::rkContrastWrite, [&] { writeHandled.push_back(clock.NowMicros()); });
  std::function<void()> contrastAction = [&] {
    if (link.DeferIfBusy(contrastAction)) return;
    link.SendWriteRequest(reg::kLcdContrast, 150);
    link.ResponseKind = ResponseKind::rkContrastWrite;
  };
  sequencer.Start(OperationMode::omMonitorPoll, Sequencer::kMonitorStartIntervalMs);
  clock.AdvanceMs(250);
  ASSERT_EQ(line.requests.size(), 1U);
  ASSERT_TRUE(link.Timer_Rx->Enabled());
  contrastAction();
  EXPECT_EQ(link.WaitPending, 1);
  EXPECT_EQ(line.requests.size(), 1U) << "parked while the poll is pending";
  clock.AdvanceMs(2000);
  ASSERT_GE(pollHandled.size(), 2U);
  ASSERT_EQ(writeHandled.size(), 1U);
  ASSERT_GE(line.requests.size(), 4U);
  EXPECT_EQ(line.requests[1][1], 0x06);
  EXPECT_EQ(line.requestMicros[1] - pollHandled[0], 20'000) << "the parked write goes 20 ms after the poll";
  EXPECT_EQ(line.requestMicros[2] - writeHandled[0], 500'000) << "then the monitor resumes at 500 ms";
  EXPECT_EQ(line.requestMicros[3] - pollHandled[1], 600'000) << "and its own interval after that";
  EXPECT_EQ(link.OperationMode, OperationMode::omMonitorPoll);
}

TEST_F(SequencerTest, StopWhilePollPendingActsAfterTheResponse) {
  panel.SetRegister(reg::kArchiveNewest, 8200);
  std::function<void()> stop = [&] {
    if (link.DeferIfBusy(stop)) return;
    link.OperationMode = OperationMode::omIdle;
    link.Timer_Programm->SetEnabled(false);
  };
  sequencer.Start(OperationMode::omMonitorPoll, Sequencer::kMonitorStartIntervalMs);
  clock.AdvanceMs(251);
  ASSERT_TRUE(link.Timer_Rx->Enabled());
  stop();
  EXPECT_EQ(link.OperationMode, OperationMode::omMonitorPoll);
  clock.AdvanceMs(5000);
  EXPECT_EQ(link.OperationMode, OperationMode::omIdle);
  EXPECT_EQ(line.requests.size(), 1U) << "no request after the stop";
  EXPECT_EQ(memo1.lines.back(), "   : ОК.");
}

}  // namespace
}  // namespace zelor::test
