// Live monitoring on the "СТАТУС" tab: the start/stop button, the four sequencer steps' handlers
// (status block, newest pointer, poll, record) and the lines they write into TeMemo3.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>

#include "link/civil_time.h"
#include "link/engine.h"
#include "link/sequencer.h"
#include "service/monitor_view.h"

namespace zelor {

class LiveMonitor {
 public:
  using LocalClock = std::function<CivilTime()>;

  // Timer_Programm's interval while the panel has nothing new, and while records are fetched.
  static constexpr uint32_t kIdlePollIntervalMs = 600;
  static constexpr uint32_t kCatchUpIntervalMs = 100;
  // How often a running monitor checks that its sequence has not halted on a request the port
  // could not send; a halted sequence is sent again, as after any other failure.
  static constexpr uint32_t kResumeCheckMs = kIdlePollIntervalMs;

  LiveMonitor(Link& link, Sequencer& sequencer, MonitorView& view, LocalClock pcClock);
  LiveMonitor(const LiveMonitor&) = delete;
  LiveMonitor& operator=(const LiveMonitor&) = delete;
  ~LiveMonitor();

  // Starts monitoring, or stops it; a stop waits for a pending reply and then sends nothing.
  void TeButton2Click();
  // The caption is the running flag: "СТОП" while monitoring runs.
  bool Running() const;

 private:
  static bool IsMonitorMode(OperationMode mode);
  // The newest-record pointer of a one-register reply; nothing when the reply is too short or
  // the pointer lies outside the ring.
  std::optional<uint16_t> NewestPointer() const;
  void StatusBlockHandler();
  void PointerHandler();
  void PollHandler();
  void RecordHandler();
  void CheckNotHalted();

  Link& link_;
  Sequencer& sequencer_;
  MonitorView& view_;
  LocalClock pcClock_;
  std::unique_ptr<Timer> resumeCheck_;
};

}  // namespace zelor
