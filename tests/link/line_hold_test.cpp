// The engine's hold on the line: a running operation keeps it while the port is closed between its
// steps, a single request only while the port is open, and every end of an operation lets it go.
// A line that another program holds refuses the send with that program named in the log.
#include <gtest/gtest.h>

#include "link/link_texts.h"
#include "link/registers.h"
#include "link_fixture.h"

namespace zelor::test {
namespace {

using enum OperationMode;
using Lines = std::vector<std::string>;

class LineHoldTest : public LinkFixture {};

TEST_F(LineHoldTest, AnOperationHoldsTheLineBetweenItsStepsAndLetsGoAtItsEnd) {
  // A single request: not held, and the port closed after the answer.
  link.SendReadRequest(reg::kTypeCode, 1);
  EXPECT_FALSE(line.held);
  AwaitReceiveCycle();
  EXPECT_FALSE(line.IsOpen());
  EXPECT_FALSE(line.held);

  // Monitoring closes the port after every poll and keeps the line.
  sequencer.Start(omMonitorPoll, Sequencer::kMonitorStartIntervalMs);
  ASSERT_TRUE(clock.RunUntil([&] { return line.requests.size() == 4; }, 10'000));
  AwaitReceiveCycle();
  EXPECT_FALSE(line.IsOpen());
  EXPECT_TRUE(line.held) << "closed between polls, still this program's";
  link.OperationMode = omIdle;  // the monitor's stop
  link.ClosePort();
  EXPECT_FALSE(line.held);

  // An operation that ends by its give-up lets go as well.
  line.defaultFault = sim::MakeFault(sim::Fault::NoReply);
  sequencer.Start(omDownloadRecords, Sequencer::kStartIntervalMs);
  ASSERT_TRUE(clock.RunUntil([&] { return line.requests.size() == 8; }, 60'000));
  EXPECT_TRUE(line.held);
  ASSERT_TRUE(clock.RunUntil([&] { return link.OperationMode == omIdle && !link.Timer_Rx->Enabled(); }, 60'000));
  EXPECT_FALSE(line.held);
  EXPECT_FALSE(line.IsOpen());

  // An operation ended by its handler, inside the receive cycle, with the port still open.
  line.defaultFault = {};
  link.RegisterHandler(ResponseKind::rkLast15Count, [&] { link.OperationMode = omIdle; });
  sequencer.Start(omLast15Count, Sequencer::kStartIntervalMs);
  ASSERT_TRUE(clock.RunUntil([&] { return link.OperationMode == omIdle && !link.Timer_Rx->Enabled(); }, 10'000));
  EXPECT_FALSE(line.held);
}

TEST_F(LineHoldTest, ALineHeldByAnotherProgramIsReportedWithItsHolder) {
  const std::string holder = "SIM1 is in use by another program (process 4242)";
  line.heldBy = holder;
  link.SendWriteRequest(reg::kLcdContrast, 5);
  EXPECT_EQ(memo1.lines.back(), std::string(text::kPortOpenError) + "SIM1 (" + holder + ")");
  EXPECT_TRUE(line.requests.empty());

  sequencer.Start(omConfigRead, Sequencer::kStartIntervalMs);
  clock.AdvanceMs(1000);
  EXPECT_EQ(link.OperationMode, omIdle);
  EXPECT_EQ(memo1.lines, (Lines{text::kConfigReading, std::string(text::kStoppedPortError) + "SIM1 (" + holder + ")"}));
  EXPECT_FALSE(line.held);

  // Any other failure to open says nothing of a holder.
  line.heldBy.clear();
  line.failOpen = true;
  link.SendWriteRequest(reg::kLcdContrast, 5);
  EXPECT_EQ(memo1.lines.back(), std::string(text::kPortOpenError) + "SIM1");
}

}  // namespace
}  // namespace zelor::test
