// The rules of the configuration's .bin files: the name a save writes, and which files a load takes.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace zelor {

// The chosen file's name with its extension (from the last dot of the name) replaced by ".bin",
// in the chosen folder: "config.old" and "config" give "config.bin", "my.bin.bin" stays.
std::string BinFileName(const std::string& chosenPath);

// Why a file of `size` bytes is not a configuration image (its log line); nothing when it is one.
std::optional<std::string> RefuseImageFile(unsigned long long size);

}  // namespace zelor
