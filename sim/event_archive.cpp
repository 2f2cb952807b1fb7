#include "sim/event_archive.h"

#include <algorithm>

namespace zelor::sim {

EventRecord MakeRecord(uint16_t source, uint8_t before, uint8_t after, uint16_t distance, const CivilTime& when) {
  return EventRecord{static_cast<uint8_t>(source & 0xFF), static_cast<uint8_t>(source >> 8), before, after,
                     static_cast<uint8_t>(distance >> 8), static_cast<uint8_t>(distance & 0xFF),
                     static_cast<uint8_t>(when.hour), static_cast<uint8_t>(when.minute),
                     static_cast<uint8_t>(when.second), static_cast<uint8_t>(when.day),
                     static_cast<uint8_t>(when.month), static_cast<uint8_t>((when.year - 2000 + 10000) % 100)};
}

EventRecord ErasedRecord() {
  EventRecord r;
  r.fill(0xFF);
  return r;
}

EventArchive::EventArchive() { Clear(); }

void EventArchive::Clear() {
  ring_.fill(ErasedRecord());
  newest_ = oldest_ = reg::kArchiveFirst;
  count_ = 0;
}

void EventArchive::Append(const EventRecord& record) {
  if (count_ == 0) {
    newest_ = oldest_ = reg::kArchiveFirst;
    count_ = 1;
  } else {
    newest_ = Next(newest_);
    if (count_ < reg::kArchiveCapacity) {
      ++count_;
    } else {
      oldest_ = Next(oldest_);
    }
  }
  ring_[newest_ - reg::kArchiveFirst] = record;
}

const EventRecord& EventArchive::At(uint16_t address) const {
  const uint16_t a = std::clamp(address, reg::kArchiveFirst, reg::kArchiveLast);
  return ring_[a - reg::kArchiveFirst];
}

std::vector<uint8_t> EventArchive::ReadRecords(uint16_t address, uint16_t count) const {
  std::vector<uint8_t> bytes;
  if (!InRing(address)) return bytes;
  const uint32_t end = std::min<uint32_t>(static_cast<uint32_t>(address) + count, reg::kArchiveLast + 1U);
  for (uint32_t a = address; a < end; ++a) {
    const auto& r = ring_[a - reg::kArchiveFirst];
    bytes.insert(bytes.end(), r.begin(), r.end());
  }
  return bytes;
}

}  // namespace zelor::sim
