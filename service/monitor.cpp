// The live monitor: the button, the four steps' handlers, and the resumption of a halted sequence.
#include "service/monitor.h"

#include <algorithm>

#include "link/registers.h"
#include "service/event_texts.h"
#include "service/monitor_lines.h"
#include "service/monitor_texts.h"

namespace zelor {

using enum OperationMode;
using enum ResponseKind;

LiveMonitor::LiveMonitor(Link& link, Sequencer& sequencer, MonitorView& view, LocalClock pcClock)
    : link_(link), sequencer_(sequencer), view_(view), pcClock_(std::move(pcClock)),
      resumeCheck_(link.clock().CreateTimer()) {
  link_.RegisterHandler(rkMonitorStart, [this] { StatusBlockHandler(); });
  link_.RegisterHandler(rkMonitorPointer, [this] { PointerHandler(); });
  link_.RegisterHandler(rkMonitorPoll, [this] { PollHandler(); });
  link_.RegisterHandler(rkMonitorRecord, [this] { RecordHandler(); });
  resumeCheck_->SetInterval(kResumeCheckMs);
  resumeCheck_->SetHandler([this] { CheckNotHalted(); });
}

LiveMonitor::~LiveMonitor() {
  for (auto kind : {rkMonitorStart, rkMonitorPointer, rkMonitorPoll, rkMonitorRecord}) link_.RegisterHandler(kind, nullptr);
}

bool LiveMonitor::IsMonitorMode(OperationMode mode) { return mode >= omMonitorStart && mode <= omMonitorRecord; }

bool LiveMonitor::Running() const { return view_.ButtonCaption() == monitor_text::kStop; }

void LiveMonitor::TeButton2Click() {
  if (link_.OperationMode != omIdle && !IsMonitorMode(link_.OperationMode)) return;
  if (link_.DeferIfBusy([this] { TeButton2Click(); })) return;
  if (view_.ButtonCaption() == monitor_text::kStart) {
    view_.SetButtonCaption(monitor_text::kStop);
    sequencer_.Start(omMonitorStart, Sequencer::kMonitorStartIntervalMs);
    resumeCheck_->SetEnabled(true);
  } else {
    view_.SetButtonCaption(monitor_text::kStart);
    link_.OperationMode = omIdle;
    link_.ClosePort();  // closed already between polls: this lets the line go
    resumeCheck_->SetEnabled(false);
  }
}

// A step the port could not send leaves no request pending and nothing armed: the sequence
// would halt for good. Monitoring sends the same step again instead, until the port is back.
void LiveMonitor::CheckNotHalted() {
  if (!IsMonitorMode(link_.OperationMode) || !Running()) {
    resumeCheck_->SetEnabled(false);
    return;
  }
  const bool halted = !link_.Timer_Rx->Enabled() && !link_.Timer_Programm->Enabled() &&
                      !link_.Timer_Wait->Enabled() && link_.WaitPending == 0;
  if (halted) link_.Timer_Programm->SetEnabled(true);
}

void LiveMonitor::StatusBlockHandler() {
  const auto lines = StartSummaryLines(link_.FrameBuffer.data(), static_cast<std::size_t>(link_.RxCount), pcClock_());
  if (!lines) return;  // not this panel's status block: the same request goes out again
  link_.OperationMode = omMonitorPointer;
  view_.ClearMemo();
  view_.SetMemoBlue();
  for (const auto& line : *lines) view_.AddLine(line);
}

std::optional<uint16_t> LiveMonitor::NewestPointer() const {
  if (link_.RxCount < static_cast<int32_t>(kOneRegisterReplyLength) || link_.FrameBuffer[2] < 2) return std::nullopt;
  const auto v = static_cast<uint16_t>(link_.FrameBuffer[3] << 8 | link_.FrameBuffer[4]);
  if (v < reg::kArchiveFirst || v > reg::kArchiveLast) return std::nullopt;
  return v;
}

void LiveMonitor::PointerHandler() {
  const auto newest = NewestPointer();
  if (!newest) return;
  TakePointer(*newest);
}

void LiveMonitor::TakePointer(uint16_t newest) {
  link_.OperationMode = omMonitorPoll;
  link_.MonitorAddress = newest;
  behind_ = {};
  recent_.clear();
  askedAgain_ = false;
  view_.AddLine(monitor_text::kPointerTaken);
  link_.Timer_Programm->SetInterval(kIdlePollIntervalMs);
}

// A late reply to an earlier poll (one that missed its time-out) is taken for the next poll's, as
// MODBUS replies carry nothing to tell them apart. Its pointer then lies behind the records
// already shown, and following it would walk on past the panel's newest record into the oldest
// ones of the ring, every one of them shown as new. Such a pointer is believed only when the
// next polls say it again (the archive really went back, or more than half the ring was written
// while the line was down); until then the poll repeats.
bool LiveMonitor::IsLateAnswer(uint16_t newest) {
  const int ahead = (newest - link_.MonitorAddress + reg::kArchiveCapacity) % reg::kArchiveCapacity;
  if (ahead <= reg::kArchiveCapacity / 2) {
    behind_ = {};
    return false;
  }
  if (behind_.pointer != newest) behind_ = {newest, 0};
  return ++behind_.polls < kBehindConfirmations;
}

void LiveMonitor::PollHandler() {
  const auto newest = NewestPointer();
  if (!newest) return;
  if (*newest == link_.MonitorAddress || IsLateAnswer(*newest)) {
    link_.Timer_Programm->SetInterval(kIdlePollIntervalMs);
    return;
  }
  if (behind_.polls >= kBehindConfirmations) {
    // The archive went back (it was reset, or more than half the ring was written unseen): the
    // addresses from the last record shown on hold no new events, erased records at best. Go on
    // from the panel's newest record, as a fresh start does.
    TakePointer(*newest);
    return;
  }
  behind_ = {};
  link_.MonitorAddress = link_.MonitorAddress >= reg::kArchiveLast ? reg::kArchiveFirst
                                                                   : static_cast<uint16_t>(link_.MonitorAddress + 1);
  link_.OperationMode = omMonitorRecord;
  link_.Timer_Programm->SetInterval(kCatchUpIntervalMs);
}

void LiveMonitor::RecordHandler() {
  // A reply too short to hold the record is not rendered from what an earlier reply left in
  // the buffer; the same record is asked again.
  if (link_.RxCount < static_cast<int32_t>(fn::kOneRecordReplyLength)) return;
  Record record{};
  std::copy_n(link_.FrameBuffer.begin() + 3, record.size(), record.begin());
  // A late reply to an earlier record read, taken for this one, repeats a record just shown: the
  // same address is asked once more, and the record is shown when the panel says it again.
  const bool seen = std::find(recent_.begin(), recent_.end(), record) != recent_.end();
  if (seen && !askedAgain_) {
    askedAgain_ = true;
    return;
  }
  askedAgain_ = false;
  recent_.push_back(record);
  if (recent_.size() > kRecentRecords) recent_.pop_front();
  view_.AddLine(MonitorRecordLine(record.data()));
  link_.OperationMode = omMonitorPoll;
}

}  // namespace zelor
