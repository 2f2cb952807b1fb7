#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <random>

#include "link/crc16.h"
#include "link/frames.h"
#include "link/registers.h"
#include "link_fixture.h"

namespace zelor::test {
namespace {

using Lines = std::vector<std::string>;

class EngineTest : public LinkFixture {};

TEST_F(EngineTest, RegisterZeroReadLogsThreeLinesAndClosesPort) {
  link.SendReadRequest(reg::kTypeCode, 1);
  EXPECT_EQ(memo1.color, MemoColor::Red);
  EXPECT_EQ(memo1.lines, (Lines{"TX : F7 03 00 00 00 01 90 9C ", "RX :"}));
  EXPECT_TRUE(line.IsOpen());
  AwaitReceiveCycle();
  EXPECT_EQ(memo1.lines, (Lines{"TX : F7 03 00 00 00 01 90 9C ", "RX : F7 03 02 00 0B 31 96 ", "   : ОК."}));
  EXPECT_EQ(memo1.color, MemoColor::Blue);
  EXPECT_FALSE(line.IsOpen());
  EXPECT_EQ(link.RxCount, 0);
  EXPECT_EQ(link.ResponseKind, ResponseKind::rkNone);
}

TEST_F(EngineTest, WriteEchoIsAcknowledged) {
  link.SendWriteRequest(reg::kLcdContrast, 200);
  AwaitReceiveCycle();
  ASSERT_EQ(memo1.lines.size(), 3U);
  EXPECT_EQ(memo1.lines[1], "RX : F7 06 00 11 00 C8 " + ByteToHex(line.requests[0][6]) + " " +
                                ByteToHex(line.requests[0][7]) + " ");
  EXPECT_EQ(memo1.lines[2], "   : ОК.");
  EXPECT_EQ(panel.Register(reg::kLcdContrast), 200);
}

TEST_F(EngineTest, TimeOutFollowsRateAndFunction) {
  struct Case {
    uint8_t baudIndex;
    bool write;
    int64_t timeoutMs;
  };
  const Case cases[] = {{0, false, 3000}, {1, false, 1500}, {2, false, 700}, {3, false, 350},
                        {7, false, 350},  {0, true, 350},   {2, true, 350}};
  line.defaultFault = sim::MakeFault(sim::Fault::NoReply);
  for (const auto& c : cases) {
    link.BaudIndex = c.baudIndex;
    const int64_t start = clock.NowMs();
    if (c.write) link.SendWriteRequest(reg::kSounderVolume, 3); else link.SendReadRequest(0, 1);
    // The 8-byte request is on the line for 2 ms at the PC's 57600 baud before the time-out starts.
    clock.AdvanceMs(c.timeoutMs + 2 - 1);
    EXPECT_EQ(memo1.lines.back(), "RX :") << int(c.baudIndex) << " write=" << c.write;
    clock.AdvanceMs(1);
    EXPECT_EQ(clock.NowMs() - start, c.timeoutMs + 2);
    EXPECT_EQ(memo1.lines.back(), "   : TIME OUT.") << int(c.baudIndex) << " write=" << c.write;
    EXPECT_EQ(memo1.lines.size(), 3U);
    EXPECT_FALSE(line.IsOpen());
  }
}

// Every time-out starts when the request has left the line: at 1200 baud an 8-byte request takes
// 67 ms and a 201-byte block 1675 ms, which the panel cannot use to answer.
TEST_F(EngineTest, TimeOutCountsFromTheEndOfTheRequestOnTheLine) {
  link.SetPcBaudIndex(0);
  ASSERT_EQ(line.BaudRate(), 1200U);
  line.defaultFault = sim::MakeFault(sim::Fault::NoReply);
  const std::array<uint8_t, reg::kConfigBlockBytes> block{};
  struct Case {
    const char* what;
    std::function<void()> send;
    int64_t deadlineMs;
  };
  const Case cases[] = {
      {"read", [&] { link.SendReadRequest(0, 1); }, 3000 + 67},
      {"write", [&] { link.SendWriteRequest(reg::kSounderVolume, 3); }, 350 + 67},
      {"search probe",
       [&] {
         link.OperationMode = OperationMode::omSearch;
         link.SendReadRequest(0, 1);
       },
       150 + 67},
      {"block write", [&] { link.SendFrame(BuildConfigBlockWrite(link, 0, block), 500); }, 500 + 1675},
      {"frame keeping the time-out", [&] { link.SendFrame(BuildConfigBlockWrite(link, 0, block), Link::kKeepTimeout); },
       500 + 1675},
      {"loader frame", [&] { link.SendLoaderFrame(100, 400); }, 400 + 834},
  };
  link.BaudIndex = 0;
  for (const auto& c : cases) {
    link.OperationMode = OperationMode::omIdle;
    link.Timer_Programm->SetEnabled(false);  // no next probe after the search's time-out
    link.SearchDelay = 150;
    const int64_t start = clock.NowMs();
    c.send();
    clock.AdvanceMs(c.deadlineMs - 1);
    EXPECT_TRUE(link.Timer_Rx->Enabled()) << c.what << ": gave up before the deadline";
    clock.AdvanceMs(1);
    EXPECT_FALSE(link.Timer_Rx->Enabled()) << c.what;
    EXPECT_EQ(clock.NowMs() - start, c.deadlineMs) << c.what;
  }

  // A panel that answers 30 ms after the probe is found at the default search delay: its 7-byte
  // answer is complete 67 + 30 + 59 ms after the write, past 150 ms but inside 150 + 67.
  line.defaultFault = {};
  line.timing.turnaroundMicros = 30'000;
  link.OperationMode = OperationMode::omSearch;
  link.SearchDelay = 150;
  link.SendReadRequest(0, 1);
  AwaitReceiveCycle();
  EXPECT_EQ(memo1.lines.back(), "   : ОК.");
  EXPECT_GT(line.lastArrivalMicros - line.requestMicros.back(), 150'000);
}

TEST_F(EngineTest, ExceptionReplyAndCrcErrorOfASingleRequest) {
  line.QueueFault(sim::Fault::Exception);
  link.SendWriteRequest(reg::kLcdContrast, 5);
  AwaitReceiveCycle();
  ASSERT_EQ(memo1.lines.size(), 3U);
  EXPECT_EQ(memo1.lines[1].substr(0, 11), "RX : F7 86 ");
  EXPECT_EQ(memo1.lines[2], "   : ОШИБКА.");

  line.QueueFault(sim::Fault::BadCrc);
  link.OperationMode = static_cast<OperationMode>(99);  // an unlisted mode counts as a single request and is reset
  link.SendReadRequest(0, 1);
  AwaitReceiveCycle();
  EXPECT_EQ(memo1.lines.back(), "   : CRC ERROR.");
  EXPECT_EQ(memo1.lines[1], "RX :") << "a corrupted reply is not logged";
  EXPECT_EQ(link.OperationMode, OperationMode::omIdle);
  EXPECT_FALSE(line.IsOpen());
}

TEST_F(EngineTest, PortThatCannotBeOpenedIsReportedWithoutTimeOut) {
  line.failOpen = true;
  line.SetPort("ttyUSB7");
  link.ControlsLocked = 1;  // as a parameter query sets it before sending
  EXPECT_FALSE(link.SendReadRequest(0, 1));
  EXPECT_EQ(link.ControlsLocked, 0) << "no receive cycle will unlock the controls";
  EXPECT_EQ(memo1.lines, (Lines{"TX : F7 03 00 00 00 01 90 9C ", "RX :", "   : ОШИБКА ОТКРЫТИЯ ПОРТА ttyUSB7"}));
  EXPECT_EQ(memo1.color, MemoColor::Blue);
  clock.AdvanceMs(5000);
  EXPECT_EQ(memo1.lines.size(), 3U) << "no receive cycle follows a failed send";
  EXPECT_FALSE(link.Timer_Rx->Enabled());
}

TEST_F(EngineTest, FailedWriteOfAReadClosesThePort) {
  line.failWrite = true;
  link.SendReadRequest(0, 1);
  EXPECT_FALSE(line.IsOpen());
  line.failWrite = false;
  link.SendWriteRequest(reg::kSounderVolume, 1);
  line.failWrite = true;
  link.SendWriteRequest(reg::kSounderVolume, 1);
  EXPECT_TRUE(line.IsOpen()) << "a failed single write leaves the port as it was";
  EXPECT_EQ(memo1.lines.back(), "   : ОШИБКА ОТКРЫТИЯ ПОРТА SIM1");
}

TEST_F(EngineTest, SlowLineAssemblesOneReplyAndShortRepliesEndBySilence) {
  for (uint16_t r = 0; r < 96; ++r) panel.SetRegister(r, r);
  line.timing.baud = 1200;
  link.BaudIndex = 0;
  int32_t handled = -1;
  int64_t handledAt = 0;
  link.RegisterHandler(ResponseKind::rkParameterBlock, [&] {
    handled = link.RxCount;
    handledAt = clock.NowMicros();
  });
  link.SendReadRequest(0, 96);
  link.ResponseKind = ResponseKind::rkParameterBlock;
  EXPECT_EQ(link.ExpectedLength, 197);
  AwaitReceiveCycle();
  EXPECT_EQ(handled, 197);
  EXPECT_EQ(handledAt, line.lastArrivalMicros + 5000) << "complete read, then 5 ms of quiet";
  EXPECT_EQ(memo1.lines.size(), 1U + 6U + 1U);  // TX, six RX lines (38 * 5 + 7), OK

  line.QueueFault(sim::Fault::Exception);
  link.SendReadRequest(0, 96);
  link.ResponseKind = ResponseKind::rkParameterBlock;
  handled = -1;
  AwaitReceiveCycle();
  EXPECT_EQ(handled, -1);
  EXPECT_EQ(memo1.lines.back(), "   : ОШИБКА.");
  EXPECT_EQ(clock.NowMicros(), line.lastArrivalMicros + 150000 + 5000);
}

TEST_F(EngineTest, GapsShorterThanTheReadLimitDoNotSplitAReply) {
  struct Case {
    int64_t gapMs;
    const char* last;
  };
  for (const Case c : {Case{16, "   : ОК."}, Case{149, "   : ОК."}, Case{200, "   : CRC ERROR."}}) {
    line.QueueFault(sim::MakeFault(sim::Fault::Split, 0, c.gapMs * 1000));
    link.SendReadRequest(0, 24);
    AwaitReceiveCycle();
    EXPECT_EQ(memo1.lines.back(), c.last) << "gap " << c.gapMs << " ms";
  }
}

TEST_F(EngineTest, SecondRequestReplacesTheFirst) {
  int parameterHandled = 0;
  int contrastHandled = 0;
  link.RegisterHandler(ResponseKind::rkParameterBlock, [&] { ++parameterHandled; });
  link.RegisterHandler(ResponseKind::rkContrastWrite, [&] { ++contrastHandled; });
  line.QueueFault(sim::Fault::NoReply);  // the panel has not started on the first one
  link.SendReadRequest(0, 24);
  link.ResponseKind = ResponseKind::rkParameterBlock;
  clock.AdvanceMicros(200);  // the first reply has not started yet
  link.SendWriteRequest(reg::kLcdContrast, 7);
  link.ResponseKind = ResponseKind::rkContrastWrite;
  EXPECT_EQ(link.ExpectedLength, 8);
  AwaitReceiveCycle();
  EXPECT_EQ(contrastHandled, 1);
  EXPECT_EQ(parameterHandled, 0);
}

TEST_F(EngineTest, LateReplyIsNeverTakenForTheNextAnswer) {
  // The first reply arrives after its 350 ms time-out; the next request must not see it.
  line.QueueFault(sim::MakeFault(sim::Fault::Delayed, 400'000));
  int handled = 0;
  link.RegisterHandler(ResponseKind::rkParameterBlock, [&] { ++handled; });
  link.SendReadRequest(0, 24);
  link.ResponseKind = ResponseKind::rkParameterBlock;
  clock.AdvanceMs(360);
  EXPECT_EQ(memo1.lines.back(), "   : TIME OUT.");
  clock.AdvanceMs(100);  // the late reply comes in on a closed port, or with nothing awaited
  EXPECT_EQ(memo1.lines.back(), "   : TIME OUT.");
  line.defaultFault = sim::MakeFault(sim::Fault::NoReply);
  int contrastHandled = 0;
  link.RegisterHandler(ResponseKind::rkContrastWrite, [&] { ++contrastHandled; });
  link.SendWriteRequest(reg::kLcdContrast, 9);
  link.ResponseKind = ResponseKind::rkContrastWrite;
  const Lines sent = memo1.lines;
  ASSERT_EQ(sent.size(), 2U);
  const int64_t sentAt = clock.NowMicros();
  line.Inject(1000, {0xF7, 0x03, 0x02, 0x00, 0x0B, 0x31, 0x96});  // stale bytes meet the write's read
  clock.AdvanceMs(200);
  EXPECT_TRUE(link.Timer_Rx->Enabled()) << "the write still waits for its echo";
  EXPECT_EQ(memo1.lines, sent) << "the read reply is neither logged nor acknowledged";
  AwaitReceiveCycle();
  EXPECT_EQ(handled, 0);
  EXPECT_EQ(contrastHandled, 0);
  EXPECT_EQ(memo1.lines, (Lines{sent[0], "RX :", "   : TIME OUT."})) << "no \"   : ОК.\" for the read reply";
  EXPECT_GE(clock.NowMicros() - sentAt, 352'000);  // 350 ms after the request's 2 ms on the line
  EXPECT_LT(clock.NowMicros() - sentAt, 353'000);
}

TEST_F(EngineTest, ApplyAcknowledgementEndsTheConfigurationWrite) {
  panel.SetRegister(reg::kConfigApply, 1);
  link.OperationMode = OperationMode::omConfigApply;
  memo2.visible = true;
  memo1.visible = false;
  progress1.visible = true;
  link.SendWriteRequest(reg::kConfigApply, 0);
  link.ResponseKind = ResponseKind::rkConfigApply;
  AwaitReceiveCycle();
  EXPECT_EQ(link.OperationMode, OperationMode::omIdle);
  EXPECT_EQ(memo1.lines, (Lines{"   : запись конфигурации пульта...", "   : ОК."}));
  EXPECT_TRUE(memo1.visible);
  EXPECT_FALSE(memo2.visible);
  EXPECT_FALSE(progress1.visible);
  EXPECT_EQ(status.panels[2], "DEVICE : А = 247; Baud = 57600");
  EXPECT_FALSE(link.Timer_Programm->Enabled());
}

TEST_F(EngineTest, ResponsesOfEveryLengthStayInsideTheBuffer) {
  std::mt19937 rng(20261210);
  std::uniform_int_distribution<int> byte(0, 255);
  for (int i = 0; i < 256 * 12; ++i) {
    const std::size_t length = static_cast<std::size_t>(i % 256);
    std::vector<uint8_t> bytes(length);
    for (auto& b : bytes) b = static_cast<uint8_t>(byte(rng));
    if (length >= 3 && i % 3 == 0) {  // every third a valid CRC, so the dispatcher sees it too
      AppendCrc16(bytes.data(), static_cast<uint16_t>(length - 2));
    }
    line.QueueFault(sim::Fault::NoReply);
    link.SendReadRequest(static_cast<uint16_t>(byte(rng)), static_cast<uint16_t>(byte(rng)));
    link.ResponseKind = static_cast<ResponseKind>(byte(rng));
    line.Inject(500, bytes);
    AwaitReceiveCycle();
    ASSERT_LE(link.RxCount, 255);
    ASSERT_FALSE(link.Timer_Rx->Enabled());
    link.OperationMode = OperationMode::omIdle;
  }
}

}  // namespace
}  // namespace zelor::test
