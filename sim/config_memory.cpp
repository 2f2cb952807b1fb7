#include "sim/config_memory.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

#include "link/crc16.h"
#include "sim/sim_files.h"

namespace zelor::sim {

bool ImageCrcValid(const uint8_t* image, std::size_t size) {
  if (image == nullptr || size < kCheckedLength + 2) return false;
  return Crc16Matches(image, kCheckedLength + 2);
}

void SealImage(std::vector<uint8_t>& image) {
  if (image.size() < kCheckedLength + 2) return;
  AppendCrc16(image.data(), static_cast<uint16_t>(kCheckedLength));
}

ConfigMemory::ConfigMemory(const std::vector<uint8_t>& image) : active_(kTransferLength, 0xFF) {
  std::copy_n(image.begin(), std::min(image.size(), kTransferLength), active_.begin());
  staging_ = active_;
}

std::optional<std::vector<uint8_t>> ConfigMemory::Read(uint32_t page, std::size_t count) const {
  const std::size_t from = static_cast<std::size_t>(page) * kPageBytes;
  if (page >= kPageCount || count > kTransferLength - from) return std::nullopt;
  return std::vector<uint8_t>(active_.begin() + static_cast<std::ptrdiff_t>(from),
                              active_.begin() + static_cast<std::ptrdiff_t>(from + count));
}

bool ConfigMemory::Write(uint32_t page, const uint8_t* bytes, std::size_t count) {
  const std::size_t from = static_cast<std::size_t>(page) * kPageBytes;
  if (page >= kPageCount || count > kTransferLength - from) return false;
  std::copy_n(bytes, count, staging_.begin() + static_cast<std::ptrdiff_t>(from));
  return true;
}

bool ConfigMemory::Apply() {
  if (!ImageCrcValid(staging_.data(), staging_.size())) return false;
  active_ = staging_;
  ++applied_;
  return true;
}

std::vector<uint8_t> ConfigMemory::ImageFile() const {
  std::vector<uint8_t> file(kImageSize, 0xFF);
  std::copy(active_.begin(), active_.end(), file.begin());
  return file;
}

std::optional<std::vector<uint8_t>> LoadImageFile(const std::string& path, std::string& error) {
  // The type first: opening a FIFO would wait for a writer.
  if (const std::string why = WhyNotReadable(path); !why.empty()) {
    error = "cannot open " + path + ": " + why;
    return std::nullopt;
  }
  errno = 0;
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot open " + path + ": " + std::strerror(errno != 0 ? errno : EACCES);
    return std::nullopt;
  }
  std::vector<uint8_t> bytes;
  bytes.reserve(kImageSize + 1);
  char c;
  while (bytes.size() <= kImageSize && in.get(c)) bytes.push_back(static_cast<uint8_t>(c));
  if (in.bad()) {
    error = "cannot read " + path + ": " + std::strerror(errno != 0 ? errno : EIO);
    return std::nullopt;
  }
  if (bytes.size() != kImageSize) {
    error = path + ": a configuration file must hold exactly " + std::to_string(kImageSize) + " bytes, this one holds " +
            (bytes.size() > kImageSize ? "more" : std::to_string(bytes.size()));
    return std::nullopt;
  }
  return bytes;
}

}  // namespace zelor::sim
