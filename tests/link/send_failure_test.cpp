// A request the line never takes (a stalled adapter): reported later as a send failure, and the
// request then ends by its time-out as one that found no panel.
#include "link/link_texts.h"
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

}  // namespace
}  // namespace zelor::test
