#include "service/archive_tab_view.h"

#include <QFileDialog>

#include "service/archive_download.h"
#include "service/archive_reading.h"
#include "service/archive_tab.h"
#include "service/archive_texts.h"
#include "widgets/qt_dialog_folder.h"

namespace zelor {

ArchiveTabView::ArchiveTabView(ArchiveTab& tab, QWidget* dialogParent)
    : QObject(&tab), tab_(tab), dialogParent_(dialogParent) {}

void ArchiveTabView::Connect(ArchiveReading& reading, ArchiveDownload& download) {
  connect(tab_.File_ButtA, &QPushButton::clicked, this, [&download] { download.File_ButtAClick(); });
  connect(tab_.File_ButtB, &QPushButton::clicked, this, [&reading] { reading.File_ButtBClick(); });
  connect(tab_.File_ButtC, &QPushButton::clicked, this, [&reading] { reading.File_ButtCClick(); });
}

namespace {
QPushButton* Button(ArchiveTab& tab, ArchiveButton b) {
  switch (b) {
    case ArchiveButton::File_ButtA: return tab.File_ButtA;
    case ArchiveButton::File_ButtB: return tab.File_ButtB;
    case ArchiveButton::File_ButtC: return tab.File_ButtC;
  }
  return nullptr;
}
}  // namespace

void ArchiveTabView::SetCaption(ArchiveButton button, const std::string& caption) {
  Button(tab_, button)->setText(QString::fromStdString(caption));
}

void ArchiveTabView::SetEnabled(ArchiveButton button, bool enabled) { Button(tab_, button)->setEnabled(enabled); }

void ArchiveTabView::SetCell(int column, int row, const std::string& text) {
  tab_.FileGrid->SetCell(column, row, QString::fromStdString(text));
}

void ArchiveTabView::SetProgressVisible(bool visible) { tab_.TeProgressBar2->setVisible(visible); }
void ArchiveTabView::SetProgressRange(int minimum, int maximum) { tab_.TeProgressBar2->setRange(minimum, maximum); }
// QProgressBar paints itself at once on a visible step; this runs between a reply and the next
// pause, so the paint is left to the next turn of the event loop.
void ArchiveTabView::SetProgressPosition(int position) {
  QProgressBar* bar = tab_.TeProgressBar2;
  bar->setUpdatesEnabled(false);
  bar->setValue(position);
  bar->setUpdatesEnabled(true);  // and asks for that paint
}

std::optional<std::string> ArchiveTabView::AskArchiveFile(const std::string& fileName) {
  const QString folder = DialogStartFolder();
  const QString name = QString::fromStdString(fileName);
  std::optional<QString> chosen;
  if (saveDialog) {
    chosen = saveDialog(folder, name);
  } else {
    const QString filter = QStringLiteral("%1 (%2)").arg(archive_text::kFileFilterName, archive_text::kFileFilterPattern);
    // QFileDialog asks before overwriting an existing file unless told not to.
    const QString path = QFileDialog::getSaveFileName(dialogParent_, QString(), folder + "/" + name, filter);
    if (!path.isEmpty()) chosen = path;
  }
  if (!chosen || chosen->isEmpty()) return std::nullopt;
  return chosen->toStdString();
}

}  // namespace zelor
