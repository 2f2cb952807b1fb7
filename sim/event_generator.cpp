#include "sim/event_generator.h"

#include <algorithm>
#include <iterator>

namespace zelor::sim {

namespace {
enum class SourceClass { Zone, Panel, Device, Other, Erased };

struct Pattern {
  SourceClass cls;
  uint16_t base;  // zone number, device address or other source value
  uint8_t before;
  uint8_t after;
  uint16_t distance;
};

// One lap of the cycle; zone and device numbers drift with each lap so the archive is not a copy.
constexpr Pattern kPatterns[] = {
    {SourceClass::Panel, 0, 254, 84, 0},          // ВКЛЮЧЕНИЕ
    {SourceClass::Zone, 0, 7, 8, 0},              // СНЯТ -> ВЗЯТ
    {SourceClass::Zone, 2, 4, 0, 150},            // fire, distance shown
    {SourceClass::Device, 1, 4, 3, 0},            // НЕИСПРАВНОСТЬ
    {SourceClass::Zone, 5, 4, 2, 0},              // ВНИМАНИЕ
    {SourceClass::Zone, 1, 8, 1, 0},              // ОХР. ТРЕВОГА
    {SourceClass::Device, 4, 4, 23, 0},           // ПУСК
    {SourceClass::Zone, 3, 4, 0, 2500},           // fire, distance too large to show
    {SourceClass::Other, 700, 50, 200, 0},        // unknown source and codes
    {SourceClass::Device, 1, 3, 4, 0},            // НОРМА again
    {SourceClass::Zone, 2, 0, 5, 0},              // СБРОС ПОЖАРА
    {SourceClass::Erased, 0, 0, 0, 0},            // a damaged record
    {SourceClass::Panel, 0, 19, 17, 0},           // НЕИСПР. АКБ
    {SourceClass::Device, 247, 16, 18, 0},        // ИП1 НОРМА, highest device address
    {SourceClass::Zone, 511, 4, 0, 2000},         // fire at the largest shown distance
    {SourceClass::Other, 1300, 13, 14, 0},        // codes with different before/after texts
    {SourceClass::Panel, 0, 4, 85, 0},            // КОРР. ВРЕМЕНИ
    {SourceClass::Zone, 1, 1, 7, 0},              // СНЯТ
    {SourceClass::Device, 5, 4, 22, 0},           // ЗАДЕРЖКА ПУСКА
    {SourceClass::Zone, 4, 4, 0, 0},              // fire at 0 m
};
constexpr std::size_t kPatternCount = std::size(kPatterns);
}  // namespace

EventRecord EventGenerator::Next(const CivilTime& when, bool erasedAllowed) {
  for (;;) {
    const uint32_t step = step_++;
    const Pattern& p = kPatterns[step % kPatternCount];
    const uint32_t lap = step / kPatternCount;
    switch (p.cls) {
      case SourceClass::Erased:
        if (!erasedAllowed) continue;
        return ErasedRecord();
      case SourceClass::Zone: {
        const uint16_t zone = p.base == 511 ? 511 : static_cast<uint16_t>((p.base + 7 * lap) % 31);
        return MakeRecord(zone, p.before, p.after, p.distance, when);
      }
      case SourceClass::Device: {
        const uint16_t device = p.base == 247 ? 247 : static_cast<uint16_t>(1 + (p.base - 1 + lap) % 12);
        return MakeRecord(static_cast<uint16_t>(kSourceDeviceBase + device), p.before, p.after, p.distance, when);
      }
      case SourceClass::Panel: return MakeRecord(kSourcePanel, p.before, p.after, p.distance, when);
      case SourceClass::Other: return MakeRecord(p.base, p.before, p.after, p.distance, when);
    }
  }
}

void FillArchive(EventArchive& archive, EventGenerator& generator, uint32_t records, bool wrapped,
                 const CivilTime& end, int spacingSeconds) {
  const uint32_t total = wrapped ? reg::kArchiveCapacity + records : records;
  const int64_t endMicros = MicrosFromCivil(end);
  const int64_t spacing = static_cast<int64_t>(std::max(spacingSeconds, 1)) * 1'000'000;
  for (uint32_t i = 0; i < total; ++i) {
    const int64_t at = endMicros - static_cast<int64_t>(total - 1 - i) * spacing;
    archive.Append(generator.Next(CivilFromMicros(at)));
  }
}

uint8_t IntegralStateAfter(uint8_t state, const EventRecord& record) {
  const uint8_t after = record[3];
  switch (after) {
    case 0: return static_cast<uint8_t>(state | 0x04);
    case 1: return static_cast<uint8_t>(state | 0x08);
    case 2: return static_cast<uint8_t>(state | 0x02);
    case 3:
    case 16:
    case 17:
    case 25:
    case 26:
    case 37: return static_cast<uint8_t>(state & ~0x01);
    case 5:
    case 36: return 0x01;  // reset: everything back to normal
    case 4:
    case 18:
    case 19:
    case 27:
    case 38: return static_cast<uint8_t>(state | 0x01);
    default: return state;
  }
}

}  // namespace zelor::sim
