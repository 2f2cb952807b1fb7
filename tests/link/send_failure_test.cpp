// A request the line never takes (a stalled adapter): reported later as a send failure, and the
// request then ends by its time-out as one that found no panel.
#include "link/link_texts.h"
#include "link/sequencer.h"
#include "link/registers.h"
#include "link_fixture.h"

namespace zelor::test {
namespace {

class SendFailureTest : public LinkFixture {};

TEST_F(SendFailureTest, AStalledReadIsLoggedAsASendFailureThenTimesOut) {
  line.stallWrite = true;
  ASSERT_TRUE(link.SendReadRequest(0, 1)) << "the write itself returns at once";
  ASSERT_TRUE(line.IsOpen());
  clock.AdvanceMicros(line.stallMicros - 1);
  EXPECT_EQ(memo1.lines.back(), "RX :") << "nothing before the deadline";
  clock.AdvanceMicros(1);
  EXPECT_FALSE(line.IsOpen());
  EXPECT_EQ(memo1.lines.back(), "   : ОШИБКА ОТКРЫТИЯ ПОРТА SIM1");
  EXPECT_EQ(memo1.color, MemoColor::Blue);
  EXPECT_TRUE(link.Timer_Rx->Enabled()) << "the request still waits for its time-out";
  AwaitReceiveCycle();
  EXPECT_EQ(memo1.lines.back(), text::kTimeOut);
  EXPECT_EQ(line.requests.size(), 0U) << "nothing reached the panel";

  // The next request opens the port again and is answered.
  line.stallWrite = false;
  ASSERT_TRUE(link.SendReadRequest(0, 1));
  AwaitReceiveCycle();
  EXPECT_EQ(line.requests.size(), 1U);
  EXPECT_EQ(memo1.lines.back(), "   : ОК.");
}

TEST_F(SendFailureTest, AFailureAfterTheLinkIsGoneIsNotDelivered) {
  auto other = std::make_unique<Link>(clock, line, LinkSurfaces{memo1, memo2, status, progress1});
  other.reset();  // the port forgets the handler of a destroyed link
  line.stallWrite = true;
  line.Open();
  const uint8_t request[] = {0xF7, 0x03, 0x00, 0x00, 0x00, 0x01, 0x90, 0x9C};
  line.Write(request, 8);
  const std::size_t before = memo1.lines.size();
  clock.AdvanceMicros(line.stallMicros);
  EXPECT_FALSE(line.IsOpen());
  EXPECT_EQ(memo1.lines.size(), before);
}

// Found by receive_fuzz: a user's request let through between an operation's steps stopped the
// operation's timer and, when it could not be sent, no receive cycle started it again: the
// operation (an upgrade, a download) halted for good.
TEST_F(SendFailureTest, AUserRequestThatCannotBeSentBetweenStepsLetsTheOperationGoOn) {
  sequencer.Start(OperationMode::omMonitorPointer, Sequencer::kStartIntervalMs);
  ASSERT_TRUE(clock.RunUntil([this] { return line.requests.size() == 1 && !link.Timer_Rx->Enabled(); }, 5000));
  line.failWrite = true;
  auto volume = [this] { link.SendWriteRequest(reg::kSounderVolume, 1); };
  ASSERT_FALSE(link.DeferIfBusy(volume)) << "between steps the request goes out at once";
  volume();
  EXPECT_EQ(memo1.lines.back(), "   : ОШИБКА ОТКРЫТИЯ ПОРТА SIM1");
  line.failWrite = false;
  ASSERT_TRUE(clock.RunUntil([this] { return line.requests.size() == 2; }, 5000)) << "the operation halted";
  EXPECT_EQ(link.OperationMode, OperationMode::omMonitorPointer);
  link.OperationMode = OperationMode::omIdle;
}

// The same for a request parked behind a pending reply, and for a parked action that in the end
// sends nothing.
TEST_F(SendFailureTest, AParkedUserActionThatSendsNothingLetsTheOperationGoOn) {
  for (const bool sends : {true, false}) {
    SCOPED_TRACE(sends ? "the write cannot be sent" : "nothing to send");
    sequencer.Start(OperationMode::omMonitorPointer, Sequencer::kStartIntervalMs);
    const std::size_t before = line.requests.size();
    ASSERT_TRUE(clock.RunUntil([&] { return line.requests.size() == before + 1 && link.Timer_Rx->Enabled(); }, 5000));
    std::function<void()> action = [&] {
      if (link.DeferIfBusy(action)) return;
      if (sends) link.SendWriteRequest(reg::kSounderVolume, 1);
    };
    action();
    ASSERT_EQ(link.WaitPending, 1) << "parked behind the pending reply";
    line.failWrite = true;
    AwaitReceiveCycle();
    ASSERT_TRUE(clock.RunUntil([&] { return link.WaitPending == 0; }, 1000));
    line.failWrite = false;
    ASSERT_TRUE(clock.RunUntil([&] { return line.requests.size() == before + 2; }, 5000)) << "the operation halted";
    AwaitReceiveCycle();
    link.OperationMode = OperationMode::omIdle;
    clock.AdvanceMs(1000);
  }
}

}  // namespace
}  // namespace zelor::test
