// libFuzzer entry for the simulator's request framer: the simulator listens to whoever is on the
// line. Every byte fed comes out once, in a frame or as discarded, and every frame is whole and
// correct for the mode it was taken in. Also linked into test_sim, which replays the corpus.
// Input: byte 0 bit 0 = the loader mode at the start; then chunks: a header byte (bits 0..5 the
// length, bit 6 switches the mode before the chunk, bit 7 lets the line go quiet after it) and
// that many bytes.
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "fuzz_entry.h"
#include "link/crc16.h"
#include "sim/boot_loader.h"
#include "sim/request_framer.h"

namespace zelor::fuzz {

namespace {

using sim::RequestFramer;

bool WholeModbusRequest(const std::vector<uint8_t>& f) {
  if (f.size() < 4 || f[0] == 0 || f[0] > 247 || !Crc16Matches(f.data(), f.size())) return false;
  switch (f[1]) {
    case 0x01: case 0x02: case 0x03: case 0x04: case 0x05: case 0x06: return f.size() == 8;
    case 0x0F: case 0x10: return f.size() >= 7 && f.size() == 9U + f[6];
    default: return true;  // framed by the quiet line, its CRC checked
  }
}

// Checks the frames taken since `from` and counts their bytes and the discarded ones.
std::size_t CheckOutput(const RequestFramer::Output& out, RequestFramer::Mode mode, std::size_t& framesSeen,
                        std::size_t& discardedSeen) {
  std::size_t bytes = 0;
  for (; framesSeen < out.frames.size(); ++framesSeen) {
    const auto& f = out.frames[framesSeen];
    if (mode == RequestFramer::Mode::Loader) {
      Check(sim::BootLoader::Classify(f.data(), f.size()).has_value());
    } else {
      if (!WholeModbusRequest(f)) { for (auto b : f) fprintf(stderr, "%02x ", b); fprintf(stderr, "\n"); }
      Check(WholeModbusRequest(f));
    }
    bytes += f.size();
  }
  for (; discardedSeen < out.discarded.size(); ++discardedSeen) {
    Check(!out.discarded[discardedSeen].empty());
    bytes += out.discarded[discardedSeen].size();
  }
  return bytes;
}

}  // namespace

int RequestFramerInput(const uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  RequestFramer framer;
  framer.SetMode((data[0] & 1) ? RequestFramer::Mode::Loader : RequestFramer::Mode::Panel);
  RequestFramer::Output out;
  std::size_t fed = 0, accounted = 0, framesSeen = 0, discardedSeen = 0;
  std::size_t at = 1;
  while (at < size) {
    const uint8_t header = data[at++];
    const std::size_t length = std::min<std::size_t>(header & 0x3F, size - at);
    if (header & 0x40) {
      framer.SetMode(framer.mode() == RequestFramer::Mode::Panel ? RequestFramer::Mode::Loader
                                                                 : RequestFramer::Mode::Panel);
    }
    framer.Feed(data + at, length, out);
    at += length;
    fed += length;
    accounted += CheckOutput(out, framer.mode(), framesSeen, discardedSeen);
    Check(framer.pending() <= RequestFramer::kMaxPending);
    if (header & 0x80) {
      framer.Flush(out);
      accounted += CheckOutput(out, framer.mode(), framesSeen, discardedSeen);
      Check(framer.pending() == 0);
    }
    Check(accounted + framer.pending() == fed);
  }
  framer.Flush(out);
  accounted += CheckOutput(out, framer.mode(), framesSeen, discardedSeen);
  Check(framer.pending() == 0 && accounted == fed);
  return 0;
}

}  // namespace zelor::fuzz

ZELOR_FUZZ_ENTRY(zelor::fuzz::RequestFramerInput)
