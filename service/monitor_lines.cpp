// The start summary and the record lines of the live monitor.
#include "service/monitor_lines.h"

#include <charconv>
#include <cstdio>

#include "link/format.h"
#include "link/registers.h"
#include "service/event_texts.h"
#include "service/monitor_texts.h"

namespace zelor {

namespace {
constexpr int kYearBase = 2000;
constexpr std::size_t kDataOffset = 3;  // after address, function and byte count

// Register `r` of a read reply starting at register 0.
uint16_t RegisterOf(const uint8_t* reply, uint16_t r) {
  const std::size_t at = kDataOffset + 2U * r;
  return static_cast<uint16_t>(reply[at] << 8 | reply[at + 1]);
}
uint8_t LowByteOf(const uint8_t* reply, uint16_t r) { return reply[kDataOffset + 2U * r + 1]; }
}  // namespace

std::string MonitorStamp(const CivilTime& t) {
  char text[64];
  std::snprintf(text, sizeof text, monitor_text::kStampFormat, t.hour, t.minute, t.second, t.day, t.month, t.year);
  return text;
}

std::vector<std::string> IntegralStateLines(uint8_t state) {
  std::vector<std::string> lines;
  if (state & kStateSecurityAlarm) lines.emplace_back(monitor_text::kSecurityAlarm);
  if (state & kStateFireAlarm) lines.emplace_back(monitor_text::kFireAlarm);
  if (state & kStateAttention) lines.emplace_back(monitor_text::kAttention);
  lines.emplace_back((state & kStateNormal) ? monitor_text::kNormal : monitor_text::kFault);
  return lines;
}

std::string PollingTimeText(uint16_t units) {
  char text[32];
  // to_chars is independent of the C locale, which Qt sets from the user's (a comma in Russian).
  const auto r = std::to_chars(text, text + sizeof text, units * kPollingTimeUnitSeconds, std::chars_format::fixed, 3);
  return std::string(text, r.ptr);
}

std::optional<std::vector<std::string>> StartSummaryLines(const uint8_t* reply, std::size_t length,
                                                          const CivilTime& pcTime) {
  if (length < kStatusBlockReplyLength || reply[2] != kStatusBlockBytes) return std::nullopt;
  if (LowByteOf(reply, reg::kTypeCode) != reg::kPanelTypeValue) return std::nullopt;
  const CivilTime panelTime{LowByteOf(reply, reg::kClockYear) + kYearBase, LowByteOf(reply, reg::kClockMonth),
                            LowByteOf(reply, reg::kClockDay),          LowByteOf(reply, reg::kClockHour),
                            LowByteOf(reply, reg::kClockMinute),       LowByteOf(reply, reg::kClockSecond)};
  std::vector<std::string> lines;
  lines.push_back(MonitorStamp(pcTime) + monitor_text::kStarted);
  lines.push_back(MonitorStamp(panelTime) + monitor_text::kPanelTime);
  lines.emplace_back();
  lines.emplace_back(monitor_text::kIntegralState);
  for (auto& line : IntegralStateLines(LowByteOf(reply, reg::kIntegralState))) lines.push_back(std::move(line));
  lines.emplace_back();
  lines.push_back(monitor_text::kRecordCount + FormatZeroPadded(RegisterOf(reply, reg::kRecordCount), 4));
  lines.push_back(monitor_text::kPollingTime + PollingTimeText(RegisterOf(reply, reg::kPollingTime)) +
                  monitor_text::kSeconds);
  return lines;
}

std::string MonitorRecordLine(const uint8_t* record) {
  const EventFields e = DecodeEvent(record);
  return EventTimeText(e) + monitor_text::kAfterTime + EventDateText(e) + monitor_text::kAfterDate +
         SourceFieldText(e.source) + StateTextBefore(e.before) + monitor_text::kArrow +
         StateAfterText(e.after, e.distance);
}

}  // namespace zelor
