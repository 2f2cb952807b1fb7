#include "automation/executor_commands.h"

#include "model/device_types.h"
#include "model/rule_side.h"
#include "link/crc16.h"
#include "link/registers.h"

namespace zelor {
namespace {

constexpr CommandList One(uint16_t reg, uint16_t value) { return {1, {{{reg, value}, {}}}}; }
constexpr CommandList Two(uint16_t reg1, uint16_t v1, uint16_t reg2, uint16_t v2) {
  return {2, {{{reg1, v1}, {reg2, v2}}}};
}

constexpr uint16_t kPpuPkArm = 0x7D4B;  // written before a start or stop of the ППУ-ПК

}  // namespace

CommandList ExecutorCommandTable(uint8_t nodeType, uint8_t action) {
  switch (nodeType) {
    case kTypePpu:
      switch (action) {
        case 2: return One(6, 0xAA55);
        case 3: return One(5, 0xAA01);
        case 4: return One(5, 0x5500);
        case 5: return One(4, 1);
        case 6: return One(4, 0);
        default: return {};
      }
    case kTypePpuPk:
      switch (action) {
        case 2: return One(20, 0xAA55);
        case 3: return Two(19, kPpuPkArm, 17, 0xAA01);
        case 4: return Two(19, kPpuPkArm, 17, 0x5500);
        case 5: return One(13, 1);
        case 6: return One(13, 0);
        default: return {};
      }
    case kTypeAddressTag:
      if (action == 17) return One(4, 0);
      if (action == 18) return One(4, 1);
      return {};
    case kTypeDrola:
      switch (action) {
        case 7: return One(3, 0);
        case 12: return One(3, 6);
        case 13: return One(3, 7);
        case 14: return One(3, 8);
        case 15: return One(3, 9);
        default: return {};
      }
    case kTypeDrolaSound:
      if (action == 7) return One(3, 0);
      if (action >= 8 && action <= 16) return One(3, static_cast<uint16_t>(action - 6));
      return {};
    case kTypePpuV2:
      switch (action) {
        case 2: return One(7, 0xAA02);
        case 3: return One(6, 0xAA03);
        case 4: return One(6, 0xAA00);
        case 5: return One(4, 0xAA01);
        case 6: return One(4, 0xAA00);
        default: return {};
      }
    default:
      return {};
  }
}

ExecutorCommand BuildExecutorCommand(uint8_t address, RegisterWrite w) {
  ExecutorCommand c{address,
                    fn::kWriteSingle,
                    static_cast<uint8_t>(w.Register >> 8),
                    static_cast<uint8_t>(w.Register & 0xFF),
                    static_cast<uint8_t>(w.Value >> 8),
                    static_cast<uint8_t>(w.Value & 0xFF),
                    0,
                    0};
  AppendCrc16(c.data(), kExecutorCommandBytes - 2);
  return c;
}

RegisterWrite ReadExecutorCommand(std::span<const uint8_t, kExecutorCommandBytes> c) {
  return {static_cast<uint16_t>((c[2] << 8) | c[3]), static_cast<uint16_t>((c[4] << 8) | c[5])};
}

uint8_t DecodeExecutorAction(uint8_t nodeType, std::span<const RegisterWrite> commands) {
  if (commands.empty()) return kUnsetCode;
  const bool twoForPpuPk = nodeType == kTypePpuPk && commands.size() >= 2;
  const RegisterWrite w = twoForPpuPk ? commands[1] : commands[0];
  const uint16_t r = w.Register;
  const uint16_t v = w.Value;
  switch (nodeType) {
    case kTypePpu:
      if (r == 4 && v == 0) return 6;
      if (r == 4 && v == 1) return 5;
      if (r == 5 && v == 0x5500) return 4;
      if (r == 5 && v == 0xAA01) return 3;
      if (r == 6 && v == 0xAA55) return 2;
      return kUnsetCode;
    case kTypePpuPk:
      if (twoForPpuPk) {
        if (r == 17 && v == 0x5500) return 4;
        if (r == 17 && v == 0xAA01) return 3;
        return kUnsetCode;
      }
      if (r == 13 && v == 0) return 6;
      if (r == 13 && v == 1) return 5;
      if (r == 20 && v == 0xAA55) return 2;
      return kUnsetCode;
    case kTypeAddressTag:
      if (r == 4 && v == 0) return 17;
      if (r == 4 && v == 1) return 18;
      return kUnsetCode;
    case kTypeDrola:
      if (r != 3) return kUnsetCode;
      if (v == 0) return 7;
      if (v >= 6 && v <= 9) return static_cast<uint8_t>(v + 6);
      return kUnsetCode;
    case kTypeDrolaSound:
      if (r != 3) return kUnsetCode;
      if (v == 0) return 7;
      if (v >= 2 && v <= 10) return static_cast<uint8_t>(v + 6);
      return kUnsetCode;
    case kTypePpuV2:
      if (r == 4 && v == 0xAA00) return 6;
      if (r == 4 && v == 0xAA01) return 5;
      if (r == 6 && v == 0xAA00) return 4;
      if (r == 6 && v >= 0xAA01 && v <= 0xAA04) return 3;
      if (r == 7 && v == 0xAA02) return 2;
      return kUnsetCode;
    default:
      return kUnsetCode;
  }
}

}  // namespace zelor
