// The firmware file and the two images built from it: 61440 bytes of firmware, the check word
// (low byte first) and up to 2048 bytes of the auxiliary image.
#pragma once
#include <array>
#include <cstdint>
#include <string>

namespace zelor {

constexpr std::size_t kFirmwarePages = 120;
constexpr std::size_t kFirmwarePageBytes = 512;
constexpr std::size_t kFirmwareBytes = kFirmwarePages * kFirmwarePageBytes;  // 61440
constexpr std::size_t kAuxBlocks = 128;
constexpr std::size_t kAuxBlockBytes = 16;
constexpr std::size_t kAuxBytes = kAuxBlocks * kAuxBlockBytes;  // 2048
constexpr std::size_t kCheckWordBytes = 2;
constexpr std::size_t kMinFirmwareFileBytes = kFirmwareBytes + kCheckWordBytes;  // 61442
constexpr std::size_t kMaxFirmwareFileBytes = kMinFirmwareFileBytes + kAuxBytes;
// The auxiliary image's last six bytes carry the check word three times, low byte first.
constexpr std::size_t kCheckWordCopiesAt = kAuxBytes - 6;
constexpr uint8_t kErasedByte = 0xFF;

struct FirmwareImages {
  std::array<uint8_t, kFirmwareBytes> FirmwareImage;
  uint16_t CheckWord = 0;
  std::array<uint8_t, kAuxBytes> AuxImage;
  uint16_t AuxBlockCount = 0;  // 16-byte blocks of AuxImage that the file supplied, rounded up

  FirmwareImages() { Erase(); }
  // Both images back to 0xFF, as before every file is read.
  void Erase();
};

enum class FirmwareLoad { Loaded, WrongSize, FileError };

struct FirmwareLoadResult {
  FirmwareLoad status = FirmwareLoad::FileError;
  std::string error;  // the system's text for a file error
};

// Fills the images from a whole file's bytes; sizes outside 61442 .. 61442 + 2048 are refused
// and leave the images as they were.
FirmwareLoad FillFirmwareImages(const uint8_t* bytes, std::size_t size, FirmwareImages& images);

// Reads the file at `path` into the images (erased first).
FirmwareLoadResult LoadFirmwareFile(const std::string& path, FirmwareImages& images);

}  // namespace zelor
