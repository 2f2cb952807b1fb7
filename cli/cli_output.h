// What the command-line program shows: the link's log (kept, and echoed with --log), the
// status bar (kept), a progress bar drawn only on a terminal, and JSON string quoting.
#pragma once
#include <cstdio>
#include <string>
#include <vector>

#include "link/format.h"  // JsonString
#include "link/surfaces.h"

namespace zelor::cli {

inline constexpr const char* kProgramName = "zelor-pui-cli";

// A log memo that keeps its lines and, when asked, echoes each new line to stderr.
class KeptLog : public LogMemo {
 public:
  explicit KeptLog(bool echo) : echo_(echo) {}
  void Clear() override { lines_.clear(); }
  void AddLine(const std::string& line) override;
  void DeleteLastLine() override {
    if (!lines_.empty()) lines_.pop_back();
  }
  void SetColor(MemoColor) override {}
  void SetVisible(bool) override {}

  const std::vector<std::string>& Lines() const { return lines_; }
  std::string LastLine() const { return lines_.empty() ? std::string() : lines_.back(); }
  bool Contains(const std::string& line) const;
  // Replies lost or broken since the last good one ("   : TIME OUT.", "   : CRC ERROR.").
  int FailuresInRow() const { return failuresInRow_; }

 private:
  bool echo_;
  int failuresInRow_ = 0;
  std::vector<std::string> lines_;
};

class KeptStatus : public StatusBar {
 public:
  void SetPanelText(int, const std::string&) override {}
};

// A bar on stderr when stderr is a terminal; on a pipe or a file it draws nothing.
class TerminalProgress : public ProgressBar {
 public:
  TerminalProgress();
  ~TerminalProgress() override;
  void SetVisible(bool visible) override;
  void SetRange(int minimum, int maximum) override;
  void SetPosition(int position) override;

 private:
  void Draw();
  bool terminal_;
  bool visible_ = false;
  bool drawn_ = false;
  int minimum_ = 0, maximum_ = 100, position_ = 0;
  int lastPercent_ = -1;
};

// A log line without the memo's "   : " lead, for a one-line message.
std::string WithoutLead(const std::string& line);

}  // namespace zelor::cli
