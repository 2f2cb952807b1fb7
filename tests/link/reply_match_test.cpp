// A reply is taken only as the answer to its own request: the slave it was sent to, the request's
// function or its exception form. Anything else is dropped and the request waits on.
#include <gtest/gtest.h>

#include "link/crc16.h"
#include "link/format.h"
#include "link/frames.h"
#include "link/line_rates.h"
#include "link/registers.h"
#include "link/reply_match.h"
#include "link_fixture.h"

namespace zelor::test {
namespace {

using Lines = std::vector<std::string>;

std::vector<uint8_t> WithCrc(std::vector<uint8_t> frame) {
  const uint16_t crc = Crc16(frame.data(), static_cast<uint16_t>(frame.size()));
  frame.push_back(static_cast<uint8_t>(crc & 0xFF));
  frame.push_back(static_cast<uint8_t>(crc >> 8));
  return frame;
}

class ReplyMatchTest : public LinkFixture {
 protected:
  enum class Request { Read, Write, Clock };

  // Sends one request of the given kind to DeviceAddress; returns its function code and time-out,
  // which counts from the end of the request on the line.
  std::pair<uint8_t, int64_t> Send(Request r) {
    switch (r) {
      case Request::Read:
        link.SendReadRequest(reg::kTypeCode, 1);
        link.ResponseKind = ResponseKind::rkParameterBlock;
        return {fn::kReadHolding, 350 + LineTimeMs(8, line.BaudRate())};
      case Request::Write:
        link.SendWriteRequest(reg::kLcdContrast, 7);
        link.ResponseKind = ResponseKind::rkContrastWrite;
        return {fn::kWriteSingle, 350 + LineTimeMs(8, line.BaudRate())};
      case Request::Clock: {
        const std::vector<uint8_t> head = {link.DeviceAddress, fn::kWriteMultiple, 0, 7, 0, 6, 12};
        std::copy(head.begin(), head.end(), link.FrameBuffer.begin());
        std::fill(link.FrameBuffer.begin() + 7, link.FrameBuffer.begin() + 19, 1);
        const auto sealed = WithCrc(std::vector<uint8_t>(link.FrameBuffer.begin(), link.FrameBuffer.begin() + 19));
        std::copy(sealed.begin(), sealed.end(), link.FrameBuffer.begin());
        link.SendFrame(21, 2000);
        link.ExpectedLength = fn::kWriteReplyLength;
        link.ResponseKind = ResponseKind::rkParameterWrite;
        return {fn::kWriteMultiple, 2000 + LineTimeMs(21, line.BaudRate())};
      }
    }
    return {0, 0};
  }

  ReplyMatchTest() {
    for (auto kind : {ResponseKind::rkParameterBlock, ResponseKind::rkContrastWrite, ResponseKind::rkSearchProbe}) {
      link.RegisterHandler(kind, [this] { ++handled; });
    }
  }

  int handled = 0;
};

TEST_F(ReplyMatchTest, HeadOfTheRequestDecides) {
  const RequestHead read{5, fn::kReadHolding};
  const uint8_t answer[] = {5, 0x03}, exception[] = {5, 0x83}, otherSlave[] = {4, 0x03},
                otherFunction[] = {5, 0x06}, otherException[] = {5, 0x86}, broadcastEcho[] = {0, 0x03};
  EXPECT_TRUE(AnswersRequest(read, answer, 2));
  EXPECT_TRUE(AnswersRequest(read, exception, 2));
  EXPECT_FALSE(AnswersRequest(read, otherSlave, 2));
  EXPECT_FALSE(AnswersRequest(read, otherFunction, 2));
  EXPECT_FALSE(AnswersRequest(read, otherException, 2));
  EXPECT_FALSE(AnswersRequest(read, broadcastEcho, 2));
  EXPECT_FALSE(AnswersRequest(read, answer, 1)) << "one byte answers nothing";
}

// Every request meets its own exception reply and four frames that are not its answer.
TEST_F(ReplyMatchTest, ExceptionOfTheRequestIsHandledAndEveryOtherFrameIsDropped) {
  line.defaultFault = sim::MakeFault(sim::Fault::NoReply);
  const uint8_t a = link.DeviceAddress;
  for (Request r : {Request::Read, Request::Write, Request::Clock}) {
    struct Case {
      const char* what;
      std::vector<uint8_t> frame;  // without its CRC
      bool answer;
    };
    // What the request's function is not: a read meets a write's frames, the writes a read's.
    const uint8_t function = r == Request::Read ? fn::kReadHolding : r == Request::Write ? fn::kWriteSingle : fn::kWriteMultiple;
    const uint8_t other = r == Request::Read ? fn::kWriteSingle : fn::kReadHolding;
    const Case cases[] = {
        {"exception of the request", {a, static_cast<uint8_t>(function | fn::kExceptionFlag), 0x02}, true},
        {"exception from another slave", {uint8_t(a - 1), static_cast<uint8_t>(function | fn::kExceptionFlag), 0x02}, false},
        {"exception of another function", {a, static_cast<uint8_t>(other | fn::kExceptionFlag), 0x02}, false},
        {"reply of another function", {a, other, 0x02, 0x00, 0x0B}, false},
        {"reply from another slave", {uint8_t(a - 1), function, 0x02, 0x00, 0x0B}, false},
    };
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(c.what) + ", request function " + ByteToHex(function));
      handled = 0;
      const auto [sentFunction, timeoutMs] = Send(r);
      ASSERT_EQ(sentFunction, function);
      const Lines sent = memo1.lines;
      const int64_t sentAt = clock.NowMicros();
      const auto frame = WithCrc(c.frame);
      line.Inject(1000, frame);
      AwaitReceiveCycle();
      ASSERT_FALSE(link.Timer_Rx->Enabled());
      EXPECT_EQ(handled, 0);
      Lines expected(sent.begin(), sent.end() - 1);
      if (c.answer) {
        for (const auto& l : FormatRxLines(frame.data(), frame.size())) expected.push_back(l);
        expected.push_back("   : ОШИБКА.");
        EXPECT_LT(clock.NowMicros() - sentAt, 200'000) << "an answer ends the wait";
      } else {
        expected.push_back("RX :");
        expected.push_back("   : TIME OUT.");
        EXPECT_GE(clock.NowMicros() - sentAt, timeoutMs * 1000) << "the request waits to its time-out";
        EXPECT_LT(clock.NowMicros() - sentAt, timeoutMs * 1000 + 1000);
      }
      EXPECT_EQ(memo1.lines, expected);
      EXPECT_EQ(link.OperationMode, OperationMode::omIdle);
      EXPECT_FALSE(line.IsOpen());
    }
  }
}

TEST_F(ReplyMatchTest, RequestStillTakesItsOwnAnswerAfterAStrayFrame) {
  line.QueueFault(sim::MakeFault(sim::Fault::Delayed, 250'000));  // the echo comes after the stray frame
  Send(Request::Write);
  const Lines sent = memo1.lines;
  line.Inject(1000, WithCrc({link.DeviceAddress, fn::kReadHolding, 0x02, 0x00, 0x0B}));
  AwaitReceiveCycle();
  EXPECT_EQ(handled, 1);
  ASSERT_EQ(memo1.lines.size(), 3U);
  EXPECT_EQ(memo1.lines[0], sent[0]);
  EXPECT_EQ(memo1.lines[1], "RX : " + sent[0].substr(5)) << "the echo of the write, not the stray read reply";
  EXPECT_EQ(memo1.lines[2], "   : ОК.");
  EXPECT_EQ(panel.Register(reg::kLcdContrast), 7);
}

TEST_F(ReplyMatchTest, LoaderFramesTakeWhateverComes) {
  int hooked = 0;
  link.SetUpgradeReceiveHook([&] {
    if (link.RxCount != 2 || link.FrameBuffer[0] != reg::kLoaderAck0 || link.FrameBuffer[1] != reg::kLoaderAck1) return false;
    ++hooked;
    link.RxCount = 0;
    return true;
  });
  line.defaultFault = sim::MakeFault(sim::Fault::NoReply);
  auto sendLoaderFrame = [&] {
    std::fill(link.FrameBuffer.begin(), link.FrameBuffer.begin() + 8, 0x55);
    link.ExpectedLength = 2;
    link.SendLoaderFrame(8, 1000);
    link.ResponseKind = ResponseKind::rkUpgrade;
  };
  sendLoaderFrame();
  line.Inject(1000, {reg::kLoaderAck0, reg::kLoaderAck1});
  clock.AdvanceMs(10);
  EXPECT_EQ(hooked, 1) << "the acknowledgement goes to the upgrade hook";

  // A frame with a good CRC from any slave is the loader's business too: it is logged and
  // dispatched at once, as it was before replies were matched.
  link.Timer_Rx->SetEnabled(false);
  link.ExpectedLength = 7;
  link.SendLoaderFrame(8, 1000);
  const auto stray = WithCrc({0x01, fn::kReadHolding, 0x02, 0x00, 0x0B});
  line.Inject(1000, stray);
  clock.AdvanceMs(20);
  EXPECT_FALSE(link.Timer_Rx->Enabled());
  EXPECT_EQ(memo1.lines.back(), "   : ОК.");
  EXPECT_EQ(hooked, 1);
}

// During the search a late reply of the previous address would report the panel one address on.
TEST_F(ReplyMatchTest, ReplyFromAnotherAddressIsNotTheProbesAnswer) {
  struct Find {
    uint8_t probed, replied;
  };
  std::vector<Find> finds;
  link.RegisterHandler(ResponseKind::rkSearchProbe, [&] {
    finds.push_back({link.DeviceAddress, link.FrameBuffer[0]});
    link.OperationMode = OperationMode::omIdle;  // as the search's own handler does on a find
  });
  link.DeviceAddress = 0;
  link.SearchDelay = 100;

  // Nobody answers but address 4's late reply, which lands in probe 5's wait.
  line.defaultFault = sim::MakeFault(sim::Fault::NoReply);
  int ended = 0;
  link.SetAbandonSteps(FailureCode::fcSearch, [&] {
    ++ended;
    link.OperationMode = OperationMode::omIdle;
  });
  sequencer.Start(OperationMode::omSearch, Sequencer::kStartIntervalMs);
  ASSERT_TRUE(clock.RunUntil([&] { return line.requests.size() == 5; }, 10'000));
  const int64_t probe5At = clock.NowMicros();
  line.Inject(1000, WithCrc({4, fn::kReadHolding, 0x02, 0x00, 0x0B}));
  ASSERT_TRUE(clock.RunUntil([&] { return line.requests.size() == 6; }, 10'000));
  EXPECT_TRUE(finds.empty()) << "address 4's reply is not a panel at address 5";
  EXPECT_GE(clock.NowMicros() - probe5At, 100'000) << "probe 5 waited its full search delay";
  clock.RunUntil([&] { return link.OperationMode == OperationMode::omIdle && !link.Timer_Rx->Enabled(); }, 60'000);
  EXPECT_EQ(line.requests.size(), 247U);
  EXPECT_EQ(ended, 1);
  EXPECT_TRUE(finds.empty());

  // A panel at 5 that answers late still is found at 5, after address 4's reply is dropped.
  panel.set_address(5);
  line.defaultFault = {};
  line.requests.clear();
  link.DeviceAddress = 0;
  for (int i = 0; i < 4; ++i) line.QueueFault(sim::Fault::None);
  line.QueueFault(sim::MakeFault(sim::Fault::Delayed, 50'000));
  sequencer.Start(OperationMode::omSearch, Sequencer::kStartIntervalMs);
  ASSERT_TRUE(clock.RunUntil([&] { return line.requests.size() == 5; }, 10'000));
  line.Inject(1000, WithCrc({4, fn::kReadHolding, 0x02, 0x00, 0x0B}));
  clock.RunUntil([&] { return link.OperationMode == OperationMode::omIdle && !link.Timer_Rx->Enabled(); }, 10'000);
  ASSERT_EQ(finds.size(), 1U);
  EXPECT_EQ(finds[0].probed, 5);
  EXPECT_EQ(finds[0].replied, 5);
  EXPECT_EQ(line.requests.size(), 5U);
  EXPECT_EQ(memo1.lines, (Lines{"TX : 05 03 00 00 00 01 85 8E ", "RX : 05 03 02 00 0B 08 43 ", "   : ОК."}));
}

}  // namespace
}  // namespace zelor::test
