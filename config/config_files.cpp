#include "config/config_files.h"

#include "config/config_texts.h"
#include "link/crc16.h"
#include "config/image_layout.h"

namespace zelor {

std::string BinFileName(const std::string& chosenPath) {
  // Both separators: a path typed on Windows may use either.
  const std::size_t nameStart = [&] {
    const std::size_t slash = chosenPath.find_last_of("/\\");
    return slash == std::string::npos ? std::size_t{0} : slash + 1;
  }();
  std::size_t end = chosenPath.size();
  const std::size_t dot = chosenPath.rfind('.');
  if (dot != std::string::npos && dot >= nameStart) end = dot;
  return chosenPath.substr(0, end) + ".bin";
}

std::optional<std::string> RefuseImageFile(unsigned long long size) {
  if (size == ImageSize) return std::nullopt;
  return WrongFileSizeText(size);
}

std::optional<std::string> RefuseImageBytes(std::span<const uint8_t> bytes) {
  if (bytes.size() != ImageSize) return WrongFileSizeText(bytes.size());
  if (!Crc16Matches(bytes.data(), CheckedLength + 2)) return FileCrcMismatchText();
  return std::nullopt;
}

}  // namespace zelor
