// The "BaudRate" menu: one exclusive group keeps exactly one entry checked, by menu and by code.
#include <QAction>
#include <QLabel>

#include "link/line_rates.h"
#include "window_fixture.h"

namespace zelor::test {
namespace {

int CheckedRate(const TForm1& form) {
  int checked = -1;
  for (int i = 0; i < kBaudRateCount; ++i) {
    if (!form.BR_[static_cast<std::size_t>(i)]->isChecked()) continue;
    if (checked >= 0) return -2;  // two entries checked
    checked = i;
  }
  return checked;
}

TEST_F(WindowTest, ExactlyTheChosenRateIsChecked) {
  Create();
  for (int i : {3, 0, 7, 5}) {
    form->BaudRateClick(i);
    EXPECT_EQ(CheckedRate(*form), i);
    EXPECT_EQ(form->link().BaudIndex, i);
  }
  for (int i : {1, 6}) {
    form->BR_[static_cast<std::size_t>(i)]->trigger();  // the user's choice in the menu
    EXPECT_EQ(CheckedRate(*form), i);
    EXPECT_EQ(form->StatusBar1->Panel(1)->text().toStdString(), "BaudRate = " + BaudRateText(i));
  }
}

}  // namespace
}  // namespace zelor::test
