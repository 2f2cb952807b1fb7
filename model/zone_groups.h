// The zone-group data model: ten named groups and the no-group mark of a zone.
#pragma once
#include <array>
#include <cstdint>

#include "model/cp1251_string.h"

namespace zelor {

constexpr uint8_t kGroupCount = 10;
constexpr uint8_t NoGroup = 0xFD;

using GroupNameTable = std::array<Cp1251String, kGroupCount>;

// "<НАЗВАНИЕ> : " + the digit + two blanks, 16 cp1251 characters.
Cp1251String DefaultGroupName(uint8_t group);
GroupNameTable DefaultGroupNames();
// The stored form of an edited group name: cut to 16 and blank-padded to 16.
Cp1251String GroupNameFromEditor(const Cp1251String& text);
// Group values above 9 mean no group wherever a group is shown.
constexpr bool IsGroupMember(uint8_t group) { return group < kGroupCount; }

}  // namespace zelor
