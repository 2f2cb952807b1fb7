// Shared pieces of the archive tests: distinct records by number, archives filled with them,
// a recording archive view, and crafted replies.
#pragma once
#include <array>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "link/crc16.h"
#include "service/archive_view.h"
#include "sim/event_archive.h"
#include "sim/panel.h"

namespace zelor::test {

// Record i: every source class, fires near and far, and a time and date that tell records apart.
inline sim::EventRecord TestRecord(int i) {
  const uint16_t sources[] = {static_cast<uint16_t>(i % 512), 1000, static_cast<uint16_t>(1001 + i % 247), 700};
  const uint8_t after = static_cast<uint8_t>(i % 5 == 0 ? 0 : i % 90);
  const CivilTime when{2000 + i % 30, 1 + i % 12, 1 + i % 28, i / 60 % 24, i % 60, (i * 7) % 60};
  return sim::MakeRecord(sources[i % 4], static_cast<uint8_t>(i % 256), after, static_cast<uint16_t>(i * 3 % 2600), when);
}

// Empties the panel's archive and writes records 0 .. count-1 in order.
inline void FillWithTestRecords(sim::Panel& panel, int count) {
  panel.archive().Clear();
  for (int i = 0; i < count; ++i) panel.archive().Append(TestRecord(i));
}

// A reply frame from the panel: the bytes given, then their CRC low byte first.
inline std::vector<uint8_t> Sealed(std::vector<uint8_t> frame) {
  const auto length = static_cast<uint16_t>(frame.size());
  frame.resize(frame.size() + 2);
  AppendCrc16(frame.data(), length);
  return frame;
}

class FakeArchiveView : public ArchiveView {
 public:
  void SetCaption(ArchiveButton b, const std::string& caption) override { captions[b] = caption; }
  void SetEnabled(ArchiveButton b, bool e) override { enabled[b] = e; }
  void SetCell(int column, int row, const std::string& text) override { cells[{column, row}] = text; }
  void SetProgressVisible(bool v) override { progressVisible = v; }
  void SetProgressRange(int lo, int hi) override {
    progressMin = lo;
    progressMax = hi;
  }
  void SetProgressPosition(int p) override { progress = p; }
  std::optional<std::string> AskArchiveFile(const std::string& fileName) override {
    ++dialogs;
    proposedName = fileName;
    return chosen;
  }
  std::string Cell(int column, int row) const {
    auto it = cells.find({column, row});
    return it == cells.end() ? std::string() : it->second;
  }

  std::map<ArchiveButton, std::string> captions;
  std::map<ArchiveButton, bool> enabled;
  std::map<std::pair<int, int>, std::string> cells;
  bool progressVisible = false;
  int progressMin = 0, progressMax = 0, progress = 0;
  std::optional<std::string> chosen;
  std::string proposedName;
  int dialogs = 0;
};

}  // namespace zelor::test
