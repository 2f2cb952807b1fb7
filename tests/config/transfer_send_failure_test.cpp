// A configuration transfer whose request cannot be sent (the adapter pulled out) stops with the
// port's error, instead of waiting forever with every other operation refused. Found by
// receive_fuzz: the read, the block writes and the apply each halted in their mode.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "config/config_transfer.h"
#include "config_test_support.h"
#include "link/link_texts.h"
#include "link_fixture.h"
#include "model/config_model.h"

namespace zelor::test {
namespace {

using enum OperationMode;

struct SendFailureCase {
  const char* name;
  bool write;
  std::size_t sentBefore;  // requests that leave before the port fails (68 blocks, then the apply)
};

class TransferSendFailure : public LinkFixture, public ::testing::WithParamInterface<SendFailureCase> {
 protected:
  ConfigModel model;
  testing::NoFiles view;
  ConfigTransfer transfer{link, sequencer, model, view};
};

TEST_P(TransferSendFailure, StopsWithThePortErrorAndSendsNothingMore) {
  const SendFailureCase& c = GetParam();
  if (c.sentBefore == 0) line.failOpen = true;
  c.write ? transfer.Save_ButtAClick() : transfer.Load_ButtAClick();
  if (c.sentBefore > 0) {
    ASSERT_TRUE(clock.RunUntil([&] { return line.requests.size() >= c.sentBefore; }, 120'000));
    line.failWrite = true;
  }
  ASSERT_TRUE(clock.RunUntil([&] { return link.OperationMode == omIdle; }, 10'000)) << "the transfer halted";
  EXPECT_EQ(line.requests.size(), c.sentBefore);
  EXPECT_EQ(memo1.lines, (std::vector<std::string>{c.write ? text::kConfigWriting : text::kConfigReading,
                                                   std::string(text::kStoppedPortError) + "SIM1"}));
  EXPECT_TRUE(memo1.visible);
  EXPECT_FALSE(memo2.visible);
  EXPECT_FALSE(progress1.visible);
  EXPECT_EQ(link.ResponseKind, ResponseKind::rkNone);
  EXPECT_FALSE(line.IsOpen());
  clock.AdvanceMs(3000);
  EXPECT_EQ(line.requests.size(), c.sentBefore);
  EXPECT_FALSE(link.Timer_Rx->Enabled());
  EXPECT_FALSE(link.Timer_Programm->Enabled());
}

INSTANTIATE_TEST_SUITE_P(Cases, TransferSendFailure,
                         ::testing::Values(SendFailureCase{"ReadFirstBlock", false, 0},
                                           SendFailureCase{"ReadBlock30", false, 30},
                                           SendFailureCase{"WriteFirstBlock", true, 0},
                                           SendFailureCase{"WriteLastBlock", true, 67},
                                           SendFailureCase{"Apply", true, 68}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zelor::test
