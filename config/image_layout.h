// Byte places of the configuration image (big-endian numbers; the CRC low byte first).
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

namespace zelor {

constexpr std::size_t ImageSize = 45952;
constexpr std::size_t CheckedLength = 12900;   // bytes under the image CRC
constexpr std::size_t TransferLength = 13056;  // bytes that travel to and from the panel

using ConfigImage = std::array<uint8_t, ImageSize>;

namespace image {
constexpr std::size_t kZoneNames = 0;          // 512 x 15
constexpr std::size_t kNodeNames = 7680;       // 32 x 15
constexpr std::size_t kZoneTotal = 8160;       // 2
constexpr std::size_t kZoneTable = 8162;       // 512 x (kind, position from 1, node address)
constexpr std::size_t kNodeCount = 9698;       // 1
constexpr std::size_t kNodeTable = 9699;       // 32 x (address, type)
constexpr std::size_t kSortedNumbers = 9763;   // 512 x 2
constexpr std::size_t kNumberOwners = 10787;   // 512 x 2
constexpr std::size_t kZoneGroups = 11811;     // 512 x 1
constexpr std::size_t kGroupNames = 12323;     // 10 x 16
constexpr std::size_t kRuleCount = 12483;      // 1
constexpr std::size_t kRuleActivators = 12484; // 32 x 2
constexpr std::size_t kRuleEvents = 12548;     // 32 x 1
constexpr std::size_t kRuleFirstSlot = 12580;  // 32 x 1
constexpr std::size_t kRuleSlotCount = 12612;  // 32 x 1
constexpr std::size_t kCommandSlots = 12644;   // 32 x 8
constexpr std::size_t kImageCrc = 12900;       // 2

constexpr std::size_t kCommandSlotCount = 32;
constexpr std::size_t kCommandSlotBytes = 8;
constexpr uint8_t kFill = 0xFF;
constexpr uint8_t kGroupFill = 0xFD;

static_assert(kCommandSlots + kCommandSlotCount * kCommandSlotBytes == kImageCrc);
static_assert(kImageCrc == CheckedLength);
}  // namespace image

inline uint16_t ReadBigEndian(const ConfigImage& img, std::size_t at) {
  return static_cast<uint16_t>((img[at] << 8) | img[at + 1]);
}
inline void WriteBigEndian(ConfigImage& img, std::size_t at, uint16_t value) {
  img[at] = static_cast<uint8_t>(value >> 8);
  img[at + 1] = static_cast<uint8_t>(value & 0xFF);
}

}  // namespace zelor
