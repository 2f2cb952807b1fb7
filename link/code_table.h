// One slot for every value of a one-byte code (an operation mode, a response kind, a failure
// code), indexed by the code itself.
#pragma once
#include <array>
#include <cstdint>
#include <type_traits>

namespace zelor {

template <typename Code, typename Slot>
class CodeTable {
  static_assert(std::is_same_v<std::underlying_type_t<Code>, uint8_t>, "codes are one byte wide");

 public:
  Slot& operator[](Code code) { return slots_[static_cast<uint8_t>(code)]; }
  const Slot& operator[](Code code) const { return slots_[static_cast<uint8_t>(code)]; }

 private:
  std::array<Slot, 256> slots_{};
};

}  // namespace zelor
