// The window right after start and after its first activation: status bar, rates, address,
// fonts, grids and the one-time activation.
#include <QFontInfo>

#include "model/cp1251.h"
#include <QFontMetrics>
#include <QMenuBar>
#include <QSpinBox>

#include "automation/automation_tab.h"
#include "config/config_tab.h"
#include "link/format.h"
#include "service/archive_tab.h"
#include "service/parameters_tab.h"
#include "widgets/qt_string_grid.h"
#include "window_fixture.h"

namespace zelor::test {
namespace {

TEST_F(WindowTest, StatusBarRightAfterStart) {
  Create();
  EXPECT_EQ(Panel(0), "COM1");
  EXPECT_EQ(Panel(1), "BaudRate = 57600");
  EXPECT_EQ(Panel(2), "DEVICE : А = 247; Baud = 57600");
  EXPECT_EQ(Panel(2).substr(0, 11), "DEVICE : \xD0\x90");  // Cyrillic А, not Latin A
  EXPECT_EQ(form->link().DeviceAddress, 247);
  EXPECT_EQ(form->link().BaudIndex, 7);
  EXPECT_EQ(form->link().RxCount, 0);
  EXPECT_EQ(line->BaudRate(), 57600u);
  EXPECT_FALSE(line->IsOpen()) << "the port opens with the first request, not at start";
}

TEST_F(WindowTest, StatusPanelsHaveTheirWidthsAndAlignment) {
  Create();
  const int widths[3] = {50, 100, 1105};
  for (int i = 0; i < 3; ++i) EXPECT_EQ(form->StatusBar1->Panel(i)->width(), widths[i]) << i;
  EXPECT_EQ(form->StatusBar1->Panel(0)->alignment() & Qt::AlignHCenter, Qt::AlignHCenter);
  EXPECT_EQ(form->StatusBar1->Panel(1)->alignment() & Qt::AlignHCenter, Qt::AlignHCenter);
  EXPECT_EQ(form->StatusBar1->Panel(2)->alignment() & Qt::AlignLeft, Qt::AlignLeft);
}

TEST_F(WindowTest, BaudIndexOutsideTheTableGives9600) {
  Create();
  for (uint8_t bad : {uint8_t{8}, uint8_t{200}, uint8_t{255}}) {
    form->link().BaudIndex = bad;
    form->UpdateStatusBar();
    EXPECT_EQ(Panel(2), "DEVICE : А = 247; Baud = 9600") << int{bad};
    EXPECT_EQ(form->link().BaudIndex, 3);
  }
}

TEST_F(WindowTest, UpdateStatusBarReappliesTheCheckedRate) {
  Create();
  line->SetBaudRate(1200);  // as if something else had touched the port
  form->link().DeviceAddress = 5;
  form->UpdateStatusBar();
  EXPECT_EQ(line->BaudRate(), 57600u);
  EXPECT_EQ(Panel(2), "DEVICE : А = 005; Baud = 57600");
}

TEST_F(WindowTest, RateEntriesAreRadioAndLeavePanel2ForTheNextRefresh) {
  Create();
  const std::vector<std::pair<const char*, uint32_t>> rates = {
      {"BR_1200", 1200},   {"BR_2400", 2400},   {"BR_4800", 4800},   {"BR_9600", 9600},
      {"BR_14400", 14400}, {"BR_19200", 19200}, {"BR_38400", 38400}, {"BR_57600", 57600}};
  for (std::size_t i = 0; i < rates.size(); ++i) {
    const auto [name, baud] = rates[i];
    QAction* entry = Find<QAction>(name);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->text().toStdString(), std::to_string(baud));
    const std::string panel2Before = Panel(2);
    entry->trigger();
    EXPECT_EQ(Panel(1), "BaudRate = " + std::to_string(baud));
    EXPECT_EQ(line->BaudRate(), baud);
    EXPECT_EQ(form->link().BaudIndex, i);
    EXPECT_EQ(Panel(2), panel2Before) << "panel 2 changes only at the next refresh";
    for (QAction* other : form->BR_) EXPECT_EQ(other->isChecked(), other == entry) << name;
  }
  Find<QAction>("BR_1200")->trigger();
  Find<QAction>("BR_1200")->trigger();  // a click on the checked entry keeps it checked
  EXPECT_TRUE(Find<QAction>("BR_1200")->isChecked());
  form->UpdateStatusBar();
  EXPECT_EQ(Panel(2), "DEVICE : А = 247; Baud = 1200");
}

TEST_F(WindowTest, EnterInTheAddressFieldAppliesIt) {
  CreateAndShow();
  QSpinBox* spin = form->TeTabSheet3->TeSpinEdit1;
  spin->setValue(5);
  EXPECT_EQ(form->link().DeviceAddress, 5) << "a change of the field applies it";
  form->link().DeviceAddress = 9;
  KeyClick(spin, Qt::Key_Return);
  EXPECT_EQ(form->link().DeviceAddress, 5);
  EXPECT_EQ(form->TeTabSheet3->TeLabel5->text().toStdString(), "Адрес прибора - 005");
  EXPECT_EQ(Panel(2), "DEVICE : А = 005; Baud = 57600");
}

TEST_F(WindowTest, WindowCaptionSizeAndBorder) {
  Create();
  EXPECT_EQ(form->windowTitle().toStdString(), "ЗЕЛОР-ПУИ  (MODBUS-RTU)   V1.04 - 2018");
  EXPECT_EQ(form->size(), QSize(873, 633));
  EXPECT_EQ(form->minimumSize(), form->maximumSize()) << "not resizable";
  const Qt::WindowFlags flags = form->windowFlags();
  EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
  EXPECT_TRUE(flags & Qt::WindowSystemMenuHint);
  EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
  EXPECT_EQ(form->objectName(), "Form1");
}

TEST_F(WindowTest, FontsResolveToMonospacedFacesWithCyrillic) {
  Create();
  for (QWidget* w : std::initializer_list<QWidget*>{form.get(), form->TeMemo1, form->TeMemo2}) {
    const QFont font = w->font();
    EXPECT_EQ(font.pixelSize(), 11) << w->objectName().toStdString();
    EXPECT_TRUE(QFontInfo(font).fixedPitch()) << QFontInfo(font).family().toStdString();
    const QFontMetrics metrics(font);
    for (char32_t c : {U'Ж', U'Ё', U'А', U'я', U'№'}) {
      EXPECT_TRUE(metrics.inFontUcs4(c)) << QFontInfo(font).family().toStdString() << " lacks U+"
                                         << std::hex << static_cast<uint32_t>(c);
    }
  }
  EXPECT_EQ(form->TeMemo1->font().family(), "Courier New");
  EXPECT_EQ(form->font().family(), "Courier");
}

TEST_F(WindowTest, LogMemoStartsWithTxAndRxInNavy) {
  Create();
  systemPorts = std::vector<std::string>{"COM1"};
  EXPECT_EQ(form->TeMemo1->Lines(), QStringList({"TX :", "RX :"}));
  EXPECT_EQ(form->TeMemo1->Color(), MemoColor::Navy);
  EXPECT_EQ(form->TeMemo1->palette().color(QPalette::Text), QColor(0, 0, 128));
  EXPECT_TRUE(form->TeMemo1->isReadOnly());
  EXPECT_TRUE(form->TeMemo2->isHidden());
}

TEST_F(WindowTest, TheStatusTabIsShownFirst) {
  Create();
  QTabWidget* tabs = form->TePageControl1;
  ASSERT_EQ(tabs->count(), 5);
  const char* captions[5] = {"СТАТУС", "АРХИВ", "ПРОГ.-2", "КОНФИГ.-3", "КОНФИГ.-4"};
  const char* names[5] = {"TeTabSheet1", "TeTabSheet2", "TeTabSheet3", "TeTabSheet12", "TeTabSheet4"};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(tabs->tabText(i).toStdString(), captions[i]);
    EXPECT_EQ(tabs->widget(i)->objectName().toStdString(), names[i]);
    EXPECT_EQ(tabs->tabBar()->tabRect(i).width(), 100) << i;
  }
  EXPECT_EQ(tabs->currentWidget(), form->findChild<QWidget*>("TeTabSheet1"));
}

TEST_F(WindowTest, FileGridHeadingsAndFirstCellAtStart) {
  Create();
  StringGrid* grid = form->TeTabSheet2->FileGrid;
  const char* headings[7] = {"№", "ЗОНА", "СОСТОЯНИЕ ДО", "", "СОСТОЯНИЕ ПОСЛЕ", "ВРЕМЯ", "ДАТА"};
  const int widths[7] = {48, 68, 138, 24, 138, 71, 76};
  ASSERT_EQ(grid->ColCount(), 7);
  EXPECT_EQ(grid->RowCount(), 16);
  for (int c = 0; c < 7; ++c) {
    EXPECT_EQ(grid->Cell(c, 0).toStdString(), headings[c]);
    EXPECT_EQ(grid->ColWidth(c), widths[c]);
  }
  EXPECT_EQ(grid->Cell(0, 1), "x");
  EXPECT_EQ(grid->Cell(1, 1), "");
}

struct GridCase {
  const char* name;
  std::vector<int> widths;
  std::vector<const char*> headings;
};

TEST_F(WindowTest, FirstActivationSetsEveryGridsColumns) {
  Create();
  EXPECT_FALSE(form->Activated());
  EXPECT_EQ(Find<StringGrid>("NodesGrid")->Cell(1, 0), "") << "headings wait for the activation";
  form->show();
  ASSERT_TRUE(form->Activated());
  const std::vector<GridCase> grids = {
      {"AutoGrid",
       {30, 175, 60, 130, 30, 175, 60, 130},
       {"", "ЗОНА - АКТИВАТОР", "ТИП", "СОБЫТИЕ", "", "ЗОНА - ИСПОЛНИТЕЛЬ", "ТИП", "ДЕЙСТВИЕ"}},
      {"AutoNodeGrid", {30, 175, 130, 58}, {"", "ТИП ПРИБОРА", "НАЗВАНИЕ", "АДРЕС"}},
      {"AutoZoneGrid", {45, 189, 130}, {"ЗОНА", "НАЗВАНИЕ", "ТИП"}},
      {"NodesGrid", {30, 130, 130, 60}, {"", "ТИП ПРИБОРА", "НАЗВАНИЕ", "АДРЕС"}},
      {"ZoneGrid", {45, 130, 60, 80, 110}, {"№", "НАЗВАНИЕ", "ТИП", "ГРУППА", "УСЛ. № ЗОНЫ"}},
  };
  for (const auto& g : grids) {
    auto* grid = Find<StringGrid>(g.name);
    ASSERT_NE(grid, nullptr);
    ASSERT_EQ(grid->ColCount(), static_cast<int>(g.widths.size())) << g.name;
    int sum = 0;
    for (std::size_t c = 0; c < g.widths.size(); ++c) {
      EXPECT_EQ(grid->ColWidth(static_cast<int>(c)), g.widths[c]) << g.name << " column " << c;
      EXPECT_EQ(grid->Cell(static_cast<int>(c), 0).toStdString(), g.headings[c]) << g.name << " column " << c;
      sum += g.widths[c];
    }
    EXPECT_EQ(grid->width(), sum + static_cast<int>(g.widths.size()) + 4) << g.name;
    EXPECT_EQ(grid->RowCount(), 2) << g.name;
  }
  auto* nodes = Find<StringGrid>("NodesGrid");
  EXPECT_EQ(Find("TeToolBar1")->width(), nodes->width());
  auto* autoNodes = Find<StringGrid>("AutoNodeGrid");
  EXPECT_EQ(Find("AutoZoneGrid")->x(), autoNodes->x() + autoNodes->width() + 30);
}

TEST_F(WindowTest, FirstActivationFillsGroupNames) {
  Create();
  form->Config.GroupNames.fill({});
  form->show();
  for (std::size_t n = 0; n < 10; ++n) {
    const std::string expected = "<НАЗВАНИЕ> : " + std::to_string(n) + "  ";
    EXPECT_EQ(Utf8FromCp1251(form->Config.GroupNames[n]), expected);
    EXPECT_EQ(form->Config.GroupNames[n].size(), 16U) << "16 cp1251 characters";
  }
}

TEST_F(WindowTest, ActivationRunsOnce) {
  CreateAndShow();
  form->Config.GroupNames[3] = Cp1251String::FromBytes("CHANGED");
  auto* nodes = Find<StringGrid>("NodesGrid");
  nodes->SetColWidth(1, 77);
  nodes->SetRowCount(5);
  QEvent activate(QEvent::WindowActivate);
  QApplication::sendEvent(form.get(), &activate);
  form->hide();
  form->show();
  form->FormActivate();
  EXPECT_EQ(form->Config.GroupNames[3].Bytes(), "CHANGED");
  EXPECT_EQ(nodes->ColWidth(1), 77);
  EXPECT_EQ(nodes->RowCount(), 5);
}

TEST_F(WindowTest, ActivationAndMemoPressesHandTheFocusToTheMenuBar) {
  CreateAndShow();
  form->activateWindow();
  QApplication::processEvents();
  form->TeTabSheet3->TeSpinEdit1->setFocus();
  ASSERT_FALSE(form->TeMenuBar1->hasFocus());
  MouseClick(form->TeMemo1->viewport());
  EXPECT_TRUE(form->TeMenuBar1->hasFocus());
  EXPECT_FALSE(form->TeMemo1->hasFocus());
}

TEST_F(WindowTest, AShortScreenGetsAShorterScrollingWindow) {
  Create();
  form->FitToScreen(633 + 25);  // fits exactly
  EXPECT_EQ(form->size(), QSize(873, 633));
  EXPECT_FALSE(form->Scrolls());
  form->FitToScreen(600);
  EXPECT_EQ(form->height(), 575);
  EXPECT_TRUE(form->Scrolls());
  EXPECT_GT(form->width(), 873) << "widened by the scroll bar";
}

TEST_F(WindowTest, RequestsAreLoggedInTeMemo1AndClosingTheWindowClosesThePort) {
  CreateAndShow();
  ASSERT_TRUE(form->link().SendReadRequest(0, 1));
  form->link().ResponseKind = ResponseKind::rkNone;
  EXPECT_TRUE(line->IsOpen());
  clock->RunUntil([this] { return !form->link().Timer_Rx->Enabled(); }, 2000);
  EXPECT_EQ(form->TeMemo1->Lines(),
            QStringList({"TX : F7 03 00 00 00 01 90 9C ", "RX : F7 03 02 00 0B 31 96 ", "   : ОК."}));
  EXPECT_EQ(form->TeMemo1->Color(), MemoColor::Blue);
  // A single read closes the port after its answer; a monitoring poll keeps it open.
  form->link().OperationMode = OperationMode::omLast15Count;
  ASSERT_TRUE(form->link().SendReadRequest(6, 1));
  form->link().OperationMode = OperationMode::omIdle;
  ASSERT_TRUE(line->IsOpen());
  form->close();
  EXPECT_FALSE(line->IsOpen());
}

}  // namespace
}  // namespace zelor::test
