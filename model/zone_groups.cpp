#include "model/zone_groups.h"

#include "model/cp1251.h"
#include "model/names.h"

namespace zelor {

std::string DefaultGroupName(uint8_t group) {
  return Cp1251FromUtf8("<НАЗВАНИЕ> : ") + static_cast<char>('0' + group % 10) + "  ";
}

GroupNameTable DefaultGroupNames() {
  GroupNameTable names;
  for (uint8_t g = 0; g < kGroupCount; ++g) names[g] = DefaultGroupName(g);
  return names;
}

std::string GroupNameFromEditor(std::string_view cp1251Text) { return FitName(cp1251Text, kGroupNameWidth); }

}  // namespace zelor
