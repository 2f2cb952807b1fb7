#include "config/config_transfer_view.h"

#include <QFile>
#include <QFileInfo>
#include <QFileDialog>
#include <QSaveFile>

#include "config/add_box_view.h"
#include "config/config_tab.h"
#include "config/transfer_texts.h"
#include "widgets/qt_dialog_folder.h"

namespace zelor {

ConfigTransferView::ConfigTransferView(ConfigTab& tab, AddBoxView& addBox, const ConfigModel& model,
                                       QWidget* dialogParent)
    : QObject(&tab), tab_(tab), addBox_(addBox), model_(model), dialogParent_(dialogParent) {}

void ConfigTransferView::Connect(ConfigTransfer& logic) {
  connect(tab_.Load_ButtA, &QToolButton::clicked, this, [&logic] { logic.Load_ButtAClick(); });
  connect(tab_.Save_ButtA, &QToolButton::clicked, this, [&logic] { logic.Save_ButtAClick(); });
  connect(tab_.Load_ButtB, &QToolButton::clicked, this, [&logic] { logic.Load_ButtBClick(); });
  connect(tab_.Save_ButtB, &QToolButton::clicked, this, [&logic] { logic.Save_ButtBClick(); });
}

void ConfigTransferView::ShowAddButton() {
  addBox_.hide();
  tab_.Add_Butt_00->show();
}

// ParseImage has already asked the model's views (the configuration editor) to redraw the grids.
void ConfigTransferView::ModelReplaced() {}

std::optional<std::string> ConfigTransferView::Choose(bool save) {
  const auto& answer = save ? saveChoice : openChoice;
  std::optional<QString> chosen;
  if (answer) {
    chosen = answer();
  } else {
    QFileDialog dialog(dialogParent_, QString(), DialogStartFolder(), transfer_text::kFileFilter);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.selectFile(transfer_text::kInitialFileName);
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) chosen = dialog.selectedFiles().front();
  }
  if (!chosen || chosen->isEmpty()) return std::nullopt;
  return chosen->toStdString();
}

std::optional<std::string> ConfigTransferView::ChooseFileToOpen() { return Choose(false); }
std::optional<std::string> ConfigTransferView::ChooseFileToSave() { return Choose(true); }

FileBytes ConfigTransferView::ReadFile(const std::string& path, std::size_t limit) {
  FileBytes result;
  // Only regular files are opened: a FIFO would block until something writes to it, a device may
  // never end, and a folder is no file.
  if (const QFileInfo info(QString::fromStdString(path)); info.exists() && !info.isFile()) {
    result.error = info.isDir() ? "Is a directory" : "Not a regular file";
    return result;
  }
  QFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::ReadOnly)) {
    result.error = file.errorString().toStdString();
    return result;
  }
  result.size = static_cast<unsigned long long>(std::max<qint64>(file.size(), 0));
  const QByteArray bytes = file.read(static_cast<qint64>(limit));
  if (file.error() != QFileDevice::NoError) {
    result.error = file.errorString().toStdString();
    return result;
  }
  result.bytes.assign(bytes.begin(), bytes.end());
  return result;
}

std::string ConfigTransferView::WriteFile(const std::string& path, std::span<const uint8_t> bytes) {
  // A temporary file beside the target, put in its place only when every byte is written: a
  // failed save leaves the file that was there.
  QSaveFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::WriteOnly)) return file.errorString().toStdString();
  const auto size = static_cast<qint64>(bytes.size());
  if (file.write(reinterpret_cast<const char*>(bytes.data()), size) != size) {
    std::string error = file.errorString().toStdString();
    file.cancelWriting();
    return error;
  }
  if (!file.commit()) return file.errorString().toStdString();
  return {};
}

}  // namespace zelor
