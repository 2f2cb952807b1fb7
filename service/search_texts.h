// Every text the address search shows: the menu captions and its two log lines.
#pragma once

namespace zelor::search_text {

inline constexpr const char* kStart = "Start";
inline constexpr const char* kStop = "Stop";
inline constexpr const char* kFoundAt = "   : ОБНАРУЖЕН ПРИБОР <ЗЕЛОР-ПУИ> ПО АДРЕСУ ";
inline constexpr const char* kNotFound = "   : ПРИБОР <ЗЕЛОР-ПУИ> НЕ ОБНАРУЖЕН...";

}  // namespace zelor::search_text
