// The controls of the "СТАТУС" tab as the live monitor sees them: the memo TeMemo3 and TeButton2.
#pragma once
#include <cstddef>
#include <string>

namespace zelor {

// TeMemo3 keeps at most this many lines, dropping the oldest: a working day of events stays far
// below it, and monitoring left on for weeks cannot slow the window down or exhaust its memory.
constexpr std::size_t kMonitorMemoLineLimit = 100'000;

class MonitorView {
 public:
  virtual ~MonitorView() = default;
  virtual void ClearMemo() = 0;
  // The memo's text colour from the start summary on: blue (0, 0, 255); navy before.
  virtual void SetMemoBlue() = 0;
  virtual void AddLine(const std::string& line) = 0;
  virtual std::string ButtonCaption() const = 0;
  virtual void SetButtonCaption(const std::string& caption) = 0;
};

}  // namespace zelor
