// The panel's registers 0..25 through the link engine: identity, parameter blocks, checked
// writes, the address and speed taking effect after the echo, and the ticking clock.
#include <gtest/gtest.h>

#include "sim_rig.h"

namespace zelor::test {
namespace {

using Bytes = std::vector<uint8_t>;

TEST(PanelRegisters, TypeCodeAnswersAsTheWorkedExample) {
  SimRig rig;
  const auto e = rig.Read(reg::kTypeCode, 1);
  EXPECT_EQ(e.reply, (Bytes{0xF7, 0x03, 0x02, 0x00, 0x0B, 0x31, 0x96}));
  EXPECT_EQ(e.outcome, "   : ОК.");
}

TEST(PanelRegisters, ParameterAndMonitorBlocksHaveTheirByteCounts) {
  SimRig rig;
  const auto block = rig.Read(0, reg::kParameterBlockCount);
  ASSERT_EQ(block.reply.size(), 53U);
  EXPECT_EQ(block.reply[2], 48);
  EXPECT_EQ(SimRig::RegisterOf(block.reply, reg::kTypeCode), 11);
  EXPECT_EQ(SimRig::RegisterOf(block.reply, reg::kPanelAddress), 247);
  EXPECT_EQ(SimRig::RegisterOf(block.reply, reg::kExternalSpeed), 8);
  EXPECT_EQ(SimRig::RegisterOf(block.reply, reg::kIntegralState), 1);
  EXPECT_EQ(SimRig::RegisterOf(block.reply, reg::kRecordCount), 100);
  EXPECT_EQ(SimRig::RegisterOf(block.reply, reg::kClockTrim), 28799);
  EXPECT_EQ(SimRig::RegisterOf(block.reply, reg::kLcdContrast), 35);
  EXPECT_EQ(SimRig::RegisterOf(block.reply, reg::kPollingTime), 200);
  const Bytes clock(block.reply.begin() + 3 + 2 * reg::kClockHour, block.reply.begin() + 3 + 2 * 13);
  EXPECT_EQ(clock, (Bytes{0, 9, 0, 5, 0, 7, 0, 3, 0, 2, 0, 19}));

  const auto monitor = rig.Read(0, reg::kMonitorBlockCount);
  ASSERT_EQ(monitor.reply.size(), 51U);
  EXPECT_EQ(monitor.reply[2], 46);
}

TEST(PanelRegisters, AddressWriteIsEchoedFromTheOldAddressThenInForce) {
  SimRig rig;
  const auto echo = rig.Write(reg::kPanelAddress, 5);
  ASSERT_EQ(echo.reply.size(), 8U);
  EXPECT_EQ(echo.reply[0], 247);
  EXPECT_EQ(echo.reply, rig.line.requests.back());
  EXPECT_EQ(rig.panel.address(), 5);
  EXPECT_EQ(rig.Read(0, 1).outcome, "   : TIME OUT.") << "the old address is silent now";
  rig.link.DeviceAddress = 5;
  const auto read = rig.Read(reg::kPanelAddress, 1);
  EXPECT_EQ(read.reply.front(), 5);
  EXPECT_EQ(SimRig::RegisterOf(read.reply, 0), 5);
}

TEST(PanelRegisters, SpeedWritesAreEchoedThenInForce) {
  SimRig rig;
  EXPECT_EQ(rig.panel.lineBaud(), 57600U);
  const auto echo = rig.Write(reg::kExternalSpeed, 4);
  EXPECT_EQ(echo.outcome, "   : ОК.");
  EXPECT_EQ(rig.panel.externalBaud(), 9600U);
  EXPECT_EQ(rig.panel.lineBaud(), 9600U);
  EXPECT_EQ(rig.Write(reg::kInternalSpeed, 8).outcome, "   : ОК.");
  EXPECT_EQ(rig.panel.Register(reg::kInternalSpeed), 8);
  EXPECT_EQ(rig.panel.externalBaud(), 9600U) << "the internal speed is not the line's";
}

TEST(PanelRegisters, AcceptedWritesReadBack) {
  struct Case {
    uint16_t reg;
    uint16_t value;
    uint16_t readBack;
  };
  const Case cases[] = {
      {reg::kFireOutputMode, 2, 2},       {reg::kFireOutputDuration, 1, 1}, {reg::kAlarmOutputMode, 0, 0},
      {reg::kAlarmOutputDuration, 0, 0},  {reg::kLcdContrast, 0xA9C8, 200}, {reg::kLcdContrast, 0xA901, 1},
      {reg::kClockTrim, 28795, 28795},    {reg::kClockTrim, 28803, 28803},  {reg::kSounderVolume, 6, 6},
      {reg::kSounderVolume, 1, 1},        {reg::kInternalSpeed, 1, 1},      {reg::kPollingTime, 400, 400},
      {reg::kExtraTimeout, 4800, 4800},   {reg::kExtraTimeout, 0, 0},       {reg::kSilenceSound, 0xFFFF, 0},
      {reg::kSilenceLight, 3, 0},
  };
  SimRig rig;
  for (const auto& c : cases) {
    const auto echo = rig.Write(c.reg, c.value);
    EXPECT_EQ(echo.reply, rig.line.requests.back()) << "register " << c.reg;
    EXPECT_EQ(SimRig::RegisterOf(rig.Read(c.reg, 1).reply, 0), c.readBack) << "register " << c.reg;
  }
  EXPECT_EQ(rig.panel.soundSilenced(), 1U);
  EXPECT_EQ(rig.panel.lightSilenced(), 1U);
}

TEST(PanelRegisters, RefusedWritesGetAnExceptionAndChangeNothing) {
  struct Case {
    uint16_t reg;
    uint16_t value;
    uint8_t code;
  };
  const Case cases[] = {
      {reg::kPanelAddress, 0, 3},      {reg::kPanelAddress, 248, 3},     {reg::kExternalSpeed, 0, 3},
      {reg::kExternalSpeed, 9, 3},     {reg::kFireOutputMode, 3, 3},     {reg::kFireOutputDuration, 2, 3},
      {reg::kAlarmOutputMode, 7, 3},   {reg::kAlarmOutputDuration, 2, 3}, {reg::kLcdContrast, 0xA900, 3},
      {reg::kClockTrim, 28794, 3},     {reg::kClockTrim, 28804, 3},      {reg::kSounderVolume, 0, 3},
      {reg::kSounderVolume, 7, 3},     {reg::kInternalSpeed, 9, 3},      {reg::kExtraTimeout, 4801, 3},
      {reg::kClockHour, 24, 3},        {reg::kClockMinute, 60, 3},       {reg::kClockDay, 0, 3},
      {reg::kClockMonth, 13, 3},       {reg::kClockYear, 100, 3},        {reg::kTypeCode, 11, 2},
      {reg::kIntegralState, 0, 2},     {reg::kRecordCount, 0, 2},        {21, 1, 2},
      {26, 1, 2},                      {reg::kArchiveNewest, 8192, 2},   {reg::kArchiveFirst, 0, 2},
      {reg::kConfigPageBase, 0, 2},    {reg::kConfigApply, 1, 3},
  };
  SimRig rig;
  auto withoutClock = [](Bytes reply) {
    reply.resize(reply.size() - 2);  // the CRC covers the clock too
    reply.erase(reply.begin() + 3 + 2 * reg::kClockHour, reply.begin() + 3 + 2 * (reg::kClockYear + 1));
    return reply;
  };
  const auto before = withoutClock(rig.Read(0, 24).reply);
  for (const auto& c : cases) {
    const auto e = rig.Write(c.reg, c.value);
    EXPECT_EQ(e.outcome, "   : ОШИБКА.") << "register " << c.reg;
    ASSERT_EQ(e.rx.size(), 5U) << "register " << c.reg;
    EXPECT_EQ(e.rx[1], 0x86);
    EXPECT_EQ(e.rx[2], c.code) << "register " << c.reg << " value " << c.value;
  }
  EXPECT_EQ(rig.panel.writes(), 0U);
  EXPECT_EQ(withoutClock(rig.Read(0, 24).reply), before);
}

TEST(PanelRegisters, ReadsOutsideTheMapAreRefused) {
  struct Case {
    uint16_t start;
    uint16_t count;
    uint8_t code;
  };
  const Case cases[] = {{26, 1, 2}, {20, 10, 2}, {0, 0, 3}, {0, 126, 3}, {100, 1, 2}, {9694, 1, 2},
                        {9693, 2, 2}, {0xFFFF, 1, 2}, {0xFFFE, 3, 2}};
  SimRig rig;
  for (const auto& c : cases) {
    const auto e = rig.Read(c.start, c.count, 5);
    ASSERT_EQ(e.rx.size(), 5U) << c.start << "+" << c.count;
    EXPECT_EQ(e.rx[1], 0x83);
    EXPECT_EQ(e.rx[2], c.code) << c.start << "+" << c.count;
  }
}

TEST(PanelRegisters, UnservedFunctionGetsIllegalFunction) {
  SimRig rig;
  const auto e = rig.SendRaw(SimRig::Sealed({0xF7, 0x04, 0x00, 0x00, 0x00, 0x01}), 5);
  EXPECT_EQ(e.rx, SimRig::Sealed({0xF7, 0x84, 0x01}));
}

TEST(PanelRegisters, BadCrcOrAnotherAddressGetsNoReply) {
  SimRig rig;
  auto frame = SimRig::Sealed({0xF7, 0x06, 0x00, 0x11, 0x00, 0x20});
  frame[7] ^= 0x01;
  EXPECT_EQ(rig.SendRaw(frame, 8).outcome, "   : TIME OUT.");
  EXPECT_EQ(rig.SendRaw(SimRig::Sealed({0x05, 0x06, 0x00, 0x11, 0x00, 0x20}), 8).outcome, "   : TIME OUT.");
  EXPECT_EQ(rig.panel.writes(), 0U);
  EXPECT_EQ(rig.panel.Register(reg::kLcdContrast), 35);
}

TEST(PanelRegisters, ClockTicksWithTheHostTime) {
  SimRig rig;
  rig.clock.AdvanceMs(61'000);
  const auto e = rig.Read(reg::kClockHour, 6);
  EXPECT_EQ(SimRig::RegisterOf(e.reply, 0), 9);
  EXPECT_EQ(SimRig::RegisterOf(e.reply, 1), 6);
  EXPECT_EQ(SimRig::RegisterOf(e.reply, 2), 8);
}

TEST(PanelRegisters, TimeSetFrameIsAcknowledgedWithEightBytesAndTheClockRunsOn) {
  SimRig rig;
  const Bytes data{0, 23, 0, 59, 0, 59, 0, 31, 0, 12, 0, 19};
  const auto ack = rig.WriteMultiple(reg::kClockHour, 6, data);
  EXPECT_EQ(ack.reply, SimRig::Sealed({0xF7, 0x10, 0x00, 0x07, 0x00, 0x06}));
  EXPECT_EQ(rig.line.requests.back().size(), 21U);
  rig.clock.AdvanceMs(1000);
  const auto e = rig.Read(reg::kClockHour, 6);
  const Bytes fields(e.reply.begin() + 3, e.reply.begin() + 15);
  EXPECT_EQ(fields, (Bytes{0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 0, 20})) << "a new year after one second";
}

TEST(PanelRegisters, RefusedTimeSetFrameLeavesTheClock) {
  SimRig rig;
  const auto e = rig.WriteMultiple(reg::kClockHour, 6, Bytes{0, 25, 0, 0, 0, 0, 0, 1, 0, 1, 0, 20});
  ASSERT_EQ(e.rx.size(), 5U);
  EXPECT_EQ(e.rx[1], 0x90);
  EXPECT_EQ(rig.panel.Register(reg::kClockHour), 9);
}

TEST(PanelRegisters, ClockFieldsAreSetOneByOne) {
  SimRig rig;
  struct Case {
    uint16_t reg;
    uint16_t value;
    uint16_t hour, minute, day, month, year;
  };
  const Case cases[] = {
      {reg::kClockHour, 0, 0, 5, 3, 2, 19},   {reg::kClockMinute, 59, 0, 59, 3, 2, 19},
      {reg::kClockYear, 30, 0, 59, 3, 2, 30}, {reg::kClockDay, 31, 0, 59, 28, 2, 30},
      {reg::kClockMonth, 3, 0, 59, 28, 3, 30}, {reg::kClockDay, 31, 0, 59, 31, 3, 30},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(rig.Write(c.reg, c.value).outcome, "   : ОК.");
    const auto e = rig.Read(reg::kClockHour, 6);
    EXPECT_EQ(SimRig::RegisterOf(e.reply, 0), c.hour) << c.reg << "=" << c.value;
    EXPECT_EQ(SimRig::RegisterOf(e.reply, 1), c.minute) << c.reg << "=" << c.value;
    EXPECT_EQ(SimRig::RegisterOf(e.reply, 3), c.day) << c.reg << "=" << c.value;
    EXPECT_EQ(SimRig::RegisterOf(e.reply, 4), c.month) << c.reg << "=" << c.value;
    EXPECT_EQ(SimRig::RegisterOf(e.reply, 5), c.year) << c.reg << "=" << c.value;
  }
}

TEST(PanelRegisters, PinnedRegistersServeOddValuesForTheToolsEdgeCases) {
  SimRig rig;
  rig.panel.SetRegister(reg::kClockMonth, 13);
  rig.panel.SetRegister(reg::kExtraTimeout, 4801);
  const auto e = rig.Read(0, 24);
  EXPECT_EQ(SimRig::RegisterOf(e.reply, reg::kClockMonth), 13);
  EXPECT_EQ(SimRig::RegisterOf(e.reply, reg::kExtraTimeout), 4801);
  rig.Write(reg::kClockMonth, 4);
  EXPECT_EQ(rig.panel.Register(reg::kClockMonth), 4) << "a clock write ends the pin";
}

}  // namespace
}  // namespace zelor::test
