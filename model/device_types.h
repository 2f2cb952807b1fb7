// The table of device types a node can have, and the zone-kind vocabulary.
#pragma once
#include <cstdint>
#include <string>

#include "model/cp1251_string.h"

namespace zelor {

constexpr uint8_t kMaxZonesPerNode = 16;
constexpr uint8_t kTypeIndicationModule = 12;  // the one listed type without zones
// The types that automation rules can command (their executor command tables).
constexpr uint8_t kTypePpu = 5;           // "  ЗЕЛОР-ППУ       "
constexpr uint8_t kTypePpuPk = 7;         // "  ЗЕЛОР-ППУ-ПК    "
constexpr uint8_t kTypeAddressTag = 13;   // "  АДРЕС. МЕТКА    "
constexpr uint8_t kTypeDrola = 14;        // "  ДРОЛА АДРЕС.    "
constexpr uint8_t kTypeDrolaSound = 15;   // "  ДРОЛА-З  АДРЕС. "
constexpr uint8_t kTypePpuV2 = 17;        // "  ЗЕЛОР-ППУ(ПК)V.2"

// Zone kinds 1..6.
constexpr uint8_t kKindSecurity = 1;
constexpr uint8_t kKindFire = 2;
constexpr uint8_t kKindControl = 3;
constexpr uint8_t kKindTag = 4;
constexpr uint8_t kKindLight = 5;
constexpr uint8_t kKindLightSound = 6;

// How the default zone names are composed.
enum class ZoneNameStyle : uint8_t {
  Fixed,          // the prefix alone
  Position,       // prefix + nn (zone position within the node from 01), cut to 15
  PositionBlank,  // prefix + nn + " ", cut to 15
  TagAddress,     // prefix + aaa (node address) + ":     "
};

struct DeviceType {
  uint8_t Code;
  const char* TypeName;     // UTF-8, 18 characters: the type column of the node list
  const char* DefaultName;  // UTF-8, 15 characters
  uint8_t ZoneCount;
  const char* ZoneNamePrefix;  // UTF-8
  ZoneNameStyle NameStyle;
  uint8_t DefaultKind;
  bool KindFixed;
  const char* AddButton;  // the toolbar button that adds a node of this type
};

// The entry for `code`, or nullptr for codes without one (0, 10, 11, above 23).
const DeviceType* FindDeviceType(uint8_t code);
// Every listed type, in code order.
const DeviceType* DeviceTypesBegin();
const DeviceType* DeviceTypesEnd();

// Zone count of a type code; 0 for codes without an entry.
uint8_t ZoneCountOfType(uint8_t code);
// The 18-character type column text (UTF-8); a recognisable placeholder naming the code
// for a type without an entry, so that such a node stays visible.
std::string DeviceTypeText(uint8_t code);
// Default names, exactly 15 characters. `position` counts zones from 0.
Cp1251String DefaultNodeName(const DeviceType& type);
Cp1251String DefaultZoneName(const DeviceType& type, uint8_t position, uint8_t address);

// "  ОХР." ... "  СЗВ.ОП."; "  -?" for any other kind (UTF-8).
std::string ZoneKindText(uint8_t kind);

}  // namespace zelor
