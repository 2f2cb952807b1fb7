// The controls the firmware upgrade touches beyond the link's surfaces, as its logic sees them.
#pragma once
#include <optional>
#include <string>

namespace zelor {

// How the open dialog is prepared: title, the text in its file-name field, and its filter.
struct FirmwareDialogSetup {
  std::string title;
  std::string fileName;
  std::string filter;  // "description|pattern"
};

class UpgradeView {
 public:
  virtual ~UpgradeView() = default;
  // Shows the open dialog (it starts in DialogStartFolder); the chosen file, or nothing if cancelled.
  virtual std::optional<std::string> ChooseFirmwareFile(const FirmwareDialogSetup& setup) = 0;
  // The configuration editor's device panel Add_Box hidden, its button Add_Butt_00 shown.
  virtual void CloseAddBox() = 0;
  // Add_Box hidden only.
  virtual void HideAddBox() = 0;
};

}  // namespace zelor
