// The link's shared state: the frame buffer and the counters every operation reads and writes.
#pragma once
#include <array>
#include <cstdint>

namespace zelor {

constexpr std::size_t kFrameBufferSize = 1028;
constexpr uint8_t kDefaultDeviceAddress = 247;
constexpr uint8_t kDefaultBaudIndex = 7;  // 57600
constexpr uint16_t kDefaultSearchDelay = 150;

// OperationMode values: the running multi-step operation.
enum : uint8_t {
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

// ResponseKind values: which handler takes the next valid response.
enum : uint8_t {
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

struct LinkState {
  std::array<uint8_t, kFrameBufferSize> FrameBuffer{};
  int32_t RxCount = 0;
  uint8_t ExpectedLength = 0;
  uint8_t DeviceAddress = kDefaultDeviceAddress;
  uint8_t BaudIndex = kDefaultBaudIndex;
  uint16_t SearchDelay = kDefaultSearchDelay;
  uint8_t OperationMode = omIdle;
  uint8_t ResponseKind = rkNone;
  int32_t ErrorCount = 0;
  uint8_t WaitPending = 0;
  uint8_t ControlsLocked = 0;
  uint8_t BlockIndex = 0;
  int32_t ArchiveAddress = 0;   // next archive record to read; only its low 16 bits are sent
  uint16_t MonitorAddress = 0;  // next record the monitor reads
};

}  // namespace zelor
