#include "model/cp1251.h"

#include <array>
#include <utility>

namespace zelor {
namespace {

// 0x80..0xBF; 0xC0..0xFF are the contiguous letters А..я (U+0410..U+044F).
constexpr std::array<char16_t, 64> kUpperHalf = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
};

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

}  // namespace

char32_t Cp1251ToUnicode(uint8_t byte) {
  if (byte < 0x80) return byte;
  if (byte >= 0xC0) return static_cast<char32_t>(0x0410 + (byte - 0xC0));
  return kUpperHalf[byte - 0x80];
}

uint8_t UnicodeToCp1251(char32_t codePoint) {
  if (codePoint < 0x80) return static_cast<uint8_t>(codePoint);
  if (codePoint >= 0x0410 && codePoint <= 0x044F) return static_cast<uint8_t>(0xC0 + (codePoint - 0x0410));
  for (std::size_t i = 0; i < kUpperHalf.size(); ++i) {
    if (kUpperHalf[i] == codePoint) return static_cast<uint8_t>(0x80 + i);
  }
  return '?';
}

std::string Utf8FromCp1251(const Cp1251String& cp1251) {
  std::string out;
  out.reserve(cp1251.size() * 2);
  for (char c : cp1251.Bytes()) AppendUtf8(out, Cp1251ToUnicode(static_cast<uint8_t>(c)));
  return out;
}

Cp1251String Cp1251FromUtf8(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  std::size_t i = 0;
  while (i < utf8.size()) {
    const auto lead = static_cast<uint8_t>(utf8[i++]);
    if (lead < 0x80) {
      out += static_cast<char>(lead);
      continue;
    }
    // The well-formed sequences (Unicode table 3-7): the second byte's range rules out overlong
    // forms, surrogates and values above U+10FFFF; the later bytes are 80..BF.
    std::size_t more = 0;
    uint8_t low = 0x80, high = 0xBF;
    char32_t cp = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
      more = 1;
      cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      more = 2;
      cp = lead & 0x0F;
      if (lead == 0xE0) low = 0xA0;
      if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      more = 3;
      cp = lead & 0x07;
      if (lead == 0xF0) low = 0x90;
      if (lead == 0xF4) high = 0x8F;
    } else {
      out += '?';  // a continuation byte without a lead, C0, C1 or F5..FF
      continue;
    }
    bool complete = true;
    for (std::size_t k = 0; k < more; ++k, ++i) {
      // Cut short by the end, or by a byte that does not belong here (it is read afresh).
      if (i >= utf8.size() || static_cast<uint8_t>(utf8[i]) < low || static_cast<uint8_t>(utf8[i]) > high) {
        complete = false;
        break;
      }
      cp = (cp << 6) | (static_cast<uint8_t>(utf8[i]) & 0x3F);
      low = 0x80;
      high = 0xBF;
    }
    out += complete ? static_cast<char>(UnicodeToCp1251(cp)) : '?';
  }
  return Cp1251String::FromBytes(std::move(out));
}

}  // namespace zelor
