// Qt's own texts (the buttons of questions, the file dialogs) in Russian, as the rest of the window.
#pragma once
#include <QCoreApplication>

namespace zelor {

// Installs Qt's Russian translations when the system has them (Debian's qt6-translations-l10n);
// without them Qt's own texts stay English. The translators belong to `app`. True when installed.
bool InstallQtRussianTexts(QCoreApplication& app);

}  // namespace zelor
