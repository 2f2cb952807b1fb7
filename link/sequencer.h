// The operation sequencer: each Timer_Programm tick sends the one request that OperationMode
// names and stops the timer; the receive cycle restarts it.
#pragma once
#include <cstdint>
#include <functional>

#include "link/code_table.h"
#include "link/engine.h"

namespace zelor {

class Sequencer {
 public:
  static constexpr uint32_t kStartIntervalMs = 5;
  static constexpr uint32_t kMonitorStartIntervalMs = 250;

  explicit Sequencer(Link& link);
  Sequencer(const Sequencer&) = delete;
  Sequencer& operator=(const Sequencer&) = delete;

  void Timer_ProgrammTimer();

  // Modes whose request is a frame the owning operation builds and sends itself
  // (the configuration block write and the boot-loader frames).
  void SetFrameSender(OperationMode mode, std::function<void()> sender);

  // The operation's steps when the read or write request of `mode` could not be sent (frame
  // senders see their own send's result).
  void SetSendFailureSteps(OperationMode mode, std::function<void()> steps);

  // Starter: sets the mode and the interval and enables the timer.
  void Start(OperationMode mode, uint32_t intervalMs);

 private:
  Link& link_;
  CodeTable<OperationMode, std::function<void()>> frameSenders_;
  CodeTable<OperationMode, std::function<void()>> sendFailureSteps_;
};

}  // namespace zelor
