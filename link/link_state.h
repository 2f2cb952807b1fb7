// The link's shared state: the frame buffer and the counters every operation reads and writes.
#pragma once
#include <array>
#include <cstdint>

namespace zelor {

constexpr std::size_t kFrameBufferSize = 1028;
// A response is read into at most this many bytes (ExpectedLength is one byte wide).
constexpr std::size_t kMaxResponseLength = 255;
constexpr uint8_t kHighestSlaveAddress = 247;  // the highest MODBUS slave address
constexpr uint8_t kDefaultDeviceAddress = kHighestSlaveAddress;
constexpr uint8_t kDefaultBaudIndex = 7;  // 57600
constexpr uint16_t kDefaultSearchDelay = 150;

// The running multi-step operation; the sequencer's tick sends the request of its mode.
enum class OperationMode : uint8_t {
  omIdle = 0,
  omConfigRead = 1,
  omConfigWrite = 2,
  omConfigApply = 3,
  omLast15Count = 4,
  omLast15Pointers = 5,
  omLast15Record = 6,
  omDownloadPointers = 7,
  omDownloadRecords = 8,
  omMonitorStart = 16,
  omMonitorPointer = 17,
  omMonitorPoll = 18,
  omMonitorRecord = 19,
  omUpgrade = 250,
  omSearch = 254,
};

// Which handler takes the next valid response.
enum class ResponseKind : uint8_t {
  rkNone = 0,
  rkAddressWrite = 1,
  rkBaudWrite = 2,
  rkParameterBlock = 3,
  rkConfigBlockRead = 20,
  rkConfigBlockWrite = 21,
  rkConfigApply = 22,
  rkLast15Count = 23,
  rkLast15Pointers = 24,
  rkLast15Record = 25,
  rkDownloadPointers = 26,
  rkDownloadRecords = 27,
  rkRecordCount = 28,
  rkParameterWrite = 29,
  rkContrastWrite = 30,
  rkClockTrimWrite = 31,
  rkVolumeWrite = 32,
  rkReg23Write = 33,
  rkMonitorStart = 50,
  rkMonitorPointer = 51,
  rkMonitorPoll = 52,
  rkMonitorRecord = 53,
  rkUpgrade = 200,
  rkSearchProbe = 254,
};

// The member names below are those of the types above, so the types are spelled in full here.
struct LinkState {
  std::array<uint8_t, kFrameBufferSize> FrameBuffer{};
  int32_t RxCount = 0;
  uint8_t ExpectedLength = 0;
  uint8_t DeviceAddress = kDefaultDeviceAddress;
  uint8_t BaudIndex = kDefaultBaudIndex;  // the panel's rate as the tool believes it; picks the read time-out
  uint8_t PcBaudIndex = kDefaultBaudIndex;  // the rate chosen in the "BaudRate" menu, put on the PC port
  uint16_t SearchDelay = kDefaultSearchDelay;
  zelor::OperationMode OperationMode = zelor::OperationMode::omIdle;
  zelor::ResponseKind ResponseKind = zelor::ResponseKind::rkNone;
  int32_t ErrorCount = 0;
  uint8_t WaitPending = 0;
  uint8_t ControlsLocked = 0;
  uint8_t BlockIndex = 0;
  int32_t ArchiveAddress = 0;   // next archive record to read; only its low 16 bits are sent
  uint16_t MonitorAddress = 0;  // next record the monitor reads
};

}  // namespace zelor
