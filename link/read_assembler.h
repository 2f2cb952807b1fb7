// The read contract over any byte source: bytes are gathered from the first one on until the
// expected number has arrived, or until the line has been silent for the inter-byte gap.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "link/clock.h"

namespace zelor {

class ReadAssembler {
 public:
  using Deliver = std::function<void(const uint8_t*, std::size_t)>;
  using ReadSize = std::function<std::size_t()>;

  ReadAssembler(Clock& clock, uint32_t gapMs, ReadSize readSize, Deliver deliver);

  // Bytes as they come off the line (in any chunks).
  void Feed(const uint8_t* bytes, std::size_t count);
  // Forget everything not yet delivered and any read in progress.
  void Reset();
  std::size_t Pending() const { return pending_.size(); }

 private:
  void Complete(std::size_t count);
  void OnGap();

  ReadSize readSize_;
  Deliver deliver_;
  std::unique_ptr<Timer> gapTimer_;
  std::vector<uint8_t> pending_;
  std::size_t want_ = 0;  // size of the read in progress; 0 = no read started
};

}  // namespace zelor
