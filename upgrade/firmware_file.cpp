#include "upgrade/firmware_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace zelor {

void FirmwareImages::Erase() {
  FirmwareImage.fill(kErasedByte);
  AuxImage.fill(kErasedByte);
}

FirmwareLoad FillFirmwareImages(const uint8_t* bytes, std::size_t size, FirmwareImages& images) {
  // Larger files are refused too: AuxImage has room for 2048 bytes, and a file that is longer
  // is not a firmware file of this panel.
  if (bytes == nullptr || size < kMinFirmwareFileBytes || size > kMaxFirmwareFileBytes) return FirmwareLoad::WrongSize;
  std::copy_n(bytes, kFirmwareBytes, images.FirmwareImage.begin());
  images.CheckWord = static_cast<uint16_t>(bytes[kFirmwareBytes] | bytes[kFirmwareBytes + 1] << 8);
  const std::size_t k = size - kMinFirmwareFileBytes;
  images.AuxBlockCount = static_cast<uint16_t>((k + kAuxBlockBytes - 1) / kAuxBlockBytes);
  std::copy_n(bytes + kMinFirmwareFileBytes, k, images.AuxImage.begin());
  for (std::size_t i = kCheckWordCopiesAt; i < kAuxBytes; i += 2) {
    images.AuxImage[i] = static_cast<uint8_t>(images.CheckWord & 0xFF);
    images.AuxImage[i + 1] = static_cast<uint8_t>(images.CheckWord >> 8);
  }
  return FirmwareLoad::Loaded;
}

namespace {
struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

FirmwareLoadResult FileError(int error) { return {FirmwareLoad::FileError, std::strerror(error)}; }
}  // namespace

FirmwareLoadResult LoadFirmwareFile(const std::string& path, FirmwareImages& images) {
  images.Erase();
  errno = 0;
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) return FileError(errno != 0 ? errno : ENOENT);
  if (std::fseek(file.get(), 0, SEEK_END) != 0) return FileError(errno);
  const long size = std::ftell(file.get());
  if (size < 0) return FileError(errno);
  if (std::fseek(file.get(), 0, SEEK_SET) != 0) return FileError(errno);
  const auto length = static_cast<std::size_t>(size);
  if (length < kMinFirmwareFileBytes || length > kMaxFirmwareFileBytes) return {FirmwareLoad::WrongSize, {}};
  std::vector<uint8_t> bytes(length);
  if (std::fread(bytes.data(), 1, length, file.get()) != length) {
    if (std::ferror(file.get())) return FileError(errno != 0 ? errno : EIO);
    return {FirmwareLoad::FileError, "read beyond end of file"};
  }
  if (std::fclose(file.release()) != 0) return FileError(errno);
  FillFirmwareImages(bytes.data(), bytes.size(), images);
  return {FirmwareLoad::Loaded, {}};
}

}  // namespace zelor
