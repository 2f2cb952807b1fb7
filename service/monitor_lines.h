// The lines of the live monitor: the start summary read from the status block, and one line
// per archive record.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "link/civil_time.h"

namespace zelor {

// Reply to the status-block read (registers 0..22): address, function, byte count 46, the
// registers, the CRC.
constexpr std::size_t kStatusBlockBytes = 46;
constexpr std::size_t kStatusBlockReplyLength = 3 + kStatusBlockBytes + 2;
// A one-register reply: address, function, byte count, the value, the CRC.
constexpr std::size_t kOneRegisterReplyLength = 7;

// Integral state bits (register 3, low byte).
constexpr uint8_t kStateSecurityAlarm = 0x08;
constexpr uint8_t kStateFireAlarm = 0x04;
constexpr uint8_t kStateAttention = 0x02;
constexpr uint8_t kStateNormal = 0x01;  // clear: a fault

// Device polling time (register 22) is counted in units of 0.000625 s.
constexpr double kPollingTimeUnitSeconds = 0.000625;

// "%.2d:%.2d:%.2d  %.2d.%.2d.%.4d " of hour, minute, second, day, month, year.
std::string MonitorStamp(const CivilTime& t);

// The integral-state lines of a state byte, in their order.
std::vector<std::string> IntegralStateLines(uint8_t state);

// "0.125" for 200: the polling time in seconds, three decimals, a point whatever the locale.
std::string PollingTimeText(uint16_t units);

// The summary written at the start, or nothing when the reply is not this panel's status block
// (byte count not 46, register 0 low byte not 11, or fewer bytes than the block needs).
std::optional<std::vector<std::string>> StartSummaryLines(const uint8_t* reply, std::size_t length,
                                                          const CivilTime& pcTime);

// One record's line: «14:05:07  13.12.2018   :0012    НОРМА            --> ПОЖАР            ».
// `record` holds the 12 bytes of the record.
std::string MonitorRecordLine(const uint8_t* record);

}  // namespace zelor
