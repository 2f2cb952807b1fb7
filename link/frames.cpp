#include "link/frames.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "link/crc16.h"
#include "link/registers.h"

namespace zelor {

uint16_t Crc16(const LinkState& link, uint8_t length) { return Crc16(link.FrameBuffer.data(), length); }

namespace {
constexpr char kHexDigits[] = "0123456789ABCDEF";
}  // namespace

std::string ByteToHex(uint8_t b) { return std::string{kHexDigits[b >> 4], kHexDigits[b & 0x0F]}; }

namespace {
void PutRequest(LinkState& link, uint8_t function, uint16_t a, uint16_t b) {
  auto& f = link.FrameBuffer;
  f[0] = link.DeviceAddress;
  f[1] = function;
  f[2] = static_cast<uint8_t>(a >> 8);
  f[3] = static_cast<uint8_t>(a & 0xFF);
  f[4] = static_cast<uint8_t>(b >> 8);
  f[5] = static_cast<uint8_t>(b & 0xFF);
  SealFrame(link, 6);
}
}  // namespace

void SealFrame(LinkState& link, uint8_t length) { AppendCrc16(link.FrameBuffer.data(), length); }

void BuildReadRequest(LinkState& link, uint16_t start, uint16_t count) {
  PutRequest(link, fn::kReadHolding, start, count);
  link.ExpectedLength = static_cast<uint8_t>(2U * (count & 0xFFU) + 5U);
}

void BuildWriteRequest(LinkState& link, uint16_t reg, uint16_t value) {
  PutRequest(link, fn::kWriteSingle, reg, value);
  link.ExpectedLength = 8;
}

uint8_t BuildWriteMultipleRequest(LinkState& link, uint16_t start, uint16_t quantity,
                                  std::span<const uint8_t> data) {
  constexpr std::size_t kHeader = 7;
  // The whole frame must fit the 8-bit length that SendFrame takes.
  if (kHeader + data.size() + 2 > UINT8_MAX) return 0;
  auto& f = link.FrameBuffer;
  f[0] = link.DeviceAddress;
  f[1] = fn::kWriteMultiple;
  f[2] = static_cast<uint8_t>(start >> 8);
  f[3] = static_cast<uint8_t>(start & 0xFF);
  f[4] = static_cast<uint8_t>(quantity >> 8);
  f[5] = static_cast<uint8_t>(quantity & 0xFF);
  f[6] = static_cast<uint8_t>(data.size());
  std::copy(data.begin(), data.end(), f.begin() + kHeader);
  const auto sealed = static_cast<uint16_t>(kHeader + data.size());
  AppendCrc16(f.data(), sealed);
  return static_cast<uint8_t>(sealed + 2);
}

uint8_t BuildClockSetRequest(LinkState& link, const CivilTime& time) {
  const int fields[reg::kClockFieldCount] = {time.hour, time.minute, time.second,
                                             time.day,  time.month,  ClockYear(time.year)};
  std::array<uint8_t, 2 * reg::kClockFieldCount> data{};
  for (std::size_t i = 0; i < reg::kClockFieldCount; ++i) data[2 * i + 1] = static_cast<uint8_t>(fields[i]);
  return BuildWriteMultipleRequest(link, reg::kClockHour, reg::kClockFieldCount, data);
}

uint8_t BuildConfigBlockWrite(LinkState& link, uint8_t page, std::span<const uint8_t, reg::kConfigBlockBytes> block) {
  return BuildWriteMultipleRequest(link, static_cast<uint16_t>(reg::kConfigPageBase + page),
                                   reg::kConfigBlockQuantity, block);
}

bool CheckResponseCrc(const LinkState& link) {
  const int32_t n = link.RxCount;
  // The count comes from the line; never trust it beyond the buffer. A CRC alone is no reply.
  if (n < 3 || n > static_cast<int32_t>(kFrameBufferSize)) return false;
  return Crc16Matches(link.FrameBuffer.data(), static_cast<std::size_t>(n));
}

std::vector<std::string> FormatHexLines(const char* firstPrefix, const uint8_t* bytes, std::size_t count,
                                        std::size_t perLine) {
  std::vector<std::string> lines;
  for (std::size_t at = 0; at < count; at += perLine) {
    const std::string_view prefix = at == 0 ? std::string_view(firstPrefix) : std::string_view("     ");
    const std::size_t end = std::min(count, at + perLine);
    // Every frame is logged: the line is sized once and filled in place.
    std::string line(prefix.size() + 3 * (end - at), ' ');
    std::copy(prefix.begin(), prefix.end(), line.begin());
    char* out = line.data() + prefix.size();
    for (std::size_t i = at; i < end; ++i, out += 3) {
      out[0] = kHexDigits[bytes[i] >> 4];
      out[1] = kHexDigits[bytes[i] & 0x0F];
    }
    lines.push_back(std::move(line));
  }
  return lines;
}

std::vector<std::string> FormatTxLines(const uint8_t* bytes, std::size_t count) {
  return FormatHexLines("TX : ", bytes, count, kTxBytesPerLine);
}

std::vector<std::string> FormatRxLines(const uint8_t* bytes, std::size_t count) {
  return FormatHexLines("RX : ", bytes, count, kRxBytesPerLine);
}

}  // namespace zelor
