#include "config/config_transfer.h"

#include <algorithm>
#include <memory>

#include "automation/rules.h"
#include "config/config_files.h"
#include "config/config_image.h"
#include "config/config_texts.h"
#include "config/rule_storage.h"
#include "link/frames.h"
#include "link/link_texts.h"
#include "link/registers.h"

namespace zelor {

using enum OperationMode;
using enum ResponseKind;

namespace {
constexpr uint8_t kBlockReplyLength = fn::kReadReplyOverhead + reg::kConfigBlockBytes;  // 197
constexpr std::size_t kBlockDataOffset = 3;  // address, function, byte count
static_assert(std::size_t{ConfigTransfer::kLastPage} * reg::kConfigPageStride + reg::kConfigBlockBytes ==
              TransferLength);
}  // namespace

ConfigTransfer::ConfigTransfer(Link& link, Sequencer& sequencer, ConfigModel& model, TransferView& view)
    : link_(link), sequencer_(sequencer), model_(model), view_(view) {
  link_.RegisterHandler(rkConfigBlockRead, [this] { OnConfigBlockRead(); });
  link_.RegisterHandler(rkConfigBlockWrite, [this] { OnConfigBlockWritten(); });
  link_.RegisterHandler(rkConfigApply, [this] {
    for (const std::string& line : writeNotes_) link_.surfaces().memo1.AddLine(line);
    writeNotes_.clear();
  });
  sequencer_.SetFrameSender(omConfigWrite, [this] { SendConfigBlock(link_.BlockIndex); });
}

void ConfigTransfer::ShowTransferStart(MemoColor color, const std::string& line) {
  ShowOperationLog(link_.surfaces(), color, line);
}

void ConfigTransfer::ShowLog(MemoColor color, const std::vector<std::string>& lines) {
  view_.ShowAddButton();
  ShowLinkLog(link_.surfaces(), color, lines);
}

uint8_t ConfigTransfer::Rebuild(std::vector<std::string>* purged) {
  // Built aside: a refused build writes part of an image, which ConfigImage never holds.
  auto built = std::make_unique<ConfigImage>();
  const uint8_t result = BuildImage(model_, *built);
  if (BuildReachedRules(model_, result)) {
    if (purged != nullptr) *purged = IncompleteRuleLines(model_);
    PurgeIncompleteRules(model_);
    RefreshAutoGrid(model_, 0);
  }
  if (result == kBuildOk) image_ = *built;
  return result;
}

bool ConfigTransfer::BuildForTransfer(std::vector<std::string>& lines) {
  std::vector<std::string> purged;
  const uint8_t result = Rebuild(&purged);
  lines.clear();
  if (result == kBuildTooManySlots) {
    lines.push_back(TooManySlotsText(CommandSlotsNeeded(model_)));
  } else if (result != kBuildOk) {
    // The numbers that clash, with their devices and zones, so that the user can change one.
    lines.push_back(DuplicateNumbersText());
    const std::vector<std::string> clashes = DuplicateNumberLines(model_);
    lines.insert(lines.end(), clashes.begin(), clashes.end());
  }
  lines.insert(lines.end(), purged.begin(), purged.end());
  return result == kBuildOk;
}

std::vector<std::string> ConfigTransfer::ParseIntoModel() {
  std::vector<std::string> notes = ParseImage(model_, image_);
  view_.ModelReplaced();
  return notes;
}

// ---- read from the panel ----

void ConfigTransfer::Load_ButtAClick() {
  if (link_.OperationMode != omIdle) return;
  view_.ShowAddButton();
  link_.ErrorCount = 0;
  link_.BlockIndex = 0;
  ProgressBar& progress = link_.surfaces().progress1;
  progress.SetRange(0, kReadProgressEnd);
  progress.SetPosition(1);
  progress.SetVisible(true);
  sequencer_.Start(omConfigRead, Sequencer::kStartIntervalMs);
  ShowTransferStart(MemoColor::Blue, text::kConfigReading);
}

void ConfigTransfer::StoreReadBlock(uint8_t page) {
  const std::size_t at = std::size_t{page} * reg::kConfigPageStride;
  if (at + reg::kConfigBlockBytes > TransferLength) return;
  std::copy_n(link_.FrameBuffer.begin() + kBlockDataOffset, reg::kConfigBlockBytes, received_.begin() + at);
}

void ConfigTransfer::OnConfigBlockRead() {
  // A reply of another length carries no block: the next tick asks for the same block again.
  if (link_.RxCount != kBlockReplyLength) return;
  StoreReadBlock(link_.BlockIndex);
  link_.BlockIndex = static_cast<uint8_t>(link_.BlockIndex + kPagesPerBlock);
  link_.ErrorCount = 0;
  if (link_.BlockIndex <= kLastPage + 1) {
    link_.surfaces().progress1.SetPosition(link_.BlockIndex);
    return;
  }
  ReadCompleted();
}

void ConfigTransfer::ReadCompleted() {
  LinkSurfaces& s = link_.surfaces();
  s.progress1.SetPosition(kReadProgressEnd);
  std::copy(received_.begin(), received_.end(), image_.begin());
  link_.ClosePort();
  link_.OperationMode = omIdle;
  link_.UpdateStatusBar();
  s.progress1.SetVisible(false);
  s.memo1.Clear();
  s.memo1.AddLine(text::kConfigReading);
  if (!ImageCrcMatches(image_)) {
    // Reported, and the configuration is still taken over into the model.
    s.memo1.Clear();
    s.memo1.AddLine(ReadCrcMismatchText());
  }
  for (const std::string& line : ParseIntoModel()) s.memo1.AddLine(line);
  // The image is rewritten from the freshly parsed model (its result is not looked at: every
  // write and save builds again first).
  Rebuild();
  s.memo2.SetVisible(false);
  s.memo1.SetVisible(true);
}

// ---- write to the panel ----

void ConfigTransfer::Save_ButtAClick() {
  if (link_.OperationMode != omIdle) return;
  view_.ShowAddButton();
  link_.ErrorCount = 0;
  std::vector<std::string> lines;
  if (!BuildForTransfer(lines)) {
    ShowTransferStart(MemoColor::Red, lines.front());  // nothing is sent
    for (std::size_t i = 1; i < lines.size(); ++i) link_.surfaces().memo2.AddLine(lines[i]);
    return;
  }
  writeNotes_ = lines;
  link_.BlockIndex = 0;
  ProgressBar& progress = link_.surfaces().progress1;
  progress.SetRange(0, kWriteProgressMaximum);
  progress.SetPosition(1);
  progress.SetVisible(true);
  sequencer_.Start(omConfigWrite, Sequencer::kStartIntervalMs);
  link_.ExpectedLength = fn::kWriteReplyLength;
  ShowTransferStart(MemoColor::Blue, text::kConfigWriting);
  for (const std::string& line : writeNotes_) link_.surfaces().memo2.AddLine(line);
}

void ConfigTransfer::SendConfigBlock(uint8_t page) {
  const std::size_t at = std::size_t{page} * reg::kConfigPageStride;
  if (at + reg::kConfigBlockBytes > TransferLength) return;
  const std::span<const uint8_t, reg::kConfigBlockBytes> block(image_.data() + at, reg::kConfigBlockBytes);
  const uint8_t length = BuildConfigBlockWrite(link_, page, block);
  link_.ExpectedLength = fn::kWriteReplyLength;
  // The engine counts the 500 ms from the end of the frame on the line (1675 ms at 1200 baud).
  link_.SendFrame(length, kBlockWriteTimeoutMs);
}

void ConfigTransfer::OnConfigBlockWritten() {
  // Anything but the 8-byte acknowledgement: the next tick writes the same block again.
  if (link_.RxCount != fn::kWriteReplyLength) return;
  link_.ErrorCount = 0;
  link_.BlockIndex = static_cast<uint8_t>(link_.BlockIndex + kPagesPerBlock);
  if (link_.BlockIndex <= kLastPage + 1) {
    link_.surfaces().progress1.SetPosition(link_.BlockIndex);
    return;
  }
  link_.surfaces().progress1.SetPosition(kWriteProgressMaximum);  // the bar's end
  link_.ClosePort();
  link_.OperationMode = omConfigApply;  // the next tick sends the apply command
}

// ---- files ----

void ConfigTransfer::Load_ButtBClick() {
  if (link_.OperationMode != omIdle) return;
  const auto path = view_.ChooseFileToOpen();
  if (!path) return;
  // One byte more than an image tells a longer file from an image without reading it all.
  FileBytes file = view_.ReadFile(*path, ImageSize + 1);
  if (!file.error.empty()) {
    ShowLog(MemoColor::Blue, {FileErrorText(file.error)});
    return;
  }
  // The size on disk first: a file that changed size while it was read is refused by its bytes.
  auto refusal = RefuseImageFile(file.size);
  if (!refusal) refusal = RefuseImageBytes(file.bytes);
  if (refusal) {
    ShowLog(MemoColor::Blue, {*refusal});
    return;
  }
  std::copy(file.bytes.begin(), file.bytes.end(), image_.begin());
  // A sound file shows nothing; one the parse had to cut says what was left out, in a log that
  // is shown: a later write drops what was left out.
  const std::vector<std::string> notes = ParseIntoModel();
  if (!notes.empty()) ShowLog(MemoColor::Blue, notes);
}

void ConfigTransfer::Save_ButtBClick() {
  if (link_.OperationMode != omIdle) return;
  const auto path = view_.ChooseFileToSave();
  if (!path) return;
  std::vector<std::string> lines;
  if (!BuildForTransfer(lines)) {
    ShowLog(MemoColor::Red, lines);  // nothing is written
    return;
  }
  const std::string error = view_.WriteFile(BinFileName(*path), image_);
  if (!error.empty()) lines.insert(lines.begin(), FileErrorText(error));
  // A save that went well shows nothing, unless it removed incomplete rules.
  if (!lines.empty()) ShowLog(MemoColor::Blue, lines);
}

}  // namespace zelor
