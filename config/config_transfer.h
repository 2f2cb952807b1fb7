// Moving the configuration: the 68-block read from the panel, the 68 block writes and the apply
// command, and the load and save of .bin files, between the panel, ConfigImage and the model.
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "config/image_layout.h"
#include "link/engine.h"
#include "link/sequencer.h"
#include "model/config_model.h"

namespace zelor {

// A file as the view read it: at most the bytes asked for, its whole size, or why it failed.
struct FileBytes {
  std::vector<uint8_t> bytes;
  unsigned long long size = 0;
  std::string error;  // not empty: the file could not be opened or read
};

// What the transfer asks of the window besides the link's surfaces.
class TransferView {
 public:
  virtual ~TransferView() = default;
  // Hides Add_Box and shows Add_Butt_00, through which the user gets the device panel back.
  virtual void ShowAddButton() = 0;
  // The model was replaced from an image: the editor's grids show it again.
  virtual void ModelReplaced() = 0;
  // OpenDialog and SaveDialog: the chosen path, nothing when the user cancels.
  virtual std::optional<std::string> ChooseFileToOpen() = 0;
  virtual std::optional<std::string> ChooseFileToSave() = 0;
  // Reads no more than `limit` bytes of the file.
  virtual FileBytes ReadFile(const std::string& path, std::size_t limit) = 0;
  // Replaces the file only once every byte is written; the error text, empty on success.
  virtual std::string WriteFile(const std::string& path, std::span<const uint8_t> bytes) = 0;
};

class ConfigTransfer {
 public:
  static constexpr uint8_t kLastPage = 201;      // the 68th block: pages 201..203
  static constexpr uint8_t kPagesPerBlock = 3;
  static constexpr int kReadProgressEnd = 203;
  static constexpr int kWriteProgressMaximum = 202;
  // How long a block write waits for its acknowledgement once the frame has left the line.
  static constexpr uint32_t kBlockWriteTimeoutMs = 500;

  ConfigTransfer(Link& link, Sequencer& sequencer, ConfigModel& model, TransferView& view);
  ConfigTransfer(const ConfigTransfer&) = delete;
  ConfigTransfer& operator=(const ConfigTransfer&) = delete;

  void Load_ButtAClick();
  void Save_ButtAClick();
  void Load_ButtBClick();
  void Save_ButtBClick();

  const ConfigImage& Image() const { return image_; }

 private:
  // BuildImage from the editor's model with the build's model steps; ConfigImage takes the
  // result only when the build succeeds. `purged` (may be null) gets a line for each incomplete
  // rule the build's steps removed.
  uint8_t Rebuild(std::vector<std::string>* purged = nullptr);
  // Builds the image from the editor's model with the build's model steps. False when the image
  // must not leave the tool: `lines` then begins with the refusal's lines. Either way it ends with
  // a line for each incomplete rule the build removed.
  bool BuildForTransfer(std::vector<std::string>& lines);
  void SendConfigBlock(uint8_t page);
  void StoreReadBlock(uint8_t page);
  void OnConfigBlockRead();
  void OnConfigBlockWritten();
  void ReadCompleted();
  // The image was replaced: the model and the grids follow; the parse's notes on what it had
  // to leave out are returned for the log.
  std::vector<std::string> ParseIntoModel();
  void ShowTransferStart(MemoColor color, const std::string& line);
  // TeMemo1 shown with these lines in place of the device panel (Add_Butt_00 brings it back).
  void ShowLog(MemoColor color, const std::vector<std::string>& lines);

  Link& link_;
  Sequencer& sequencer_;
  ConfigModel& model_;
  TransferView& view_;
  ConfigImage image_{};  // ConfigImage: zeros until the first read, load or build
  // The blocks of a read in progress: the image takes them only when the last has arrived, so a
  // read cut short leaves the image that was whole before it.
  std::array<uint8_t, TransferLength> received_{};
  // The rules a write removed as incomplete: logged again under the title when the write ends.
  std::vector<std::string> writeNotes_;
};

}  // namespace zelor
