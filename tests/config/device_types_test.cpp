#include <gtest/gtest.h>

#include <set>

#include "model/cp1251.h"
#include "model/device_types.h"

namespace zelor {
namespace {

TEST(DeviceTypes, TableShape) {
  std::set<uint8_t> codes;
  std::set<std::string> buttons;
  for (const DeviceType* t = DeviceTypesBegin(); t != DeviceTypesEnd(); ++t) {
    codes.insert(t->Code);
    buttons.insert(t->AddButton);
    EXPECT_EQ(Cp1251FromUtf8(t->TypeName).size(), 18U) << int(t->Code);
    EXPECT_EQ(DefaultNodeName(*t), Cp1251FromUtf8(t->DefaultName)) << "default name is exactly 15: " << int(t->Code);
    EXPECT_EQ(DefaultNodeName(*t).size(), 15U);
    EXPECT_LE(t->ZoneCount, 16);
    EXPECT_EQ(ZoneCountOfType(t->Code), t->ZoneCount);
    for (uint8_t z = 0; z < t->ZoneCount; ++z) EXPECT_EQ(DefaultZoneName(*t, z, 200).size(), 15U);
  }
  EXPECT_EQ(codes.size(), 21U);
  EXPECT_EQ(buttons.size(), 21U);
}

TEST(DeviceTypes, CodesWithoutEntryGetAVisiblePlaceholder) {
  for (int code : {0, 10, 11, 24, 99, 255}) {
    const auto c = static_cast<uint8_t>(code);
    EXPECT_EQ(FindDeviceType(c), nullptr);
    EXPECT_EQ(ZoneCountOfType(c), 0);
    const std::string text = DeviceTypeText(c);
    EXPECT_EQ(Cp1251FromUtf8(text).size(), 18U);
    EXPECT_NE(text.find(std::to_string(code)), std::string::npos) << text;
  }
  EXPECT_EQ(DeviceTypeText(0), "  ?ТИП 000        ");
  EXPECT_EQ(DeviceTypeText(13), "  АДРЕС. МЕТКА    ");
}

TEST(DeviceTypes, DefaultZoneNames) {
  struct Case {
    uint8_t type;
    uint8_t position;
    uint8_t address;
    const char* name;
  };
  const Case cases[] = {
      {1, 0, 1, "ЗЕЛОР-16: ШС-01"},  {1, 15, 1, "ЗЕЛОР-16: ШС-16"}, {23, 7, 1, "ЗЕЛОР-16: ШС-08"},
      {3, 1, 1, "ЧЭМ-2И : ШС-02 "},  {21, 2, 1, "ЧЭМ-3И : ШС-03 "}, {8, 3, 1, "ЗЕЛОР-4 : ШС-04"},  // blank cut off
      {9, 1, 1, "ЗЕЛОР-4 : ШС-02"},  {5, 0, 1, "ТУШЕНИЕ:       "},  {6, 0, 9, "ЗЕЛОР-1 : ШС-01"},
      {13, 0, 7, "МЕТКА-007:     "}, {13, 0, 247, "МЕТКА-247:     "}, {14, 0, 1, "ТАБЛО СВЕТ.    "},
      {15, 0, 1, "ТАБЛО СВ.ЗВУК. "}, {16, 0, 1, "ИП-329 ТАЛИС   "},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Utf8FromCp1251(DefaultZoneName(*FindDeviceType(c.type), c.position, c.address)), c.name)
        << "type " << int(c.type) << " zone " << int(c.position);
  }
}

TEST(DeviceTypes, KindsAndTheirTexts) {
  const std::pair<int, const char*> texts[] = {{0, "  -?"},       {1, "  ОХР."},     {2, "  ПОЖ."},
                                               {3, "  УПР."},     {4, "  МЕТКА"},    {5, "  СВ.ОП."},
                                               {6, "  СЗВ.ОП."},  {7, "  -?"},       {255, "  -?"}};
  for (const auto& [kind, text] : texts) EXPECT_EQ(ZoneKindText(static_cast<uint8_t>(kind)), text) << kind;
  EXPECT_FALSE(FindDeviceType(1)->KindFixed);
  EXPECT_TRUE(FindDeviceType(3)->KindFixed);
  EXPECT_EQ(FindDeviceType(13)->DefaultKind, 4);
  EXPECT_EQ(FindDeviceType(15)->DefaultKind, 6);
  EXPECT_EQ(FindDeviceType(12)->ZoneCount, 0);
}

}  // namespace
}  // namespace zelor
