// The one table of line rates (BaudIndex 0..7) and what a rate means for the link: its text and
// the time a read waits for its answer.
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace zelor {

constexpr int kBaudRateCount = 8;
// By BaudIndex; the panel's speed codes 1..8 (registers 2 and 20) are BaudIndex + 1.
constexpr std::array<uint32_t, kBaudRateCount> kLineRates = {1200, 2400, 4800, 9600, 14400, 19200, 38400, 57600};
// The boot loader talks at this rate only.
constexpr uint32_t kLoaderBaudRate = 115200;
// A BaudIndex outside the table stands for 9600.
constexpr uint8_t kFallbackBaudIndex = 3;

constexpr bool IsBaudIndex(int baudIndex) { return baudIndex >= 0 && baudIndex < kBaudRateCount; }

constexpr std::optional<uint32_t> BaudRateOf(int baudIndex) {
  if (!IsBaudIndex(baudIndex)) return std::nullopt;
  return kLineRates[static_cast<std::size_t>(baudIndex)];
}

constexpr std::optional<uint8_t> BaudIndexOf(uint32_t rate) {
  for (std::size_t i = 0; i < kLineRates.size(); ++i) {
    if (kLineRates[i] == rate) return static_cast<uint8_t>(i);
  }
  return std::nullopt;
}

// The index itself when it is in the table, otherwise the fallback.
constexpr uint8_t ClampedBaudIndex(uint8_t baudIndex) {
  return IsBaudIndex(baudIndex) ? baudIndex : kFallbackBaudIndex;
}

// The rate's decimal text ("1200" .. "57600"); a BaudIndex outside the table gives the
// fallback's text.
inline std::string BaudRateText(int baudIndex) {
  return std::to_string(kLineRates[IsBaudIndex(baudIndex) ? static_cast<std::size_t>(baudIndex) : kFallbackBaudIndex]);
}

// How long `bytes` take to leave the PC at `baud` (10 bits a byte), in whole milliseconds rounded
// up; a rate of 0 counts as 1 baud.
constexpr uint32_t LineTimeMs(std::size_t bytes, uint32_t baud) {
  const uint64_t rate = baud == 0 ? 1 : baud;
  return static_cast<uint32_t>((static_cast<uint64_t>(bytes) * 10 * 1000 + rate - 1) / rate);
}

// How long a function-03 read waits for its answer: the three slowest rates longer, every other
// rate (and an index outside the table) this long.
constexpr uint32_t kReadTimeoutMs = 350;
constexpr std::array<uint32_t, 3> kSlowReadTimeoutsMs = {3000, 1500, 700};  // 1200, 2400, 4800

constexpr uint32_t ReadTimeoutMsFor(uint8_t baudIndex) {
  return baudIndex < kSlowReadTimeoutsMs.size() ? kSlowReadTimeoutsMs[baudIndex] : kReadTimeoutMs;
}

}  // namespace zelor
