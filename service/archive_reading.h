// The "АРХИВ" tab's reading of the 15 newest records into FileGrid (File_ButtB) and the record
// count in the log (File_ButtC).
#pragma once
#include <cstdint>

#include "link/engine.h"
#include "link/sequencer.h"
#include "service/archive_view.h"

namespace zelor {

class ArchiveReading {
 public:
  ArchiveReading(Link& link, Sequencer& sequencer, ArchiveView& view);
  ArchiveReading(const ArchiveReading&) = delete;
  ArchiveReading& operator=(const ArchiveReading&) = delete;

  void File_ButtBClick();
  void File_ButtCClick();

  uint8_t Last15Active = 0;
  int32_t ArchiveNewest = 0;
  int32_t ArchiveOldest = 0;
  int32_t ArchiveRemaining = 0;
  uint16_t RecordNumber = 0;

 private:
  // `stop` is what the click meant when it was made: a stop parked behind the last record's
  // reply finds the read already over and does nothing, instead of starting a new one.
  void Last15Click(bool stop);
  void Start();
  void Stop();
  void RestoreButtons();

  void CountHandler();
  void PointersHandler();
  void RecordHandler();
  void RecordCountHandler();
  void Abandoned();

  Link& link_;
  Sequencer& sequencer_;
  ArchiveView& view_;
  int progress_ = 0;
};

}  // namespace zelor
