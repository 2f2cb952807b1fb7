// Cuts the byte stream of a serial line into request frames: MODBUS frames by their function
// code and length, boot-loader frames by their three sizes; garbage and broken frames are
// skipped, so that the next good request is always found.
#pragma once
#include <cstdint>
#include <vector>

namespace zelor::sim {

class RequestFramer {
 public:
  enum class Mode { Panel, Loader };
  static constexpr std::size_t kMaxPending = 1100;

  struct Output {
    std::vector<std::vector<uint8_t>> frames;
    std::vector<std::vector<uint8_t>> discarded;  // bytes that belonged to no frame
  };

  void SetMode(Mode mode) { mode_ = mode; }
  Mode mode() const { return mode_; }

  // Bytes as they come off the line; complete frames are taken at once.
  void Feed(const uint8_t* bytes, std::size_t count, Output& out);
  // The line has gone quiet: whatever frame can still be found is taken, the rest dropped.
  void Flush(Output& out);
  std::size_t pending() const { return buffer_.size(); }

 private:
  // true when a frame was taken (and bytes before it discarded)
  bool Scan(bool quiet, Output& out);
  void Take(std::size_t at, std::size_t length, Output& out);

  Mode mode_ = Mode::Panel;
  std::vector<uint8_t> buffer_;
};

}  // namespace zelor::sim
