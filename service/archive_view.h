// The controls of the "АРХИВ" tab as the archive operations see them.
#pragma once
#include <optional>
#include <string>

#include "link/civil_time.h"

namespace zelor {

enum class ArchiveButton {
  File_ButtA,  // download to file
  File_ButtB,  // the 15 newest records
  File_ButtC,  // record count
};

class ArchiveView {
 public:
  virtual ~ArchiveView() = default;
  virtual void SetCaption(ArchiveButton button, const std::string& caption) = 0;
  virtual void SetEnabled(ArchiveButton button, bool enabled) = 0;
  // FileGrid's cell at (column, row); row 0 is the heading row.
  virtual void SetCell(int column, int row, const std::string& text) = 0;
  // TeProgressBar2.
  virtual void SetProgressVisible(bool visible) = 0;
  virtual void SetProgressRange(int minimum, int maximum) = 0;
  virtual void SetProgressPosition(int position) = 0;
  // The save dialog: proposes `fileName` in the tool's folder, asks before overwriting, and
  // returns the chosen path, or nothing when the user cancels.
  virtual std::optional<std::string> AskArchiveFile(const std::string& fileName) = 0;
};

}  // namespace zelor
