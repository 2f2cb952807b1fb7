// The boot loader's three frames (firmware page, auxiliary block, finish), each sealed with the
// MODBUS CRC-16 low byte first, and which frame is due at each step of the upgrade.
#pragma once
#include <cstdint>

#include "upgrade/firmware_file.h"

namespace zelor {

constexpr uint16_t kPageFrameBytes = kFirmwarePageBytes + 3;  // 512 bytes, page number, CRC
constexpr uint16_t kAuxFrameBytes = kAuxBlockBytes + 3;       // 16 bytes, block number, CRC
constexpr uint16_t kFinishFrameBytes = 8;                     // six zero bytes, CRC
constexpr uint8_t kClosingAuxBlock = 127;                     // the block holding the check word copies
constexpr uint32_t kPageTimeoutMs = 1000;
constexpr uint32_t kAuxTimeoutMs = 500;
constexpr uint32_t kFinishTimeoutMs = 1000;
constexpr uint8_t kLoaderAckLength = 2;  // 07 A5, without CRC

// Frames sent before the closing auxiliary block and the finish: with A auxiliary blocks the
// whole upgrade is 122 + A frames.
constexpr int kFramesBeyondAux = static_cast<int>(kFirmwarePages) + 2;

enum class LoaderFrame { Page, AuxBlock, Finish, None };

struct FrameDue {
  LoaderFrame kind = LoaderFrame::None;
  uint8_t number = 0;  // the page or the auxiliary block
};

// The frame due when `blockIndex` frames have been acknowledged.
FrameDue DueFrame(uint8_t blockIndex, uint16_t auxBlockCount);

// Builds the frame at `out` and returns its length; `out` holds at least kPageFrameBytes.
uint16_t BuildFirmwarePageFrame(const FirmwareImages& images, uint8_t page, uint8_t* out);
uint16_t BuildAuxBlockFrame(const FirmwareImages& images, uint8_t block, uint8_t* out);
uint16_t BuildFinishFrame(uint8_t* out);

}  // namespace zelor
