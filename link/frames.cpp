#include "link/frames.h"

#include "link/crc16.h"
#include "link/registers.h"

namespace zelor {

uint16_t Crc16(const LinkState& link, uint8_t length) { return Crc16(link.FrameBuffer.data(), length); }

std::string ByteToHex(uint8_t b) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  return std::string{kDigits[b >> 4], kDigits[b & 0x0F]};
}

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

void SealFrame(LinkState& link, uint8_t length) {
  const uint16_t crc = Crc16(link, length);
  link.FrameBuffer[length] = static_cast<uint8_t>(crc & 0xFF);
  link.FrameBuffer[length + 1U] = static_cast<uint8_t>(crc >> 8);
}

void BuildReadRequest(LinkState& link, uint16_t start, uint16_t count) {
  PutRequest(link, fn::kReadHolding, start, count);
  link.ExpectedLength = static_cast<uint8_t>(2U * (count & 0xFFU) + 5U);
}

void BuildWriteRequest(LinkState& link, uint16_t reg, uint16_t value) {
  PutRequest(link, fn::kWriteSingle, reg, value);
  link.ExpectedLength = 8;
}

bool CheckResponseCrc(const LinkState& link) {
  const int32_t n = link.RxCount;
  // The count comes from the line; never trust it beyond the buffer.
  if (n < 3 || n > static_cast<int32_t>(kFrameBufferSize)) return false;
  const uint16_t crc = Crc16(link.FrameBuffer.data(), static_cast<uint16_t>(n - 2));
  return link.FrameBuffer[n - 2] == (crc & 0xFF) && link.FrameBuffer[n - 1] == (crc >> 8);
}

std::vector<std::string> FormatHexLines(const char* firstPrefix, const uint8_t* bytes, std::size_t count,
                                        std::size_t perLine) {
  std::vector<std::string> lines;
  for (std::size_t at = 0; at < count; at += perLine) {
    std::string line = at == 0 ? firstPrefix : "     ";
    for (std::size_t i = at; i < count && i < at + perLine; ++i) line += ByteToHex(bytes[i]) + " ";
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
