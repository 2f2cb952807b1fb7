// A question or a file dialog that a test forgot to answer fails that test at once instead of
// waiting for the run's time-out.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <QFileDialog>
#include <QMessageBox>

namespace zelor::test {
namespace {

bool AnsweredYes() {
  return QMessageBox::warning(nullptr, QString(), "Сменить скорость?", QMessageBox::Yes | QMessageBox::No) ==
         QMessageBox::Yes;
}

TEST(UnansweredDialogs, AQuestionFailsTheTestAndIsDismissed) {
  static bool yes;  // the macro takes no local variable
  yes = true;
  EXPECT_NONFATAL_FAILURE(yes = AnsweredYes(),
                          "a modal dialog the test did not answer: QMessageBox \"Сменить скорость?\"");
  EXPECT_FALSE(yes) << "dismissed, not answered Yes";
}

TEST(UnansweredDialogs, AFileDialogFailsTheTestAndIsDismissed) {
  EXPECT_NONFATAL_FAILURE(
      {
        QFileDialog dialog(nullptr, "    OPEN");
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        EXPECT_EQ(dialog.exec(), QDialog::Rejected);
      },
      "QFileDialog \"OPEN\"");
}

}  // namespace
}  // namespace zelor::test
