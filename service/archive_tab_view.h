// Binds the "АРХИВ" tab's Qt controls to the archive operations: clicks go in, cells, captions,
// progress and the save dialog come out.
#pragma once
#include <QObject>
#include <QString>
#include <functional>
#include <optional>

#include "service/archive_view.h"

class QWidget;

namespace zelor {

class ArchiveTab;
class ArchiveReading;
class ArchiveDownload;

class ArchiveTabView : public QObject, public ArchiveView {
  Q_OBJECT
 public:
  ArchiveTabView(ArchiveTab& tab, QWidget* dialogParent);

  void Connect(ArchiveReading& reading, ArchiveDownload& download);

  // The save dialog (folder, proposed name) -> chosen path; a modal file dialog unless a test
  // answers it.
  std::function<std::optional<QString>(const QString& folder, const QString& fileName)> saveDialog;

  void SetCaption(ArchiveButton button, const std::string& caption) override;
  void SetEnabled(ArchiveButton button, bool enabled) override;
  void SetCell(int column, int row, const std::string& text) override;
  void SetProgressVisible(bool visible) override;
  void SetProgressRange(int minimum, int maximum) override;
  void SetProgressPosition(int position) override;
  std::optional<std::string> AskArchiveFile(const std::string& fileName) override;

 private:
  ArchiveTab& tab_;
  QWidget* dialogParent_;
};

}  // namespace zelor
