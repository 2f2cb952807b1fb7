// "Firmware Upgrade..." in the real window, on the virtual clock against the in-process boot loader.
#include <QAction>
#include <QCoreApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QToolButton>

#include "app/window_fixture.h"
#include "config/add_box_view.h"
#include "config/config_tab.h"
#include "link/link_texts.h"
#include "upgrade/firmware_upgrade.h"
#include "upgrade/upgrade_menu_view.h"
#include "upgrade/upgrade_texts.h"
#include "upgrade_test_support.h"

namespace zelor::test {
namespace {

using enum OperationMode;
using enum ResponseKind;

class UpgradeMenuViewTest : public WindowTest {
 protected:
  void SetUp() override {
    CreateAndShow();
    panel.EnterBootLoader();
  }
  // The dialog answers with `path`, or is cancelled when it is empty; what it showed is kept.
  void AnswerDialogWith(const QString& path) {
    form->upgradeView().runDialog = [this, path](QFileDialog& dialog) {
      ++dialogs;
      title = dialog.windowTitle();
      filters = dialog.nameFilters();
      selectedFilter = dialog.selectedNameFilter();
      folder = dialog.directory().absolutePath();
      if (auto* edit = dialog.findChild<QLineEdit*>("fileNameEdit")) fileNameText = edit->text();
      if (path.isEmpty()) return int(QDialog::Rejected);
      dialog.selectFile(path);
      return int(QDialog::Accepted);
    };
  }
  std::vector<std::string> Memo1() const {
    std::vector<std::string> lines;
    for (const QString& l : form->TeMemo1->Lines()) lines.push_back(l.toStdString());
    return lines;
  }

  int dialogs = 0;
  QString title, selectedFilter, folder, fileNameText;
  QStringList filters;
};

TEST_F(UpgradeMenuViewTest, OpenDialogIsPreparedAsDesignedAndCancelSendsNothing) {
  AnswerDialogWith({});
  form->CustomItem13->trigger();
  EXPECT_EQ(dialogs, 1);
  EXPECT_EQ(title.toStdString(), "    OPEN");
  EXPECT_EQ(fileNameText.toStdString(), " -> ВЫБЕРИТЕ ФАЙЛ С ПРОШИВКОЙ...");
  EXPECT_EQ(filters, QStringList{"hex файлы (*.hex)"});
  EXPECT_EQ(selectedFilter, "hex файлы (*.hex)");
  // The test program's folder is writable, as a tool run from where it was built.
  EXPECT_EQ(folder, QDir(QCoreApplication::applicationDirPath()).absolutePath());
  EXPECT_EQ(UpgradeMenuView::StartFolder(), QCoreApplication::applicationDirPath());
  EXPECT_TRUE(line->requests.empty());
  EXPECT_EQ(form->link().OperationMode, omIdle);
}

TEST_F(UpgradeMenuViewTest, UpgradeRunsToCompletionAndGivesTheMenusBack) {
  const std::string path = WriteFirmwareFile("window.hex", FirmwareFileBytes(61442 + 32));
  AnswerDialogWith(QString::fromStdString(path));
  form->Add_Box->show();
  form->CustomItem13->trigger();
  ASSERT_EQ(form->link().OperationMode, omUpgrade);
  EXPECT_FALSE(form->Add_Box->isVisible());
  EXPECT_FALSE(form->TeMemo1->isVisible());
  ASSERT_TRUE(form->TeMemo2->isVisible());
  EXPECT_EQ(form->TeMemo2->Lines(), QStringList{"   : download firmware..."});
  EXPECT_EQ(form->port().BaudRate(), 115200U);
  EXPECT_TRUE(form->TeProgressBar1->isVisible());
  EXPECT_EQ(form->TeProgressBar1->maximum(), 2 + 121);

  form->CustomItem13->trigger();
  EXPECT_EQ(dialogs, 1) << "refused while the upgrade runs";

  clock->RunUntil([this] { return form->link().OperationMode == omIdle && !form->link().Timer_Rx->Enabled(); }, 600'000);
  EXPECT_EQ(line->requests.size(), 124U);
  EXPECT_EQ(Memo1(), (std::vector<std::string>{"   : firmware upgrade...", "   : OK.", "   : Активный интерфейс -> RS-485(1).",
                                               "   : Порт COM1 больше недоступен."}));
  EXPECT_TRUE(form->TeMemo1->isVisible());
  EXPECT_FALSE(form->TeMemo2->isVisible());
  EXPECT_FALSE(form->TeProgressBar1->isVisible());
  EXPECT_FALSE(form->port().IsOpen());
  EXPECT_EQ(form->port().BaudRate(), 57600U) << "the menu's rate is back";
  EXPECT_EQ(Panel(2), "DEVICE : А = 247; Baud = 57600");
  EXPECT_EQ(panel.upgradesFinished(), 1U);

  AnswerDialogWith({});
  form->CustomItem13->trigger();
  EXPECT_EQ(dialogs, 2) << "the menu entry works again";
}

TEST_F(UpgradeMenuViewTest, WrongSizeClosesTheDevicePanelAndSaysSo) {
  const std::string path = WriteFirmwareFile("short.hex", FirmwareFileBytes(61441));
  AnswerDialogWith(QString::fromStdString(path));
  form->TePageControl1->setCurrentWidget(form->TeTabSheet12);
  form->Add_Box->show();
  form->CustomItem13->trigger();
  EXPECT_FALSE(form->Add_Box->isVisible());
  EXPECT_TRUE(form->TeTabSheet12->Add_Butt_00->isVisible());
  EXPECT_EQ(Memo1(), (std::vector<std::string>{"   : download firmware...", "   : ОШИБКА: НЕВЕРНЫЙ РАЗМЕР ФАЙЛА."}));
  EXPECT_EQ(form->TeMemo1->Color(), MemoColor::Blue);
  EXPECT_TRUE(line->requests.empty());
}

}  // namespace
}  // namespace zelor::test
