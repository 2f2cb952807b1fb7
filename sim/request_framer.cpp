#include "sim/request_framer.h"

#include <optional>

#include "link/crc16.h"
#include "sim/boot_loader.h"

namespace zelor::sim {

namespace {
bool CrcOk(const uint8_t* frame, std::size_t length) { return length >= 4 && Crc16Matches(frame, length); }

bool IsSlaveAddress(uint8_t address) { return address != 0 && address <= 247; }

// No MODBUS RTU frame is longer; a longer quiet-ended run is never one request.
constexpr std::size_t kMaxRtuFrame = 256;

// Length of a MODBUS request starting at `p` with `avail` bytes: 0 = not a function framed by
// length, nullopt = more header bytes are needed to tell.
std::optional<std::size_t> ModbusLength(const uint8_t* p, std::size_t avail) {
  if (avail < 2) return std::nullopt;
  if (!IsSlaveAddress(p[0])) return 0;  // no slave has that address
  switch (p[1]) {
    case 0x01:
    case 0x02:
    case 0x03:
    case 0x04:
    case 0x05:
    case 0x06: return 8;
    case 0x0F:
    case 0x10:
      if (avail < 7) return std::nullopt;
      return 9U + p[6];
    default: return 0;
  }
}
}  // namespace

void RequestFramer::Take(std::size_t at, std::size_t length, Output& out) {
  if (at > 0) out.discarded.emplace_back(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(at));
  out.frames.emplace_back(buffer_.begin() + static_cast<std::ptrdiff_t>(at),
                          buffer_.begin() + static_cast<std::ptrdiff_t>(at + length));
  buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(at + length));
}

bool RequestFramer::Scan(bool quiet, Output& out) {
  const std::size_t size = buffer_.size();
  for (std::size_t i = 0; i < size; ++i) {
    const uint8_t* p = buffer_.data() + i;
    const std::size_t avail = size - i;
    if (mode_ == Mode::Loader) {
      // Longest first: the first bytes of a page frame must not pass for a short frame.
      for (std::size_t length : {BootLoader::kPageFrameBytes, BootLoader::kAuxFrameBytes, BootLoader::kFinishFrameBytes}) {
        if (length > avail) continue;
        // Before the line is quiet a short frame is taken only when it is all there is.
        if (!quiet && length != BootLoader::kPageFrameBytes && (i != 0 || avail != length)) continue;
        if (BootLoader::Classify(p, length)) {
          Take(i, length, out);
          return true;
        }
      }
      if (!quiet) return false;  // wait for the rest, or for quiet
      continue;
    }
    const auto length = ModbusLength(p, avail);
    if (!length || (*length != 0 && *length > avail)) {
      if (!quiet) return false;  // the frame here may still be arriving
      continue;
    }
    if (*length != 0 && CrcOk(p, *length)) {
      Take(i, *length, out);
      return true;
    }
    // A run addressed to no slave is noise, even with a CRC that fits (a boot-loader frame left
    // over from before a mode switch is one).
    if (quiet && *length == 0 && IsSlaveAddress(p[0]) && avail <= kMaxRtuFrame && CrcOk(p, avail)) {
      Take(i, avail, out);  // a function not framed by length: the whole quiet-ended run
      return true;
    }
  }
  return false;
}

void RequestFramer::Feed(const uint8_t* bytes, std::size_t count, Output& out) {
  buffer_.insert(buffer_.end(), bytes, bytes + count);
  while (!buffer_.empty() && Scan(false, out)) {
  }
  if (buffer_.size() > kMaxPending) {
    const std::size_t drop = buffer_.size() - kMaxPending;
    out.discarded.emplace_back(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(drop));
    buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(drop));
  }
}

void RequestFramer::Flush(Output& out) {
  while (!buffer_.empty() && Scan(true, out)) {
  }
  if (!buffer_.empty()) {
    out.discarded.push_back(buffer_);
    buffer_.clear();
  }
}

}  // namespace zelor::sim
