#include "cli/cli_output.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>

#include "link/link_texts.h"

namespace zelor::cli {

void KeptLog::AddLine(const std::string& line) {
  lines_.push_back(line);
  if (line == text::kOk) failuresInRow_ = 0;
  if (line == text::kTimeOut || line == text::kCrcError) ++failuresInRow_;
  if (echo_) std::fprintf(stderr, "%s\n", line.c_str());
}

bool KeptLog::Contains(const std::string& line) const {
  return std::find(lines_.begin(), lines_.end(), line) != lines_.end();
}

TerminalProgress::TerminalProgress() : terminal_(::isatty(STDERR_FILENO) == 1) {}

TerminalProgress::~TerminalProgress() { SetVisible(false); }

void TerminalProgress::SetVisible(bool visible) {
  visible_ = visible;
  if (visible) {
    Draw();
  } else if (drawn_) {
    std::fputs("\r\033[K", stderr);
    std::fflush(stderr);
    drawn_ = false;
    lastPercent_ = -1;
  }
}

void TerminalProgress::SetRange(int minimum, int maximum) {
  minimum_ = minimum;
  maximum_ = std::max(maximum, minimum + 1);
  Draw();
}

void TerminalProgress::SetPosition(int position) {
  position_ = position;
  Draw();
}

void TerminalProgress::Draw() {
  if (!terminal_ || !visible_) return;
  const int span = maximum_ - minimum_;
  const int percent = std::clamp((position_ - minimum_) * 100 / span, 0, 100);
  if (percent == lastPercent_) return;
  lastPercent_ = percent;
  constexpr int kWidth = 40;
  const int filled = percent * kWidth / 100;
  std::string bar = "\r[" + std::string(static_cast<std::size_t>(filled), '#') +
                    std::string(static_cast<std::size_t>(kWidth - filled), ' ') + "] " + std::to_string(percent) + "%";
  std::fputs(bar.c_str(), stderr);
  std::fflush(stderr);
  drawn_ = true;
}

std::string WithoutLead(const std::string& line) {
  std::size_t i = 0;
  while (i < line.size() && (line[i] == ' ' || line[i] == ':')) ++i;
  return line.substr(i);
}

}  // namespace zelor::cli
