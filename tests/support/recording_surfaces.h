// In-memory stand-ins for the log memos, status bar and progress bar, for asserting on.
#pragma once
#include <string>
#include <vector>

#include "link/surfaces.h"

namespace zelor::test {

class RecordingMemo : public LogMemo {
 public:
  void Clear() override { lines.clear(); }
  void AddLine(const std::string& line) override { lines.push_back(line); }
  void DeleteLastLine() override {
    if (!lines.empty()) lines.pop_back();
  }
  void SetColor(MemoColor c) override {
    color = c;
    colors.push_back(c);
  }
  void SetVisible(bool v) override { visible = v; }

  std::vector<std::string> lines{"TX :", "RX :"};
  MemoColor color = MemoColor::Navy;
  std::vector<MemoColor> colors;
  bool visible = true;
};

class RecordingStatusBar : public StatusBar {
 public:
  void SetPanelText(int panel, const std::string& text) override {
    if (panel >= 0 && panel < 3) panels[static_cast<std::size_t>(panel)] = text;
    if (panel == 2) panel2History.push_back(text);
  }
  std::string panels[3];
  std::vector<std::string> panel2History;
};

class RecordingProgressBar : public ProgressBar {
 public:
  void SetVisible(bool v) override { visible = v; }
  void SetRange(int lo, int hi) override {
    minimum = lo;
    maximum = hi;
  }
  void SetPosition(int p) override { position = p; }
  bool visible = false;
  int minimum = 0, maximum = 100, position = 0;
};

}  // namespace zelor::test
