// libFuzzer entry for ParseImage through the .bin loader (ConfigTransfer::Load_ButtBClick, the
// window's "open a .bin" path): the input is the file; also linked into test_config, whose corpus
// test replays it.
// Input: first byte % 4 == 0 -> the remaining bytes are the image (the rest 0xFF);
//        first byte odd      -> (offset high, offset low, value) patches over a rich valid image;
//        first byte % 4 == 2 -> a file of the size in bytes 1 and 2 (low first): the remaining
//                               bytes, then 0xFF; inputs stay small for files of any size.
// The first two carry their image CRC, as every file the tool saves does, so that their bytes
// reach ParseImage; the third is refused unless its CRC happens to match.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "automation/rules.h"
#include "config/config_image.h"
#include "config/config_transfer.h"
#include "config/nodes.h"
#include "fuzz_entry.h"
#include "link/crc16.h"
#include "link/engine.h"
#include "link/sequencer.h"
#include "virtual_clock.h"

namespace {

using namespace zelor;
using fuzz::Check;

ConfigImage RichImage() {
  ConfigModel m;
  for (uint8_t type : {1, 5, 7, 12, 13, 14, 15, 17, 3}) {
    m.SelectedNode = m.NodeCount == 0 ? 0 : m.NodeCount - 1;
    AddNode(m, type);
  }
  m.Nodes[0].Zones[4].ConvNumber = 1900;
  m.Nodes[0].Zones[0].Kind = kKindSecurity;
  m.Nodes[0].Zones[0].Group = 4;
  const uint8_t executors[][2] = {{1, 3}, {2, 4}, {4, 17}, {5, 12}, {6, 16}, {7, 3}, {2, 2}};
  for (const auto& [node, action] : executors) {
    m.SelectedRule = m.RuleCount == 0 ? 0 : m.RuleCount - 1;
    AddRule(m);
    AssignZone(m, Side::Activator, 0, 0);
    m.Activators[m.SelectedRule].Code = 1;
    AssignZone(m, Side::Executor, node, 0);
    m.Executors[m.SelectedRule].Code = action;
  }
  ConfigImage image{};
  BuildImage(m, image);
  return image;
}

// The loader never touches the line: a port that refuses everything.
class NoPort : public SerialPort {
 public:
  void Open() override { throw SerialPortError("no port"); }
  void Close() override {}
  bool IsOpen() const override { return false; }
  std::size_t Write(const uint8_t*, std::size_t) override { throw SerialPortError("no port"); }
  void AbortAllAsync() override {}
  void DiscardInput() override {}
  void SetBaudRate(uint32_t) override {}
  uint32_t BaudRate() const override { return 57600; }
  void SetPort(const std::string&) override {}
  std::string PortName() const override { return "COM1"; }
};

class Memo : public LogMemo {
 public:
  void Clear() override { lines = 0; }
  void AddLine(const std::string& line) override {
    Check(fuzz::ValidUtf8(line));
    ++lines;
  }
  void DeleteLastLine() override {}
  void SetColor(MemoColor) override {}
  void SetVisible(bool) override {}
  int lines = 0;
};
class NoStatus : public StatusBar {
 public:
  void SetPanelText(int, const std::string&) override {}
};
class NoProgress : public ProgressBar {
 public:
  void SetVisible(bool) override {}
  void SetRange(int, int) override {}
  void SetPosition(int) override {}
};

// Hands the input to the loader as the chosen file: at most `limit` bytes, and the file's size.
class FileView : public TransferView {
 public:
  void ShowAddButton() override {}
  void ModelReplaced() override { ++replaced; }
  std::optional<std::string> ChooseFileToOpen() override { return std::string("fuzz.bin"); }
  std::optional<std::string> ChooseFileToSave() override { return std::nullopt; }
  FileBytes ReadFile(const std::string&, std::size_t limit) override {
    FileBytes f;
    f.size = file.size();
    f.bytes.assign(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(std::min(limit, file.size())));
    return f;
  }
  std::string WriteFile(const std::string&, std::span<const uint8_t>) override { return "not here"; }
  std::vector<uint8_t> file;
  int replaced = 0;
};

// Set up once per process; an input changes only the model, the file and the memo's count.
struct World {
  test::VirtualClock clock;
  NoPort port;
  Memo memo1, memo2;
  NoStatus status;
  NoProgress progress;
  Link link{clock, port, LinkSurfaces{memo1, memo2, status, progress}};
  Sequencer sequencer{link};
  ConfigModel model;
  FileView view;
  ConfigTransfer transfer{link, sequencer, model, view};
  const ConfigImage rich = RichImage();
  // Copied over the model before each input: a copy reuses the strings' buffers and allocates
  // nothing, where building a fresh model for each input allocated every name.
  const ConfigModel empty{};
};

}  // namespace

namespace zelor::fuzz {

int ParseImageFile(const uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  static World w;
  std::vector<uint8_t>& file = w.view.file;
  if ((data[0] & 1) == 1) {
    file.assign(w.rich.begin(), w.rich.end());
    for (std::size_t i = 1; i + 2 < size; i += 3) {
      file[((std::size_t{data[i]} << 8) | data[i + 1]) % CheckedLength] = data[i + 2];
    }
  } else if ((data[0] & 3) == 0) {
    file.assign(ImageSize, 0xFF);
    std::copy_n(data + 1, std::min(size - 1, ImageSize), file.begin());
  } else {
    const std::size_t fileSize = size < 3 ? 0 : (data[1] | std::size_t{data[2]} << 8);
    file.assign(fileSize, 0xFF);
    if (size > 3) std::copy_n(data + 3, std::min(size - 3, fileSize), file.begin());
  }
  if ((data[0] & 3) != 2) AppendCrc16(file.data(), static_cast<uint16_t>(CheckedLength));
  w.model = w.empty;
  w.view.replaced = 0;
  w.memo1.lines = 0;
  w.transfer.Load_ButtBClick();

  // A file of another size or with a wrong image CRC is refused with a line in the log, and the
  // model stays as it was.
  const bool crcFits = (data[0] & 3) != 2 || (file.size() == ImageSize && Crc16Matches(file.data(), CheckedLength + 2));
  if (file.size() != ImageSize || !crcFits) {
    Check(w.view.replaced == 0 && w.memo1.lines == 1 && w.model.NodeCount == 0 && w.model.RuleCount == 0);
    return 0;
  }
  Check(w.view.replaced == 1);
  Check(std::memcmp(file.data(), w.transfer.Image().data(), ImageSize) == 0);
  const ConfigModel& model = w.model;

  // The parsed model keeps its invariants whatever the bytes said.
  Check(model.NodeCount <= kMaxNodes && model.RuleCount <= kMaxRules);
  Check(model.SelectedRule == 0 && model.SelectedNode == 0);
  uint16_t zones = 0;
  for (int n = 0; n < model.NodeCount; ++n) {
    Check(model.Nodes[n].ZoneCount <= kMaxZonesPerNode);
    for (int z = 0; z < model.Nodes[n].ZoneCount; ++z) Check(model.Nodes[n].Zones[z].Index == zones++);
  }
  for (int r = 0; r < model.RuleCount; ++r) {
    for (const RuleSide* s : {&model.Activators[r], &model.Executors[r]}) {
      Check(s->ZoneIndex == kUnsetZone || s->ZoneIndex < zones);
      Check(s->Text.size() <= 24);
    }
  }
  // Writing the parsed model back never runs past the checked region.
  static ConfigImage again;
  again.fill(0);
  const uint8_t result = BuildImage(model, again);
  Check(result == kBuildOk || result == kBuildDuplicateNumbers || result == kBuildTooManySlots);
  return 0;
}

}  // namespace zelor::fuzz

ZELOR_FUZZ_ENTRY(zelor::fuzz::ParseImageFile)
