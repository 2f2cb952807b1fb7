#include "link/read_assembler.h"

#include <algorithm>

namespace zelor {

ReadAssembler::ReadAssembler(Clock& clock, uint32_t gapMs, ReadSize readSize, Deliver deliver)
    : readSize_(std::move(readSize)), deliver_(std::move(deliver)), gapTimer_(clock.CreateTimer()) {
  gapTimer_->SetInterval(gapMs);
  gapTimer_->SetHandler([this] { OnGap(); });
}

void ReadAssembler::Feed(const uint8_t* bytes, std::size_t count) {
  if (count == 0) return;
  pending_.insert(pending_.end(), bytes, bytes + count);
  while (!pending_.empty()) {
    if (want_ == 0) {
      // A read of zero bytes would never complete; treat it as a read of one.
      want_ = std::clamp<std::size_t>(readSize_ ? readSize_() : 1, 1, 255);
    }
    if (pending_.size() < want_) {
      gapTimer_->SetEnabled(false);
      gapTimer_->SetEnabled(true);  // restart the silence count-down from this byte
      return;
    }
    Complete(want_);
  }
}

void ReadAssembler::Complete(std::size_t count) {
  gapTimer_->SetEnabled(false);
  want_ = 0;
  std::vector<uint8_t> chunk(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(count));
  pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(count));
  if (deliver_) deliver_(chunk.data(), chunk.size());
}

void ReadAssembler::OnGap() {
  gapTimer_->SetEnabled(false);
  if (!pending_.empty()) Complete(pending_.size());
  want_ = 0;
}

void ReadAssembler::Reset() {
  gapTimer_->SetEnabled(false);
  pending_.clear();
  want_ = 0;
}

}  // namespace zelor
