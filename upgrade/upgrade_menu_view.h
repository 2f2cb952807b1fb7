// Binds "Tools" → "Firmware Upgrade..." to the upgrade logic and shows its open dialog.
#pragma once
#include <QObject>
#include <QString>
#include <functional>

#include "upgrade/upgrade_view.h"

class QAction;
class QFileDialog;
class QWidget;

namespace zelor {

class FirmwareUpgrade;

struct UpgradeMenuControls {
  QAction* upgrade = nullptr;        // CustomItem13
  QWidget* dialogParent = nullptr;
  std::function<void()> closeAddBox;  // Add_Box hidden, Add_Butt_00 shown
  std::function<void()> hideAddBox;   // Add_Box hidden
};

class UpgradeMenuView : public QObject, public UpgradeView {
  Q_OBJECT
 public:
  UpgradeMenuView(UpgradeMenuControls controls, QObject* parent);

  void Connect(FirmwareUpgrade& logic);

  // Runs the prepared dialog and returns its result; modal unless a test answers it.
  std::function<int(QFileDialog&)> runDialog;

  std::optional<std::string> ChooseFirmwareFile(const FirmwareDialogSetup& setup) override;
  void CloseAddBox() override;
  void HideAddBox() override;

  // The program's folder when it is writable, the user's documents folder otherwise.
  static QString StartFolder();
  // "description|pattern" as Qt writes a name filter: "description (pattern)".
  static QString NameFilter(const std::string& filter);

 private:
  UpgradeMenuControls controls_;
};

}  // namespace zelor
