#include "upgrade/loader_frames.h"

#include <algorithm>

#include "link/crc16.h"

namespace zelor {

namespace {
// Seals the first `length` bytes with their CRC; returns the frame's length.
uint16_t Seal(uint8_t* frame, uint16_t length) {
  AppendCrc16(frame, length);
  return static_cast<uint16_t>(length + 2);
}
}  // namespace

FrameDue DueFrame(uint8_t blockIndex, uint16_t auxBlockCount) {
  const int b = blockIndex;
  const int a = auxBlockCount;
  const int pages = static_cast<int>(kFirmwarePages);
  if (b < pages) return {LoaderFrame::Page, static_cast<uint8_t>(b)};
  if (b < pages + a) return {LoaderFrame::AuxBlock, static_cast<uint8_t>(b - pages)};
  if (b == pages + a) return {LoaderFrame::AuxBlock, kClosingAuxBlock};
  if (b == pages + a + 1) return {LoaderFrame::Finish, 0};
  return {};
}

uint16_t BuildFirmwarePageFrame(const FirmwareImages& images, uint8_t page, uint8_t* out) {
  const std::size_t p = std::min<std::size_t>(page, kFirmwarePages - 1);
  std::copy_n(images.FirmwareImage.begin() + static_cast<std::ptrdiff_t>(p * kFirmwarePageBytes), kFirmwarePageBytes, out);
  out[kFirmwarePageBytes] = static_cast<uint8_t>(p);
  return Seal(out, kFirmwarePageBytes + 1);
}

uint16_t BuildAuxBlockFrame(const FirmwareImages& images, uint8_t block, uint8_t* out) {
  const std::size_t n = std::min<std::size_t>(block, kAuxBlocks - 1);
  std::copy_n(images.AuxImage.begin() + static_cast<std::ptrdiff_t>(n * kAuxBlockBytes), kAuxBlockBytes, out);
  out[kAuxBlockBytes] = static_cast<uint8_t>(n);
  return Seal(out, kAuxBlockBytes + 1);
}

uint16_t BuildFinishFrame(uint8_t* out) {
  std::fill_n(out, kFinishFrameBytes - 2, uint8_t{0});
  return Seal(out, kFinishFrameBytes - 2);
}

}  // namespace zelor
