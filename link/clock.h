// Timers and time as the link sees them. The window supplies a Qt clock; tests a virtual one.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>

namespace zelor {

// A repeating user-interface timer with the semantics the link was designed on:
// enabling (or changing the interval of) an enabled timer restarts its count-down,
// and it fires every interval until disabled.
class Timer {
 public:
  virtual ~Timer() = default;
  virtual void SetInterval(uint32_t ms) = 0;
  virtual uint32_t Interval() const = 0;
  virtual void SetEnabled(bool enabled) = 0;
  virtual bool Enabled() const = 0;
  virtual void SetHandler(std::function<void()> handler) = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual std::unique_ptr<Timer> CreateTimer() = 0;
  virtual int64_t NowMicros() const = 0;
};

}  // namespace zelor
