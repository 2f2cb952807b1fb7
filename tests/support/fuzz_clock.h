// A clock for fuzz entries: the virtual clock's timer semantics (time moves only when run, due
// timers fire in time order, then in arming order) for timers alone, kept in a short list and
// armed without allocating, so that a receive cycle costs little more than the code under test.
#pragma once
#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "link/clock.h"

namespace zelor::test {

class FuzzClock : public Clock {
 public:
  FuzzClock() = default;
  FuzzClock(const FuzzClock&) = delete;
  FuzzClock& operator=(const FuzzClock&) = delete;

  std::unique_ptr<Timer> CreateTimer() override { return std::make_unique<FuzzTimer>(*this); }
  int64_t NowMicros() const override { return now_; }

  // Fires due timers until pred() holds, at most maxMs from now; returns whether it held.
  template <typename Pred>
  bool RunUntil(Pred pred, int64_t maxMs) {
    const int64_t limit = now_ + maxMs * 1000;
    while (!pred()) {
      FuzzTimer* next = NextDue(limit);
      if (next == nullptr) {
        now_ = limit;
        return pred();
      }
      now_ = std::max(now_, next->due_);
      next->Fire();
    }
    return true;
  }
  void AdvanceMs(int64_t ms) {
    RunUntil([] { return false; }, ms);
  }
  // No timer is running.
  bool Idle() const {
    return std::none_of(timers_.begin(), timers_.end(), [](const FuzzTimer* t) { return t->enabled_; });
  }

 private:
  class FuzzTimer : public Timer {
   public:
    explicit FuzzTimer(FuzzClock& clock) : clock_(clock) { clock_.timers_.push_back(this); }
    ~FuzzTimer() override { std::erase(clock_.timers_, this); }
    void SetInterval(uint32_t ms) override {
      interval_ = ms;
      if (enabled_) Arm();
    }
    uint32_t Interval() const override { return interval_; }
    void SetEnabled(bool enabled) override {
      if (enabled == enabled_) return;
      enabled_ = enabled;
      if (enabled) Arm();
    }
    bool Enabled() const override { return enabled_; }
    void SetHandler(std::function<void()> handler) override { handler_ = std::move(handler); }

   private:
    friend class FuzzClock;
    void Arm() {
      due_ = clock_.now_ + int64_t{interval_} * 1000;
      order_ = ++clock_.armed_;
    }
    void Fire() {
      Arm();  // repeats until disabled; a handler that restarts or stops the timer overrides this
      if (auto h = handler_) h();
    }
    FuzzClock& clock_;
    std::function<void()> handler_;
    uint32_t interval_ = 0;
    bool enabled_ = false;
    int64_t due_ = 0;
    uint64_t order_ = 0;
  };

  FuzzTimer* NextDue(int64_t limit) const {
    FuzzTimer* next = nullptr;
    for (FuzzTimer* t : timers_) {
      if (!t->enabled_ || t->due_ > limit) continue;
      if (next == nullptr || t->due_ < next->due_ || (t->due_ == next->due_ && t->order_ < next->order_)) next = t;
    }
    return next;
  }

  std::vector<FuzzTimer*> timers_;
  int64_t now_ = 0;
  uint64_t armed_ = 0;
};

}  // namespace zelor::test
