// The built-in sample configuration the simulator starts with when no .bin file is given: a
// valid 45952-byte image exercising the editor (device kinds, Cyrillic names, groups, rules).
#pragma once
#include <cstdint>
#include <string_view>
#include <vector>

namespace zelor::sim {

// Offsets of the configuration image sections.
namespace image {
constexpr std::size_t kZoneNames = 0;        // 512 x 15
constexpr std::size_t kNodeNames = 7680;     // 32 x 15
constexpr std::size_t kZoneCount = 8160;     // 2, big-endian
constexpr std::size_t kZoneTable = 8162;     // 512 x 3: kind, position in node from 1, node address
constexpr std::size_t kNodeCount = 9698;
constexpr std::size_t kNodeTable = 9699;     // 32 x 2: address, type
constexpr std::size_t kConvNumbers = 9763;   // 512 x 2, sorted ascending
constexpr std::size_t kConvOwners = 10787;   // 512 x 2
constexpr std::size_t kZoneGroups = 11811;   // 512 x 1, 0xFD = none
constexpr std::size_t kGroupNames = 12323;   // 10 x 16
constexpr std::size_t kRuleCount = 12483;
constexpr std::size_t kRuleZones = 12484;    // 32 x 2
constexpr std::size_t kRuleEvents = 12548;
constexpr std::size_t kRuleFirstSlot = 12580;
constexpr std::size_t kRuleSlotCount = 12612;
constexpr std::size_t kCommandSlots = 12644;  // 32 x 8
constexpr std::size_t kCommandSlotCount = 32;
constexpr uint8_t kNoGroup = 0xFD;
}  // namespace image

// A UTF-8 name in the panel display's character code, cut or blank-padded to `width`.
std::vector<uint8_t> EncodeDisplayName(std::string_view utf8, std::size_t width);

std::vector<uint8_t> SampleImage();

}  // namespace zelor::sim
