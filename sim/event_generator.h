// Made-up but plausible panel events: every source class, a spread of state codes, fires near and
// far, and now and then an erased record, for a starting archive and for live monitoring.
#pragma once
#include <cstdint>

#include "sim/event_archive.h"

namespace zelor::sim {

class EventGenerator {
 public:
  explicit EventGenerator(uint32_t seed = 1) : step_(seed) {}

  // The next event of the cycle, stamped with `when`; `erasedAllowed` false skips erased records.
  EventRecord Next(const CivilTime& when, bool erasedAllowed = true);

 private:
  uint32_t step_;
};

// Writes `records` generated events ending at `end`, `spacingSeconds` apart; with `wrapped` the
// ring is first filled completely, so that the newest record lies below the oldest.
void FillArchive(EventArchive& archive, EventGenerator& generator, uint32_t records, bool wrapped,
                 const CivilTime& end, int spacingSeconds = 437);

// How an event changes the panel's integral state bits (bit 0 normal, 1 attention, 2 fire,
// 3 security alarm).
uint8_t IntegralStateAfter(uint8_t state, const EventRecord& record);

}  // namespace zelor::sim
