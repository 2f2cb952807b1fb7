// The simulator's serving core on its own timeline: replies paced at the line rate, each scripted
// fault, the speed change after the echo, boot-loader frames, noise, and the traffic log.
#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "sim/session.h"
#include "sim_rig.h"

namespace zelor::test {
namespace {

using Bytes = std::vector<uint8_t>;

struct Served {
  int64_t at;
  Bytes bytes;
};

class SessionTest : public ::testing::Test {
 protected:
  SessionTest() {
    options.now = [this] { return SimStartMicros() + now; };
  }

  // Sends `request` at the current time and collects every write until `until` microseconds later.
  std::vector<Served> Exchange(const Bytes& request, int64_t until = 2'000'000) {
    session.OnBytes(request.data(), request.size(), now);
    std::vector<Served> served;
    const int64_t end = now + until;
    while (auto next = session.NextDeadline()) {
      if (*next > end) break;
      now = std::max(now, *next);
      auto due = session.TakeDue(now);
      if (!due.empty()) served.push_back({now, due});
    }
    now = end;
    return served;
  }

  static Bytes Joined(const std::vector<Served>& s) {
    Bytes all;
    for (const auto& p : s) all.insert(all.end(), p.bytes.begin(), p.bytes.end());
    return all;
  }

  int64_t now = 0;
  sim::PanelOptions options;
  sim::Panel panel{options};
  sim::FaultScript faults;
  std::ostringstream logText;
  sim::TrafficLog log{&logText, [this] { return SimStartMicros() + now; }};
  sim::Session session{panel, faults, log};
};

const Bytes kReadType = SimRig::Sealed({0xF7, 0x03, 0x00, 0x00, 0x00, 0x01});
const Bytes kTypeReply{0xF7, 0x03, 0x02, 0x00, 0x0B, 0x31, 0x96};

TEST_F(SessionTest, RepliesArePacedAtTheLineRateWhenAsked) {
  session.paced = true;
  const auto served = Exchange(kReadType);
  EXPECT_EQ(Joined(served), kTypeReply);
  ASSERT_EQ(served.size(), kTypeReply.size()) << "one byte at a time";
  EXPECT_EQ(served.front().at, 1000 + 173);
  EXPECT_EQ(served.back().at, 1000 + 7 * 173);

  session.paced = false;
  const auto fast = Exchange(kReadType);
  ASSERT_EQ(fast.size(), 1U);
  EXPECT_EQ(fast[0].bytes, kTypeReply);
}

// A pseudo-terminal hands the request over at once; the paced line still makes the reply wait
// for the request's own 8 bytes at the line rate before the turnaround.
TEST_F(SessionTest, PacedRequestsDelayTheReplyByTheirLineTime) {
  session.paced = true;
  session.pacedRequests = true;
  const auto served = Exchange(kReadType);
  EXPECT_EQ(Joined(served), kTypeReply);
  ASSERT_FALSE(served.empty());
  EXPECT_EQ(served.front().at, 8 * 173 + 1000 + 173);
  EXPECT_EQ(served.back().at, 8 * 173 + 1000 + 7 * 173);

  session.paced = false;  // unpaced: at once, whatever pacedRequests says
  const auto fast = Exchange(kReadType);
  ASSERT_EQ(fast.size(), 1U);
  EXPECT_EQ(fast[0].at, now - 2'000'000 + 1000);
}

TEST_F(SessionTest, EachFaultKind) {
  faults.delayMicros = 400'000;
  faults.gapMicros = 200'000;
  struct Case {
    const char* rule;
    std::function<void(const std::vector<Served>&)> check;
  };
  const Case cases[] = {
      {"noreply", [](const auto& s) { EXPECT_TRUE(s.empty()); }},
      {"badcrc", [](const auto& s) {
         const Bytes b = Joined(s);
         ASSERT_EQ(b.size(), 7U);
         EXPECT_EQ(Bytes(b.begin(), b.begin() + 5), Bytes(kTypeReply.begin(), kTypeReply.begin() + 5));
         EXPECT_NE(b, kTypeReply);
       }},
      {"exception", [](const auto& s) { EXPECT_EQ(Joined(s), SimRig::Sealed({0xF7, 0x83, 0x04})); }},
      {"delayed", [](const auto& s) {
         ASSERT_FALSE(s.empty());
         EXPECT_EQ(s.front().at - s.front().at % 1000, 401'000);
         EXPECT_EQ(Joined(s), kTypeReply);
       }},
      {"split", [](const auto& s) {
         ASSERT_EQ(s.size(), 2U);
         EXPECT_EQ(s[1].at - s[0].at, 200'000);
         EXPECT_EQ(Joined(s), kTypeReply);
       }},
      {"garbage", [](const auto& s) {
         Bytes expected{0x00, 0xFF, 0x55};
         expected.insert(expected.end(), kTypeReply.begin(), kTypeReply.end());
         EXPECT_EQ(Joined(s), expected);
       }},
      {"short", [](const auto& s) { EXPECT_EQ(Joined(s), Bytes(kTypeReply.begin(), kTypeReply.end() - 3)); }},
  };
  for (const auto& c : cases) {
    sim::FaultScript script;
    script.delayMicros = faults.delayMicros;
    script.gapMicros = faults.gapMicros;
    std::string error;
    const auto rule = sim::ParseFaultRule(std::string(c.rule) + "@first=1", error);
    ASSERT_TRUE(rule) << error;
    script.Add(*rule);
    faults = script;
    SCOPED_TRACE(c.rule);
    const int64_t start = now;
    auto served = Exchange(kReadType);
    for (auto& s : served) s.at -= start;
    c.check(served);
    EXPECT_EQ(Joined(Exchange(kReadType)), kTypeReply) << "only the first request is hit";
  }
}

TEST_F(SessionTest, FaultTriggers) {
  std::string error;
  for (const char* text : {"badcrc@every=3", "noreply@reg=9692", "exception@rate=1"}) {
    const auto rule = sim::ParseFaultRule(text, error);
    ASSERT_TRUE(rule) << text << ": " << error;
    faults.Add(*rule);
  }
  // Requests 1, 2: the rate rule (last) fires; 3: every=3 wins as the first rule; 9692: none at all.
  EXPECT_EQ(Joined(Exchange(kReadType)), SimRig::Sealed({0xF7, 0x83, 0x04}));
  EXPECT_EQ(Joined(Exchange(kReadType)), SimRig::Sealed({0xF7, 0x83, 0x04}));
  const Bytes third = Joined(Exchange(kReadType));
  EXPECT_EQ(third.size(), 7U);
  EXPECT_NE(third, kTypeReply);
  EXPECT_TRUE(Exchange(SimRig::Sealed({0xF7, 0x03, 0x25, 0xDC, 0x00, 0x01})).empty());

  for (const char* bad : {"lost", "badcrc@rate=2", "badcrc@every=0", "badcrc@reg=70000", "badcrc@when=1", "split@first=x"}) {
    error.clear();
    EXPECT_FALSE(sim::ParseFaultRule(bad, error)) << bad;
    EXPECT_FALSE(error.empty()) << bad;
  }
}

TEST_F(SessionTest, SpeedChangeTakesEffectAfterTheEcho) {
  session.paced = true;
  const Bytes setSpeed = SimRig::Sealed({0xF7, 0x06, 0x00, 0x02, 0x00, 0x01});  // 1200 baud
  const int64_t start = now;
  const auto echo = Exchange(setSpeed);
  EXPECT_EQ(Joined(echo), setSpeed);
  EXPECT_EQ(echo.back().at - start, 1000 + 8 * 173) << "the echo still at 57600";
  EXPECT_EQ(session.lineBaud(), 1200U);
  const int64_t next = now;
  const auto reply = Exchange(kReadType);
  EXPECT_EQ(reply.back().at - next, 1000 + 7 * 8333);
}

TEST_F(SessionTest, BootLoaderFramesInPiecesAreAcknowledged) {
  panel.EnterBootLoader();
  Bytes page(512, 0x5A);
  page.push_back(9);
  page = SimRig::Sealed(page);
  session.OnBytes(page.data(), 200, now);
  EXPECT_TRUE(session.TakeDue(now + 5000).empty());
  const auto ack = Exchange(Bytes(page.begin() + 200, page.end()));
  EXPECT_EQ(Joined(ack), (Bytes{0x07, 0xA5}));
  page[10] ^= 1;
  EXPECT_TRUE(Exchange(page).empty()) << "a bad frame gets nothing";
  EXPECT_EQ(Joined(Exchange(SimRig::Sealed(Bytes(6, 0)))), (Bytes{0x07, 0xA5}));
  EXPECT_FALSE(panel.inBootLoader());
  EXPECT_EQ(Joined(Exchange(kReadType)), kTypeReply);
}

TEST_F(SessionTest, NoiseNeverDesynchronisesTheNextRequest) {
  std::mt19937 rng(20240601);
  int answered = 0;
  for (int round = 0; round < 300; ++round) {
    Bytes noise(rng() % 40);
    for (auto& b : noise) b = static_cast<uint8_t>(rng());
    if (round % 3 == 0) {
      Bytes big{0xF7, 0x10, 0x00, 0x00, 0x00, 0x7F, 0xFF};  // a function-16 frame promising 255 bytes
      noise.insert(noise.end(), big.begin(), big.end());
    }
    if (!noise.empty()) Exchange(noise, 50'000);  // the line goes quiet after the noise
    if (Joined(Exchange(kReadType)) == kTypeReply) ++answered;
  }
  EXPECT_EQ(answered, 300);
  EXPECT_GT(session.bytesDiscarded(), 0U);
}

TEST_F(SessionTest, OversizedAndTruncatedRequestsAreAnsweredSafely) {
  Bytes oversized{0xF7, 0x10, 0x00, 0x07, 0x00, 0x06, 0xFF};
  oversized.resize(7 + 255, 0x00);
  oversized = SimRig::Sealed(oversized);
  EXPECT_EQ(Joined(Exchange(oversized)), SimRig::Sealed({0xF7, 0x90, 0x03}));
  Bytes lying = SimRig::Sealed({0xF7, 0x10, 0x0F, 0x00, 0x00, 0x01, 0x04, 1, 2, 3, 4});
  EXPECT_EQ(Joined(Exchange(lying)), SimRig::Sealed({0xF7, 0x90, 0x03}));
  EXPECT_TRUE(Exchange(Bytes(kReadType.begin(), kReadType.begin() + 5)).empty());
  EXPECT_EQ(Joined(Exchange(kReadType)), kTypeReply);
}

TEST_F(SessionTest, TrafficLogHasTimestampsAndHex) {
  std::string error;
  faults.Add(*sim::ParseFaultRule("noreply@first=1", error));
  Exchange(kReadType);
  Exchange(kReadType);
  Exchange({0x00, 0xFF});
  const std::string text = logText.str();
  EXPECT_NE(text.find("2019-02-03 09:05:07.000 RX F7 03 00 00 00 01 90 9C\n"), std::string::npos) << text;
  EXPECT_NE(text.find("-- F7 03 02 00 0B 31 96   ; fault noreply: withheld"), std::string::npos) << text;
  EXPECT_NE(text.find("09:05:09.000 TX F7 03 02 00 0B 31 96\n"), std::string::npos) << text;
  EXPECT_NE(text.find("?? 00 FF   ; not a request, dropped"), std::string::npos) << text;
}

}  // namespace
}  // namespace zelor::test
