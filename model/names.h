// Fixed-width names of the configuration model (cp1251 bytes, blank-padded).
#pragma once
#include <cstddef>
#include <string>
#include <utility>

#include "model/cp1251_string.h"

namespace zelor {

constexpr std::size_t kNameWidth = 15;       // node and zone names
constexpr std::size_t kGroupNameWidth = 16;  // zone-group names

// `text` cut to `width` characters and padded on the right with blanks to exactly `width`.
inline Cp1251String FitName(const Cp1251String& text, std::size_t width) {
  std::string name = text.Bytes().substr(0, width);
  name.resize(width, ' ');
  return Cp1251String::FromBytes(std::move(name));
}

}  // namespace zelor
