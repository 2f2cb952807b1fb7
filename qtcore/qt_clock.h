// The link's clock on the user-interface thread: QTimer-backed timers.
#pragma once
#include <QElapsedTimer>

#include "link/clock.h"

namespace zelor {

class QtClock : public Clock {
 public:
  QtClock();
  std::unique_ptr<Timer> CreateTimer() override;
  int64_t NowMicros() const override;

 private:
  QElapsedTimer elapsed_;
};

}  // namespace zelor
