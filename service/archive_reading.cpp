#include "service/archive_reading.h"

#include "link/format.h"
#include "link/link_texts.h"
#include "service/archive_lines.h"
#include "service/archive_pointers.h"
#include "service/archive_texts.h"
#include "service/service_tab_texts.h"

namespace zelor {

using enum OperationMode;
using enum ResponseKind;
using enum FailureCode;

namespace {
constexpr uint16_t kLast15Records = 15;
}  // namespace

ArchiveReading::ArchiveReading(Link& link, Sequencer& sequencer, ArchiveView& view)
    : link_(link), sequencer_(sequencer), view_(view) {
  link_.RegisterHandler(rkLast15Count, [this] { CountHandler(); });
  link_.RegisterHandler(rkLast15Pointers, [this] { PointersHandler(); });
  link_.RegisterHandler(rkLast15Record, [this] { RecordHandler(); });
  link_.RegisterHandler(rkRecordCount, [this] { RecordCountHandler(); });
  link_.SetAbandonSteps(fcArchiveLast15, [this] { Abandoned(); });
}

// ---- the 15 newest records ----

void ArchiveReading::File_ButtBClick() { Last15Click(Last15Active == 1); }

void ArchiveReading::Last15Click(bool stop) {
  const OperationMode m = link_.OperationMode;
  if (m != omIdle && m != omLast15Count && m != omLast15Pointers && m != omLast15Record) return;
  if (link_.DeferIfBusy([this, stop] { Last15Click(stop); })) return;
  if (stop != (Last15Active == 1)) return;
  if (stop) {
    Stop();
  } else {
    Start();
  }
}

void ArchiveReading::Start() {
  Last15Active = 1;
  link_.ErrorCount = 0;
  sequencer_.Start(omLast15Count, Sequencer::kStartIntervalMs);
  LogMemo& memo1 = link_.surfaces().memo1;
  LogMemo& memo2 = link_.surfaces().memo2;
  memo1.SetVisible(false);
  memo2.SetColor(MemoColor::Blue);
  memo2.Clear();
  memo2.AddLine(text::kArchiveReading);
  memo2.SetVisible(true);
  view_.SetCaption(ArchiveButton::File_ButtB, archive_text::kStopDownload);
  view_.SetEnabled(ArchiveButton::File_ButtA, false);
  view_.SetEnabled(ArchiveButton::File_ButtC, false);
  for (int row = 1; row <= kFileGridRecordRows; ++row) {
    for (int column = 0; column < kFileGridColumns; ++column) view_.SetCell(column, row, "");
  }
  progress_ = 1;
  view_.SetProgressRange(0, kLast15Records);
  view_.SetProgressPosition(progress_);
  view_.SetProgressVisible(true);
}

void ArchiveReading::RestoreButtons() {
  view_.SetCaption(ArchiveButton::File_ButtB, service_text::kLast15);
  view_.SetEnabled(ArchiveButton::File_ButtA, true);
  view_.SetEnabled(ArchiveButton::File_ButtC, true);
  view_.SetProgressVisible(false);
  Last15Active = 0;
}

void ArchiveReading::Stop() {
  link_.OperationMode = omIdle;
  link_.Timer_Programm->SetEnabled(false);
  link_.ClosePort();
  link_.UpdateStatusBar();
  LogMemo& memo1 = link_.surfaces().memo1;
  memo1.SetColor(MemoColor::Blue);
  memo1.Clear();
  memo1.AddLine(archive_text::kStopped);
  memo1.SetVisible(true);
  link_.surfaces().memo2.SetVisible(false);
  RestoreButtons();
}

void ArchiveReading::Abandoned() { RestoreButtons(); }

// A reply too short for what a step needs is asked again, like one of the wrong length: nothing
// is taken from bytes it did not carry, and the panel did answer, so no failure is counted.

void ArchiveReading::CountHandler() {
  const auto n = ReplyRegister(link_, 0);
  link_.ErrorCount = 0;
  if (!n) return;
  RecordNumber = *n >= kLast15Records + 1 ? static_cast<uint16_t>(*n - kLast15Records) : 0;
  link_.OperationMode = omLast15Pointers;
}

void ArchiveReading::PointersHandler() {
  const auto pointers = ReplyRingPointers(link_);
  link_.ErrorCount = 0;
  if (!pointers) return;
  ArchiveNewest = pointers->newest;
  ArchiveOldest = pointers->oldest;
  link_.ArchiveAddress = ArchiveOldest;
  if (ArchiveNewest >= ArchiveOldest) {
    ArchiveRemaining = ArchiveNewest - ArchiveOldest + 1;
    if (ArchiveRemaining > kLast15Records) {
      link_.ArchiveAddress = ArchiveNewest - (kLast15Records - 1);
      ArchiveRemaining = kLast15Records;
    }
  } else {  // the ring has wrapped
    link_.ArchiveAddress = ArchiveNewest - (kLast15Records - 1);
    if (link_.ArchiveAddress < reg::kArchiveFirst) link_.ArchiveAddress += reg::kArchiveCapacity;
    ArchiveRemaining = kLast15Records;
  }
  link_.OperationMode = omLast15Record;
}

void ArchiveReading::RecordHandler() {
  link_.ErrorCount = 0;
  if (!ReplyHolds(link_, static_cast<int>(kEventRecordBytes))) return;
  ++link_.ArchiveAddress;
  if (link_.ArchiveAddress > reg::kArchiveLast) link_.ArchiveAddress = reg::kArchiveFirst;
  // The record is the 12 bytes after the byte count, whatever the byte count says.
  const EventFields event = DecodeEvent(link_.FrameBuffer.data() + kReplyHeaderBytes);
  const auto cells = FileGridRow(RecordNumber, event);
  for (int column = 0; column < kFileGridColumns; ++column) {
    view_.SetCell(column, ArchiveRemaining, cells[static_cast<std::size_t>(column)]);
  }
  --ArchiveRemaining;
  if (ArchiveRemaining != 0) view_.SetProgressPosition(++progress_);
  ++RecordNumber;
  if (ArchiveRemaining > 0) return;

  link_.ClosePort();
  link_.OperationMode = omIdle;
  LogMemo& memo1 = link_.surfaces().memo1;
  memo1.Clear();
  memo1.AddLine(text::kArchiveReading);
  link_.surfaces().memo2.SetVisible(false);
  memo1.SetVisible(true);
  RestoreButtons();
  link_.UpdateStatusBar();
}

// ---- record count ----

void ArchiveReading::File_ButtCClick() {
  const OperationMode m = link_.OperationMode;
  const bool archive = m >= omLast15Count && m <= omDownloadRecords;
  const bool monitor = m >= omMonitorStart && m <= omMonitorRecord;
  if (m != omIdle && !archive && !monitor) return;
  if (link_.DeferIfBusy([this] { File_ButtCClick(); })) return;
  link_.SendReadRequest(reg::kRecordCount, 1);
  link_.ResponseKind = rkRecordCount;
}

void ArchiveReading::RecordCountHandler() {
  if (const auto n = ReplyRegister(link_, 0)) {
    link_.surfaces().memo1.AddLine(archive_text::kRecordCountLine + FormatZeroPadded(*n, 4));
  }
}

}  // namespace zelor
