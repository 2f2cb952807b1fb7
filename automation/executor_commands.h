// Executor commands: the function-06 frames a rule's action becomes, and the way back.
#pragma once
#include <array>
#include <cstdint>
#include <span>

namespace zelor {

struct RegisterWrite {
  uint16_t Register = 0;
  uint16_t Value = 0;
  bool operator==(const RegisterWrite&) const = default;
};

struct CommandList {
  uint8_t Count = 0;  // 0, 1 or 2
  std::array<RegisterWrite, 2> Writes{};
};

// The register writes, in sending order, that carry `action` out on a node of `nodeType`.
CommandList ExecutorCommandTable(uint8_t nodeType, uint8_t action);

constexpr std::size_t kExecutorCommandBytes = 8;
using ExecutorCommand = std::array<uint8_t, kExecutorCommandBytes>;

// address, 0x06, register, value (high bytes first), CRC-16 of the six bytes low byte first.
ExecutorCommand BuildExecutorCommand(uint8_t address, RegisterWrite write);
// Register and value of a stored command (the CRC is not looked at).
RegisterWrite ReadExecutorCommand(std::span<const uint8_t, kExecutorCommandBytes> command);

// The action that the stored commands of a rule stand for; 0xFF when none matches.
// Of two commands of a type-7 node only the second is read; otherwise the first.
uint8_t DecodeExecutorAction(uint8_t nodeType, std::span<const RegisterWrite> commands);

}  // namespace zelor
