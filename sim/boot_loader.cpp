#include "sim/boot_loader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>

#include "link/crc16.h"
#include "link/registers.h"

namespace zelor::sim {

BootLoader::BootLoader() { Reset(); }

void BootLoader::Reset() {
  firmware_.assign(kFirmwareBytes, 0xFF);
  aux_.assign(kAuxBytes, 0xFF);
  pagesReceived_ = 0;
  auxReceived_ = 0;
  finished_ = false;
}

std::optional<BootLoader::FrameKind> BootLoader::Classify(const uint8_t* frame, std::size_t length) {
  if (frame == nullptr) return std::nullopt;
  switch (length) {
    case kPageFrameBytes:
      if (frame[kPageBytes] < kPages && Crc16Matches(frame, length)) return FrameKind::Page;
      break;
    case kAuxFrameBytes:
      if (frame[kAuxBlockBytes] < kAuxBlocks && Crc16Matches(frame, length)) return FrameKind::Aux;
      break;
    case kFinishFrameBytes:
      if (std::all_of(frame, frame + 6, [](uint8_t b) { return b == 0; }) && Crc16Matches(frame, length))
        return FrameKind::Finish;
      break;
    default: break;
  }
  return std::nullopt;
}

std::optional<std::vector<uint8_t>> BootLoader::Handle(const uint8_t* frame, std::size_t length) {
  const auto kind = Classify(frame, length);
  if (!kind) return std::nullopt;
  switch (*kind) {
    case FrameKind::Page: {
      const std::size_t page = frame[kPageBytes];
      std::copy_n(frame, kPageBytes, firmware_.begin() + static_cast<std::ptrdiff_t>(page * kPageBytes));
      ++pagesReceived_;
      break;
    }
    case FrameKind::Aux: {
      const std::size_t block = frame[kAuxBlockBytes];
      std::copy_n(frame, kAuxBlockBytes, aux_.begin() + static_cast<std::ptrdiff_t>(block * kAuxBlockBytes));
      ++auxReceived_;
      break;
    }
    case FrameKind::Finish: finished_ = true; break;
  }
  return std::vector<uint8_t>{reg::kLoaderAck0, reg::kLoaderAck1};
}

uint16_t BootLoader::CheckWord() const {
  return static_cast<uint16_t>(aux_[kAuxBytes - 6] | aux_[kAuxBytes - 5] << 8);
}

std::vector<uint8_t> BootLoader::FirmwareFile() const {
  std::vector<uint8_t> file(firmware_);
  const uint16_t check = CheckWord();
  file.push_back(static_cast<uint8_t>(check & 0xFF));
  file.push_back(static_cast<uint8_t>(check >> 8));
  file.insert(file.end(), aux_.begin(), aux_.end());
  return file;
}

bool BootLoader::WriteFirmwareFile(const std::string& path, std::string& error) const {
  errno = 0;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  const auto file = FirmwareFile();
  if (out) out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
  if (out) out.close();
  if (!out) {
    error = "cannot write " + path + ": " + std::strerror(errno != 0 ? errno : EIO);
    return false;
  }
  return true;
}

}  // namespace zelor::sim
