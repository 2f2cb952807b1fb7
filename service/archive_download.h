// The "АРХИВ" tab's download of the whole event archive, oldest record first, into a text file
// chosen by the user, twenty records a request (File_ButtA).
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "link/engine.h"
#include "link/sequencer.h"
#include "service/archive_file.h"
#include "service/archive_view.h"
#include "service/event_texts.h"

namespace zelor {

class ArchiveDownload {
 public:
  using DateTexts = std::function<PcDateTexts()>;

  ArchiveDownload(Link& link, Sequencer& sequencer, ArchiveView& view, DateTexts pcDate);
  ArchiveDownload(const ArchiveDownload&) = delete;
  ArchiveDownload& operator=(const ArchiveDownload&) = delete;

  void File_ButtAClick();

  uint8_t DownloadActive = 0;
  int32_t FileLineNumber = 1;
  int32_t ArchiveNewest = 0;
  int32_t ArchiveOldest = 0;
  int32_t ArchiveRemaining = 0;
  const ArchiveFile& File() const { return file_; }
  // Told each record as its line is written to the file, with that line's number (for other
  // forms of the same download, such as a spreadsheet table).
  std::function<void(int32_t lineNumber, const EventFields& event)> onRecordLine;

 private:
  // `stop` is what the click meant when it was made (see ArchiveReading::Last15Click).
  void DownloadClick(bool stop);
  void Start();
  void Stop();
  void EndOperation();
  void RestoreButtons();
  // Writes record lines from the reply's records; false when the file could not be written.
  bool WriteRecords(int count);
  void WriteFailed();
  void ShowWriteFailure();
  // The failure line for `path`, then the working file that keeps the lines, if there is one.
  static void AddFailureLines(LogMemo& memo, const std::string& path, const std::string& keptPath);

  void PointersHandler();
  void RecordsHandler();
  void Abandoned();

  Link& link_;
  Sequencer& sequencer_;
  ArchiveView& view_;
  DateTexts pcDate_;
  ArchiveFile file_;
  int progress_ = 0;
  // Shows the write failure once the receive cycle has written its "ОК." for the reply, so that
  // the log's last word is the failure.
  std::unique_ptr<Timer> failureNotice_;
  std::string failedPath_;
  std::string keptPath_;
};

}  // namespace zelor
