// A plain MODBUS master on a simulator's pseudo-terminal, sharing only the CRC with the tool's
// link: what the simulator holds, read straight from it, to check the tool's results against.
#pragma once
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "link/crc16.h"
#include "link/registers.h"
#include "service/event_texts.h"

namespace zelor::test {

class DirectReader {
 public:
  explicit DirectReader(const std::string& path, uint8_t address = 247)
      : fd_(::open(path.c_str(), O_RDWR | O_NOCTTY)), address_(address) {
    if (fd_ < 0) return;
    termios t{};
    ::tcgetattr(fd_, &t);
    ::cfmakeraw(&t);
    ::tcsetattr(fd_, TCSANOW, &t);
  }
  ~DirectReader() {
    if (fd_ >= 0) ::close(fd_);
  }
  DirectReader(const DirectReader&) = delete;
  DirectReader& operator=(const DirectReader&) = delete;
  bool ok() const { return fd_ >= 0; }

  // Function 03 at `start` for `count`; the reply's data bytes, asked again when the reply is
  // missing (the simulator may drop some on purpose) or broken.
  std::optional<std::vector<uint8_t>> Read(uint16_t start, uint16_t count, std::size_t dataBytes) {
    std::vector<uint8_t> request = {address_, 3, static_cast<uint8_t>(start >> 8), static_cast<uint8_t>(start),
                                    static_cast<uint8_t>(count >> 8), static_cast<uint8_t>(count)};
    request.resize(8);
    AppendCrc16(request.data(), 6);
    const std::size_t want = dataBytes + 5;
    for (int attempt = 0; attempt < 50; ++attempt) {
      ::tcflush(fd_, TCIFLUSH);
      if (::write(fd_, request.data(), request.size()) != static_cast<ssize_t>(request.size())) return std::nullopt;
      std::vector<uint8_t> reply;
      pollfd p{fd_, POLLIN, 0};
      while (reply.size() < want && ::poll(&p, 1, 300) > 0) {
        uint8_t buf[512];
        const ssize_t n = ::read(fd_, buf, sizeof buf);
        if (n <= 0) break;
        reply.insert(reply.end(), buf, buf + n);
      }
      if (reply.size() != want || reply[2] != dataBytes || !Crc16Matches(reply.data(), reply.size())) continue;
      return std::vector<uint8_t>(reply.begin() + 3, reply.end() - 2);
    }
    return std::nullopt;
  }
  std::optional<std::vector<uint16_t>> Registers(uint16_t start, uint16_t count) {
    const auto bytes = Read(start, count, 2U * count);
    if (!bytes) return std::nullopt;
    std::vector<uint16_t> regs;
    for (std::size_t i = 0; i + 1 < bytes->size(); i += 2) regs.push_back(static_cast<uint16_t>((*bytes)[i] << 8 | (*bytes)[i + 1]));
    return regs;
  }

 private:
  int fd_;
  uint8_t address_;
};

struct SimArchive {
  uint16_t count = 0, newest = 0, oldest = 0;
  std::vector<EventFields> oldestFirst;
};

// The simulator's whole archive, oldest record first.
inline SimArchive ReadSimArchive(const std::string& path) {
  SimArchive a;
  DirectReader reader(path);
  EXPECT_TRUE(reader.ok()) << path;
  const auto count = reader.Read(reg::kRecordCount, 1, 2);
  const auto pointers = reader.Read(reg::kArchivePointers, 2, 4);
  if (!count || !pointers) return a;
  a.count = static_cast<uint16_t>((*count)[0] << 8 | (*count)[1]);
  a.newest = static_cast<uint16_t>((*pointers)[0] << 8 | (*pointers)[1]);
  a.oldest = static_cast<uint16_t>((*pointers)[2] << 8 | (*pointers)[3]);
  uint16_t at = a.oldest;
  for (int left = a.count; left > 0;) {
    const int n = std::min({left, 20, reg::kArchiveLast - at + 1});
    const auto bytes = reader.Read(at, static_cast<uint16_t>(n), 12U * static_cast<std::size_t>(n));
    if (!bytes) return a;
    for (int i = 0; i < n; ++i) a.oldestFirst.push_back(DecodeEvent(bytes->data() + 12 * i));
    left -= n;
    at = static_cast<uint16_t>(at + n > reg::kArchiveLast ? reg::kArchiveFirst : at + n);
  }
  return a;
}

}  // namespace zelor::test
