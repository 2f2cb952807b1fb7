// Where the tool's file dialogs start: the program's folder while the user may write there (the
// tool run from where it was built or unpacked), else the user's documents folder (an installed tool).
#pragma once
#include <QString>

namespace zelor {

// The rule itself; an unknown documents folder keeps the program's folder.
QString ChooseDialogFolder(const QString& programFolder, bool programFolderWritable, const QString& documents);

// The rule applied to this program's folder and this user's documents folder.
QString DialogStartFolder();

}  // namespace zelor
