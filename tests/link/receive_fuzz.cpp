// libFuzzer entry for the receive path: every operation's real handlers are registered with the
// link, as the window does; an input starts one operation through its own control and answers
// its requests, so each reply goes through the read assembly, the receive cycle, the dispatch and
// that operation's decoder. A libFuzzer program with -DZELOR_FUZZERS=ON (clang); test_link
// replays the corpus beside it.
//
// Input: byte 0 picks the operation, byte 1 is its detail (which write, which address); then
// replies, one per request: a flag byte (bit 7: the entry appends the right CRC; bit 6: the
// reply arrives in two parts with a gap between; bit 5: the reply is the configuration block the
// request asks for, from a sample image, so that short inputs reach the end of a read; bit 4: the
// user first works the control that the reply's first two bytes pick, as byte 0 and 1 do; bit 3:
// the next request cannot be sent), a length byte, and that many bytes. A reply of length 0 lets the request time out.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <unistd.h>

#include "config/config_transfer.h"
#include "config/image_layout.h"
#include "link/crc16.h"
#include "link/engine.h"
#include "link/read_assembler.h"
#include "link/registers.h"
#include "link/sequencer.h"
#include "model/config_model.h"
#include "service/address_search.h"
#include "service/archive_download.h"
#include "service/archive_reading.h"
#include "service/monitor.h"
#include "service/monitor_texts.h"
#include "service/panel_parameters.h"
#include "upgrade/firmware_upgrade.h"
#include "fuzz_clock.h"
#include "fuzz_entry.h"

namespace {

using namespace zelor;
using fuzz::Check;
using fuzz::ValidUtf8;
using fuzz::CheckingMemo;

// A port whose bytes come from the input, assembled into reads as the real adapters do.
class FuzzPort : public SerialPort {
 public:
  explicit FuzzPort(Clock& clock)
      : assembler_(
            clock, kInterByteGapMs, [this] { return readSize_ ? readSize_() : std::size_t{1}; },
            [this](const uint8_t* b, std::size_t n) {
              if (onReceive_) onReceive_(b, n);
            }) {}
  void Open() override { open_ = true; }
  void Close() override {
    open_ = false;
    assembler_.Reset();
  }
  bool IsOpen() const override { return open_; }
  std::size_t Write(const uint8_t*, std::size_t count) override {
    Check(open_);
    if (refuseNextWrite) {
      refuseNextWrite = false;
      throw SerialPortError("the adapter is gone");
    }
    ++requests;
    return count;
  }
  void AbortAllAsync() override {}
  void DiscardInput() override { assembler_.Reset(); }
  void SetBaudRate(uint32_t baud) override { baud_ = baud; }
  uint32_t BaudRate() const override { return baud_; }
  void SetPort(const std::string&) override {}
  std::string PortName() const override { return "COM1"; }
  void Arrive(const std::vector<uint8_t>& bytes) {
    if (open_) assembler_.Feed(bytes.data(), bytes.size());
  }
  void Reset() {
    Close();
    requests = 0;
    refuseNextWrite = false;
    baud_ = 57600;
  }
  int requests = 0;
  bool refuseNextWrite = false;

 private:
  ReadAssembler assembler_;
  bool open_ = false;
  uint32_t baud_ = 57600;
};

class CheckingStatus : public StatusBar {
 public:
  void SetPanelText(int panel, const std::string& text) override { Check(panel >= 0 && panel < 3 && ValidUtf8(text)); }
};
class IgnoredProgress : public ProgressBar {
 public:
  void SetVisible(bool) override {}
  void SetRange(int, int) override {}
  void SetPosition(int) override {}
};

class Views : public ArchiveView, public MonitorView, public ParameterView, public TransferView,
              public UpgradeView, public SearchView {
 public:
  // ArchiveView
  void SetCaption(ArchiveButton, const std::string& caption) override { Check(ValidUtf8(caption)); }
  void SetEnabled(ArchiveButton, bool) override {}
  void SetCell(int column, int row, const std::string& text) override {
    Check(column >= 0 && row >= 0 && ValidUtf8(text));
  }
  void SetProgressVisible(bool) override {}
  void SetProgressRange(int, int) override {}
  void SetProgressPosition(int) override {}
  std::optional<std::string> AskArchiveFile(const std::string&) override { return archivePath; }
  // MonitorView
  void ClearMemo() override {}
  void SetMemoBlue() override {}
  void AddLine(const std::string& line) override { Check(ValidUtf8(line)); }
  std::string ButtonCaption() const override { return caption; }
  void SetButtonCaption(const std::string& c) override { caption = c; }
  // ParameterView
  void SetComboIndex(ParamCombo c, int index) override { combos[c] = index; }
  void ShowComboText(ParamCombo c, const std::string& text) override {
    combos.erase(c);
    Check(ValidUtf8(text));
  }
  std::optional<int> ComboIndex(ParamCombo c) const override {
    const auto it = combos.find(c);
    return it == combos.end() ? std::nullopt : std::optional<int>(it->second);
  }
  void SetRadioGroup(ParamRadioGroup, int number) override { Check(number >= 0 && number <= 5); }
  void SetScrollPosition(ParamScroll, int) override {}
  void SetText(ParamText, const std::string& text) override { Check(ValidUtf8(text)); }
  int SpinValue(ParamSpin spin) const override { return spin == ParamSpin::TeSpinEdit1 ? spin1 : spin2; }
  void SetSpinValue(ParamSpin spin, int value) override { (spin == ParamSpin::TeSpinEdit1 ? spin1 : spin2) = value; }
  bool AskChangePcBaudRate() override { return true; }
  void SwitchPcBaudRate(int) override {}
  // TransferView
  void ShowAddButton() override {}
  void ModelReplaced() override {}
  std::optional<std::string> ChooseFileToOpen() override { return std::nullopt; }
  std::optional<std::string> ChooseFileToSave() override { return std::nullopt; }
  FileBytes ReadFile(const std::string&, std::size_t) override { return {}; }
  std::string WriteFile(const std::string&, std::span<const uint8_t>) override { return "not here"; }
  // UpgradeView
  std::optional<std::string> ChooseFirmwareFile(const FirmwareDialogSetup&) override { return firmwarePath; }
  void CloseAddBox() override {}
  void HideAddBox() override {}
  // SearchView
  void SetStartCaption(const std::string& c) override { Check(ValidUtf8(c)); }
  void CheckDelay(int) override {}
  void ShowAddress(uint8_t) override {}
  void FocusMenuBar() override {}

  void Reset() {
    caption = monitor_text::kStart;
    combos.clear();
    spin1 = kDefaultDeviceAddress;
    spin2 = 1;
  }

  std::string archivePath;
  std::string firmwarePath;
  std::string caption = monitor_text::kStart;
  std::map<ParamCombo, int> combos;
  int spin1 = kDefaultDeviceAddress;
  int spin2 = 1;
};

CivilTime FixedTime() { return CivilTime{2024, 5, 17, 12, 30, 15}; }

enum Scenario : uint8_t {
  kConfigRead, kConfigWrite, kLast15, kRecordCount, kDownload, kMonitor, kParameterQuery,
  kParameterWrite, kUpgrade, kSearch, kScenarioCount
};

// Everything that does not depend on the input: built once per process. Each input starts from
// the same state: the link's state and timers, the port, the views and the model are reset, and
// every operation has been brought back to idle through its own controls.
struct World {
  World() {
    // The download writes its file: in memory where the system offers it.
    const std::filesystem::path shm = "/dev/shm";
    const auto dir = (std::filesystem::is_directory(shm) ? shm : std::filesystem::temp_directory_path()) /
                     ("zelor-receive-fuzz-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    views.archivePath = (dir / "archive.txt").string();
    views.firmwarePath = (dir / "firmware.bin").string();
    std::vector<uint8_t> firmware(kMinFirmwareFileBytes + 300);
    for (std::size_t i = 0; i < firmware.size(); ++i) firmware[i] = static_cast<uint8_t>(i * 7);
    std::ofstream(views.firmwarePath, std::ios::binary)
        .write(reinterpret_cast<const char*>(firmware.data()), static_cast<std::streamsize>(firmware.size()));
    std::ifstream in(std::filesystem::path(__FILE__).parent_path() / "../config/golden/sample.bin", std::ios::binary);
    in.read(reinterpret_cast<char*>(sampleImage.data()), static_cast<std::streamsize>(sampleImage.size()));
    Check(in.gcount() == static_cast<std::streamsize>(sampleImage.size()));
  }
  ~World() {
    std::error_code ec;
    std::filesystem::remove_all(std::filesystem::path(views.firmwarePath).parent_path(), ec);
  }

  // The configuration block the pending read asks for, as a panel holding the sample image sends it.
  std::vector<uint8_t> ImageBlock() const {
    std::vector<uint8_t> reply{link.DeviceAddress, 3, reg::kConfigBlockBytes};
    const std::size_t at = std::min<std::size_t>(std::size_t{link.BlockIndex} * reg::kConfigPageStride,
                                                 TransferLength - reg::kConfigBlockBytes);
    reply.insert(reply.end(), sampleImage.begin() + static_cast<std::ptrdiff_t>(at),
                 sampleImage.begin() + static_cast<std::ptrdiff_t>(at + reg::kConfigBlockBytes));
    return reply;
  }

  ConfigImage sampleImage{};
  bool modelChanged = false;  // a configuration transfer ran: the model is reset for the next input

  test::FuzzClock clock;
  FuzzPort port{clock};
  CheckingMemo memo1, memo2;
  CheckingStatus status;
  IgnoredProgress progress;
  Views views;
  ConfigModel model;
  Link link{clock, port, LinkSurfaces{memo1, memo2, status, progress}};
  Sequencer sequencer{link};
  ConfigTransfer transfer{link, sequencer, model, views};
  ArchiveReading reading{link, sequencer, views};
  ArchiveDownload download{link, sequencer, views, [] { return PcDateTexts{"12:30:15", "17.05.2024"}; }};
  LiveMonitor monitor{link, sequencer, views, FixedTime};
  PanelParameters parameters{link, views, FixedTime};
  FirmwareUpgrade upgrade{link, sequencer, views};
  AddressSearch search{link, sequencer, views};
};

World& TheWorld() {
  static World world;
  return world;
}

void Start(World& w, Scenario scenario, uint8_t detail) {
  if (scenario == kConfigRead || scenario == kConfigWrite) w.modelChanged = true;
  switch (scenario) {
    case kConfigRead: w.transfer.Load_ButtAClick(); break;
    case kConfigWrite: w.transfer.Save_ButtAClick(); break;
    case kLast15: w.reading.File_ButtBClick(); break;
    case kRecordCount: w.reading.File_ButtCClick(); break;
    case kDownload: w.download.File_ButtAClick(); break;
    case kMonitor: w.monitor.TeButton2Click(); break;
    case kParameterQuery: w.parameters.QueryA_ButtClick(); break;
    case kParameterWrite:
      switch (detail % 8) {
        case 0: w.views.combos[ParamCombo::TeSComboBox1] = detail / 8 % 8; w.parameters.ComboChanged(ParamCombo::TeSComboBox1); break;
        case 1: w.views.spin2 = detail / 8 + 1; w.parameters.AddrC_ButtClick(); break;
        case 2: w.parameters.Scroll(ParamScroll::TeScrollBar1, ScrollCode::Step, detail); break;
        case 3: w.parameters.Scroll(ParamScroll::TeScrollBar2, ScrollCode::Step, detail % 6); break;
        case 4: w.parameters.Scroll(ParamScroll::TeScrollBar3, ScrollCode::Step, detail % 9 - 4); break;
        case 5: w.parameters.Scroll(ParamScroll::TeScrollBar4, ScrollCode::Step, detail); break;
        case 6: w.parameters.RadioClicked({ParamRadioGroup::FireMode, detail / 8 % 5 + 1}); break;
        default: w.parameters.TimeSet_ButtClick(); break;
      }
      break;
    case kUpgrade: w.upgrade.CustomItem13Click(); break;
    case kSearch:
      w.search.DelayClick(detail % 6);
      w.search.CustomItem5Click();
      break;
    case kScenarioCount: break;
  }
}

// Brings the running operation back to idle through its own controls, then lets every timer run
// out; an operation that never ends, or leaves a timer running, breaks the reset.
void WindDown(World& w) {
  auto stopRunning = [&w] {
    if (w.reading.Last15Active == 1) w.reading.File_ButtBClick();
    if (w.download.DownloadActive == 1) w.download.File_ButtAClick();
    if (w.monitor.Running()) w.monitor.TeButton2Click();
    if (w.link.OperationMode == OperationMode::omSearch) w.search.CustomItem5Click();
  };
  stopRunning();
  // Stops parked behind a pending reply run when it times out; the configuration transfer and
  // the upgrade give up after their error limits.
  const bool ended = w.clock.RunUntil(
      [&] {
        stopRunning();
        return w.link.OperationMode == OperationMode::omIdle && !w.link.Timer_Rx->Enabled() &&
               !w.link.Timer_Programm->Enabled() && !w.link.Timer_Wait->Enabled() && w.clock.Idle();
      },
      600'000);
  Check(ended);
  Check(w.reading.Last15Active == 0 && w.download.DownloadActive == 0 && !w.monitor.Running());
  Check(!w.download.File().IsOpen());
}

void ResetForInput(World& w) {
  static_cast<LinkState&>(w.link) = LinkState{};
  w.port.Reset();
  w.views.Reset();
  // Only the configuration transfer reads or changes the model.
  if (w.modelChanged) {
    w.model = ConfigModel{};
    w.modelChanged = false;
  }
}

}  // namespace

namespace zelor::fuzz {

int Receive(const uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  World& w = TheWorld();
  const auto scenario = static_cast<Scenario>(data[0] % kScenarioCount);
  ResetForInput(w);
  Start(w, scenario, data[1]);

  std::size_t at = 2;
  while (at + 2 <= size) {
    const uint8_t flags = data[at];
    const std::size_t length = std::min<std::size_t>(data[at + 1], size - at - 2);
    std::vector<uint8_t> reply(data + at + 2, data + at + 2 + length);
    at += 2 + length;
    // Another operation may take over, or wait its turn behind the pending request.
    if ((flags & 0x10) && reply.size() >= 2) {
      Start(w, static_cast<Scenario>(reply[0] % kScenarioCount), reply[1]);
      reply.erase(reply.begin(), reply.begin() + 2);
    }
    // Bit 3: the next request cannot be sent (the adapter was pulled out).
    if (flags & 0x08) w.port.refuseNextWrite = true;
    // The next request must be out and waiting; an operation that has ended sends none.
    if (!w.clock.RunUntil([&] { return w.link.Timer_Rx->Enabled(); }, 2000)) break;
    if (flags & 0x20) reply = w.ImageBlock();
    if (flags & 0x80) {
      const auto n = static_cast<uint16_t>(reply.size());
      reply.resize(n + 2U);
      AppendCrc16(reply.data(), n);
    }
    if (!reply.empty()) {
      if ((flags & 0x40) && reply.size() > 1) {
        const std::size_t half = reply.size() / 2;
        w.port.Arrive({reply.begin(), reply.begin() + static_cast<std::ptrdiff_t>(half)});
        w.clock.AdvanceMs(SerialPort::kInterByteGapMs + 10);
        w.port.Arrive({reply.begin() + static_cast<std::ptrdiff_t>(half), reply.end()});
      } else {
        w.port.Arrive(reply);
      }
    }
    w.clock.RunUntil([&] { return !w.link.Timer_Rx->Enabled(); }, 5000);
    Check(w.link.RxCount >= 0 && static_cast<std::size_t>(w.link.RxCount) <= kMaxResponseLength);
  }
  WindDown(w);
  return 0;
}

}  // namespace zelor::fuzz

ZELOR_FUZZ_ENTRY(zelor::fuzz::Receive)
