#include "virtual_clock.h"

namespace zelor::test {

class VirtualTimer : public Timer {
 public:
  explicit VirtualTimer(VirtualClock& clock) : clock_(clock) {}
  ~VirtualTimer() override { Disarm(); }
  void SetInterval(uint32_t ms) override {
    interval_ = ms;
    if (enabled_) Arm();
  }
  uint32_t Interval() const override { return interval_; }
  void SetEnabled(bool enabled) override {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    if (enabled) Arm(); else Disarm();
  }
  bool Enabled() const override { return enabled_; }
  void SetHandler(std::function<void()> handler) override { handler_ = std::move(handler); }

 private:
  void Arm() {
    Disarm();
    id_ = clock_.Arm(clock_.NowMicros() + static_cast<int64_t>(interval_) * 1000, [this] { Fire(); });
  }
  void Disarm() {
    if (id_ != 0) clock_.Cancel(id_);
    id_ = 0;
  }
  void Fire() {
    id_ = 0;
    Arm();  // repeats until disabled; a handler that restarts or stops the timer overrides this
    if (auto h = handler_) h();
  }
  VirtualClock& clock_;
  uint32_t interval_ = 0;
  bool enabled_ = false;
  uint64_t id_ = 0;
  std::function<void()> handler_;
};

VirtualClock::~VirtualClock() = default;

std::unique_ptr<Timer> VirtualClock::CreateTimer() { return std::make_unique<VirtualTimer>(*this); }

uint64_t VirtualClock::Arm(int64_t due, std::function<void()> fn) {
  const uint64_t id = nextSeq_++;
  queue_.insert({due, id});
  entries_[id] = {due, Entry{std::move(fn)}};
  return id;
}

uint64_t VirtualClock::Schedule(int64_t delayMicros, std::function<void()> fn) {
  return Arm(now_ + (delayMicros < 0 ? 0 : delayMicros), std::move(fn));
}

void VirtualClock::Cancel(uint64_t id) {
  auto it = entries_.find(id);
  if (it == entries_.end()) return;
  queue_.erase({it->second.first, id});
  entries_.erase(it);
}

bool VirtualClock::RunNextDue(int64_t limit) {
  if (queue_.empty() || queue_.begin()->due > limit) return false;
  const Event ev = *queue_.begin();
  queue_.erase(queue_.begin());
  auto it = entries_.find(ev.seq);
  auto fn = std::move(it->second.second.fn);
  entries_.erase(it);
  if (ev.due > now_) now_ = ev.due;
  fn();
  return true;
}

void VirtualClock::AdvanceMicros(int64_t micros) {
  const int64_t target = now_ + micros;
  while (RunNextDue(target)) {
  }
  now_ = target;
}

bool VirtualClock::RunUntil(const std::function<bool()>& pred, int64_t maxMs) {
  const int64_t limit = now_ + maxMs * 1000;
  while (!pred()) {
    if (!RunNextDue(limit)) {
      now_ = limit;
      return pred();
    }
  }
  return true;
}

}  // namespace zelor::test
