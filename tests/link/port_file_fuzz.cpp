// libFuzzer entry for the "comports.txt" reader: the input is the file, read by ReadPortFile and
// listed into the Port menu by RefreshPorts as when the system has no ports. At most ten names,
// none with a line end, and the chosen entry is one of them. Also linked into test_link, which
// replays the corpus.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

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


}  // namespace

int PortFileInput(const uint8_t* data, std::size_t size) {
  static ScratchFile scratch("comports.txt");
  const std::string& path = scratch.Write(data, size);
  const PortFileResult read = ReadPortFile(path, port_text::kPortFileMaxLines);
  Check(read.ok && read.lines.size() <= static_cast<std::size_t>(port_text::kPortFileMaxLines));
  std::size_t consumed = 0;
  for (const std::string& line : read.lines) {
    Check(line.find('\n') == std::string::npos);
    consumed += line.size();
  }
  Check(consumed <= size);

  Menu menu;
  CheckingMemo memo;
  PortSources sources;
  sources.systemPorts = [] { return std::optional<std::vector<std::string>>(std::vector<std::string>{}); };
  sources.readPortFile = [&read] { return read; };
  RefreshPorts(sources, "COM3", menu, memo);
  Check(menu.entries == read.lines);
  Check(menu.chosen.has_value() == !read.lines.empty());
  return 0;
}

}  // namespace zelor::fuzz

ZELOR_FUZZ_ENTRY(zelor::fuzz::PortFileInput)
