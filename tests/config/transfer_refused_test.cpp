// A panel that refuses a step of a configuration transfer with an exception reply refuses it again:
// the refusals count toward the transfer's error limit, and the transfer ends by its give-up with
// the exception named, instead of sending the step for ever.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "config/config_transfer.h"
#include "config_test_support.h"
#include "link/frames.h"
#include "link/link_texts.h"
#include "link/registers.h"
#include "link_fixture.h"
#include "model/config_model.h"

namespace zelor::test {
namespace {

using enum OperationMode;

class TransferRefusedTest : public LinkFixture {
 protected:
  // From the `from`-th request on, every request of `function` is refused (exception code 04).
  void RefuseFrom(std::size_t from, uint8_t function) {
    line.faultFor = [this, from, function](const std::vector<uint8_t>& request) {
      const bool refuse = line.requests.size() > from && request.size() > 1 && request[1] == function;
      return sim::MakeFault(refuse ? sim::Fault::Exception : sim::Fault::None);
    };
  }
  void ExpectGaveUp(const char* title, const char* counter, std::size_t requests) {
    ASSERT_TRUE(clock.RunUntil([&] { return link.OperationMode == omIdle && !link.Timer_Rx->Enabled(); }, 300'000))
        << "the refused step is still being sent";
    EXPECT_EQ(line.requests.size(), requests);
    EXPECT_EQ(memo1.lines, (std::vector<std::string>{title, "   : ОШИБКА -> Пульт отклонил запрос, исключение 04."}));
    EXPECT_NE(std::find(status.panel2History.begin(), status.panel2History.end(), std::string(counter) + "11"),
              status.panel2History.end());
    EXPECT_FALSE(progress1.visible);
    EXPECT_FALSE(line.IsOpen());
    clock.AdvanceMs(3000);
    EXPECT_EQ(line.requests.size(), requests) << "nothing is sent after the give-up";
  }

  ConfigModel model;
  testing::NoFiles view;
  ConfigTransfer transfer{link, sequencer, model, view};
};

TEST_F(TransferRefusedTest, AWriteRefusedAtTheApplyGivesUpAfterTheEleventhRefusal) {
  RefuseFrom(0, fn::kWriteSingle);
  transfer.Save_ButtAClick();
  ExpectGaveUp(text::kConfigWriting, text::kConfigWriteErrors, 68 + 11);  // the 68 blocks, then the apply 11 times
}

TEST_F(TransferRefusedTest, AReadRefusedMidwayGivesUpAfterTheEleventhRefusal) {
  RefuseFrom(30, fn::kReadHolding);
  transfer.Load_ButtAClick();
  ExpectGaveUp(text::kConfigReading, text::kConfigReadErrors, 30 + 11);
}

// A refusal between good answers is counted and then forgotten, as a lost reply is.
TEST_F(TransferRefusedTest, ARefusalBetweenGoodAnswersOnlyRepeatsTheStep) {
  for (int i = 0; i < 10; ++i) line.QueueFault(sim::Fault::Exception);
  transfer.Load_ButtAClick();
  ASSERT_TRUE(clock.RunUntil([&] { return link.OperationMode == omIdle && !link.Timer_Rx->Enabled(); }, 300'000));
  EXPECT_EQ(line.requests.size(), 10U + 68U);
  ASSERT_FALSE(memo1.lines.empty());
  EXPECT_EQ(memo1.lines.front(), text::kConfigReading);
  EXPECT_EQ(link.ErrorCount, 0);
}

}  // namespace
}  // namespace zelor::test
