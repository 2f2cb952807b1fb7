#include "model/zone_groups.h"

#include "model/cp1251.h"
#include "model/names.h"

namespace zelor {

Cp1251String DefaultGroupName(uint8_t group) {
  return Cp1251FromUtf8("<НАЗВАНИЕ> : " + std::string(1, static_cast<char>('0' + group % 10)) + "  ");
}

GroupNameTable DefaultGroupNames() {
  GroupNameTable names;
  for (uint8_t g = 0; g < kGroupCount; ++g) names[g] = DefaultGroupName(g);
  return names;
}

Cp1251String GroupNameFromEditor(const Cp1251String& text) { return FitName(text, kGroupNameWidth); }

}  // namespace zelor
