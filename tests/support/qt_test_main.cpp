// Entry point of the widget and end-to-end test programs: one QApplication for all tests,
// on the offscreen platform unless the caller chose another, with only the fonts the project's
// packages install unless the caller chose a font configuration.
#include <QApplication>
#include <gtest/gtest.h>

#include "qt_unanswered_dialogs.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  if (qEnvironmentVariableIsEmpty("FONTCONFIG_FILE")) {
    qputenv("FONTCONFIG_FILE", ZELOR_SOURCE_DIR "/tests/support/project_fonts.conf");
  }
  QApplication app(argc, argv);
  new zelor::test::UnansweredDialogs(app);  // owned by the application
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
