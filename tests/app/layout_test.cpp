// Every control of the window at its designed place and size, with its caption and initial
// state; and pictures of every tab for a person to compare with the design.
#include <QAbstractScrollArea>
#include <QActionGroup>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QToolButton>

#include "config/add_box_view.h"
#include "link/link_texts.h"
#include "window_fixture.h"

namespace zelor::test {
namespace {

struct Place {
  const char* name;
  QRect geometry;  // in the parent's coordinates
  bool hidden;
};

TEST_F(WindowTest, ControlsSitWhereTheDesignPutsThem) {
  CreateAndShow();
  const std::vector<Place> places = {
      {"TeMenuBar1", {0, 0, 152, 22}, false},
      {"TeGroupBox1", {0, 24, 873, 585}, false},
      {"TePageControl1", {13, 22, 849, 435}, false},
      {"TeMemo1", {13, 475, 849, 97}, false},
      {"TeMemo2", {13, 475, 849, 97}, true},
      {"Add_Box", {10, 462, 854, 113}, true},
      {"Sound_Butt", {722, 10, 64, 25}, false},
      {"Light_Butt", {798, 10, 64, 25}, false},
      {"StatusBar1", {0, 612, 873, 21}, false},
      {"TeProgressBar1", {372, 616, 490, 16}, true},
      // "СТАТУС"
      {"TeMemo3", {9, 8, 825, 361}, false},
      {"TeButton2", {9, 376, 209, 29}, false},
      // "АРХИВ"
      {"FileGrid", {24, 24, 573, 339}, false},
      {"TeProgressBar2", {24, 376, 573, 16}, true},
      {"File_ButtA", {624, 24, 201, 25}, false},
      {"File_ButtB", {624, 48, 201, 25}, false},
      {"File_ButtC", {624, 72, 201, 25}, false},
      // "ПРОГ.-2"
      {"TeGroupBox5", {16, 24, 409, 80}, false},
      {"TeGroupBox2", {16, 112, 409, 80}, false},
      {"TeGroupBox4", {16, 200, 409, 193}, false},
      {"TeGroupBox6", {440, 24, 385, 130}, false},
      {"TeGroupBox10", {442, 168, 383, 80}, false},
      {"TeGroupBox3", {442, 264, 383, 80}, false},
      {"QueryA_Butt", {443, 360, 380, 30}, false},
      // "КОНФИГ.-4" (widths come from the columns)
      {"AddAuto_Butt", {40, 3, 25, 16}, false},
      {"DelAuto_Butt", {64, 3, 25, 16}, false},
      {"UpAuto_Butt", {120, 3, 25, 16}, false},
      {"DownAuto_Butt", {144, 3, 25, 16}, false},
  };
  for (const auto& p : places) {
    QWidget* w = Find(p.name);
    if (w == nullptr) continue;
    EXPECT_EQ(w->geometry(), p.geometry) << p.name;
    EXPECT_EQ(w->isHidden(), p.hidden) << p.name;
  }
  // Places inside the frame are relative to it.
  for (const char* name : {"TePageControl1", "Sound_Butt", "Light_Butt", "TeMemo1", "TeMemo2", "Add_Box"}) {
    EXPECT_EQ(Find(name)->parentWidget(), Find("TeGroupBox1")) << name;
  }

  struct Vertical {
    const char* name;
    int top, height;
  };
  for (const auto& v : std::vector<Vertical>{{"AutoGrid", 24, 383}, {"AutoNodeGrid", 81, 326}, {"AutoZoneGrid", 81, 326},
                                             {"NodesGrid", 40, 360}, {"ZoneGrid", 40, 360}}) {
    EXPECT_EQ(Find(v.name)->y(), v.top) << v.name;
    EXPECT_EQ(Find(v.name)->height(), v.height) << v.name;
  }
  EXPECT_EQ(Find("AutoGrid")->x(), 8);
  EXPECT_EQ(Find("AutoNodeGrid")->x(), 8);
  for (const char* hidden : {"AutoNodeGrid", "AutoZoneGrid", "EventBox", "GroupGrid", "NameEdit", "AddrEdit", "TypeBox",
                             "Add_Butt_00"}) {
    EXPECT_TRUE(Find(hidden)->isHidden()) << hidden;
  }
}

TEST_F(WindowTest, CaptionsAndHints) {
  Create();
  const std::vector<std::pair<const char*, const char*>> buttons = {
      {"TeButton2", "ЗАПУСК МОНИТОРА"},
      {"File_ButtA", "АРХИВ : СКАЧАТЬ В ФАЙЛ"},
      {"File_ButtB", "АРХИВ : ПОСЛЕДНИЕ 15 ЗАПИСЕЙ"},
      {"File_ButtC", "АРХИВ : КОЛИЧЕСТВО ЗАПИСЕЙ"},
      {"QueryA_Butt", "&ЗАПРОС ПАРАМЕТРОВ"},
      {"AddrC_Butt", "-->"},
      {"TimeSet_Butt", "УСТАНОВИТЬ ВРЕМЯ"},
  };
  for (const auto& [name, caption] : buttons) EXPECT_EQ(Find<QAbstractButton>(name)->text().toStdString(), caption);
  const std::vector<std::pair<const char*, const char*>> boxes = {
      {"TeGroupBox5", "  ПАРАМЕТРЫ ВНУТРЕННЕГО ИНТЕРФЕЙСА  "},
      {"TeGroupBox2", "  ПАРАМЕТРЫ ВНЕШНЕГО ИНТЕРФЕЙСА  "},
      {"TeGroupBox4", "  ДАТА И ВРЕМЯ  "},
      {"TeGroupBox6", "  ЛОГИКА РАБОТЫ ВЫХОДОВ \"ОПОВЕЩЕНИЕ\":    ПОЖАР   ТРЕВОГА  "},
      {"TeGroupBox10", "  КОНТРАСТ ЖКИ =   35  "},
      {"TeGroupBox3", "  ГРОМКОСТЬ ЗВУК. ОПОВ. =   5  "},
      {"Add_Box", "  ДОБАВИТЬ  "},
  };
  for (const auto& [name, title] : boxes) EXPECT_EQ(Find<QGroupBox>(name)->title().toStdString(), title);
  const std::vector<std::pair<const char*, const char*>> labels = {
      {"TeLabel5", "Адрес прибора - 247"}, {"TeLabel9", "0"}, {"Label2", "dT = 0.0сек."}, {"Label1", "CLOCK TRIM +0"}};
  for (const auto& [name, text] : labels) EXPECT_EQ(Find<QLabel>(name)->text().toStdString(), text);
  const std::vector<std::pair<const char*, const char*>> hints = {
      {"Sound_Butt", "Отключение звук. сигнализации"},
      {"Light_Butt", "Отключение свет. сигнализации"},
      {"Load_ButtA", "Считать конфиг из пульта"},
      {"Load_ButtB", "Считать конфиг из файла"},
      {"Up_Butt", "Сдвинуть вверх"},
      {"Down_Butt", "Сдвинуть вниз"},
      {"Del_Butt", "Удалить"},
      {"Add_Butt_00", "Добавить"},
      {"Save_ButtA", "Сохранить конфиг в пульт"},
      {"Save_ButtB", "Сохранить конфиг в файл"},
      {"AddAuto_Butt", "Добавить"},
      {"DelAuto_Butt", "Удалить"},
  };
  for (const auto& [name, hint] : hints) EXPECT_EQ(Find(name)->toolTip().toStdString(), hint) << name;
}

TEST_F(WindowTest, ConfigToolBarOrderWithDeleteAndAddInOnePlace) {
  CreateAndShow();
  const char* order[] = {"Load_ButtA", "Load_ButtB", "Up_Butt", "Down_Butt", "Del_Butt", "Save_ButtA", "Save_ButtB"};
  for (std::size_t i = 1; i < std::size(order); ++i) EXPECT_LT(Find(order[i - 1])->x(), Find(order[i])->x()) << order[i];
  EXPECT_EQ(Find("Add_Butt_00")->geometry(), Find("Del_Butt")->geometry());
  EXPECT_EQ(Find("Load_ButtA")->parentWidget(), Find("TeToolBar1"));
}

TEST_F(WindowTest, ParameterControlsInitialState) {
  Create();
  struct Combo {
    const char* name;
    int count;
    const char* first;
    const char* last;
    int current;
  };
  const std::vector<Combo> combos = {
      {"TeSComboBox1", 8, "1200", "57600", 7}, {"TeSComboBox8", 8, "1200", "57600", 3},
      {"TeSComboBox2", 31, "1", "31", 0},      {"TeSComboBox3", 12, "01", "12", 0},
      {"TeSComboBox4", 17, "2014", "2030", -1}, {"TeSComboBox5", 24, "00", "23", 0},
      {"TeSComboBox6", 60, "00", "59", 0},     {"TeSComboBox7", 60, "00", "59", 0},
  };
  for (const auto& c : combos) {
    auto* box = Find<QComboBox>(c.name);
    ASSERT_EQ(box->count(), c.count) << c.name;
    EXPECT_EQ(box->itemText(0).toStdString(), c.first) << c.name;
    EXPECT_EQ(box->itemText(c.count - 1).toStdString(), c.last) << c.name;
    EXPECT_EQ(box->currentIndex(), c.current) << c.name;
    EXPECT_FALSE(box->isEditable()) << c.name;
  }
  EXPECT_EQ(Find<QComboBox>("TeSComboBox4")->placeholderText().toStdString(), "2012");
  struct Bar {
    const char* name;
    int minimum, maximum, value;
  };
  for (const auto& b : std::vector<Bar>{{"TeScrollBar1", 1, 255, 35}, {"TeScrollBar2", 0, 5, 5},
                                        {"TeScrollBar3", -4, 4, 0}, {"TeScrollBar4", 0, 300, 0}}) {
    auto* bar = Find<QScrollBar>(b.name);
    EXPECT_EQ(bar->minimum(), b.minimum) << b.name;
    EXPECT_EQ(bar->maximum(), b.maximum) << b.name;
    EXPECT_EQ(bar->value(), b.value) << b.name;
  }
  for (const char* name : {"TeSpinEdit1", "TeSpinEdit2"}) {
    auto* spin = Find<QSpinBox>(name);
    EXPECT_EQ(spin->minimum(), 1);
    EXPECT_EQ(spin->maximum(), 247);
    EXPECT_EQ(spin->value(), 247);
  }
  for (const char* side : {"FR", "AL"}) {
    for (int i = 1; i <= 5; ++i) {
      const QString name = QStringLiteral("%1_%2_RButton").arg(side).arg(i);
      auto* radio = form->findChild<QRadioButton*>(name);
      ASSERT_NE(radio, nullptr) << name.toStdString();
      EXPECT_FALSE(radio->isChecked()) << name.toStdString();
    }
  }
  // Four independent groups: checking a mode leaves the duration alone.
  Find<QRadioButton>("FR_1_RButton")->setChecked(true);
  Find<QRadioButton>("FR_3_RButton")->setChecked(true);
  Find<QRadioButton>("AL_2_RButton")->setChecked(true);
  EXPECT_TRUE(Find<QRadioButton>("FR_1_RButton")->isChecked());
  Find<QRadioButton>("FR_4_RButton")->setChecked(true);
  EXPECT_FALSE(Find<QRadioButton>("FR_3_RButton")->isChecked());
  EXPECT_TRUE(Find<QRadioButton>("AL_2_RButton")->isChecked());
}

TEST_F(WindowTest, AddBoxHoldsTwentyOneButtonsInThreeRowsOfSeven) {
  Create();
  const std::vector<std::vector<const char*>> rows = {
      {"ADD_Butt_01", "ADD_Butt_03", "ADD_Butt_05", "ADD_Butt_07", "ADD_Butt_09", "ADD_Butt_17", "ADD_Butt_16"},
      {"ADD_Butt_02", "ADD_Butt_04", "ADD_Butt_06", "ADD_Butt_08", "ADD_Butt_10", "ADD_Butt_18", "ADD_Butt_20"},
      {"ADD_Butt_11", "ADD_Butt_14", "ADD_Butt_15", "ADD_Butt_12", "ADD_Butt_13", "ADD_Butt_19", "ADD_Butt_21"}};
  for (std::size_t r = 0; r < rows.size(); ++r) {
    for (std::size_t c = 0; c < rows[r].size(); ++c) {
      QWidget* b = Find(rows[r][c]);
      EXPECT_EQ(b->parentWidget(), Find("Add_Box"));
      if (c > 0) {
        EXPECT_EQ(b->y(), Find(rows[r][c - 1])->y());
        EXPECT_GT(b->x(), Find(rows[r][c - 1])->x());
      }
      if (r > 0) {
        EXPECT_GT(b->y(), Find(rows[r - 1][c])->y());
      }
      EXPECT_LE(b->geometry().right(), 854) << rows[r][c];
      EXPECT_LE(b->geometry().bottom(), 113) << rows[r][c];
    }
  }
  const std::vector<std::tuple<const char*, const char*, const char*>> texts = {
      {"ADD_Butt_01", "ЗЕЛОР-16И:/16", "ID прибора = 0x01"},  {"ADD_Butt_02", "ЗЕЛОР-16И:/8", "ID прибора = 0x02"},
      {"ADD_Butt_03", "ЗЕЛОР-4И:/4", "ID прибора = 0x08"},    {"ADD_Butt_04", "ЗЕЛОР-4И:/2", "ID прибора = 0x09"},
      {"ADD_Butt_05", "ЗЕЛОР-ППУ", "ID прибора = 0x05"},      {"ADD_Butt_06", "ЗЕЛОР-ППУ-ПК", "ID прибора = 0x07"},
      {"ADD_Butt_07", "ЧЭМ-1И", "ID модуля = 0x04"},          {"ADD_Butt_08", "ЧЭМ-2И", "ID модуля = 0x03"},
      {"ADD_Butt_09", "ДРОЛА-А", "ID оповещателя = 0x0E"},    {"ADD_Butt_10", "ДРОЛА-З-А", "ID оповещателя = 0x0F"},
      {"ADD_Butt_11", "ЗЕЛОР-1И", "ID прибора = 0x06"},       {"ADD_Butt_12", "ЗЕЛОР - МА", "ID модуля = 0x0D"},
      {"ADD_Butt_13", "ЗЕЛОР - МИ", "ID модуля = 0x0C"},      {"ADD_Butt_14", "ТАЛИС-Exd", "ID извещателя = 0x10"},
      {"ADD_Butt_15", "ЗЕЛОР-ППУ(-ПК) V.2", "ID прибора = 0x11"}, {"ADD_Butt_16", "ЗЕЛОР-1И V.2", "ID устройства = 0x12"},
      {"ADD_Butt_17", "ЧЭМ-1И V.2", "ID модуля = 0x13"},      {"ADD_Butt_18", "ЧЭМ-2И V.2", "ID модуля = 0x14"},
      {"ADD_Butt_19", "ЧЭМ-3И V.2", "ID модуля = 0x15"},      {"ADD_Butt_20", "ЗЕЛОР-16И:/16 V.2", "ID прибора = 0x01"},
      {"ADD_Butt_21", "ЗЕЛОР-16И:/8 V.2", "ID прибора = 0x01"},
  };
  for (const auto& [name, caption, hint] : texts) {
    EXPECT_EQ(Find<QPushButton>(name)->text().toStdString(), caption) << name;
    EXPECT_EQ(Find(name)->toolTip().toStdString(), hint) << name;
  }
}

TEST_F(WindowTest, MenusWithTheirCaptionsNamesAndChecks) {
  Create();
  const std::vector<std::pair<const char*, const char*>> menus = {
      {"CustomItem1", "Connection"}, {"PORT1", "Port"},   {"CustomItem3", "BaudRate"}, {"CustomItem4", "Search"},
      {"CustomItem6", "Delay"},      {"CustomItem2", "Tools"}};
  // Shown without the mnemonic's "&", which marks the title's first letter for Alt.
  for (const auto& [name, caption] : menus) {
    EXPECT_EQ(Find<QMenu>(name)->title().toStdString(), std::string("&") + caption) << name;
  }
  const std::vector<std::pair<const char*, const char*>> items = {
      {"CustomItem5", "Start"},  {"CustomItem7", "100ms"},  {"CustomItem8", "150ms"},
      {"CustomItem9", "200ms"},  {"CustomItem10", "250ms"}, {"CustomItem11", "300ms"},
      {"CustomItem12", "350ms"}, {"CustomItem13", "Firmware Upgrade..."}};
  for (const auto& [name, caption] : items) EXPECT_EQ(Find<QAction>(name)->text().toStdString(), caption) << name;
  EXPECT_TRUE(Find<QAction>("CustomItem8")->isChecked());
  EXPECT_FALSE(Find<QAction>("CustomItem7")->isChecked());
  const QList<QAction*> top = form->TeMenuBar1->actions();
  ASSERT_EQ(top.size(), 3);
  EXPECT_EQ(top[0]->menu(), Find<QMenu>("CustomItem1"));
  EXPECT_EQ(top[1]->menu(), Find<QMenu>("CustomItem4"));
  EXPECT_EQ(top[2]->menu(), Find<QMenu>("CustomItem2"));
  const QList<QAction*> connection = Find<QMenu>("CustomItem1")->actions();
  ASSERT_EQ(connection.size(), 2);
  EXPECT_EQ(connection[0]->menu(), form->PORT1);
  EXPECT_EQ(connection[1]->menu(), Find<QMenu>("CustomItem3"));
  int checkedRates = 0;
  for (QAction* a : form->BR_) checkedRates += a->isChecked() ? 1 : 0;
  EXPECT_EQ(checkedRates, 1);
  EXPECT_TRUE(Find<QAction>("BR_57600")->isChecked());
}

// Qt draws a radio mark for the checkable entries of an exclusive group, a check mark otherwise.
TEST_F(WindowTest, RateEntriesWearRadioMarksAndPortEntriesCheckMarks) {
  Create();
  const QActionGroup* group = form->BR_[0]->actionGroup();
  ASSERT_NE(group, nullptr);
  EXPECT_TRUE(group->isExclusive());
  EXPECT_EQ(group->actions().size(), 8);
  for (QAction* a : form->BR_) EXPECT_EQ(a->actionGroup(), group) << a->objectName().toStdString();
  ASSERT_FALSE(form->PORT1->actions().isEmpty());
  for (QAction* a : form->PORT1->actions()) {
    EXPECT_TRUE(a->isCheckable());
    EXPECT_EQ(a->actionGroup(), nullptr) << a->text().toStdString();
  }
}

TEST_F(WindowTest, MenuCaptionsFitTheMenuBar) {
  CreateAndShow();
  QMenuBar* bar = form->TeMenuBar1;
  for (QAction* a : bar->actions()) {
    const QRect r = bar->actionGeometry(a);
    EXPECT_TRUE(bar->rect().contains(r)) << a->text().toStdString() << " lies outside the 152-pixel bar";
  }
}

TEST_F(WindowTest, StatusPanelTextsFitTheirPanels) {
  CreateAndShow();
  for (int i = 0; i < 2; ++i) {
    QLabel* panel = form->StatusBar1->Panel(i);
    EXPECT_LE(panel->fontMetrics().horizontalAdvance(panel->text()), panel->contentsRect().width()) << i;
  }
}

// Pictures of every tab (and the hidden device strip), written where ZELOR_SCREENSHOT_DIR says.
// While an operation runs, the progress bar stands in the status bar's third panel, right of its
// error count: the count's last digit must not be under the bar.
TEST_F(WindowTest, TheProgressBarLeavesEveryErrorCountReadable) {
  Create();
  const auto* panel = form->StatusBar1->findChild<QLabel*>("StatusBar1_Panel2");
  ASSERT_NE(panel, nullptr);
  const int textLeft = form->StatusBar1->x() + panel->x() + panel->contentsRect().left() + panel->indent();
  for (const char* prefix : {text::kConfigReadErrors, text::kConfigWriteErrors, text::kArchiveErrors,
                             text::kUpgradeErrors}) {
    const QString count = QString::fromUtf8(prefix) + "99";
    const int textRight = textLeft + panel->fontMetrics().horizontalAdvance(count);
    EXPECT_LT(textRight, form->TeProgressBar1->x()) << prefix;
  }
  EXPECT_LE(form->TeProgressBar1->geometry().right(), form->StatusBar1->geometry().right());
}

// Controls that do not fit inside their parent are cut off on screen. Scroll areas hold their
// content in a viewport that scrolls, so only the area itself is checked.
void ExpectInsideParents(QWidget* parent, const QString& tab) {
  for (QWidget* child : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (child->isHidden() || child->isWindow()) continue;
    EXPECT_TRUE(parent->rect().contains(child->geometry()))
        << tab.toStdString() << ": " << child->objectName().toStdString() << " "
        << child->metaObject()->className() << " leaves " << parent->objectName().toStdString();
    if (qobject_cast<QAbstractScrollArea*>(child) == nullptr) ExpectInsideParents(child, tab);
  }
}

TEST_F(WindowTest, EveryTabRendersAtTheWindowsSize) {
  CreateAndShow();
  const QString dir = qEnvironmentVariable("ZELOR_SCREENSHOT_DIR");
  QImage previous;
  for (int i = 0; i < form->TePageControl1->count(); ++i) {
    form->TePageControl1->setCurrentIndex(i);
    if (i == 3) form->Add_Box->show();  // what the configuration tab will show with itself
    QWidget* page = form->TePageControl1->widget(i);
    const QString name = page->objectName();
    for (int j = 0; j < form->TePageControl1->count(); ++j) {
      EXPECT_EQ(form->TePageControl1->widget(j)->isVisible(), j == i) << name.toStdString() << " shows page " << j;
    }
    ExpectInsideParents(page, name);
    ExpectInsideParents(form->TeGroupBox1, name);
    const QPixmap shot = form->grab();
    form->Add_Box->hide();
    EXPECT_EQ(shot.size() / shot.devicePixelRatio(), QSize(873, 633));
    // Each tab draws its own controls: no two neighbouring tabs give the same picture.
    const QImage picture = shot.toImage();
    if (!previous.isNull()) {
      EXPECT_NE(picture, previous) << name.toStdString() << " looks like the tab before it";
    }
    previous = picture;
    if (!dir.isEmpty()) {
      EXPECT_TRUE(shot.save(QDir(dir).filePath(QStringLiteral("tab%1_%2.png").arg(i).arg(name))));
    }
  }
}

}  // namespace
}  // namespace zelor::test
