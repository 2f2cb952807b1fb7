// The live monitor: the button, the four steps' handlers, and the resumption of a halted sequence.
#include "service/monitor.h"

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
  link_.OperationMode = omMonitorPoll;
  link_.MonitorAddress = *newest;
  view_.AddLine(monitor_text::kPointerTaken);
  link_.Timer_Programm->SetInterval(kIdlePollIntervalMs);
}

void LiveMonitor::PollHandler() {
  const auto newest = NewestPointer();
  if (!newest) return;
  if (*newest == link_.MonitorAddress) {
    link_.Timer_Programm->SetInterval(kIdlePollIntervalMs);
    return;
  }
  link_.MonitorAddress = link_.MonitorAddress >= reg::kArchiveLast ? reg::kArchiveFirst
                                                                   : static_cast<uint16_t>(link_.MonitorAddress + 1);
  link_.OperationMode = omMonitorRecord;
  link_.Timer_Programm->SetInterval(kCatchUpIntervalMs);
}

void LiveMonitor::RecordHandler() {
  // A reply too short to hold the record is not rendered from what an earlier reply left in
  // the buffer; the same record is asked again.
  if (link_.RxCount < static_cast<int32_t>(fn::kOneRecordReplyLength)) return;
  view_.AddLine(MonitorRecordLine(link_.FrameBuffer.data() + 3));
  link_.OperationMode = omMonitorPoll;
}

}  // namespace zelor
