// What the link shows the user, as small interfaces the window implements (and tests record).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace zelor {

enum class MemoColor { Navy, Red, Blue };

// A log memo: TeMemo1 (the TX/RX log) or TeMemo2 (the transfer log). Texts are UTF-8.
class LogMemo {
 public:
  virtual ~LogMemo() = default;
  virtual void Clear() = 0;
  virtual void AddLine(const std::string& line) = 0;
  virtual void DeleteLastLine() = 0;
  virtual void SetColor(MemoColor color) = 0;
  virtual void SetVisible(bool visible) = 0;
};

// StatusBar1: panel 0 the port, panel 1 the PC rate, panel 2 the device line or a progress text
// (the device line is written by Link::UpdateStatusBar).
class StatusBar {
 public:
  virtual ~StatusBar() = default;
  virtual void SetPanelText(int panel, const std::string& text) = 0;
};

class ProgressBar {
 public:
  virtual ~ProgressBar() = default;
  virtual void SetVisible(bool visible) = 0;
  virtual void SetRange(int minimum, int maximum) = 0;
  virtual void SetPosition(int position) = 0;
};

struct LinkSurfaces {
  LogMemo& memo1;
  LogMemo& memo2;
  StatusBar& status;
  ProgressBar& progress1;
};

// A multi-step operation's own log: TeMemo1 hidden, TeMemo2 cleared to one line and shown.
inline void ShowOperationLog(LinkSurfaces& surfaces, MemoColor color, const std::string& firstLine) {
  surfaces.memo1.SetVisible(false);
  surfaces.memo2.SetColor(color);
  surfaces.memo2.Clear();
  surfaces.memo2.AddLine(firstLine);
  surfaces.memo2.SetVisible(true);
}

// The link's own log in its place: TeMemo2 hidden, TeMemo1 cleared to these lines and shown.
inline void ShowLinkLog(LinkSurfaces& surfaces, MemoColor color, const std::vector<std::string>& lines) {
  surfaces.memo2.SetVisible(false);
  surfaces.memo1.Clear();
  surfaces.memo1.SetColor(color);
  for (const std::string& line : lines) surfaces.memo1.AddLine(line);
  surfaces.memo1.SetVisible(true);
}

}  // namespace zelor
