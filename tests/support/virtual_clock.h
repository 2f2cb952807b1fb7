// A clock for tests: time moves only when the test advances it, and due timers and scheduled
// calls run in time order, so every timing rule is exact and instant.
#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>

#include "link/clock.h"

namespace zelor::test {

class VirtualClock : public Clock {
 public:
  VirtualClock() = default;
  VirtualClock(const VirtualClock&) = delete;
  VirtualClock& operator=(const VirtualClock&) = delete;
  ~VirtualClock() override;

  std::unique_ptr<Timer> CreateTimer() override;
  int64_t NowMicros() const override { return now_; }
  int64_t NowMs() const { return now_ / 1000; }

  // A one-shot call at now + delay; returns an id for Cancel.
  uint64_t Schedule(int64_t delayMicros, std::function<void()> fn);
  void Cancel(uint64_t id);

  void AdvanceMicros(int64_t micros);
  void AdvanceMs(int64_t ms) { AdvanceMicros(ms * 1000); }
  // Advances until pred() holds, at most maxMs; returns whether it held.
  bool RunUntil(const std::function<bool()>& pred, int64_t maxMs);

 private:
  friend class VirtualTimer;
  struct Event {
    int64_t due;
    uint64_t seq;
    bool operator<(const Event& o) const { return due != o.due ? due < o.due : seq < o.seq; }
  };
  struct Entry {
    std::function<void()> fn;
  };
  uint64_t Arm(int64_t due, std::function<void()> fn);
  bool RunNextDue(int64_t limit);

  int64_t now_ = 0;
  uint64_t nextSeq_ = 1;
  std::set<Event> queue_;
  std::map<uint64_t, std::pair<int64_t, Entry>> entries_;
};

}  // namespace zelor::test
