// Qt's own buttons and dialogs speak Russian, as the window does, when the translations are there
// (the test command installs them).
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTranslator>

#include "app/qt_translations.h"

namespace zelor::test {
namespace {

TEST(QtTranslations, AQuestionsButtonsAreRussian) {
  QMessageBox before(QMessageBox::Warning, "", "", QMessageBox::Yes | QMessageBox::No);
  EXPECT_EQ(before.button(QMessageBox::Yes)->text(), "&Yes") << "English without the translations";

  ASSERT_TRUE(InstallQtRussianTexts(*qApp)) << "qt6-translations-l10n is not installed";
  QMessageBox after(QMessageBox::Warning, "", "", QMessageBox::Yes | QMessageBox::No);
  EXPECT_EQ(after.button(QMessageBox::Yes)->text().remove('&'), "Да");
  EXPECT_EQ(after.button(QMessageBox::No)->text().remove('&'), "Нет");

  for (QTranslator* t : qApp->findChildren<QTranslator*>()) {
    QCoreApplication::removeTranslator(t);
    delete t;
  }
}

}  // namespace
}  // namespace zelor::test
