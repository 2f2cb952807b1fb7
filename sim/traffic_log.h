// The simulator's traffic log: every request and reply in hexadecimal, with a timestamp.
#pragma once
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "sim/panel_clock.h"

namespace zelor::sim {

class TrafficLog {
 public:
  // `now` gives the timestamps (local wall time); the log writes nothing without a stream.
  TrafficLog(std::ostream* out, TimeSource now) : out_(out), now_(now ? std::move(now) : HostLocalTime()) {}

  // "2019-02-03 09:05:07.000 RX F7 03 00 00 00 01 90 9C" and a note after the bytes, if any.
  void Bytes(const char* direction, const std::vector<uint8_t>& bytes, const std::string& note = "");
  void Note(const std::string& text);

  static std::string Hex(const std::vector<uint8_t>& bytes);

 private:
  std::string Stamp() const;

  std::ostream* out_;
  TimeSource now_;
};

}  // namespace zelor::sim
