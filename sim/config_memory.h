// The panel's configuration memory: 13056 bytes in 64-byte pages, written block by block into a
// staging copy and taken over as a whole by the apply command once its image CRC checks out.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zelor::sim {

constexpr std::size_t kImageSize = 45952;      // a .bin file
constexpr std::size_t kTransferLength = 13056;  // what the panel holds: 204 pages of 64 bytes
constexpr std::size_t kCheckedLength = 12900;   // bytes under the image CRC, stored at 12900/12901
constexpr std::size_t kPageBytes = 64;
constexpr std::size_t kPageCount = kTransferLength / kPageBytes;

// True when bytes 12900/12901 hold the CRC of bytes 0..12899 (low byte first).
bool ImageCrcValid(const uint8_t* image, std::size_t size);
void SealImage(std::vector<uint8_t>& image);

class ConfigMemory {
 public:
  // `image`: a whole .bin image or at least the 13056 bytes the panel holds.
  explicit ConfigMemory(const std::vector<uint8_t>& image);

  // `count` bytes of the configuration in force from page `page`; nothing when out of range.
  std::optional<std::vector<uint8_t>> Read(uint32_t page, std::size_t count) const;
  // Writes into the staging copy; false when out of range.
  bool Write(uint32_t page, const uint8_t* bytes, std::size_t count);
  // Takes the staging copy when its image CRC is right; false leaves the configuration in force.
  bool Apply();

  const std::vector<uint8_t>& active() const { return active_; }
  const std::vector<uint8_t>& staging() const { return staging_; }
  // The configuration in force as a .bin image (45952 bytes, 0xFF after the transferred part).
  std::vector<uint8_t> ImageFile() const;
  std::size_t applied() const { return applied_; }

 private:
  std::vector<uint8_t> active_;
  std::vector<uint8_t> staging_;
  std::size_t applied_ = 0;
};

// Reads a .bin file; on failure returns nothing and says why in `error`.
std::optional<std::vector<uint8_t>> LoadImageFile(const std::string& path, std::string& error);

}  // namespace zelor::sim
