#include "qtcore/qt_clock.h"

#include <QTimer>

namespace zelor {

namespace {
class QtTimer : public Timer {
 public:
  QtTimer() {
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      if (auto h = handler_) h();
    });
  }
  void SetInterval(uint32_t ms) override {
    interval_ = ms;
    timer_.setInterval(static_cast<int>(ms));  // restarts a running timer
    if (enabled_) timer_.start();
  }
  uint32_t Interval() const override { return interval_; }
  void SetEnabled(bool enabled) override {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    if (enabled) timer_.start(static_cast<int>(interval_)); else timer_.stop();
  }
  bool Enabled() const override { return enabled_; }
  void SetHandler(std::function<void()> handler) override { handler_ = std::move(handler); }

 private:
  QTimer timer_;
  uint32_t interval_ = 0;
  bool enabled_ = false;
  std::function<void()> handler_;
};
}  // namespace

QtClock::QtClock() { elapsed_.start(); }

std::unique_ptr<Timer> QtClock::CreateTimer() { return std::make_unique<QtTimer>(); }

int64_t QtClock::NowMicros() const { return elapsed_.nsecsElapsed() / 1000; }

}  // namespace zelor
