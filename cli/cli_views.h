// The operations' view interfaces without widgets: each keeps what the operation shows, answers
// its questions from the command line's arguments, and draws progress on the terminal.
#pragma once
#include <array>
#include <map>
#include <optional>
#include <string>

#include "cli/cli_output.h"
#include "config/config_transfer.h"
#include "service/archive_view.h"
#include "service/parameter_view.h"
#include "service/search_view.h"
#include "service/monitor_view.h"
#include "upgrade/upgrade_view.h"

namespace zelor::cli {

// "ПРОГ.-2" as values: the combo items, radio numbers, positions and captions the tab would show.
class KeptParameters : public ParameterView {
 public:
  void SetComboIndex(ParamCombo combo, int index) override;
  void ShowComboText(ParamCombo combo, const std::string& text) override;
  std::optional<int> ComboIndex(ParamCombo combo) const override;
  void SetRadioGroup(ParamRadioGroup group, int number) override { radios[group] = number; }
  void SetScrollPosition(ParamScroll scroll, int position) override { scrolls[scroll] = position; }
  void SetText(ParamText which, const std::string& text) override { texts[which] = text; }
  int SpinValue(ParamSpin spin) const override;
  void SetSpinValue(ParamSpin spin, int value) override { spins[spin] = value; }
  // A command line asks nothing: the PC's port stays at the rate it was given.
  bool AskChangePcBaudRate() override { return false; }
  void SwitchPcBaudRate(int) override {}

  std::map<ParamCombo, int> combos;
  std::map<ParamRadioGroup, int> radios;
  std::map<ParamScroll, int> scrolls;
  std::map<ParamText, std::string> texts;
  std::map<ParamSpin, int> spins;
};

// "АРХИВ": the grid's cells kept, the file named on the command line, the bar on the terminal.
class KeptArchive : public ArchiveView {
 public:
  explicit KeptArchive(std::string path) : path_(std::move(path)) {}
  void SetCaption(ArchiveButton, const std::string&) override {}
  void SetEnabled(ArchiveButton, bool) override {}
  void SetCell(int column, int row, const std::string& text) override { cells[{column, row}] = text; }
  void SetProgressVisible(bool visible) override { progress_.SetVisible(visible); }
  void SetProgressRange(int minimum, int maximum) override { progress_.SetRange(minimum, maximum); }
  void SetProgressPosition(int position) override { progress_.SetPosition(position); }
  std::optional<std::string> AskArchiveFile(const std::string&) override {
    if (path_.empty()) return std::nullopt;
    return path_;
  }

  std::map<std::pair<int, int>, std::string> cells;

 private:
  std::string path_;
  TerminalProgress progress_;
};

class KeptSearch : public SearchView {
 public:
  void SetStartCaption(const std::string& caption) override { this->caption = caption; }
  void CheckDelay(int) override {}
  void CloseAddBox() override {}
  void ShowAddress(uint8_t address) override { shown = address; }
  void FocusMenuBar() override {}

  std::string caption;
  std::optional<uint8_t> shown;
};

class KeptUpgrade : public UpgradeView {
 public:
  explicit KeptUpgrade(std::string path) : path_(std::move(path)) {}
  std::optional<std::string> ChooseFirmwareFile(const FirmwareDialogSetup&) override { return path_; }
  void CloseAddBox() override {}
  void HideAddBox() override {}

 private:
  std::string path_;
};

}  // namespace zelor::cli

namespace zelor::cli {

// "СТАТУС": the monitor's lines printed as they come, as text or one JSON object a line.
class PrintedMonitor : public MonitorView {
 public:
  explicit PrintedMonitor(bool json) : json_(json) {}
  void ClearMemo() override {}
  void SetMemoBlue() override {}
  void AddLine(const std::string& line) override;
  std::string ButtonCaption() const override { return caption_; }
  void SetButtonCaption(const std::string& caption) override { caption_ = caption; }

  int printed = 0;

 private:
  bool json_;
  std::string caption_;
};

}  // namespace zelor::cli

namespace zelor::cli {

// The configuration transfer's files named on the command line, read and saved as the window does.
class FileTransfer : public TransferView {
 public:
  FileTransfer(std::string openPath, std::string savePath) : open_(std::move(openPath)), save_(std::move(savePath)) {}
  void ShowAddButton() override {}
  void ModelReplaced() override { modelReplaced = true; }
  std::optional<std::string> ChooseFileToOpen() override { return open_; }
  std::optional<std::string> ChooseFileToSave() override { return save_; }
  FileBytes ReadFile(const std::string& path, std::size_t limit) override;
  std::string WriteFile(const std::string& path, std::span<const uint8_t> bytes) override;

  bool modelReplaced = false;
  std::optional<std::string> written;  // the file a save wrote

 private:
  std::string open_;
  std::string save_;
};

}  // namespace zelor::cli
