// The address search on the virtual clock against the in-process panel: finds, the not-found
// end, devices and exception replies passed over, the delay entries, stop, take-over, and the
// end at the highest slave address.
#include <gtest/gtest.h>

#include <algorithm>

#include "link/format.h"
#include "link/registers.h"
#include "link_fixture.h"
#include "service/address_search.h"
#include "service/search_texts.h"

namespace zelor::test {
namespace {

using enum OperationMode;
using enum ResponseKind;

using Bytes = std::vector<uint8_t>;

// Records what the search does to the controls; the address field applies itself as the
// window's does (DeviceAddress, then the status bar).
class FakeSearchView : public SearchView {
 public:
  explicit FakeSearchView(Link& link) : link_(link) {}
  void SetStartCaption(const std::string& c) override { caption = c; }
  void CheckDelay(int entry) override { checkedDelay = entry; }
  void CloseAddBox() override { ++addBoxClosed; }
  void ShowAddress(uint8_t a) override {
    shown.push_back(a);
    link_.DeviceAddress = std::clamp<uint8_t>(a, 1, 247);  // the field's range
    link_.UpdateStatusBar();
  }
  void FocusMenuBar() override { ++focused; }

  std::string caption = "Start";
  int checkedDelay = 1;
  int addBoxClosed = 0;
  std::vector<uint8_t> shown;
  int focused = 0;

 private:
  Link& link_;
};

class AddressSearchTest : public LinkFixture {
 protected:
  void RunToEnd(int64_t maxMs = 200'000) {
    clock.RunUntil([this] { return link.OperationMode == omIdle && !link.Timer_Rx->Enabled(); }, maxMs);
  }
  // Runs until `n` probes have been written.
  void RunUntilProbes(std::size_t n) {
    clock.RunUntil([this, n] { return line.requests.size() >= n; }, 200'000);
  }
  std::vector<uint8_t> ProbedAddresses() const {
    std::vector<uint8_t> a;
    for (const auto& r : line.requests) a.push_back(r[0]);
    return a;
  }
  static std::vector<uint8_t> Range(int first, int last) {
    std::vector<uint8_t> a;
    for (int i = first; i <= last; ++i) a.push_back(static_cast<uint8_t>(i));
    return a;
  }
  std::string FoundLine(int address) const {
    return std::string(search_text::kFoundAt) + FormatZeroPadded(static_cast<uint16_t>(address), 3);
  }

  FakeSearchView view{link};
  AddressSearch search{link, sequencer, view};
};

TEST_F(AddressSearchTest, PanelAtAddressOneIsFoundByTheFirstProbe) {
  panel.set_address(1);
  search.CustomItem5Click();
  EXPECT_EQ(link.OperationMode, omSearch);
  EXPECT_EQ(view.caption, "Stop");
  EXPECT_EQ(view.addBoxClosed, 1);
  EXPECT_TRUE(progress1.visible);
  EXPECT_EQ(progress1.minimum, 0);
  EXPECT_EQ(progress1.maximum, 247);
  EXPECT_EQ(progress1.position, 0);
  RunToEnd();

  ASSERT_EQ(line.requests.size(), 1U);
  EXPECT_EQ(line.requests[0], (Bytes{0x01, 0x03, 0x00, 0x00, 0x00, 0x01, 0x84, 0x0A}));
  EXPECT_EQ(memo1.lines, (std::vector<std::string>{"TX : 01 03 00 00 00 01 84 0A ", "RX : 01 03 02 00 0B F9 83 ",
                                                   FoundLine(1), "   : ОК."}));
  EXPECT_EQ(link.OperationMode, omIdle);
  EXPECT_EQ(link.DeviceAddress, 1);
  EXPECT_EQ(view.shown, (std::vector<uint8_t>{1}));
  EXPECT_EQ(status.panels[2], "DEVICE : А = 001; Baud = 57600");
  EXPECT_EQ(view.caption, "Start");
  EXPECT_FALSE(progress1.visible);
  EXPECT_EQ(view.focused, 1);
  EXPECT_FALSE(line.IsOpen()) << "the search closes the port when it ends";
  clock.AdvanceMs(1000);
  EXPECT_EQ(line.requests.size(), 1U) << "nothing more is sent after the find";
}

// With nobody answering, every address times out once; each probe costs the request's 2 ms on
// the line at the PC's 57600 baud, the delay after it and the 5 ms step of the sequencer.
TEST_F(AddressSearchTest, NoPanelTimesOutEveryAddressAndEndsNotFound) {
  struct Case {
    int delayEntry;
    uint8_t baudIndex;  // the search's time-out does not depend on the rate
  };
  for (const Case c : {Case{1, 7}, Case{0, 7}, Case{5, 0}}) {
    SCOPED_TRACE(c.delayEntry);
    line.requests.clear();
    line.requestMicros.clear();
    line.defaultFault = sim::MakeFault(sim::Fault::NoReply);
    link.BaudIndex = c.baudIndex;
    search.DelayClick(c.delayEntry);
    const int64_t delayMs = AddressSearch::kDelays[static_cast<std::size_t>(c.delayEntry)];
    const int opensBefore = line.opens;
    const int closesBefore = line.closes;
    const int64_t started = clock.NowMicros();
    search.CustomItem5Click();
    RunToEnd();
    EXPECT_EQ(clock.NowMicros() - started, 247 * (2 + delayMs + 5) * 1000);
    EXPECT_EQ(ProbedAddresses(), Range(1, 247));
    EXPECT_EQ(line.opens - opensBefore, 1) << "the port stays open between probes";
    EXPECT_EQ(line.closes - closesBefore, 1);
    EXPECT_FALSE(line.IsOpen());
    ASSERT_FALSE(memo1.lines.empty());
    EXPECT_EQ(memo1.lines.back(), search_text::kNotFound);
    EXPECT_EQ(link.OperationMode, omIdle);
    EXPECT_EQ(link.DeviceAddress, 247);
    EXPECT_EQ(view.shown.back(), 247);
    EXPECT_EQ(view.caption, "Start");
    EXPECT_FALSE(progress1.visible);
    EXPECT_EQ(progress1.position, 247);
  }
}

TEST_F(AddressSearchTest, AnotherDeviceIsPassedOverAndThePanelFoundLater) {
  panel.set_address(5);
  panel.SetRegister(reg::kTypeCode, 0x0021);
  search.CustomItem5Click();
  RunUntilProbes(6);
  // The device at 5 answered and was passed over; now the panel answers further up.
  panel.SetRegister(reg::kTypeCode, reg::kPanelTypeValue);
  panel.set_address(9);
  RunToEnd();
  EXPECT_EQ(ProbedAddresses(), Range(1, 9));
  EXPECT_EQ(link.DeviceAddress, 9);
  ASSERT_GE(memo1.lines.size(), 2U);
  EXPECT_EQ(memo1.lines[memo1.lines.size() - 2], FoundLine(9));
}

// A 5-byte exception reply is shorter than the 7 bytes a probe expects, so its read completes only
// after 150 ms of silence: with the shorter delays it is taken as no answer, which the search
// passes over just the same.
TEST_F(AddressSearchTest, ExceptionReplyIsNeitherAFindNorAFailure) {
  panel.set_address(2);
  search.DelayClick(5);
  line.QueueFault(sim::Fault::None);
  line.QueueFault(sim::Fault::Exception);
  search.CustomItem5Click();
  RunUntilProbes(2);
  clock.RunUntil([this] { return !link.Timer_Rx->Enabled(); }, 1000);
  EXPECT_EQ(memo1.lines.back(), "   : ОШИБКА.");
  EXPECT_EQ(link.OperationMode, omSearch);
  RunUntilProbes(3);
  EXPECT_EQ(line.requests[2][0], 3) << "the search went on with the next address";
  search.CustomItem5Click();
  RunToEnd();
}

// DeviceAddress is one byte: past 247 it would run on to 255 and wrap to the broadcast
// address. Whatever answers at 247, the search ends there.
TEST_F(AddressSearchTest, SearchEndsAfterTheHighestAddressWhateverAnswersThere) {
  struct Case {
    const char* what;
    uint16_t typeCode;
    sim::Fault fault;
    const char* lastTwo[2];  // the log's last two lines
  };
  const std::string notFound = search_text::kNotFound;
  const std::string found247 = FoundLine(247);
  for (const Case c : {Case{"another device", 0x0021, sim::Fault::None, {"   : ОК.", search_text::kNotFound}},
                       Case{"an exception reply", reg::kPanelTypeValue, sim::Fault::Exception,
                            {"   : ОШИБКА.", search_text::kNotFound}},
                       Case{"the panel", reg::kPanelTypeValue, sim::Fault::None, {found247.c_str(), "   : ОК."}}}) {
    SCOPED_TRACE(c.what);
    line.requests.clear();
    panel.set_address(247);
    panel.SetRegister(reg::kTypeCode, c.typeCode);
    line.defaultFault = sim::MakeFault(c.fault);
    search.DelayClick(5);  // long enough for an exception reply to be read
    search.CustomItem5Click();
    RunToEnd();
    clock.AdvanceMs(1000);
    EXPECT_EQ(ProbedAddresses(), Range(1, 247)) << "no probe to 0 or above 247";
    EXPECT_EQ(link.OperationMode, omIdle);
    EXPECT_EQ(link.DeviceAddress, 247);
    ASSERT_GE(memo1.lines.size(), 2U);
    EXPECT_EQ(memo1.lines[memo1.lines.size() - 2], c.lastTwo[0]);
    EXPECT_EQ(memo1.lines.back(), c.lastTwo[1]);
    EXPECT_FALSE(line.IsOpen());
    EXPECT_EQ(view.caption, "Start");
    EXPECT_FALSE(progress1.visible);
  }
}

TEST_F(AddressSearchTest, DelayEntriesSetTheSearchDelay) {
  EXPECT_EQ(link.SearchDelay, 150);
  for (int entry = 0; entry < 6; ++entry) {
    search.DelayClick(entry);
    EXPECT_EQ(view.checkedDelay, entry);
    EXPECT_EQ(link.SearchDelay, AddressSearch::kDelays[static_cast<std::size_t>(entry)]);
  }
  EXPECT_EQ(AddressSearch::kDelays, (std::array<uint16_t, 6>{100, 150, 200, 250, 300, 350}));
  search.DelayClick(6);
  search.DelayClick(-1);
  EXPECT_EQ(view.checkedDelay, 5);
  EXPECT_EQ(link.SearchDelay, 350);
}

TEST_F(AddressSearchTest, ChoosingADelayMidSearchChangesOnlyTheFollowingProbes) {
  line.defaultFault = sim::MakeFault(sim::Fault::NoReply);
  search.CustomItem5Click();
  RunUntilProbes(3);  // probe 3 is waiting with the 150 ms time-out
  search.DelayClick(5);
  RunUntilProbes(6);
  const auto& t = line.requestMicros;
  // 2 ms on the line, the delay, the 5 ms step.
  EXPECT_EQ(t[1] - t[0], 157'000);
  EXPECT_EQ(t[2] - t[1], 157'000);
  EXPECT_EQ(t[3] - t[2], 157'000) << "the probe in flight keeps its time-out";
  EXPECT_EQ(t[4] - t[3], 357'000);
  EXPECT_EQ(t[5] - t[4], 357'000);
  search.CustomItem5Click();
  RunToEnd();
}

TEST_F(AddressSearchTest, StopLeavesTheLastProbedAddressAndSendsNothingMore) {
  line.defaultFault = sim::MakeFault(sim::Fault::NoReply);
  search.CustomItem5Click();
  RunUntilProbes(10);
  ASSERT_TRUE(link.Timer_Rx->Enabled());
  search.CustomItem5Click();
  EXPECT_EQ(link.OperationMode, omIdle);
  EXPECT_EQ(view.caption, "Start");
  EXPECT_FALSE(progress1.visible);
  EXPECT_EQ(view.shown, (std::vector<uint8_t>{10}));
  EXPECT_EQ(link.DeviceAddress, 10);
  EXPECT_EQ(view.focused, 1);
  EXPECT_TRUE(line.IsOpen()) << "the probe in flight can still be received";
  clock.AdvanceMs(2000);
  EXPECT_EQ(line.requests.size(), 10U);
  EXPECT_FALSE(line.IsOpen()) << "its receive cycle closed the port";
  EXPECT_EQ(memo1.lines.back(), "   : TIME OUT.");
}

TEST_F(AddressSearchTest, StopBetweenProbesClosesThePortAtOnce) {
  line.defaultFault = sim::MakeFault(sim::Fault::NoReply);
  search.CustomItem5Click();
  RunUntilProbes(2);
  clock.RunUntil([this] { return !link.Timer_Rx->Enabled(); }, 1000);  // probe 2 timed out
  ASSERT_TRUE(link.Timer_Programm->Enabled());
  search.CustomItem5Click();
  EXPECT_FALSE(line.IsOpen());
  clock.AdvanceMs(1000);
  EXPECT_EQ(line.requests.size(), 2U);
  EXPECT_EQ(view.shown.back(), 2);
}

TEST_F(AddressSearchTest, ProbeInFlightWhenStoppedThatFindsThePanelStillReportsIt) {
  panel.set_address(4);
  search.CustomItem5Click();
  RunUntilProbes(4);
  ASSERT_TRUE(link.Timer_Rx->Enabled());
  search.CustomItem5Click();
  EXPECT_EQ(link.OperationMode, omIdle);
  clock.AdvanceMs(1000);
  EXPECT_EQ(line.requests.size(), 4U);
  ASSERT_GE(memo1.lines.size(), 2U);
  EXPECT_EQ(memo1.lines[memo1.lines.size() - 2], FoundLine(4));
  EXPECT_EQ(memo1.lines.back(), "   : ОК.");
  EXPECT_EQ(view.shown, (std::vector<uint8_t>{4, 4}));
  EXPECT_EQ(link.DeviceAddress, 4);
  EXPECT_FALSE(line.IsOpen());
}

TEST_F(AddressSearchTest, StartTakesOverARunningOperationAndShowsItsLog) {
  panel.set_address(3);
  link.OperationMode = omConfigRead;
  memo1.visible = false;
  memo2.visible = true;
  line.SetBaudRate(115200);  // as a running upgrade leaves the port
  status.SetPanelText(2, "ЧТЕНИЕ КОНФИГА : ОШИБКИ -> 03");
  search.CustomItem5Click();
  EXPECT_EQ(link.OperationMode, omSearch);
  EXPECT_TRUE(memo1.visible);
  EXPECT_FALSE(memo2.visible);
  EXPECT_EQ(line.BaudRate(), 57600U) << "the menu's rate is back";
  EXPECT_EQ(status.panels[2], "DEVICE : А = 247; Baud = 57600");
  RunToEnd();
  EXPECT_EQ(ProbedAddresses(), Range(1, 3));
  EXPECT_EQ(link.DeviceAddress, 3);
}

// A configuration write or an upgrade stopped half way leaves the panel without its apply
// command or in its boot loader: "Start" leaves them running and says why in their log.
TEST_F(AddressSearchTest, StartIsRefusedWhileAConfigurationWriteOrAnUpgradeRuns) {
  struct Case {
    OperationMode mode;
    const char* line;
  };
  for (const Case c : {Case{omConfigWrite, search_text::kRefusedConfigWrite},
                       Case{omConfigApply, search_text::kRefusedConfigWrite},
                       Case{omUpgrade, search_text::kRefusedUpgrade}}) {
    SCOPED_TRACE(static_cast<int>(c.mode));
    link.OperationMode = c.mode;
    link.DeviceAddress = 9;
    memo2.lines = {"   : запись конфигурации пульта..."};
    const std::size_t sent = line.requests.size();
    search.CustomItem5Click();
    EXPECT_EQ(link.OperationMode, c.mode);
    EXPECT_EQ(memo2.lines, (std::vector<std::string>{"   : запись конфигурации пульта...", c.line}));
    EXPECT_EQ(view.caption, "Start");
    EXPECT_FALSE(progress1.visible);
    EXPECT_EQ(link.DeviceAddress, 9);
    clock.AdvanceMs(1000);
    EXPECT_EQ(line.requests.size(), sent) << "no probe goes out";
  }
}

// Each probe clears the log, so the operation the search took over is named at its end, before
// the find or not-found line; a search started at rest adds nothing.
TEST_F(AddressSearchTest, TheOperationTakenOverIsNamedBeforeTheSearchsOwnLines) {
  struct Case {
    OperationMode mode;
    const char* line;
  };
  for (const Case c : {Case{omConfigRead, search_text::kStoppedConfigRead},
                       Case{omLast15Record, search_text::kStoppedArchive},
                       Case{omDownloadRecords, search_text::kStoppedArchive},
                       Case{omMonitorPoll, search_text::kStoppedMonitor}}) {
    SCOPED_TRACE(static_cast<int>(c.mode));
    panel.set_address(2);
    link.OperationMode = c.mode;
    search.CustomItem5Click();
    RunToEnd();
    EXPECT_EQ(memo1.lines, (std::vector<std::string>{"TX : 02 03 00 00 00 01 84 39 ", "RX : 02 03 02 00 0B BD 83 ",
                                                     c.line, FoundLine(2), "   : ОК."}));
    // The next search starts at rest: nothing is named.
    search.CustomItem5Click();
    RunToEnd();
    EXPECT_EQ(memo1.lines.size(), 4U);
    EXPECT_EQ(memo1.lines[2], FoundLine(2));
  }
  line.defaultFault = sim::MakeFault(sim::Fault::NoReply);  // nobody answers
  link.SearchDelay = 100;
  link.OperationMode = omMonitorRecord;
  search.CustomItem5Click();
  RunToEnd();
  ASSERT_GE(memo1.lines.size(), 2U);
  EXPECT_EQ(memo1.lines[memo1.lines.size() - 2], search_text::kStoppedMonitor);
  EXPECT_EQ(memo1.lines.back(), search_text::kNotFound);
  // A stop by the user names it too.
  line.defaultFault = {};
  panel.set_address(200);
  link.OperationMode = omConfigRead;
  search.CustomItem5Click();
  RunUntilProbes(line.requests.size() + 2);
  search.CustomItem5Click();
  RunToEnd();
  EXPECT_NE(std::find(memo1.lines.begin(), memo1.lines.end(), search_text::kStoppedConfigRead), memo1.lines.end());
}

}  // namespace
}  // namespace zelor::test
