// What assistive technology reads from the window: its role and caption, the names of the tabs
// and of every control, the log memo's text and the grids' cells.
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>

#include "app/app_texts.h"
#include "service/archive_tab.h"
#include "service/status_tab.h"
#include "widgets/qt_string_grid.h"
#include "window_fixture.h"

namespace zelor::test {
namespace {

QAccessibleInterface* Accessible(QObject* o) {
  QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(o);
  EXPECT_NE(iface, nullptr) << o->objectName().toStdString();
  return iface;
}

std::string NameOf(QObject* o) {
  QAccessibleInterface* iface = Accessible(o);
  return iface != nullptr ? iface->text(QAccessible::Name).toStdString() : std::string();
}

TEST_F(WindowTest, TheWindowIsAnApplicationWindowNamedByItsCaption) {
  CreateAndShow();
  QAccessibleInterface* window = Accessible(form.get());
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->role(), QAccessible::Window);
  EXPECT_EQ(window->text(QAccessible::Name).toStdString(), app_text::kCaption);
}

TEST_F(WindowTest, TheTabsAreReadByTheirCaptions) {
  CreateAndShow();
  QAccessibleInterface* bar = Accessible(form->TePageControl1->tabBar());
  ASSERT_NE(bar, nullptr);
  QStringList names;
  for (int i = 0; i < bar->childCount(); ++i) {
    QAccessibleInterface* tab = bar->child(i);
    if (tab != nullptr && tab->role() == QAccessible::PageTab) names << tab->text(QAccessible::Name);
  }
  EXPECT_EQ(names, (QStringList{"СТАТУС", "АРХИВ", "ПРОГ.-2", "КОНФИГ.-3", "КОНФИГ.-4"}));
  EXPECT_EQ(NameOf(form->TeTabSheet2), "АРХИВ");
}

TEST_F(WindowTest, EveryControlHasAName) {
  CreateAndShow();
  int controls = 0;
  for (QWidget* w : form->findChildren<QWidget*>()) {
    const bool control = qobject_cast<QAbstractButton*>(w) || qobject_cast<QComboBox*>(w) ||
                         qobject_cast<QAbstractSpinBox*>(w) || qobject_cast<QAbstractSlider*>(w) ||
                         qobject_cast<QLineEdit*>(w) || qobject_cast<QAbstractItemView*>(w) ||
                         qobject_cast<QPlainTextEdit*>(w) || qobject_cast<QProgressBar*>(w);
    // Qt's own parts of a control: qt_spinbox_lineedit, a grid's scroll bars and headers, tab-bar buttons.
    bool part = w->objectName().startsWith("qt_") ||
                (qobject_cast<QScrollBar*>(w) && w->parentWidget()->objectName().startsWith("qt_scrollarea_"));
    for (QWidget* p = w->parentWidget(); p != nullptr; p = p->parentWidget()) {
      part = part || qobject_cast<QAbstractSpinBox*>(p) || qobject_cast<QComboBox*>(p) || qobject_cast<QTabBar*>(p) ||
                     qobject_cast<QAbstractItemView*>(p);
    }
    if (!control || part) continue;
    ++controls;
    EXPECT_FALSE(NameOf(w).empty() || (qobject_cast<QComboBox*>(w) && w->accessibleName().isEmpty())) << w->metaObject()->className() << " " << w->objectName().toStdString();
  }
  EXPECT_GT(controls, 60);
}

struct Named {
  const char* objectName;
  const char* name;
};

TEST_F(WindowTest, ControlsAreNamedByCaptionHintLabelOrPurpose) {
  CreateAndShow();
  const std::vector<Named> cases = {
      {"TeButton2", "ЗАПУСК МОНИТОРА"},                        // caption
      {"QueryA_Butt", "ЗАПРОС ПАРАМЕТРОВ"},                    // caption, without the '&'
      {"Sound_Butt", app_text::kSoundHint},                    // an icon: its hint
      {"Load_ButtA", "Считать конфиг из пульта"},              // an icon: its hint
      {"TeSComboBox2", "ДЕНЬ"},                                // the label above it
      {"TeSComboBox7", "СЕК."},                                // the label above it
      {"TeScrollBar4", "Доп. таймаут ответа от приборов, мс"},  // the label above it
      {"TeSComboBox8", "Скорость передачи внутреннего интерфейса"},
      {"TeSComboBox1", "Скорость передачи внешнего интерфейса"},
      {"TeSpinEdit1", "Адрес прибора"},
      {"AddrC_Butt", "Записать новый адрес прибора"},          // "-->" says nothing
      {"FR_1_RButton", "ПОЖАР, длительность: ПОСТ.*"},         // its column and its row label
      {"AL_3_RButton", "ТРЕВОГА, режим: 0,5 Гц"},
      {"TeMemo1", "Журнал обмена с прибором"},
      {"FileGrid", "Архив событий"},
      {"UpAuto_Butt", "Сдвинуть вверх"},
  };
  for (const auto& c : cases) {
    QWidget* w = Find(c.objectName);
    if (w == nullptr) continue;
    // On Linux Qt reports a combo box's current item as its name; the name set is what other
    // systems read, and the label comes through the "labelled by" relation (below).
    const std::string name = qobject_cast<QComboBox*>(w) ? w->accessibleName().toStdString() : NameOf(w);
    EXPECT_EQ(name, c.name) << c.objectName;
  }
}

TEST_F(WindowTest, AnInputIsLabelledByTheLabelBesideIt) {
  CreateAndShow();
  const std::vector<Named> cases = {
      {"TeSComboBox2", "ДЕНЬ"},
      {"TeSComboBox5", "ЧАС"},
      {"TeSComboBox8", "Скорость передачи"},
      {"TeScrollBar4", "Доп. таймаут ответа от приборов, мс"},
  };
  for (const auto& c : cases) {
    QAccessibleInterface* input = Accessible(Find(c.objectName));
    if (input == nullptr) continue;
    QStringList labels;
    for (const auto& relation : input->relations(QAccessible::Label)) {
      labels << relation.first->text(QAccessible::Name);
    }
    EXPECT_TRUE(labels.contains(QString::fromUtf8(c.name))) << c.objectName << ": " << labels.join(" | ").toStdString();
  }
}

TEST_F(WindowTest, AButtonsNameFollowsItsCaption) {
  CreateAndShow();
  form->TeTabSheet1->TeButton2->setText("СТОП");
  EXPECT_EQ(NameOf(form->TeTabSheet1->TeButton2), "СТОП");
}

TEST_F(WindowTest, TheLogMemoIsReadAsText) {
  CreateAndShow();
  form->TeMemo1->Clear();
  form->TeMemo1->AddLine("TX : F7 03 00 00 00 01 90 9C ");
  form->TeMemo1->AddLine("   : ОК.");
  QCoreApplication::processEvents();  // the memo takes a turn's lines in when the loop is free
  QAccessibleInterface* memo = Accessible(form->TeMemo1);
  ASSERT_NE(memo, nullptr);
  QAccessibleTextInterface* text = memo->textInterface();
  ASSERT_NE(text, nullptr);
  const QString all = text->text(0, text->characterCount());
  EXPECT_TRUE(all.contains("TX : F7 03 00 00 00 01 90 9C")) << all.toStdString();
  EXPECT_TRUE(all.contains("   : ОК.")) << all.toStdString();
}

TEST_F(WindowTest, GridCellsAndHeadingsAreReadable) {
  CreateAndShow();
  StringGrid* grid = form->TeTabSheet2->FileGrid;
  grid->SetCell(2, 3, "ПОЖАР");
  QAccessibleInterface* table = Accessible(grid);
  ASSERT_NE(table, nullptr);
  QAccessibleTableInterface* cells = table->tableInterface();
  ASSERT_NE(cells, nullptr);
  EXPECT_EQ(cells->columnCount(), 7);
  EXPECT_EQ(cells->rowCount(), grid->RowCount() - 1);  // the heading row is the header
  ASSERT_NE(cells->cellAt(0, 0), nullptr);
  EXPECT_EQ(cells->cellAt(0, 0)->text(QAccessible::Name).toStdString(), "x");
  ASSERT_NE(cells->cellAt(2, 2), nullptr);
  EXPECT_EQ(cells->cellAt(2, 2)->text(QAccessible::Name).toStdString(), "ПОЖАР");
  QAccessibleTableCellInterface* cell = cells->cellAt(2, 2)->tableCellInterface();
  ASSERT_NE(cell, nullptr);
  const auto headers = cell->columnHeaderCells();
  ASSERT_EQ(headers.size(), 1);
  EXPECT_EQ(headers.first()->text(QAccessible::Name).toStdString(), "СОСТОЯНИЕ ДО");
}

}  // namespace
}  // namespace zelor::test
