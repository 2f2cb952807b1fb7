// The table of line rates, the read time-out per rate, and the PC port's rate held by the link.
#include <gtest/gtest.h>

#include "link/format.h"
#include "link/line_rates.h"
#include "link_fixture.h"

namespace zelor::test {
namespace {

TEST(LineRates, EveryIndexHasItsRateTextAndReadTimeOut) {
  struct Case {
    int index;
    uint32_t rate;
    const char* text;
    uint32_t readTimeoutMs;
  };
  const Case cases[] = {{0, 1200, "1200", 3000},   {1, 2400, "2400", 1500},   {2, 4800, "4800", 700},
                        {3, 9600, "9600", 350},    {4, 14400, "14400", 350}, {5, 19200, "19200", 350},
                        {6, 38400, "38400", 350},  {7, 57600, "57600", 350}};
  for (const auto& c : cases) {
    EXPECT_EQ(BaudRateOf(c.index), c.rate) << c.index;
    EXPECT_EQ(BaudRateText(c.index), c.text) << c.index;
    EXPECT_EQ(ReadTimeoutMsFor(static_cast<uint8_t>(c.index)), c.readTimeoutMs) << c.index;
    EXPECT_EQ(BaudIndexOf(c.rate), static_cast<uint8_t>(c.index)) << c.index;
  }
}

TEST(LineRates, OutsideTheTable) {
  for (int bad : {-1, 8, 200, 255}) {
    EXPECT_EQ(BaudRateOf(bad), std::nullopt) << bad;
    EXPECT_EQ(BaudRateText(bad), "9600") << bad;
  }
  EXPECT_EQ(ReadTimeoutMsFor(8), 350U);
  EXPECT_EQ(ReadTimeoutMsFor(255), 350U);
  EXPECT_EQ(BaudIndexOf(kLoaderBaudRate), std::nullopt) << "the loader's rate is not a panel rate";
  EXPECT_EQ(BaudIndexOf(0), std::nullopt);
  EXPECT_EQ(ClampedBaudIndex(7), 7);
  EXPECT_EQ(ClampedBaudIndex(8), kFallbackBaudIndex);
}

class PcRateTest : public LinkFixture {};

TEST_F(PcRateTest, TheRefreshPutsTheChosenRateBackAndClampsBaudIndex) {
  link.SetPcBaudIndex(2);
  EXPECT_EQ(link.PcBaudIndex, 2);
  EXPECT_EQ(line.BaudRate(), 4800U);
  EXPECT_EQ(link.BaudIndex, kDefaultBaudIndex) << "the panel's rate is another matter";

  link.SetPcBaudIndex(8);  // outside the table: nothing changes
  EXPECT_EQ(link.PcBaudIndex, 2);
  EXPECT_EQ(line.BaudRate(), 4800U);

  line.SetBaudRate(kLoaderBaudRate);  // as an upgrade does
  link.BaudIndex = 200;               // as a speed echo outside 1..8 leaves it
  link.DeviceAddress = 5;
  link.UpdateStatusBar();
  EXPECT_EQ(line.BaudRate(), 4800U);
  EXPECT_EQ(link.BaudIndex, kFallbackBaudIndex);
  EXPECT_EQ(status.panels[2], "DEVICE : А = 005; Baud = 9600");
}

}  // namespace
}  // namespace zelor::test
