// Text in Windows-1251, the encoding of every name in the configuration model, as a type of its own.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

namespace zelor {

// A literal checked to be ASCII when it is compiled: the same bytes in cp1251 and in UTF-8.
struct AsciiText {
  const char* text;
  consteval AsciiText(const char* ascii) : text(ascii) {  // NOLINT(google-explicit-constructor)
    for (const char* c = ascii; *c != '\0'; ++c) {
      if (static_cast<unsigned char>(*c) >= 0x80) throw "an AsciiText literal holds a byte above 0x7F";
    }
  }
};

// Names of nodes, zones and groups and the rules' zone texts are cp1251 bytes; everything else the
// tool shows or logs is UTF-8 in std::string. Keeping the two apart in the types means a cp1251 name
// cannot reach a view or the log unconverted: Utf8FromCp1251 and Cp1251FromUtf8 (model/cp1251.h)
// are the bridges, Bytes() and FromBytes() the raw access for codecs and tests.
class Cp1251String {
 public:
  Cp1251String() = default;
  Cp1251String(AsciiText ascii) : bytes_(ascii.text) {}  // NOLINT(google-explicit-constructor)

  // Bytes that are cp1251 already (decoded image fields, test tables).
  static Cp1251String FromBytes(std::string cp1251) {
    Cp1251String s;
    s.bytes_ = std::move(cp1251);
    return s;
  }
  const std::string& Bytes() const { return bytes_; }

  std::size_t size() const { return bytes_.size(); }
  bool empty() const { return bytes_.empty(); }
  uint8_t operator[](std::size_t i) const { return static_cast<uint8_t>(bytes_[i]); }
  Cp1251String substr(std::size_t pos, std::size_t count = std::string::npos) const {
    return FromBytes(bytes_.substr(pos, count));
  }

  Cp1251String& operator+=(const Cp1251String& more) {
    bytes_ += more.bytes_;
    return *this;
  }
  friend Cp1251String operator+(Cp1251String a, const Cp1251String& b) { return a += b; }
  bool operator==(const Cp1251String&) const = default;

 private:
  std::string bytes_;
};

}  // namespace zelor
