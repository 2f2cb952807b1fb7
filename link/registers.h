// The panel's register map as the tool uses it: every register number lives here.
#pragma once
#include <cstdint>

namespace zelor::reg {

constexpr uint16_t kTypeCode = 0;          // 0x000B identifies this panel
constexpr uint16_t kPanelTypeValue = 0x000B;
constexpr uint16_t kPanelAddress = 1;      // external interface address, echoed then in force
constexpr uint16_t kExternalSpeed = 2;     // 1..8 = 1200 .. 57600 baud
constexpr uint16_t kIntegralState = 3;
constexpr uint16_t kRecordCount = 6;
constexpr uint16_t kClockHour = 7;         // 7..12: hour, minute, second, day, month, year - 2000
constexpr uint16_t kClockMinute = 8;
constexpr uint16_t kClockSecond = 9;
constexpr uint16_t kClockDay = 10;
constexpr uint16_t kClockMonth = 11;
constexpr uint16_t kClockYear = 12;
constexpr uint16_t kClockFieldCount = 6;
constexpr uint16_t kFireOutputMode = 13;
constexpr uint16_t kFireOutputDuration = 14;
constexpr uint16_t kAlarmOutputMode = 15;
constexpr uint16_t kAlarmOutputDuration = 16;
constexpr uint16_t kLcdContrast = 17;
constexpr uint16_t kClockTrim = 18;        // 28799 + step
constexpr uint16_t kClockTrimCentre = 28799;
constexpr uint16_t kSounderVolume = 19;
constexpr uint16_t kInternalSpeed = 20;
constexpr uint16_t kPollingTime = 22;
constexpr uint16_t kExtraTimeout = 23;
constexpr uint16_t kSilenceSound = 24;
constexpr uint16_t kSilenceLight = 25;

constexpr uint16_t kParameterBlockCount = 24;  // registers 0..23 in one read, 48 data bytes
constexpr uint16_t kMonitorBlockCount = 23;    // registers 0..22 in one read, 46 data bytes

constexpr uint16_t kArchiveFirst = 8192;       // event ring, read in 12-byte records
constexpr uint16_t kArchiveLast = 9691;
constexpr uint16_t kArchiveCapacity = kArchiveLast - kArchiveFirst + 1;
constexpr uint16_t kArchiveRecordBytes = 12;
constexpr uint16_t kArchiveBatchRecords = 20;  // records in one download read
constexpr uint16_t kArchivePointers = 9692;    // 9692 newest, 9693 oldest record address
constexpr uint16_t kArchiveNewest = 9692;
constexpr uint16_t kArchiveOldest = 9693;

constexpr uint16_t kConfigPageBase = 0x0F00;   // 0x0F00 + p: 192 image bytes from 64 * p
constexpr uint16_t kConfigPageRegisters = 96;
constexpr uint16_t kConfigPageStride = 64;
constexpr uint16_t kConfigBlockBytes = 192;
constexpr uint16_t kConfigBlockQuantity = 1;   // quantity field of a block write (it carries 96)
constexpr uint16_t kConfigApply = 0xFFFF;      // write 0: take the written configuration
constexpr uint16_t kConfigApplyValue = 0x0000;

// The boot loader acknowledges each accepted frame with these two bytes, without CRC.
constexpr uint8_t kLoaderAck0 = 0x07;
constexpr uint8_t kLoaderAck1 = 0xA5;

}  // namespace zelor::reg

namespace zelor::fn {
constexpr uint8_t kReadHolding = 0x03;
constexpr uint8_t kWriteSingle = 0x06;
constexpr uint8_t kWriteMultiple = 0x10;
constexpr uint8_t kExceptionFlag = 0x80;

constexpr uint8_t kRequestLength = 8;  // a function-03 or function-06 request

// Reply lengths. A read answers address, function, byte count, the data and the CRC; the archive
// range answers 12 bytes per record, whatever the register count says.
constexpr uint8_t kReadReplyOverhead = 5;
constexpr uint8_t kWriteReplyLength = 8;  // function 06: the echo; function 16: the acknowledgement
constexpr uint8_t ArchiveReplyLength(uint16_t records) {
  return static_cast<uint8_t>(kReadReplyOverhead + reg::kArchiveRecordBytes * records);
}
constexpr uint8_t kOneRecordReplyLength = ArchiveReplyLength(1);                           // 17
constexpr uint8_t kRecordBatchReplyLength = ArchiveReplyLength(reg::kArchiveBatchRecords);  // 245
static_assert(kOneRecordReplyLength == 17 && kRecordBatchReplyLength == 245);
}  // namespace zelor::fn
