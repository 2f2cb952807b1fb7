#include "upgrade/firmware_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
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
  // The type and the size before opening: a FIFO would block until something writes to it, a
  // folder is no file, and a file of the wrong size is refused without reading it.
  std::error_code failed;
  const std::filesystem::file_status status = std::filesystem::status(path, failed);
  if (failed) return {FirmwareLoad::FileError, failed.message()};
  if (std::filesystem::is_directory(status)) return FileError(EISDIR);
  if (!std::filesystem::is_regular_file(status)) return {FirmwareLoad::FileError, "Not a regular file"};
  const std::uintmax_t onDisk = std::filesystem::file_size(path, failed);
  if (failed) return {FirmwareLoad::FileError, failed.message()};
  if (onDisk < kMinFirmwareFileBytes || onDisk > kMaxFirmwareFileBytes) return {FirmwareLoad::WrongSize, {}};
  errno = 0;
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) return FileError(errno != 0 ? errno : ENOENT);
  // One byte more than the size promised tells a file that grew meanwhile.
  const auto length = static_cast<std::size_t>(onDisk);
  std::vector<uint8_t> bytes(length + 1);
  const std::size_t got = std::fread(bytes.data(), 1, bytes.size(), file.get());
  if (std::ferror(file.get())) return FileError(errno != 0 ? errno : EIO);
  if (got != length) return {FirmwareLoad::FileError, "the file changed while it was read"};
  if (std::fclose(file.release()) != 0) return FileError(errno);
  FillFirmwareImages(bytes.data(), length, images);
  return {FirmwareLoad::Loaded, {}};
}

}  // namespace zelor
