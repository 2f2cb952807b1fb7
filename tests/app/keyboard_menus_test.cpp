// The menus from the keyboard alone: the mnemonics, F10, and the arrows on the bar reached by Tab.
// Keys go through QTest so that they pass the window's shortcut map as a user's keys do.
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include "window_fixture.h"

namespace zelor::test {
namespace {

class KeyboardMenusTest : public WindowTest {
 protected:
  void SetUp() override {
    CreateAndShow();
    QApplication::setActiveWindow(form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get(), 1000));
  }
  void TearDown() override {
    while (QWidget* popup = QApplication::activePopupWidget()) popup->close();
  }
  // The menu whose popup is open, or nullptr.
  static QWidget* OpenMenu() { return QApplication::activePopupWidget(); }
};

TEST_F(KeyboardMenusTest, EachMenuBarTitleOpensWithItsAltLetter) {
  const std::vector<std::pair<Qt::Key, const char*>> keys = {
      {Qt::Key_C, "CustomItem1"}, {Qt::Key_S, "CustomItem4"}, {Qt::Key_T, "CustomItem2"}};
  for (const auto& [key, menu] : keys) {
    QTest::keyClick(form.get(), key, Qt::AltModifier);
    ASSERT_NE(OpenMenu(), nullptr) << menu;
    EXPECT_EQ(OpenMenu()->objectName().toStdString(), menu);
    OpenMenu()->close();
  }
}

TEST_F(KeyboardMenusTest, F10OpensConnectionAndItsLettersReachThePortsAndRates) {
  systemPorts = std::vector<std::string>{"SIM1", "COM1"};  // plugged in after the start
  QTest::keyClick(form.get(), Qt::Key_F10);
  ASSERT_EQ(OpenMenu(), form->CustomItem1);
  QTest::keyClick(OpenMenu(), Qt::Key_B);
  ASSERT_EQ(OpenMenu(), form->CustomItem3) << "B opens BaudRate";
  QTest::keyClick(OpenMenu(), Qt::Key_Escape);
  ASSERT_EQ(OpenMenu(), form->CustomItem1);
  QTest::keyClick(OpenMenu(), Qt::Key_P);
  ASSERT_EQ(OpenMenu(), form->PORT1);
  EXPECT_EQ(PortCaptions(), QStringList({"SIM1", "COM1"})) << "the ports as they are when the menu opens";
  QTest::keyClick(OpenMenu(), Qt::Key_Return);  // a menu opened by a key starts on its first entry
  EXPECT_EQ(OpenMenu(), nullptr);
  EXPECT_EQ(line->PortName(), "SIM1");
  EXPECT_EQ(CheckedPort(), "SIM1");
}

TEST_F(KeyboardMenusTest, TheBarReachedByTabOpensWithTheArrowsOrReturn) {
  for (const Qt::Key key : {Qt::Key_Down, Qt::Key_Return, Qt::Key_Right}) {
    form->TeMenuBar1->setFocus(Qt::TabFocusReason);
    QTest::keyClick(form->TeMenuBar1, key);
    ASSERT_EQ(OpenMenu(), form->CustomItem1) << QKeySequence(key).toString().toStdString();
    OpenMenu()->close();
  }
}

}  // namespace
}  // namespace zelor::test
