#include "app/qt_translations.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <memory>

namespace zelor {

bool InstallQtRussianTexts(QCoreApplication& app) {
  auto translator = std::make_unique<QTranslator>();
  if (!translator->load(QLocale(QLocale::Russian, QLocale::Russia), "qtbase", "_",
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    return false;
  }
  translator->setParent(&app);
  QCoreApplication::installTranslator(translator.release());
  return true;
}

}  // namespace zelor
