// The panel's event archive: a ring of 1500 twelve-byte records with newest/oldest pointers.
#pragma once
#include <array>
#include <cstdint>
#include <vector>

#include "link/registers.h"
#include "sim/panel_clock.h"

namespace zelor::sim {

using EventRecord = std::array<uint8_t, reg::kArchiveRecordBytes>;

// Source field values: zones below 512, the panel, devices 1001..1247 on the internal network.
constexpr uint16_t kSourcePanel = 1000;
constexpr uint16_t kSourceDeviceBase = 1000;

// Source low byte first; distance high byte first; then hour, minute, second, day, month, year-2000.
EventRecord MakeRecord(uint16_t source, uint8_t before, uint8_t after, uint16_t distance, const CivilTime& when);
EventRecord ErasedRecord();

class EventArchive {
 public:
  EventArchive();

  // Writes the record after the newest one; a full ring drops its oldest record.
  void Append(const EventRecord& record);
  void Clear();

  uint16_t Newest() const { return newest_; }
  uint16_t Oldest() const { return oldest_; }
  uint16_t Count() const { return count_; }
  bool Wrapped() const { return count_ == reg::kArchiveCapacity; }
  static bool InRing(uint32_t address) { return address >= reg::kArchiveFirst && address <= reg::kArchiveLast; }
  static uint16_t Next(uint16_t address) {
    return address >= reg::kArchiveLast ? reg::kArchiveFirst : static_cast<uint16_t>(address + 1);
  }

  // The record at a ring address (8192..9691).
  const EventRecord& At(uint16_t address) const;
  // Up to `count` records from `address` on, stopping after the last ring address (no wrap).
  std::vector<uint8_t> ReadRecords(uint16_t address, uint16_t count) const;

 private:
  std::array<EventRecord, reg::kArchiveCapacity> ring_;
  uint16_t newest_ = reg::kArchiveFirst;
  uint16_t oldest_ = reg::kArchiveFirst;
  uint16_t count_ = 0;
};

}  // namespace zelor::sim
