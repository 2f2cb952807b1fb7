#include "model/device_types.h"

#include <algorithm>
#include <array>

#include "link/format.h"
#include "model/cp1251.h"
#include "model/names.h"

namespace zelor {
namespace {

using S = ZoneNameStyle;

constexpr std::array<DeviceType, 21> kTypes = {{
    {1, "  ЗЕЛОР-16И : 16ШС", "ЗЕЛОР-16И      ", 16, "ЗЕЛОР-16: ШС-", S::Position, 2, false, "ADD_Butt_01"},
    {2, "  ЗЕЛОР-16И :  8ШС", "ЗЕЛОР-16И      ", 8, "ЗЕЛОР-16: ШС-", S::Position, 2, false, "ADD_Butt_02"},
    {3, "  ЧЭМ-2И          ", "ЧЭМ-2И         ", 2, "ЧЭМ-2И : ШС-", S::PositionBlank, 2, true, "ADD_Butt_08"},
    {4, "  ЧЭМ-1И          ", "ЧЭМ-1И         ", 1, "ЧЭМ-1И : ШС-", S::PositionBlank, 2, true, "ADD_Butt_07"},
    {5, "  ЗЕЛОР-ППУ       ", "ППУ            ", 1, "ТУШЕНИЕ:       ", S::Fixed, 3, true, "ADD_Butt_05"},
    {6, "  ЗЕЛОР-1И        ", "ЗЕЛОР-1И       ", 1, "ЗЕЛОР-1 : ШС-01", S::Fixed, 2, false, "ADD_Butt_11"},
    {7, "  ЗЕЛОР-ППУ-ПК    ", "ППУ-ПК         ", 1, "ТУШЕНИЕ:       ", S::Fixed, 3, true, "ADD_Butt_06"},
    {8, "  ЗЕЛОР-4И  :  4ШС", "ЗЕЛОР-4И       ", 4, "ЗЕЛОР-4 : ШС-", S::PositionBlank, 2, false, "ADD_Butt_03"},
    {9, "  ЗЕЛОР-4И  :  2ШС", "ЗЕЛОР-4И       ", 2, "ЗЕЛОР-4 : ШС-", S::PositionBlank, 2, false, "ADD_Butt_04"},
    {12, "  МОДУЛЬ ИНДИКАЦИИ", "МОДУЛЬ ИНДИКАЦ.", 0, "", S::Fixed, 0, true, "ADD_Butt_13"},
    {13, "  АДРЕС. МЕТКА    ", "АДРЕС. МЕТКА   ", 1, "МЕТКА-", S::TagAddress, 4, true, "ADD_Butt_12"},
    {14, "  ДРОЛА АДРЕС.    ", "ДРОЛА          ", 1, "ТАБЛО СВЕТ.    ", S::Fixed, 5, true, "ADD_Butt_09"},
    {15, "  ДРОЛА-З  АДРЕС. ", "ДРОЛА ЗВУК.    ", 1, "ТАБЛО СВ.ЗВУК. ", S::Fixed, 6, true, "ADD_Butt_10"},
    {16, "  ИП-329 ТАЛИС    ", "ИП-329 ТАЛИС   ", 1, "ИП-329 ТАЛИС   ", S::Fixed, 2, true, "ADD_Butt_14"},
    {17, "  ЗЕЛОР-ППУ(ПК)V.2", "ППУ(-ПК) V.2   ", 1, "ТУШЕНИЕ:       ", S::Fixed, 3, true, "ADD_Butt_15"},
    {18, "  ЗЕЛОР-1И V.2    ", "ЗЕЛОР-1И V.2   ", 1, "ЗЕЛОР-1 : ШС-01", S::Fixed, 2, false, "ADD_Butt_16"},
    {19, "  ЧЭМ-1И V.2      ", "ЧЭМ-1И V.2     ", 1, "ЧЭМ-1И : ШС-", S::PositionBlank, 2, true, "ADD_Butt_17"},
    {20, "  ЧЭМ-2И V.2      ", "ЧЭМ-2И V.2     ", 2, "ЧЭМ-2И : ШС-", S::PositionBlank, 2, true, "ADD_Butt_18"},
    {21, "  ЧЭМ-3И V.2      ", "ЧЭМ-3И V.2     ", 3, "ЧЭМ-3И : ШС-", S::PositionBlank, 2, true, "ADD_Butt_19"},
    {22, "  ЗЕЛОР-16И    V.2", "ЗЕЛОР-16И V.2  ", 16, "ЗЕЛОР-16: ШС-", S::Position, 2, false, "ADD_Butt_20"},
    {23, "  ЗЕЛОР-16И(8) V.2", "ЗЕЛОР-16И V.2  ", 8, "ЗЕЛОР-16: ШС-", S::Position, 2, false, "ADD_Butt_21"},
}};

constexpr std::array<const char*, kKindLightSound> kKindTexts = {"  ОХР.", "  ПОЖ.", "  УПР.", "  МЕТКА", "  СВ.ОП.", "  СЗВ.ОП."};

}  // namespace

const DeviceType* FindDeviceType(uint8_t code) {
  const auto* it = std::find_if(kTypes.begin(), kTypes.end(), [code](const DeviceType& t) { return t.Code == code; });
  return it == kTypes.end() ? nullptr : &*it;
}

const DeviceType* DeviceTypesBegin() { return kTypes.data(); }
const DeviceType* DeviceTypesEnd() { return kTypes.data() + kTypes.size(); }

uint8_t ZoneCountOfType(uint8_t code) {
  const DeviceType* type = FindDeviceType(code);
  return type == nullptr ? 0 : type->ZoneCount;
}

std::string DeviceTypeText(uint8_t code) {
  const DeviceType* type = FindDeviceType(code);
  if (type != nullptr) return type->TypeName;
  // "  ?ТИП 010" and blanks: 18 characters like the listed names.
  return "  ?ТИП " + FormatZeroPadded(code, 3) + std::string(8, ' ');
}

Cp1251String DefaultNodeName(const DeviceType& type) { return FitName(Cp1251FromUtf8(type.DefaultName), kNameWidth); }

Cp1251String DefaultZoneName(const DeviceType& type, uint8_t position, uint8_t address) {
  std::string name = type.ZoneNamePrefix;  // UTF-8 until the name is complete
  switch (type.NameStyle) {
    case ZoneNameStyle::Fixed:
      break;
    case ZoneNameStyle::Position:
      name += FormatZeroPadded(static_cast<uint16_t>(position + 1), 2);
      break;
    case ZoneNameStyle::PositionBlank:
      name += FormatZeroPadded(static_cast<uint16_t>(position + 1), 2) + " ";
      break;
    case ZoneNameStyle::TagAddress:
      name += FormatZeroPadded(address, 3) + ":     ";
      break;
  }
  return FitName(Cp1251FromUtf8(name), kNameWidth);
}

std::string ZoneKindText(uint8_t kind) {
  if (kind >= kKindSecurity && kind <= kKindLightSound) return kKindTexts[kind - kKindSecurity];
  return "  -?";
}

}  // namespace zelor
