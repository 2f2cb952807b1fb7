// Fixed-width names of the configuration model (cp1251 bytes, blank-padded).
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace zelor {

constexpr std::size_t kNameWidth = 15;       // node and zone names
constexpr std::size_t kGroupNameWidth = 16;  // zone-group names

// `text` cut to `width` characters and padded on the right with blanks to exactly `width`.
inline std::string FitName(std::string_view text, std::size_t width) {
  std::string name(text.substr(0, width));
  name.resize(width, ' ');
  return name;
}

}  // namespace zelor
