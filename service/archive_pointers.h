// What the archive operations read out of a reply: register values and the ring pointers,
// each only when the reply is long enough to hold it.
#pragma once
#include <cstdint>
#include <optional>

#include "link/link_state.h"
#include "link/registers.h"

namespace zelor {

constexpr int kReplyHeaderBytes = 3;  // address, function, byte count
constexpr int kReplyFrameBytes = fn::kReadReplyOverhead;  // the header and the CRC

// True when the received reply holds `dataBytes` bytes after its byte count (and its CRC).
inline bool ReplyHolds(const LinkState& link, int dataBytes) { return link.RxCount >= kReplyFrameBytes + dataBytes; }

// Register `index` of a function-03 reply (0 = the first), or nothing when the reply is short.
inline std::optional<uint16_t> ReplyRegister(const LinkState& link, int index) {
  if (!ReplyHolds(link, 2 * (index + 1))) return std::nullopt;
  const auto at = static_cast<std::size_t>(kReplyHeaderBytes + 2 * index);
  return static_cast<uint16_t>(link.FrameBuffer[at] << 8 | link.FrameBuffer[at + 1]);
}

struct RingPointers {
  int32_t newest;
  int32_t oldest;
};

// The newest and the oldest record address from a read of registers 9692 and 9693; nothing when
// the reply is short or either pointer lies outside the ring, so no record is read from
// addresses the panel never gave out.
inline std::optional<RingPointers> ReplyRingPointers(const LinkState& link) {
  const auto newest = ReplyRegister(link, 0);
  const auto oldest = ReplyRegister(link, 1);
  auto inRing = [](uint16_t a) { return a >= reg::kArchiveFirst && a <= reg::kArchiveLast; };
  if (!newest || !oldest || !inRing(*newest) || !inRing(*oldest)) return std::nullopt;
  return RingPointers{*newest, *oldest};
}

}  // namespace zelor
