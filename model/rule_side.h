// One side of an automation rule: the activator (zone + event) or the executor (zone + action).
#pragma once
#include <cstdint>

#include "model/cp1251_string.h"

namespace zelor {

constexpr uint8_t kMaxRules = 32;
constexpr uint16_t kUnsetZone = 0xFFFF;
constexpr uint8_t kUnsetCode = 0xFF;
constexpr uint8_t kUnsetKind = 0xFF;
constexpr uint8_t kUnsetAddress = 0xFF;
inline constexpr AsciiText kUnsetSideText = "  -?";

struct RuleSide {
  uint16_t ZoneIndex = kUnsetZone;  // global zone index
  Cp1251String Text = kUnsetSideText;  // a copy of the zone's display text
  uint8_t NodeType = 0;                // executor only: type of the zone's node
  uint8_t Kind = kUnsetKind;
  uint8_t NodeAddress = kUnsetAddress;  // executor only: slave address of the commands
  uint8_t Code = kUnsetCode;           // event (activator) or action (executor)
};

enum class Side : uint8_t { Activator, Executor };

}  // namespace zelor
