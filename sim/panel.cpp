#include "sim/panel.h"

#include "link/crc16.h"
#include "link/registers.h"

namespace zelor::sim {

namespace {
uint16_t Word(const uint8_t* p) { return static_cast<uint16_t>(p[0] << 8 | p[1]); }
constexpr uint8_t kIllegalFunction = 1;
constexpr uint8_t kIllegalAddress = 2;
constexpr uint8_t kIllegalValue = 3;
}  // namespace

Panel::Panel() {
  for (uint16_t r = 0; r <= reg::kSilenceLight; ++r) registers_[r] = 0;
  registers_[reg::kTypeCode] = reg::kPanelTypeValue;
  registers_[reg::kPanelAddress] = address_;
  registers_[reg::kExternalSpeed] = 8;
  registers_[reg::kClockTrim] = reg::kClockTrimCentre;
  registers_[reg::kInternalSpeed] = 8;
}

std::optional<uint16_t> Panel::Register(uint16_t r) const {
  auto it = registers_.find(r);
  if (it == registers_.end()) return std::nullopt;
  return it->second;
}

std::vector<uint8_t> Panel::Sealed(std::vector<uint8_t> frame) const {
  const uint16_t crc = Crc16(frame.data(), static_cast<uint16_t>(frame.size()));
  frame.push_back(static_cast<uint8_t>(crc & 0xFF));
  frame.push_back(static_cast<uint8_t>(crc >> 8));
  return frame;
}

std::vector<uint8_t> Panel::Exception(uint8_t function, uint8_t code) const {
  return Sealed({address_, static_cast<uint8_t>(function | fn::kExceptionFlag), code});
}

std::optional<std::vector<uint8_t>> Panel::Handle(const uint8_t* request, std::size_t length) {
  if (length < 4 || length > 1024) return std::nullopt;
  const uint16_t crc = Crc16(request, static_cast<uint16_t>(length - 2));
  if (request[length - 2] != (crc & 0xFF) || request[length - 1] != (crc >> 8)) return std::nullopt;
  if (request[0] != address_) return std::nullopt;
  const uint8_t function = request[1];
  switch (function) {
    case fn::kReadHolding:
      if (length != 8) return Exception(function, kIllegalValue);
      return Read(Word(request + 2), Word(request + 4));
    case fn::kWriteSingle:
      if (length != 8) return Exception(function, kIllegalValue);
      return WriteSingle(request);
    case fn::kWriteMultiple:
      return WriteMultiple(request, length);
    default:
      return Exception(function, kIllegalFunction);
  }
}

std::vector<uint8_t> Panel::Read(uint16_t start, uint16_t count) {
  if (count == 0 || count > 125) return Exception(fn::kReadHolding, kIllegalValue);
  std::vector<uint8_t> frame{address_, fn::kReadHolding, static_cast<uint8_t>(2 * count)};
  for (uint32_t r = start; r < static_cast<uint32_t>(start) + count; ++r) {
    auto it = registers_.find(static_cast<uint16_t>(r));
    if (r > 0xFFFF || it == registers_.end()) return Exception(fn::kReadHolding, kIllegalAddress);
    frame.push_back(static_cast<uint8_t>(it->second >> 8));
    frame.push_back(static_cast<uint8_t>(it->second & 0xFF));
  }
  return Sealed(std::move(frame));
}

std::optional<std::vector<uint8_t>> Panel::WriteSingle(const uint8_t* request) {
  const uint16_t r = Word(request + 2);
  const uint16_t value = Word(request + 4);
  if (registers_.find(r) == registers_.end()) return Exception(fn::kWriteSingle, kIllegalAddress);
  registers_[r] = value;
  ++writes_;
  std::vector<uint8_t> echo(request, request + 8);
  // The echo still carries the old address; the new one is in force after it.
  if (r == reg::kPanelAddress && value >= 1 && value <= 247) address_ = static_cast<uint8_t>(value);
  return echo;
}

std::vector<uint8_t> Panel::WriteMultiple(const uint8_t* request, std::size_t length) {
  if (length < 9) return Exception(fn::kWriteMultiple, kIllegalValue);
  const uint16_t start = Word(request + 2);
  const uint16_t quantity = Word(request + 4);
  const uint8_t byteCount = request[6];
  if (byteCount != 2 * quantity || length != 9U + byteCount) return Exception(fn::kWriteMultiple, kIllegalValue);
  for (uint16_t i = 0; i < quantity; ++i) {
    if (registers_.find(static_cast<uint16_t>(start + i)) == registers_.end())
      return Exception(fn::kWriteMultiple, kIllegalAddress);
  }
  for (uint16_t i = 0; i < quantity; ++i) registers_[static_cast<uint16_t>(start + i)] = Word(request + 7 + 2 * i);
  ++writes_;
  return Sealed({address_, fn::kWriteMultiple, request[2], request[3], request[4], request[5]});
}

}  // namespace zelor::sim
