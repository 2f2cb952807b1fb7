// Request frames built in the frame buffer, the response CRC check, and the hex log lines.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "link/link_state.h"

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
