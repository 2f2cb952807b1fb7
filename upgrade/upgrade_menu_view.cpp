#include "upgrade/upgrade_menu_view.h"

#include <QAction>
#include <QFile>
#include <QFileDialog>

#include "upgrade/firmware_file.h"
#include "upgrade/firmware_upgrade.h"
#include "widgets/qt_dialog_folder.h"

namespace zelor {

UpgradeMenuView::UpgradeMenuView(UpgradeMenuControls controls, QObject* parent)
    : QObject(parent), controls_(std::move(controls)) {}

void UpgradeMenuView::Connect(FirmwareUpgrade& logic) {
  connect(controls_.upgrade, &QAction::triggered, this, [&logic] { logic.CustomItem13Click(); });
}

QString UpgradeMenuView::StartFolder() { return DialogStartFolder(); }

QString UpgradeMenuView::NameFilter(const std::string& filter) {
  const QString f = QString::fromStdString(filter);
  const auto bar = f.indexOf('|');
  if (bar < 0) return f;
  return f.left(bar) + " (" + f.mid(bar + 1) + ")";
}

std::optional<std::string> UpgradeMenuView::ChooseFirmwareFile(const FirmwareDialogSetup& setup) {
  QFileDialog dialog(controls_.dialogParent);
  dialog.setObjectName("OpenDialog");
  dialog.setWindowTitle(QString::fromStdString(setup.title));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  const QString filter = NameFilter(setup.filter);
  dialog.setNameFilter(filter);
  dialog.selectNameFilter(filter);
  dialog.setDirectory(StartFolder());
  dialog.selectFile(QString::fromStdString(setup.fileName));
  const int result = runDialog ? runDialog(dialog) : dialog.exec();
  if (result != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return QFile::encodeName(dialog.selectedFiles().front()).toStdString();
}

void UpgradeMenuView::CloseAddBox() {
  if (controls_.closeAddBox) controls_.closeAddBox();
}

void UpgradeMenuView::HideAddBox() {
  if (controls_.hideAddBox) controls_.hideAddBox();
}

}  // namespace zelor
