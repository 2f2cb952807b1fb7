// libFuzzer entry for the display code: image bytes decoded into a name (LcdDecode through
// DecodeName) keep their width, decode to characters that survive a trip through the display
// code and through UTF-8, and encode back to bytes that decode the same. Also linked into
// test_config, which replays the corpus.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "config/lcd_codec.h"
#include "fuzz_entry.h"
#include "model/cp1251.h"

namespace zelor::fuzz {

int LcdCodecInput(const uint8_t* data, std::size_t size) {
  const Cp1251String name = DecodeName(data, size);
  Check(name.size() == size);
  for (std::size_t i = 0; i < size; ++i) {
    const uint8_t c = name[i];
    Check(c == LcdDecode(data[i]));
    Check(LcdDecode(LcdEncode(c)) == c);
  }
  std::vector<uint8_t> again(size);
  EncodeName(name, again.data(), size);
  Check(DecodeName(again.data(), size).Bytes() == name.Bytes());
  const std::string utf8 = Utf8FromCp1251(name);
  Check(ValidUtf8(utf8));
  Check(Cp1251FromUtf8(utf8).Bytes() == name.Bytes());
  return 0;
}

}  // namespace zelor::fuzz

ZELOR_FUZZ_ENTRY(zelor::fuzz::LcdCodecInput)
