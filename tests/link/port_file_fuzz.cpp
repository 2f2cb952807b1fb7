// libFuzzer entry for the "comports.txt" reader: the input is the file, read by ReadPortFile and
// listed into the Port menu by RefreshPorts as when the system has no ports. At most ten names,
// none with a line end, and the chosen entry is one of them. Also linked into test_link, which
// replays the corpus.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include <unistd.h>

#include "fuzz_entry.h"
#include "link/port_choice.h"
#include "link/port_texts.h"

namespace zelor::fuzz {

namespace {

class Menu : public PortMenu {
 public:
  void SetEntries(const std::vector<std::string>& names) override { entries = names; }
  std::optional<std::string> Choose(std::size_t index) override {
    Check(index < entries.size());
    chosen = index;
    return std::nullopt;
  }
  std::vector<std::string> entries;
  std::optional<std::size_t> chosen;
};

class Memo : public LogMemo {
 public:
  void Clear() override {}
  void AddLine(const std::string& line) override { Check(ValidUtf8(line)); }
  void DeleteLastLine() override {}
  void SetColor(MemoColor) override {}
  void SetVisible(bool) override {}
};

// One file per process, rewritten for every input; in memory where the system offers it.
std::string FilePath() {
  const std::filesystem::path shm = "/dev/shm";
  const auto dir = std::filesystem::is_directory(shm) ? shm : std::filesystem::temp_directory_path();
  return (dir / ("zelor-port-file-fuzz-" + std::to_string(::getpid()) + ".txt")).string();
}

}  // namespace

int PortFileInput(const uint8_t* data, std::size_t size) {
  static const std::string path = FilePath();
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    Check(out.good());
  }
  const PortFileResult read = ReadPortFile(path, port_text::kPortFileMaxLines);
  Check(read.ok && read.lines.size() <= static_cast<std::size_t>(port_text::kPortFileMaxLines));
  std::size_t consumed = 0;
  for (const std::string& line : read.lines) {
    Check(line.find('\n') == std::string::npos);
    consumed += line.size();
  }
  Check(consumed <= size);

  Menu menu;
  Memo memo;
  PortSources sources;
  sources.systemPorts = [] { return std::optional<std::vector<std::string>>(std::vector<std::string>{}); };
  sources.readPortFile = [&read] { return read; };
  RefreshPorts(sources, "COM3", menu, memo);
  Check(menu.entries == read.lines);
  Check(menu.chosen.has_value() == !read.lines.empty());
  std::filesystem::remove(path);
  return 0;
}

}  // namespace zelor::fuzz

ZELOR_FUZZ_ENTRY(zelor::fuzz::PortFileInput)
