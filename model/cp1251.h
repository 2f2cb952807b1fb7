// Windows-1251 <-> UTF-8 conversion: the model keeps names as cp1251 bytes, the views show UTF-8.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "model/cp1251_string.h"

namespace zelor {

// The Unicode code point of one cp1251 byte (0x98, unassigned, maps to U+0098).
char32_t Cp1251ToUnicode(uint8_t byte);
// The cp1251 byte of a code point; '?' when the code page has no such character.
uint8_t UnicodeToCp1251(char32_t codePoint);

std::string Utf8FromCp1251(const Cp1251String& cp1251);
// Characters outside the code page become '?', and so does each malformed piece of UTF-8 (a stray
// continuation byte, a sequence cut short, an overlong form, a surrogate, a value above U+10FFFF):
// one '?' for each longest run of bytes that began a well-formed sequence but did not finish it.
Cp1251String Cp1251FromUtf8(std::string_view utf8);

}  // namespace zelor
