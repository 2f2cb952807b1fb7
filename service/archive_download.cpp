#include "service/archive_download.h"

#include <vector>

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
constexpr int kInitialProgressMaximum = 150;
// The write-failure line follows the receive cycle that found the failure after this long.
constexpr uint32_t kFailureNoticeDelayMs = 1;
}  // namespace

ArchiveDownload::ArchiveDownload(Link& link, Sequencer& sequencer, ArchiveView& view, DateTexts pcDate)
    : link_(link),
      sequencer_(sequencer),
      view_(view),
      pcDate_(std::move(pcDate)),
      failureNotice_(link.clock().CreateTimer()) {
  link_.RegisterHandler(rkDownloadPointers, [this] { PointersHandler(); });
  link_.RegisterHandler(rkDownloadRecords, [this] { RecordsHandler(); });
  link_.SetAbandonSteps(fcArchiveDownload, [this] { Abandoned(); });
  failureNotice_->SetInterval(kFailureNoticeDelayMs);
  failureNotice_->SetHandler([this] {
    failureNotice_->SetEnabled(false);
    ShowWriteFailure();
  });
}

void ArchiveDownload::File_ButtAClick() { DownloadClick(DownloadActive == 1); }

void ArchiveDownload::DownloadClick(bool stop) {
  const OperationMode m = link_.OperationMode;
  if (m != omIdle && m != omDownloadPointers && m != omDownloadRecords) return;
  if (link_.DeferIfBusy([this, stop] { DownloadClick(stop); })) return;
  if (stop != (DownloadActive == 1)) return;
  if (stop) {
    Stop();
  } else {
    Start();
  }
}

void ArchiveDownload::Start() {
  const auto path = view_.AskArchiveFile(ProposedArchiveFileName(pcDate_().shortDate));
  if (!path) return;
  if (!file_.Create(*path)) return;
  failureNotice_->SetEnabled(false);
  DownloadActive = 1;
  sequencer_.Start(omDownloadPointers, Sequencer::kStartIntervalMs);
  ShowOperationLog(link_.surfaces(), MemoColor::Blue, text::kArchiveReading);
  view_.SetCaption(ArchiveButton::File_ButtA, archive_text::kStopDownload);
  view_.SetEnabled(ArchiveButton::File_ButtB, false);
  view_.SetEnabled(ArchiveButton::File_ButtC, false);
  progress_ = 1;
  view_.SetProgressRange(0, kInitialProgressMaximum);
  view_.SetProgressPosition(progress_);
  view_.SetProgressVisible(true);
  link_.ErrorCount = 0;
}

void ArchiveDownload::RestoreButtons() {
  view_.SetCaption(ArchiveButton::File_ButtA, service_text::kDownloadToFile);
  view_.SetEnabled(ArchiveButton::File_ButtB, true);
  view_.SetEnabled(ArchiveButton::File_ButtC, true);
  view_.SetProgressVisible(false);
  DownloadActive = 0;
}

// The stop's steps without its log line: the user's stop and a failed write share them.
void ArchiveDownload::EndOperation() {
  link_.ClosePort();
  link_.OperationMode = omIdle;
  link_.Timer_Programm->SetEnabled(false);
  RestoreButtons();
  link_.surfaces().memo2.SetVisible(false);
}

void ArchiveDownload::Stop() {
  EndOperation();
  const bool inPlace = file_.Close();  // the lines written so far
  LogMemo& memo1 = link_.surfaces().memo1;
  memo1.SetColor(MemoColor::Blue);
  memo1.Clear();
  if (inPlace) {
    memo1.AddLine(archive_text::kStopped);
  } else {
    AddFailureLines(memo1, file_.Path(), file_.KeptPath());
  }
  memo1.SetVisible(true);
}

void ArchiveDownload::Abandoned() {
  RestoreButtons();
  if (!file_.Close()) AddFailureLines(link_.surfaces().memo1, file_.Path(), file_.KeptPath());
}

void ArchiveDownload::AddFailureLines(LogMemo& memo, const std::string& path, const std::string& keptPath) {
  memo.AddLine(archive_text::kFileWriteError + path);
  if (!keptPath.empty()) memo.AddLine(archive_text::kRecordsKeptIn + keptPath);
}

void ArchiveDownload::WriteFailed() {
  failedPath_ = file_.Path();
  file_.Keep();  // a no-op when the file could not take the chosen name at its close
  keptPath_ = file_.KeptPath();
  EndOperation();
  failureNotice_->SetEnabled(true);
}

void ArchiveDownload::ShowWriteFailure() {
  LogMemo& memo1 = link_.surfaces().memo1;
  memo1.SetColor(MemoColor::Blue);
  memo1.Clear();
  AddFailureLines(memo1, failedPath_, keptPath_);
  memo1.SetVisible(true);
}

void ArchiveDownload::PointersHandler() {
  const auto pointers = ReplyRingPointers(link_);
  link_.ErrorCount = 0;
  if (!pointers) return;  // short, or pointing outside the ring: asked again
  const PcDateTexts now = pcDate_();
  const auto header = ArchiveFileHeader(now.longTime, now.shortDate);
  if (!file_.WriteLines({header.begin(), header.end()})) return WriteFailed();
  ArchiveNewest = pointers->newest;
  ArchiveOldest = pointers->oldest;
  link_.ArchiveAddress = ArchiveOldest;
  ArchiveRemaining = ArchiveNewest >= ArchiveOldest ? ArchiveNewest - ArchiveOldest + 1 : reg::kArchiveCapacity;
  FileLineNumber = 1;
  view_.SetProgressRange(0, ArchiveRemaining);
  link_.OperationMode = omDownloadRecords;
}

bool ArchiveDownload::WriteRecords(int count) {
  std::vector<std::string> lines;
  lines.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    const uint8_t* record = link_.FrameBuffer.data() + kReplyHeaderBytes + kEventRecordBytes * static_cast<std::size_t>(i);
    const EventFields event = DecodeEvent(record);
    if (onRecordLine) onRecordLine(FileLineNumber, event);
    lines.push_back(ArchiveFileLine(FileLineNumber++, event));
  }
  return file_.WriteLines(lines);
}

void ArchiveDownload::RecordsHandler() {
  link_.ErrorCount = 0;
  const int byteCount = link_.FrameBuffer[2];
  // A byte count that is no whole number of records, or more bytes than arrived, is asked
  // again without counting an error.
  if (byteCount == 0 || byteCount % kEventRecordBytes != 0 || !ReplyHolds(link_, byteCount)) return;
  const int n = byteCount / static_cast<int>(kEventRecordBytes);
  // The next batch starts after the records received, around the ring: a panel that cuts a
  // read at the ring's end and one that wraps it both get every record once.
  link_.ArchiveAddress += n;
  if (link_.ArchiveAddress > reg::kArchiveLast) link_.ArchiveAddress -= reg::kArchiveCapacity;
  ArchiveRemaining -= n;
  if (ArchiveRemaining > 0) {
    progress_ += n;
    view_.SetProgressPosition(progress_);
    if (!WriteRecords(n)) WriteFailed();
    return;
  }
  const int k = n + ArchiveRemaining;  // the records still needed before this batch
  progress_ += k;
  view_.SetProgressPosition(progress_);
  link_.ClosePort();
  link_.OperationMode = omIdle;
  DownloadActive = 0;
  if (!WriteRecords(k) || !file_.Close()) {
    WriteFailed();
    return;
  }
  RestoreButtons();
  LogMemo& memo1 = link_.surfaces().memo1;
  memo1.Clear();
  memo1.AddLine(text::kArchiveReading);
  link_.surfaces().memo2.SetVisible(false);
  memo1.SetVisible(true);
  link_.UpdateStatusBar();
}

}  // namespace zelor
