// Request frames built in the frame buffer, the response CRC check, and the hex log lines.
#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "link/civil_time.h"
#include "link/link_state.h"
#include "link/registers.h"

namespace zelor {

constexpr std::size_t kTxBytesPerLine = 33;
constexpr std::size_t kRxBytesPerLine = 38;

// CRC of the first `length` bytes of the frame buffer.
uint16_t Crc16(const LinkState& link, uint8_t length);

std::string ByteToHex(uint8_t b);

// Function 03: sets ExpectedLength to (2 * low byte of count + 5) mod 256.
void BuildReadRequest(LinkState& link, uint16_t start, uint16_t count);
// Function 06: sets ExpectedLength to 8.
void BuildWriteRequest(LinkState& link, uint16_t reg, uint16_t value);
// Function 16: start, the quantity field as given (it is not derived from the data), the byte
// count and the data, sealed with the CRC. Returns the frame's length (data + 9), or 0 and builds
// nothing for more than 246 data bytes. ExpectedLength is the caller's to set (8 for the reply).
uint8_t BuildWriteMultipleRequest(LinkState& link, uint16_t start, uint16_t quantity,
                                  std::span<const uint8_t> data);
// The year as register 12 and the clock-set frame carry it: modulo 100, 0..99 for any year.
constexpr int ClockYear(int year) { return ((year % 100) + 100) % 100; }
// The clock set: registers 7..12 := hour, minute, second, day, month, ClockYear (21 bytes).
uint8_t BuildClockSetRequest(LinkState& link, const CivilTime& time);
// The configuration block write: the 192 image bytes of block `page` to 0x0F00 + page, with the
// quantity field 1 as the panel expects it (201 bytes).
uint8_t BuildConfigBlockWrite(LinkState& link, uint8_t page, std::span<const uint8_t, reg::kConfigBlockBytes> block);
// Writes the CRC of the first `length` bytes right after them (low byte first).
void SealFrame(LinkState& link, uint8_t length);

// True when the last two of the RxCount received bytes are the CRC of those before them.
bool CheckResponseCrc(const LinkState& link);

// Log lines: the first starts with `"TX : "`/`"RX : "`, further ones with five blanks,
// each byte as two hex digits and a blank; no line for an empty remainder.
std::vector<std::string> FormatHexLines(const char* firstPrefix, const uint8_t* bytes, std::size_t count,
                                        std::size_t perLine);
std::vector<std::string> FormatTxLines(const uint8_t* bytes, std::size_t count);
std::vector<std::string> FormatRxLines(const uint8_t* bytes, std::size_t count);

}  // namespace zelor
