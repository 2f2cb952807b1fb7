// The event archive through the link engine: record-counted reads, the end of the ring, the
// pointers, the wrap, the generated content and events written over time.
#include <gtest/gtest.h>

#include <set>

#include "sim/event_generator.h"
#include "sim_rig.h"

namespace zelor::test {
namespace {

using Bytes = std::vector<uint8_t>;

sim::PanelOptions Records(uint32_t n, bool wrapped = false) {
  sim::PanelOptions o;
  o.records = n;
  o.wrapped = wrapped;
  return o;
}

TEST(Archive, ReadsCountRecordsNotRegisters) {
  SimRig rig(Records(30));
  const auto pointers = rig.Read(reg::kArchivePointers, 2);
  EXPECT_EQ(SimRig::RegisterOf(pointers.reply, 0), 8192 + 29);
  EXPECT_EQ(SimRig::RegisterOf(pointers.reply, 1), 8192);
  EXPECT_EQ(rig.panel.Register(reg::kRecordCount), 30);

  const auto one = rig.Read(8195, 1, 17);
  ASSERT_EQ(one.reply.size(), 17U);
  EXPECT_EQ(one.reply[2], 12);
  const auto& record = rig.panel.archive().At(8195);
  EXPECT_EQ(Bytes(one.reply.begin() + 3, one.reply.begin() + 15), Bytes(record.begin(), record.end()));

  const auto twenty = rig.Read(8192, 20, 245);
  ASSERT_EQ(twenty.reply.size(), 245U);
  EXPECT_EQ(twenty.reply[2], 240);
}

TEST(Archive, AReadNeverRunsPastTheEndOfTheRing) {
  struct Case {
    uint16_t start;
    uint16_t count;
    uint8_t byteCount;
  };
  const Case cases[] = {{9672, 20, 240}, {9681, 20, 132}, {9691, 20, 12}, {9691, 1, 12}, {9680, 20, 144}};
  SimRig rig(Records(0, true));
  for (const auto& c : cases) {
    const auto e = rig.Read(c.start, c.count, 255);
    ASSERT_GE(e.reply.size(), 3U) << c.start;
    EXPECT_EQ(e.reply[2], c.byteCount) << c.start << "+" << c.count;
    EXPECT_EQ(e.reply.size(), c.byteCount + 5U) << c.start << "+" << c.count;
  }
  for (uint16_t count : {0, 21, 100}) {
    const auto e = rig.Read(8192, count, 5);
    ASSERT_EQ(e.rx.size(), 5U) << count;
    EXPECT_EQ(e.rx[1], 0x83);
    EXPECT_EQ(e.rx[2], 3) << count;
  }
}

TEST(Archive, StartsWrappedWhenAsked) {
  SimRig rig(Records(10, true));
  const auto pointers = rig.Read(reg::kArchivePointers, 2);
  EXPECT_EQ(SimRig::RegisterOf(pointers.reply, 0), 8201);
  EXPECT_EQ(SimRig::RegisterOf(pointers.reply, 1), 8202);
  EXPECT_EQ(SimRig::RegisterOf(rig.Read(reg::kRecordCount, 1).reply, 0), 1500);
}

TEST(Archive, RingWrapsOnAppend) {
  sim::EventArchive archive;
  for (int i = 0; i < 1499; ++i) archive.Append(sim::MakeRecord(static_cast<uint16_t>(i % 512), 4, 3, 0, {}));
  EXPECT_EQ(archive.Newest(), 9690);
  EXPECT_EQ(archive.Oldest(), 8192);
  archive.Append(sim::MakeRecord(7, 4, 0, 150, {}));
  EXPECT_EQ(archive.Newest(), 9691);
  EXPECT_EQ(archive.Oldest(), 8192);
  EXPECT_EQ(archive.Count(), 1500);
  archive.Append(sim::MakeRecord(8, 4, 0, 150, {}));
  EXPECT_EQ(archive.Newest(), 8192);
  EXPECT_EQ(archive.Oldest(), 8193);
  EXPECT_EQ(archive.Count(), 1500);
  EXPECT_EQ(archive.At(8192)[0], 8);
}

TEST(Archive, RecordLayout) {
  const auto r = sim::MakeRecord(1005, 4, 0, 1500, {2019, 2, 3, 9, 5, 7});
  EXPECT_EQ(Bytes(r.begin(), r.end()), (Bytes{0xED, 0x03, 4, 0, 0x05, 0xDC, 9, 5, 7, 3, 2, 19}));
}

TEST(Archive, GeneratedArchiveCoversEverySourceClassAndState) {
  SimRig rig(Records(100));
  std::set<std::string> seen;
  const auto& a = rig.panel.archive();
  for (uint16_t addr = a.Oldest(); addr <= a.Newest(); ++addr) {
    const auto& r = a.At(addr);
    const uint16_t source = static_cast<uint16_t>(r[0] | r[1] << 8);
    const uint16_t distance = static_cast<uint16_t>(r[4] << 8 | r[5]);
    if (r == sim::ErasedRecord()) { seen.insert("erased"); continue; }
    if (source < 512) seen.insert("zone");
    else if (source == 1000) seen.insert("panel");
    else if (source >= 1001 && source <= 1247) seen.insert("device");
    else seen.insert("other");
    if (r[3] == 0) seen.insert(distance <= 2000 ? "near fire" : "far fire");
    if (r[3] > 89 && r[3] < 254) seen.insert("unknown code");
    if (r[2] != r[3]) seen.insert("change");
  }
  EXPECT_EQ(seen, (std::set<std::string>{"erased", "zone", "panel", "device", "other", "near fire", "far fire",
                                         "unknown code", "change"}));
  // The newest record carries the panel's time.
  const auto& newest = a.At(a.Newest());
  EXPECT_EQ(Bytes(newest.begin() + 6, newest.end()), (Bytes{9, 5, 7, 3, 2, 19}));
}

TEST(Archive, EventsAreWrittenAtTheChosenRateAndOnCommand) {
  sim::PanelOptions o = Records(5);
  o.eventEveryMicros = 1'000'000;
  SimRig rig(o);
  rig.clock.AdvanceMs(3500);
  rig.panel.Service();
  EXPECT_EQ(rig.panel.archive().Count(), 8);
  EXPECT_EQ(SimRig::RegisterOf(rig.Read(reg::kArchiveNewest, 1).reply, 0), 8199);
  const auto& r = rig.panel.archive().At(8199);
  EXPECT_EQ(Bytes(r.begin() + 6, r.end()), (Bytes{9, 5, 10, 3, 2, 19})) << "stamped by the panel clock";
  EXPECT_NE(r, sim::ErasedRecord());
  EXPECT_EQ(rig.panel.NextEventMicros(), SimStartMicros() + 4'000'000);

  rig.panel.GenerateEvent();
  EXPECT_EQ(rig.panel.archive().Newest(), 8200);
  EXPECT_EQ(SimRig::RegisterOf(rig.Read(reg::kRecordCount, 1).reply, 0), 9);
}

TEST(Archive, EventsChangeTheIntegralState) {
  struct Case {
    uint8_t before;
    uint8_t after;
    uint8_t expected;
  };
  const Case cases[] = {{0x01, 0, 0x05}, {0x01, 1, 0x09}, {0x01, 2, 0x03}, {0x01, 3, 0x00},
                        {0x0C, 4, 0x0D}, {0x0E, 36, 0x01}, {0x05, 84, 0x05}};
  for (const auto& c : cases) {
    EXPECT_EQ(sim::IntegralStateAfter(c.before, sim::MakeRecord(1, 4, c.after, 0, {})), c.expected)
        << int(c.after);
  }
  SimRig rig(Records(0));
  rig.panel.AddEvent(sim::MakeRecord(3, 4, 0, 100, {}));
  EXPECT_EQ(SimRig::RegisterOf(rig.Read(reg::kIntegralState, 1).reply, 0), 0x05);
}

}  // namespace
}  // namespace zelor::test
