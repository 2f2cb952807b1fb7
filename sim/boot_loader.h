// The panel's boot loader: takes firmware page frames (515 bytes), auxiliary block frames (19)
// and the finish frame (8), acknowledging each one whose CRC and number are right with 07 A5.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zelor::sim {

class BootLoader {
 public:
  static constexpr std::size_t kPageFrameBytes = 515;
  static constexpr std::size_t kAuxFrameBytes = 19;
  static constexpr std::size_t kFinishFrameBytes = 8;
  static constexpr std::size_t kPages = 120;
  static constexpr std::size_t kPageBytes = 512;
  static constexpr std::size_t kAuxBlocks = 128;
  static constexpr std::size_t kAuxBlockBytes = 16;
  static constexpr std::size_t kFirmwareBytes = kPages * kPageBytes;   // 61440
  static constexpr std::size_t kAuxBytes = kAuxBlocks * kAuxBlockBytes;  // 2048
  static constexpr uint32_t kBaud = 115200;

  enum class FrameKind { Page, Aux, Finish };

  BootLoader();

  // What a byte block is, when it is a whole, correct loader frame.
  static std::optional<FrameKind> Classify(const uint8_t* frame, std::size_t length);

  // Takes one frame: the acknowledgement for a good one, nothing for a bad one.
  std::optional<std::vector<uint8_t>> Handle(const uint8_t* frame, std::size_t length);

  // Forgets what was received (images back to 0xFF) and starts a new upgrade.
  void Reset();

  bool finished() const { return finished_; }
  std::size_t pagesReceived() const { return pagesReceived_; }
  std::size_t auxBlocksReceived() const { return auxReceived_; }
  const std::vector<uint8_t>& firmware() const { return firmware_; }
  const std::vector<uint8_t>& aux() const { return aux_; }
  // The check word as the last auxiliary block carries it (its bytes 10 and 11, low first).
  uint16_t CheckWord() const;
  // The received images as a firmware file: image, check word (low first), auxiliary image.
  std::vector<uint8_t> FirmwareFile() const;
  bool WriteFirmwareFile(const std::string& path, std::string& error) const;

 private:
  std::vector<uint8_t> firmware_;
  std::vector<uint8_t> aux_;
  std::size_t pagesReceived_ = 0;
  std::size_t auxReceived_ = 0;
  bool finished_ = false;
};

}  // namespace zelor::sim
