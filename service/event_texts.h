// The panel's 12-byte event record and the texts every view of events shares: source classes,
// the state texts before and after, the fire-distance rule, and the time and date renderings.
#pragma once
#include <cstdint>
#include <string>

namespace zelor {

constexpr std::size_t kEventRecordBytes = 12;

// One archive record as carried in a reply: the source low byte first (the one little-endian
// field), the distance high byte first, then hour, minute, second, day, month, year - 2000.
struct EventFields {
  uint16_t source = 0;
  uint8_t before = 0;
  uint8_t after = 0;
  uint16_t distance = 0;  // metres; meaningful only when the state after is 0 (fire)
  uint8_t hour = 0, minute = 0, second = 0;
  uint8_t day = 0, month = 0, year = 0;
};

// Reads the record from exactly kEventRecordBytes bytes.
EventFields DecodeEvent(const uint8_t* record);

enum class SourceClass { Zone, Panel, Device, Other };

constexpr uint16_t kZoneSourceLimit = 512;  // sources below are zones
constexpr uint16_t kPanelSource = 1000;
constexpr uint16_t kFirstDeviceSource = 1001;  // device at internal-network address source - 1000
constexpr uint16_t kLastDeviceSource = 1247;

SourceClass ClassifySource(uint16_t source);

// The source as the archive grid shows it: " :0012", " :ПУЛЬТ", " :П001", " :?   ".
std::string SourceCellText(uint16_t source);
// The source as the archive file and the live monitor write it, always 9 characters:
// ":0012    ", ":ПУЛЬТ   ", ":П001    ", ":?       ".
std::string SourceFieldText(uint16_t source);

// Each result is exactly 17 characters (UTF-8 text, words padded on the right with blanks).
std::string StateTextBefore(uint8_t code);
std::string StateTextAfter(uint8_t code);

constexpr uint8_t kFireState = 0;
constexpr uint16_t kMaxFireDistance = 2000;  // metres; a farther distance is not shown
// The state after by the fire-distance rule: "ПОЖАР  L= 0150м" for a fire at most 2000 m away,
// otherwise StateTextAfter(code). Consumers add their own blanks after the metre sign.
std::string StateAfterText(uint8_t code, uint16_t distance);
// True when StateAfterText gives the distance form (which is 15 characters, not 17).
bool ShowsFireDistance(uint8_t code, uint16_t distance);

// " 7:05:09", "14:05:07"; values that do not fit are written in full ("255:255:255").
std::string EventTimeText(const EventFields& event);
// " 3.02.2019", "13.12.2018"; likewise written in full when out of range.
std::string EventDateText(const EventFields& event);

}  // namespace zelor
