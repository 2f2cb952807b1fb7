#include <gtest/gtest.h>

#include <map>
#include <set>
#include <type_traits>

#include "config/lcd_codec.h"
#include "model/cp1251.h"

namespace zelor {
namespace {

TEST(LcdCodec, RoundTripOfEveryCp1251Byte) {
  // Cyrillic look-alikes come back as the Latin letters they are sent as.
  const std::map<uint8_t, uint8_t> lookAlikes = {
      {0xC0, 'A'}, {0xC2, 'B'}, {0xC5, 'E'}, {0xCA, 'K'}, {0xCC, 'M'}, {0xCD, 'H'}, {0xCE, 'O'},
      {0xD0, 'P'}, {0xD1, 'C'}, {0xD2, 'T'}, {0xD5, 'X'}, {0xDC, 'b'}, {0xE0, 'a'}, {0xE5, 'e'},
      {0xEE, 'o'}, {0xF0, 'p'}, {0xF1, 'c'}, {0xF3, 'y'}, {0xF5, 'x'}};
  for (int c = 0; c < 256; ++c) {
    const auto byte = static_cast<uint8_t>(c);
    uint8_t expected = byte;
    if (lookAlikes.count(byte) != 0) {
      expected = lookAlikes.at(byte);
    } else if (c < 0x20 || c == 0x27 || c == 0x5B || c == 0x5C || c == 0x5D || c == 0x60 ||
               (c >= 0x7B && c <= 0xBF && c != 0xA8 && c != 0xB8)) {
      expected = '?';
    }
    EXPECT_EQ(LcdDecode(LcdEncode(byte)), expected) << "cp1251 byte " << c;
  }
}

TEST(LcdCodec, CyrillicCodesEachBelongToOneLetter) {
  std::set<uint8_t> letters;
  for (int code = 0xA0; code <= 0xE6; ++code) {
    if (code > 0xC7 && code < 0xE0) continue;
    const uint8_t letter = LcdDecode(static_cast<uint8_t>(code));
    ASSERT_NE(letter, '?') << "code " << code;
    EXPECT_EQ(LcdEncode(letter), code);
    letters.insert(letter);
  }
  EXPECT_EQ(letters.size(), 47U);
}

TEST(LcdCodec, SingleCodes) {
  struct Case {
    uint8_t in;
    uint8_t encoded;
  };
  const Case encode[] = {{0xC1, 0xA0}, {0xA8, 0xA2}, {0xB8, 0xB5}, {0xFF, 0xC7}, {0xC4, 0xE0}, {0xF9, 0xE6},
                         {0xDC, 0x62}, {0x22, 0xCB}, {'Z', 'Z'},   {'z', 'z'},   {0x7B, 0x3F}, {0x00, 0x3F},
                         {0x27, 0x3F}, {0x1F, 0x3F}, {0xBF, 0x3F}, {0x80, 0x3F}};
  for (const Case& c : encode) EXPECT_EQ(LcdEncode(c.in), c.encoded) << int(c.in);
  const Case decode[] = {{0xA0, 0xC1}, {0xA2, 0xA8}, {0xB5, 0xB8}, {0xC7, 0xFF}, {0xE0, 0xC4}, {0xE6, 0xF9},
                         {0xCB, 0x22}, {0x22, 0x3F}, {0xFF, 0x3F}, {0x00, 0x3F}, {0xC8, 0x3F}, {0xCA, 0x3F},
                         {0xCC, 0x3F}, {0xDF, 0x3F}, {0xE7, 0x3F}, {0x9F, 0x3F}, {0x7A, 0x7A}, {0x7B, 0x3F}};
  for (const Case& c : decode) EXPECT_EQ(LcdDecode(c.in), c.encoded) << int(c.in);
}

TEST(LcdCodec, NamesKeepTheirFullWidth) {
  uint8_t field[15];
  EncodeName(Cp1251FromUtf8("ЩИТ \"А\""), field, sizeof field);
  const uint8_t expected[15] = {0xE2, 0xA5, 0x54, 0x20, 0xCB, 0x41, 0xCB, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20};
  EXPECT_EQ(std::vector<uint8_t>(field, field + 15), std::vector<uint8_t>(expected, expected + 15));
  EXPECT_EQ(Utf8FromCp1251(DecodeName(field, 15)), "ЩИT \"A\"        ");

  const uint8_t unused[16] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                              0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
  EXPECT_EQ(DecodeName(unused, 16).Bytes(), std::string(16, '?'));
}

TEST(Cp1251, EveryByteSurvivesUtf8) {
  for (int c = 0; c < 256; ++c) {
    const std::string one(1, static_cast<char>(c));
    EXPECT_EQ(Cp1251FromUtf8(Utf8FromCp1251(Cp1251String::FromBytes(one))).Bytes(), one) << c;
  }
}

TEST(Cp1251, KnownTextsAndBadInput) {
  struct Case {
    const char* utf8;
    std::string cp1251;
  };
  const Case cases[] = {
      {"ЗЕЛОР", "\xC7\xC5\xCB\xCE\xD0"},
      {"№ Ёё", "\xB9 \xA8\xB8"},
      {"ая", "\xE0\xFF"},
      {"€", "\x88"},
      {"中", "?"},                // outside the code page
      {"😀x", "?x"},              // four-byte sequence
      {"\xD0", "?"},              // truncated sequence
      {"\xFF" "A", "?A"},         // invalid lead byte, then resynchronised
      {"\xD0" "A", "?A"},         // continuation missing
  };
  for (const Case& c : cases) EXPECT_EQ(Cp1251FromUtf8(c.utf8).Bytes(), c.cp1251) << c.utf8;
  EXPECT_EQ(Utf8FromCp1251(Cp1251String::FromBytes("\xC7\xE0\xEB")), "Зал");
  EXPECT_EQ(Cp1251ToUnicode(0x98), U'\u0098');
}

// A cp1251 name and a UTF-8 text never pass for each other without a conversion.
static_assert(!std::is_convertible_v<Cp1251String, std::string>);
static_assert(!std::is_constructible_v<std::string, Cp1251String>);
static_assert(!std::is_convertible_v<std::string, Cp1251String>);
static_assert(!std::is_convertible_v<const char*, Cp1251String>);

// Each malformed piece becomes one '?': a byte that cannot begin a sequence, or the longest start of
// a sequence that a later byte (or the end) breaks off; that later byte is read afresh. The well-formed
// edge cases beside them are single characters (outside the code page: one '?' each).
TEST(Cp1251, MalformedUtf8BecomesQuestionMarks) {
  struct Case {
    const char* utf8;
    const char* cp1251;
  };
  const Case cases[] = {
      {"\xC0\x80", "??"},              // overlong U+0000
      {"\xC1\x81", "??"},              // overlong 'A'
      {"\xE0\x80\x80", "???"},         // overlong three-byte forms
      {"\xE0\x9F\xBF", "???"},
      {"\xF0\x8F\xBF\xBF", "????"},    // overlong four-byte form
      {"\xED\xA0\x80", "???"},         // surrogates U+D800, U+DFFF
      {"\xED\xBF\xBF", "???"},
      {"\xF4\x90\x80\x80", "????"},    // U+110000
      {"\xF5\x80\x80\x80", "????"},    // leads above F4
      {"\xFE\xFF", "??"},
      {"\x80", "?"},                   // lone continuation bytes
      {"\xBF" "A", "?A"},
      {"A\x80\x80" "B", "A??B"},
      {"\xE2\x82", "?"},               // truncated at the end
      {"\xF0\x9F\x98", "?"},
      {"\xE2\x82" "A", "?A"},          // broken off by an ASCII byte
      {"\xF0\x9F" "\xD0\x97", "?\xC7"},  // broken off by a whole letter, which survives
      {"\xC2\xA0", "\xA0"},            // the smallest two-byte form
      {"\xE0\xA0\x80", "?"},           // U+0800, the smallest three-byte form
      {"\xED\x9F\xBF", "?"},           // U+D7FF, just below the surrogates
      {"\xF0\x90\x80\x80", "?"},       // U+10000
      {"\xF4\x8F\xBF\xBF", "?"},       // U+10FFFF, the last code point
      {"\xE2\x82\xAC", "\x88"},        // euro sign
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Cp1251FromUtf8(c.utf8).Bytes(), c.cp1251) << testing::PrintToString(std::string(c.utf8));
  }
}

}  // namespace
}  // namespace zelor
