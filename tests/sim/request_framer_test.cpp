// Framing requests out of a byte stream: whole, in halves, byte by byte, after garbage and after
// broken frames; boot-loader frames by their sizes.
#include <gtest/gtest.h>

#include <random>

#include "sim/request_framer.h"
#include "sim_rig.h"

namespace zelor::test {
namespace {

using Bytes = std::vector<uint8_t>;
using sim::RequestFramer;

Bytes ConfigBlockWrite() {
  Bytes f{0xF7, 0x10, 0x0F, 0x03, 0x00, 0x01, 0xC0};
  for (int i = 0; i < 192; ++i) f.push_back(static_cast<uint8_t>(i * 7));
  return SimRig::Sealed(f);
}

std::vector<Bytes> GoodRequests() {
  return {SimRig::Sealed({0xF7, 0x03, 0x00, 0x00, 0x00, 0x01}), SimRig::Sealed({0xF7, 0x06, 0xFF, 0xFF, 0x00, 0x00}),
          SimRig::Sealed({0xF7, 0x10, 0x00, 0x07, 0x00, 0x06, 0x0C, 0, 9, 0, 5, 0, 7, 0, 3, 0, 2, 0, 19}),
          ConfigBlockWrite(), SimRig::Sealed({0x01, 0x03, 0x20, 0x00, 0x00, 0x14})};
}

// Feeds `stream` in pieces of `piece` bytes (0 = whole), then lets the line go quiet.
RequestFramer::Output FeedAll(RequestFramer& framer, const Bytes& stream, std::size_t piece) {
  RequestFramer::Output out;
  if (piece == 0) piece = stream.size();
  for (std::size_t i = 0; i < stream.size(); i += piece) {
    framer.Feed(stream.data() + i, std::min(piece, stream.size() - i), out);
  }
  framer.Flush(out);
  return out;
}

TEST(RequestFramer, FindsEveryRequestWholeInHalvesAndByteByByte) {
  for (const auto& request : GoodRequests()) {
    for (std::size_t piece : {std::size_t{0}, request.size() / 2 + 1, std::size_t{1}}) {
      RequestFramer framer;
      RequestFramer::Output out;
      for (std::size_t i = 0; i < request.size(); i += piece == 0 ? request.size() : piece) {
        framer.Feed(request.data() + i, std::min(piece == 0 ? request.size() : piece, request.size() - i), out);
      }
      ASSERT_EQ(out.frames.size(), 1U) << "without waiting for quiet; piece " << piece;
      EXPECT_EQ(out.frames[0], request);
      EXPECT_TRUE(out.discarded.empty());
    }
  }
}

TEST(RequestFramer, SkipsGarbageAndBrokenFramesBeforeAGoodOne) {
  Bytes badCrc = SimRig::Sealed({0xF7, 0x03, 0x00, 0x00, 0x00, 0x18});
  badCrc[7] ^= 0x80;
  Bytes truncated = ConfigBlockWrite();
  truncated.resize(120);
  const Bytes prefixes[] = {{0x00, 0xFF, 0x55}, badCrc, {0xF7}, {0xF7, 0x10, 0x00, 0x07}, truncated, {0x05, 0x10, 0, 0, 0, 1, 0xFF}};
  for (const auto& prefix : prefixes) {
    for (const auto& request : GoodRequests()) {
      for (std::size_t piece : {std::size_t{0}, std::size_t{1}}) {
        Bytes stream = prefix;
        stream.insert(stream.end(), request.begin(), request.end());
        RequestFramer framer;
        const auto out = FeedAll(framer, stream, piece);
        ASSERT_EQ(out.frames.size(), 1U) << "prefix " << prefix.size() << " request " << request.size();
        EXPECT_EQ(out.frames[0], request);
        EXPECT_EQ(framer.pending(), 0U);
      }
    }
  }
}

TEST(RequestFramer, QuietEndsAFrameOfAFunctionNotFramedByLength) {
  RequestFramer framer;
  const Bytes odd = SimRig::Sealed({0xF7, 0x2B, 0x0E, 0x01, 0x00});
  RequestFramer::Output out;
  framer.Feed(odd.data(), odd.size(), out);
  EXPECT_TRUE(out.frames.empty());
  framer.Flush(out);
  ASSERT_EQ(out.frames.size(), 1U);
  EXPECT_EQ(out.frames[0], odd);

  // Longer than any RTU frame: noise, whatever its last two bytes say.
  Bytes longRun(300, 0x55);
  longRun[0] = 0xF7;
  longRun[1] = 0x2B;
  const Bytes sealed = SimRig::Sealed(longRun);
  RequestFramer::Output rest;
  framer.Feed(sealed.data(), sealed.size(), rest);
  framer.Flush(rest);
  EXPECT_TRUE(rest.frames.empty());
}

// Found by request_framer_fuzz: a loader finish frame (six zeros and its CRC) left pending when the
// line switched back to MODBUS was taken at quiet as a request.
TEST(RequestFramer, QuietRunAddressedToNoSlaveIsNoise) {
  for (const Bytes& run : {SimRig::Sealed({0x00, 0x00, 0x00, 0x00, 0x00, 0x00}), SimRig::Sealed({0xF8, 0x2B, 0x0E, 0x01, 0x00}),
                           SimRig::Sealed({0xFF, 0x03, 0x00, 0x00, 0x00, 0x01})}) {
    RequestFramer framer;
    const RequestFramer::Output out = FeedAll(framer, run, 0);
    EXPECT_TRUE(out.frames.empty());
    ASSERT_EQ(out.discarded.size(), 1U);
    EXPECT_EQ(out.discarded[0], run);
  }
}

TEST(RequestFramer, BoundsWhatItKeepsAndDropsNoiseAtQuiet) {
  RequestFramer framer;
  std::mt19937 rng(7);
  Bytes noise(5000);
  for (auto& b : noise) b = static_cast<uint8_t>(rng());
  RequestFramer::Output out;
  framer.Feed(noise.data(), noise.size(), out);
  EXPECT_LE(framer.pending(), RequestFramer::kMaxPending);
  framer.Flush(out);
  EXPECT_EQ(framer.pending(), 0U);
  const auto request = GoodRequests()[0];
  RequestFramer::Output next;
  framer.Feed(request.data(), request.size(), next);
  ASSERT_EQ(next.frames.size(), 1U);
  EXPECT_EQ(next.frames[0], request);
}

TEST(RequestFramer, LoaderFramesByTheirSizes) {
  Bytes page(512, 0x00);
  page.push_back(0);
  page = SimRig::Sealed(page);
  Bytes aux(16, 0xAB);
  aux.push_back(127);
  aux = SimRig::Sealed(aux);
  const Bytes finish = SimRig::Sealed(Bytes(6, 0));
  for (const auto& frame : {page, aux, finish}) {
    for (std::size_t piece : {std::size_t{0}, std::size_t{5}, std::size_t{1}}) {
      RequestFramer framer;
      framer.SetMode(RequestFramer::Mode::Loader);
      const auto out = FeedAll(framer, frame, piece);
      ASSERT_EQ(out.frames.size(), 1U) << frame.size() << " in pieces of " << piece;
      EXPECT_EQ(out.frames[0], frame);
    }
    RequestFramer framer;
    framer.SetMode(RequestFramer::Mode::Loader);
    Bytes stream{0x07, 0x11};
    stream.insert(stream.end(), frame.begin(), frame.end());
    const auto out = FeedAll(framer, stream, 0);
    ASSERT_EQ(out.frames.size(), 1U) << "after garbage, " << frame.size();
    EXPECT_EQ(out.frames[0], frame);
  }
  RequestFramer framer;
  framer.SetMode(RequestFramer::Mode::Loader);
  Bytes broken = page;
  broken[300] ^= 1;
  EXPECT_TRUE(FeedAll(framer, broken, 0).frames.empty());
}

}  // namespace
}  // namespace zelor::test
