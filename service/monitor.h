// Live monitoring on the "СТАТУС" tab: the start/stop button, the four sequencer steps' handlers
// (status block, newest pointer, poll, record) and the lines they write into TeMemo3.
#pragma once
#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>

#include "link/civil_time.h"
#include "link/engine.h"
#include "link/registers.h"
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
  // Polls in a row that must report the same pointer behind the records shown before it is taken.
  static constexpr int kBehindConfirmations = 3;
  // How many of the records shown last a new record is compared with (a late reply repeats one).
  static constexpr std::size_t kRecentRecords = 16;

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
  // Polling goes on from `newest`: records up to it are not shown.
  void TakePointer(uint16_t newest);
  void PollHandler();
  void RecordHandler();
  void CheckNotHalted();
  // True for a pointer behind the records already shown that the panel has not yet confirmed.
  bool IsLateAnswer(uint16_t newest);

  Link& link_;
  Sequencer& sequencer_;
  MonitorView& view_;
  LocalClock pcClock_;
  std::unique_ptr<Timer> resumeCheck_;
  using Record = std::array<uint8_t, reg::kArchiveRecordBytes>;
  std::deque<Record> recent_;  // the records shown last, newest at the back
  bool askedAgain_ = false;    // the record read was repeated because its answer matched one of them
  struct Behind {
    uint16_t pointer = 0;
    int polls = 0;
  } behind_;
};

}  // namespace zelor
