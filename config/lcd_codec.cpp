#include "config/lcd_codec.h"

#include <algorithm>
#include <array>
#include <string>
#include <utility>

namespace zelor {
namespace {

// Display codes of cp1251 0xC0..0xFF (А..я); the Latin look-alikes go to their Latin codes.
constexpr std::array<uint8_t, 64> kCyrillic = {
    0x41, 0xA0, 0x42, 0xA1, 0xE0, 0x45, 0xA3, 0xA4,  // А Б В Г Д Е Ж З
    0xA5, 0xA6, 0x4B, 0xA7, 0x4D, 0x48, 0x4F, 0xA8,  // И Й К Л М Н О П
    0x50, 0x43, 0x54, 0xA9, 0xAA, 0x58, 0xE1, 0xAB,  // Р С Т У Ф Х Ц Ч
    0xAC, 0xE2, 0xAD, 0xAE, 0x62, 0xAF, 0xB0, 0xB1,  // Ш Щ Ъ Ы Ь Э Ю Я
    0x61, 0xB2, 0xB3, 0xB4, 0xE3, 0x65, 0xB6, 0xB7,  // а б в г д е ж з
    0xB8, 0xB9, 0xBA, 0xBB, 0xBC, 0xBD, 0x6F, 0xBE,  // и й к л м н о п
    0x70, 0x63, 0xBF, 0x79, 0xE4, 0x78, 0xE5, 0xC0,  // р с т у ф х ц ч
    0xC1, 0xE6, 0xC2, 0xC3, 0xC4, 0xC5, 0xC6, 0xC7,  // ш щ ъ ы ь э ю я
};
constexpr uint8_t kYoUpper = 0xA8, kYoUpperCode = 0xA2;
constexpr uint8_t kYoLower = 0xB8, kYoLowerCode = 0xB5;
constexpr uint8_t kQuote = 0x22, kQuoteCode = 0xCB;
constexpr uint8_t kUnknown = 0x3F;

constexpr bool IsAsciiWithoutGlyph(uint8_t c) {
  return c == 0x22 || c == 0x27 || c == 0x5B || c == 0x5C || c == 0x5D || c == 0x60;
}

constexpr bool IsCyrillicCode(uint8_t c) { return (c >= 0xA0 && c <= 0xC7) || (c >= 0xE0 && c <= 0xE6); }

// Display codes 0xA0..0xFF back to cp1251; 0 marks a code without a letter.
constexpr std::array<uint8_t, 96> BuildDecodeTable() {
  std::array<uint8_t, 96> table{};
  for (std::size_t i = 0; i < kCyrillic.size(); ++i) {
    if (kCyrillic[i] >= 0xA0) table[kCyrillic[i] - 0xA0] = static_cast<uint8_t>(0xC0 + i);
  }
  table[kYoUpperCode - 0xA0] = kYoUpper;
  table[kYoLowerCode - 0xA0] = kYoLower;
  return table;
}
constexpr std::array<uint8_t, 96> kDecodeHigh = BuildDecodeTable();

constexpr uint8_t EncodeRule(uint8_t c) {
  if (c == kQuote) return kQuoteCode;
  if (c >= 0x20 && c <= 0x7A) return IsAsciiWithoutGlyph(c) ? kUnknown : c;
  if (c >= 0xC0) return kCyrillic[c - 0xC0];
  if (c == kYoUpper) return kYoUpperCode;
  if (c == kYoLower) return kYoLowerCode;
  return kUnknown;
}

constexpr uint8_t DecodeRule(uint8_t code) {
  if (code >= 0x20 && code <= 0x7A) return IsAsciiWithoutGlyph(code) ? kUnknown : code;
  if (code == kQuoteCode) return kQuote;
  if (IsCyrillicCode(code)) return kDecodeHigh[code - 0xA0];
  return kUnknown;
}

// Both directions as one lookup a byte: every name of an image goes through them on each load,
// build and report.
template <uint8_t (*Rule)(uint8_t)>
constexpr std::array<uint8_t, 256> TableOf() {
  std::array<uint8_t, 256> table{};
  for (unsigned b = 0; b < 256; ++b) table[b] = Rule(static_cast<uint8_t>(b));
  return table;
}
constexpr std::array<uint8_t, 256> kEncode = TableOf<EncodeRule>();
constexpr std::array<uint8_t, 256> kDecode = TableOf<DecodeRule>();

}  // namespace

uint8_t LcdEncode(uint8_t c) { return kEncode[c]; }

uint8_t LcdDecode(uint8_t code) { return kDecode[code]; }

void EncodeName(const Cp1251String& name, uint8_t* out, std::size_t width) {
  const std::string& bytes = name.Bytes();
  const std::size_t n = std::min(bytes.size(), width);
  for (std::size_t i = 0; i < n; ++i) out[i] = kEncode[static_cast<uint8_t>(bytes[i])];
  std::fill(out + n, out + width, kEncode[' ']);
}

Cp1251String DecodeName(const uint8_t* in, std::size_t width) {
  std::string name(width, ' ');
  for (std::size_t i = 0; i < width; ++i) name[i] = static_cast<char>(kDecode[in[i]]);
  return Cp1251String::FromBytes(std::move(name));
}

}  // namespace zelor
