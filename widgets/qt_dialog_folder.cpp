// Where the tool's file dialogs start.
#include "widgets/qt_dialog_folder.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStandardPaths>

namespace zelor {

QString ChooseDialogFolder(const QString& programFolder, bool programFolderWritable, const QString& documents) {
  return programFolderWritable || documents.isEmpty() ? programFolder : documents;
}

QString DialogStartFolder() {
  const QString program = QCoreApplication::applicationDirPath();
  return ChooseDialogFolder(program, QFileInfo(program).isWritable(),
                            QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
}

}  // namespace zelor
