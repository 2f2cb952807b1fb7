#include "sim/traffic_log.h"

#include <cstdio>

namespace zelor::sim {

std::string TrafficLog::Hex(const std::vector<uint8_t>& bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string s;
  s.reserve(bytes.size() * 3);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (i > 0) s += ' ';
    s += kDigits[bytes[i] >> 4];
    s += kDigits[bytes[i] & 0x0F];
  }
  return s;
}

std::string TrafficLog::Stamp() const {
  const int64_t micros = now_();
  const CivilTime t = CivilFromMicros(micros);
  const int64_t ms = ((micros % 1'000'000) + 1'000'000) % 1'000'000 / 1000;
  char buf[40];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d.%03d", t.year, t.month, t.day, t.hour, t.minute,
                t.second, static_cast<int>(ms));
  return buf;
}

void TrafficLog::Bytes(const char* direction, const std::vector<uint8_t>& bytes, const std::string& note) {
  if (out_ == nullptr) return;
  *out_ << Stamp() << ' ' << direction << ' ' << Hex(bytes);
  if (!note.empty()) *out_ << "   ; " << note;
  *out_ << '\n';
  out_->flush();
}

void TrafficLog::Note(const std::string& text) {
  if (out_ == nullptr) return;
  *out_ << Stamp() << " -- " << text << '\n';
  out_->flush();
}

}  // namespace zelor::sim
