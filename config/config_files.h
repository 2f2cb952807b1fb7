// The rules of the configuration's .bin files: the name a save writes, and which files a load takes.
#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace zelor {

// The chosen file's name with its extension (from the last dot of the name) replaced by ".bin",
// in the chosen folder: "config.old" and "config" give "config.bin", "my.bin.bin" stays.
std::string BinFileName(const std::string& chosenPath);

// Why a file of `size` bytes is not a configuration image (its log line); nothing when it is one.
std::optional<std::string> RefuseImageFile(unsigned long long size);
// Why the bytes read from a file are not taken as the image: fewer or more than an image holds,
// or an image CRC that does not match (a damaged file: every image this tool or the panel writes
// carries its CRC). Nothing when they are taken.
std::optional<std::string> RefuseImageBytes(std::span<const uint8_t> bytes);

}  // namespace zelor
