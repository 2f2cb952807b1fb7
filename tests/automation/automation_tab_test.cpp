// The "КОНФИГ.-4" tab in the real window: the rule list, the zone pickers, the code list, the
// rule buttons, the refresh on node changes and a rule made through the editor into the image.
#include "automation/automation_tab.h"

#include <QDir>
#include <QImage>
#include <QListView>
#include <QScrollBar>

#include "app/window_fixture.h"
#include "automation/executor_commands.h"
#include "config/config_test_support.h"
#include "link/format.h"
#include <QPainter>

namespace zelor::test {
namespace {

using zelor::testing::AddNodes;
using zelor::testing::Dump;

QPoint CellPoint(StringGrid* g, int column, int row) {
  return g->visualRect(g->model()->index(row - 1, column)).center();
}
void ClickCell(StringGrid* g, int column, int row) {
  g->scrollTo(g->model()->index(row - 1, column));
  MouseClick(g->viewport(), CellPoint(g, column, row));
}
void DoubleClickCell(StringGrid* g, int column, int row) {
  ClickCell(g, column, row);
  const QPoint at = CellPoint(g, column, row);
  QMouseEvent dbl(QEvent::MouseButtonDblClick, at, g->viewport()->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                  Qt::NoModifier);
  QApplication::sendEvent(g->viewport(), &dbl);
  QMouseEvent release(QEvent::MouseButtonRelease, at, g->viewport()->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
  QApplication::sendEvent(g->viewport(), &release);
}
// The colour a cell is painted with, a little inside its top-left corner (clear of the text).
QColor PaintedFill(StringGrid* g, int column, int row) {
  const QRect r = g->visualRect(g->model()->index(row - 1, column));
  const QImage picture = g->viewport()->grab().toImage();
  return picture.pixelColor(r.topLeft() + QPoint(1, 1));
}
// The horizontal room left and right of a cell's text, in pixels, from what was painted.
struct Margins {
  int left = -1, right = -1;
};
Margins TextMargins(StringGrid* g, int column, int row) {
  const QRect r = g->visualRect(g->model()->index(row - 1, column));
  const QImage picture = g->viewport()->grab().toImage();
  const QColor fill = picture.pixelColor(r.topLeft() + QPoint(1, 1));
  int first = -1, last = -1;
  for (int x = r.left(); x < r.right(); ++x) {  // the grid line at the right edge is left out
    for (int y = r.top() + 1; y < r.bottom(); ++y) {
      if (picture.pixelColor(x, y) != fill) {
        if (first < 0) first = x;
        last = x;
        break;
      }
    }
  }
  if (first < 0) return {};
  return {first - r.left(), r.right() - 1 - last};
}
std::vector<std::string> Row(StringGrid* g, int row) {
  std::vector<std::string> cells;
  for (int c = 0; c < g->ColCount(); ++c) cells.push_back(g->Cell(c, row).toStdString());
  return cells;
}
std::vector<std::string> Items(QComboBox* box) {
  std::vector<std::string> items;
  for (int i = 0; i < box->count(); ++i) items.push_back(box->itemText(i).toStdString());
  return items;
}

class AutomationTabTest : public WindowTest {
 protected:
  void SetUp() override {
    CreateAndShow();
    form->TePageControl1->setCurrentWidget(form->TeTabSheet4);
    tab = form->TeTabSheet4;
  }
  ConfigModel& model() { return form->Config; }
  // A fresh model in the window, still refreshing the tab.
  void ResetModel() {
    ConfigViews* views = model().Views;
    model() = ConfigModel{};
    model().Views = views;
    tab->RefreshAutoGrid(0);
  }
  // No rules, the devices kept.
  void ResetModelRules() {
    model().RuleCount = 0;
    model().SelectedRule = 0;
    tab->RefreshAutoGrid(0);
  }
  void AddRules(int n) {
    for (int i = 0; i < n; ++i) tab->AddAuto_Butt->click();
  }
  // Picks zone `zone` of node `node` for the selected rule's side through the pickers.
  void PickZone(int column, int node, int zone) {
    DoubleClickCell(tab->AutoGrid, column, model().SelectedRule + 1);
    ASSERT_FALSE(tab->AutoNodeGrid->isHidden());
    ClickCell(tab->AutoNodeGrid, 1, node + 1);
    DoubleClickCell(tab->AutoZoneGrid, 1, zone + 1);
    ASSERT_TRUE(tab->AutoNodeGrid->isHidden());
  }
  // Chooses item `item` of the code list of column 3 or 7 of the selected rule.
  void ChooseCode(int column, int item) {
    DoubleClickCell(tab->AutoGrid, column, model().SelectedRule + 1);
    ASSERT_FALSE(tab->EventBox->isHidden());
    ASSERT_LT(item, tab->EventBox->count());
    tab->EventBox->setCurrentIndex(item);
    emit tab->EventBox->activated(item);
  }

  AutomationTab* tab = nullptr;
};

TEST_F(AutomationTabTest, WithoutDevicesADoubleClickOpensNothing) {
  AddRules(1);
  for (int column = 0; column < 8; ++column) {
    DoubleClickCell(tab->AutoGrid, column, 1);
    EXPECT_TRUE(tab->AutoNodeGrid->isHidden()) << column;
    EXPECT_TRUE(tab->AutoZoneGrid->isHidden()) << column;
    EXPECT_TRUE(tab->EventBox->isHidden()) << column;
  }
  EXPECT_EQ(tab->AutoGrid->RowCount(), 2);
}

TEST_F(AutomationTabTest, ABlankRuleShowsItsUnsetTexts) {
  EXPECT_EQ(tab->AutoGrid->RowCount(), 2);
  EXPECT_EQ(Row(tab->AutoGrid, 1), std::vector<std::string>(8, ""));
  EXPECT_EQ(tab->AutoGrid->Cell(1, 0).toStdString(), "ЗОНА - АКТИВАТОР");
  AddRules(2);
  EXPECT_EQ(tab->AutoGrid->RowCount(), 3);
  const std::vector<std::string> blank = {"01", "  -?", "  -?", "  -?               ", "-->", "  -?", "  -?", "  -?"};
  EXPECT_EQ(Row(tab->AutoGrid, 2), blank);
  EXPECT_EQ(model().SelectedRule, 1);
  EXPECT_EQ(tab->AutoGrid->currentRow(), 1);
}

TEST_F(AutomationTabTest, SelectingACellSetsTheRuleAndTheColumn) {
  AddRules(3);
  ClickCell(tab->AutoGrid, 5, 1);
  EXPECT_EQ(model().SelectedRule, 0);
  EXPECT_EQ(tab->Editor.AutoColumn, 5);
  ClickCell(tab->AutoGrid, 3, 3);
  EXPECT_EQ(model().SelectedRule, 2);
  EXPECT_EQ(tab->Editor.AutoColumn, 3);
  const auto selected = tab->AutoGrid->selectionModel()->selectedIndexes();
  EXPECT_EQ(selected.size(), 8) << "the whole row is selected";
}

TEST_F(AutomationTabTest, TheFireZoneEventListInItsOrderWithTheCurrentEventPreselected) {
  AddNodes(model(), {1});  // sixteen fire zones
  AddRules(1);
  PickZone(1, 0, 3);
  EXPECT_EQ(tab->AutoGrid->Cell(2, 1).toStdString(), "  ПОЖ.");
  ChooseCode(3, 2);
  EXPECT_TRUE(tab->EventBox->isHidden()) << "closing the list hides it";
  EXPECT_EQ(model().Activators[0].Code, 2);
  EXPECT_EQ(tab->AutoGrid->Cell(3, 1).toStdString(), "  ВНИМАНИЕ         ");

  DoubleClickCell(tab->AutoGrid, 3, 1);
  ASSERT_FALSE(tab->EventBox->isHidden());
  const std::vector<std::string> fire = {"  ПОЖАР            ", "  НОРМА            ", "  ВНИМАНИЕ         ",
                                         "  НЕИСПРАВНОСТЬ    "};
  EXPECT_EQ(Items(tab->EventBox), fire);
  EXPECT_EQ(tab->EventBox->currentIndex(), 2);
  EXPECT_EQ(tab->Editor.ChoiceCodes, (std::vector<uint8_t>{0, 4, 2, 3}));
  EXPECT_EQ(tab->EventBox->geometry(), QRect(8 + 265 + 5, 24 + 19, 130, tab->EventBox->height()));
  EXPECT_EQ(tab->EventBox->maxVisibleItems(), 10);
  // Selecting another cell hides the list.
  ClickCell(tab->AutoGrid, 1, 1);
  EXPECT_TRUE(tab->EventBox->isHidden());
}

// Every event and action list opens as wide as its longest item, so that the 2 Hz, 1 Hz and 0.5 Hz
// light-and-sound actions can be told apart; the closed box keeps the cell's width.
TEST_F(AutomationTabTest, EachCodeListOpensWideEnoughForItsLongestItem) {
  AddNodes(model(), {1, 5, 13, 14, 15});  // zones 0..15 fire | УПР. 16 | МЕТКА 17 | СВ.ОП. 18 | СЗВ.ОП. 19
  model().Nodes[0].Zones[1].Kind = kKindSecurity;
  struct List {
    int column;       // 3 the event, 7 the action
    uint8_t node;
    uint8_t zone;
  };
  const List lists[] = {{3, 0, 1}, {3, 0, 0}, {3, 1, 0}, {3, 2, 0}, {7, 1, 0}, {7, 2, 0}, {7, 3, 0}, {7, 4, 0}};
  for (const List& l : lists) {
    ResetModelRules();
    AddRules(1);
    AssignZone(model(), l.column == 3 ? Side::Activator : Side::Executor, l.node, l.zone);
    tab->RefreshAutoGrid(0);
    DoubleClickCell(tab->AutoGrid, l.column, 1);
    ASSERT_FALSE(tab->EventBox->isHidden());
    ASSERT_GT(tab->EventBox->count(), 0);
    tab->EventBox->showPopup();
    QAbstractItemView* view = tab->EventBox->view();
    ASSERT_TRUE(view->isVisible());
    for (int i = 0; i < tab->EventBox->count(); ++i) {
      const QString text = tab->EventBox->itemText(i);
      EXPECT_GE(view->viewport()->width(), view->fontMetrics().horizontalAdvance(text))
          << text.toStdString() << " in the list of zone " << int(l.node) << "/" << int(l.zone);
    }
    EXPECT_EQ(tab->EventBox->width(), 130) << "the closed box keeps its size";
    tab->EventBox->hidePopup();
    QCoreApplication::processEvents();
  }
}

TEST_F(AutomationTabTest, AnUnsetExecutorOffersAnEmptyActionListAndClosingItChangesNothing) {
  AddNodes(model(), {1});
  AddRules(1);
  const std::string before = Dump(model());
  const std::vector<std::string> row = Row(tab->AutoGrid, 1);
  DoubleClickCell(tab->AutoGrid, 7, 1);
  ASSERT_FALSE(tab->EventBox->isHidden());
  EXPECT_EQ(tab->EventBox->count(), 0);
  EXPECT_EQ(tab->EventBox->currentIndex(), -1);
  EXPECT_EQ(tab->EventBox->x(), 8 + 660 + 9);
  tab->EventBox->showPopup();
  tab->EventBox->hidePopup();  // closed without a choice
  QCoreApplication::processEvents();
  EXPECT_TRUE(tab->EventBox->isHidden());
  EXPECT_EQ(Dump(model()), before);
  EXPECT_EQ(Row(tab->AutoGrid, 1), row);
}

TEST_F(AutomationTabTest, PickingShrinksTheGridAndOpensOnTheReferencedDeviceAndZone) {
  AddNodes(model(), {1, 8, 14});
  AddRules(3);
  ClickCell(tab->AutoGrid, 0, 2);  // rule 1
  PickZone(1, 1, 2);               // activator: zone 2 of the 4-zone device, index 18
  PickZone(5, 2, 0);               // executor: the light board, index 20
  ASSERT_EQ(model().Activators[1].ZoneIndex, 18);
  ASSERT_EQ(model().Executors[1].ZoneIndex, 20);
  const std::vector<std::string> rule1 = Row(tab->AutoGrid, 2);

  struct Case {
    int rule, column;
    int node, zone;  // the rows the pickers open on, 0-based
    uint8_t pickMode;
  };
  for (const Case& c : {Case{1, 1, 1, 2, kPickActivator}, Case{1, 5, 2, 0, kPickExecutor},
                        Case{0, 1, 0, 0, kPickActivator}, Case{2, 5, 0, 0, kPickExecutor}}) {
    SCOPED_TRACE(c.rule * 10 + c.column);
    ClickCell(tab->AutoGrid, 0, c.rule + 1);
    DoubleClickCell(tab->AutoGrid, c.column, c.rule + 1);
    ASSERT_FALSE(tab->AutoNodeGrid->isHidden());
    EXPECT_FALSE(tab->AutoZoneGrid->isHidden());
    EXPECT_TRUE(model().PickersOpen);
    EXPECT_EQ(tab->Editor.PickMode, c.pickMode);
    EXPECT_EQ(tab->AutoGrid->RowCount(), 2) << "the grid shrinks to the edited rule";
    EXPECT_EQ(tab->AutoGrid->Cell(0, 1).toStdString(), FormatZeroPadded(static_cast<uint16_t>(c.rule), 2));
    if (c.rule == 1) {
      EXPECT_EQ(Row(tab->AutoGrid, 1), rule1);
    }
    EXPECT_EQ(model().SelectedRule, c.rule);
    EXPECT_EQ(tab->AutoNodeGrid->currentRow(), c.node);
    EXPECT_EQ(tab->AutoZoneGrid->currentRow(), c.zone);
    EXPECT_EQ(tab->Editor.PickerNode, c.node);
    EXPECT_EQ(tab->Editor.PickerZone, c.zone);
    EXPECT_EQ(PaintedFill(tab->AutoGrid, c.column, 1), QColor(0xBC, 0xE1, 0x9C)) << "the zone being picked";
    EXPECT_EQ(PaintedFill(tab->AutoGrid, c.column == 1 ? 5 : 1, 1), QColor(0xB6, 0xBD, 0xD2)) << "the rest of the row";
    // Selecting the rule's row while picking keeps the rule.
    ClickCell(tab->AutoGrid, 2, 1);
    EXPECT_EQ(model().SelectedRule, c.rule);
    KeyClick(tab->AutoZoneGrid, Qt::Key_Escape);
    ASSERT_TRUE(tab->AutoNodeGrid->isHidden());
  }
}

TEST_F(AutomationTabTest, PickersShowTheDevicesAndZonesOfTheModel) {
  AddNodes(model(), {5, 12, 2});
  model().Nodes[0].Address = 7;
  AddRules(1);
  DoubleClickCell(tab->AutoGrid, 1, 1);
  StringGrid* nodes = tab->AutoNodeGrid;
  StringGrid* zones = tab->AutoZoneGrid;
  ASSERT_EQ(nodes->RowCount(), 4);
  EXPECT_EQ(Row(nodes, 0), (std::vector<std::string>{"", "ТИП ПРИБОРА", "НАЗВАНИЕ", "АДРЕС"}));
  EXPECT_EQ(Row(nodes, 1), (std::vector<std::string>{"00", "  ЗЕЛОР-ППУ       ", "  ППУ            ", "007"}));
  EXPECT_EQ(nodes->ColWidth(1), 175);
  EXPECT_EQ(zones->RowCount(), 2);
  EXPECT_EQ(Row(zones, 1), (std::vector<std::string>{"0000", "  ТУШЕНИЕ:       ", "     УПР."}));
  EXPECT_EQ(zones->x(), nodes->x() + nodes->width() + 30);
  ClickCell(nodes, 2, 2);  // the indication module: one empty row
  EXPECT_EQ(tab->Editor.PickerNode, 1);
  EXPECT_EQ(zones->RowCount(), 2);
  EXPECT_EQ(Row(zones, 1), std::vector<std::string>(3, ""));
  ClickCell(nodes, 2, 3);  // eight zones
  EXPECT_EQ(zones->RowCount(), 9);
  EXPECT_EQ(zones->Cell(0, 8).toStdString(), "0008");
  ClickCell(zones, 0, 5);
  EXPECT_EQ(tab->Editor.PickerZone, 4);
  EXPECT_EQ(PaintedFill(zones, 1, 5), QColor(0xBC, 0xE1, 0x9C)) << "a selected zone is light green";
  EXPECT_EQ(PaintedFill(nodes, 1, 3), QColor(0xB6, 0xBD, 0xD2));
  EXPECT_EQ(PaintedFill(nodes, 1, 1), QColor(Qt::white));
}

TEST_F(AutomationTabTest, CellTextsAreAlignedAsDesigned) {
  AddNodes(model(), {1, 5});
  AddRules(2);
  ClickCell(tab->AutoGrid, 0, 1);
  PickZone(1, 0, 0);
  ClickCell(tab->AutoGrid, 0, 2);  // the rows drawn are not the selected one
  auto centred = [](Margins m) { return m.left >= 0 && std::abs(m.left - m.right) <= 3; };
  // Left-aligned texts begin with blanks: the first ink stands that far in from the left edge.
  auto left = [](StringGrid* g, Margins m, int blanks) {
    const int indent = g->fontMetrics().horizontalAdvance(QString(blanks, ' '));
    return m.left >= indent && m.left <= indent + 2;
  };
  EXPECT_TRUE(centred(TextMargins(tab->AutoGrid, 0, 1))) << "the rule number";
  EXPECT_TRUE(centred(TextMargins(tab->AutoGrid, 4, 1))) << "the arrow";
  for (int c : {1, 2, 3, 5}) EXPECT_TRUE(left(tab->AutoGrid, TextMargins(tab->AutoGrid, c, 1), 2)) << c;
  DoubleClickCell(tab->AutoGrid, 5, 2);
  ClickCell(tab->AutoNodeGrid, 1, 1);
  ClickCell(tab->AutoZoneGrid, 1, 2);
  EXPECT_TRUE(centred(TextMargins(tab->AutoNodeGrid, 0, 2)));
  EXPECT_TRUE(centred(TextMargins(tab->AutoNodeGrid, 3, 2)));
  EXPECT_TRUE(left(tab->AutoNodeGrid, TextMargins(tab->AutoNodeGrid, 1, 2), 2));
  EXPECT_TRUE(left(tab->AutoNodeGrid, TextMargins(tab->AutoNodeGrid, 2, 2), 2));
  EXPECT_TRUE(centred(TextMargins(tab->AutoZoneGrid, 0, 1)));
  EXPECT_TRUE(left(tab->AutoZoneGrid, TextMargins(tab->AutoZoneGrid, 1, 1), 2));
  // Three blanks before the kind's text, which begins with two.
  EXPECT_TRUE(left(tab->AutoZoneGrid, TextMargins(tab->AutoZoneGrid, 2, 1), 5));
}

TEST_F(AutomationTabTest, ADeviceDoubleClickAssignsOnlyForSingleZoneDevices) {
  struct Case {
    uint8_t type;
    bool assigns;
  };
  for (const Case& c : {Case{1, false}, Case{5, true}, Case{2, false}, Case{14, true}, Case{12, false}}) {
    SCOPED_TRACE(int(c.type));
    ResetModel();
    AddNodes(model(), {c.type});
    AddRules(1);
    const std::string before = Dump(model());
    DoubleClickCell(tab->AutoGrid, 5, 1);
    ASSERT_FALSE(tab->AutoNodeGrid->isHidden());
    DoubleClickCell(tab->AutoNodeGrid, 1, 1);
    EXPECT_EQ(tab->AutoNodeGrid->isHidden(), c.assigns);
    if (c.assigns) {
      EXPECT_EQ(model().Executors[0].ZoneIndex, 0);
      EXPECT_EQ(tab->AutoGrid->Cell(5, 1).toStdString().substr(0, 8), "  0000: ");
    } else {
      EXPECT_EQ(Dump(model()), before);
      KeyClick(tab->AutoNodeGrid, Qt::Key_Escape);
    }
  }
}

TEST_F(AutomationTabTest, EscRestoresTheListWithTheSameRule) {
  AddNodes(model(), {1});
  AddRules(4);
  for (StringGrid* where : {tab->AutoNodeGrid, tab->AutoZoneGrid, tab->AutoGrid}) {
    SCOPED_TRACE(where->objectName().toStdString());
    ClickCell(tab->AutoGrid, 1, 3);
    const std::string before = Dump(model());
    DoubleClickCell(tab->AutoGrid, 1, 3);
    ASSERT_FALSE(tab->AutoNodeGrid->isHidden());
    ClickCell(tab->AutoZoneGrid, 1, 6);  // a zone chosen, but not assigned
    KeyClick(where, Qt::Key_Escape);
    EXPECT_TRUE(tab->AutoNodeGrid->isHidden());
    EXPECT_TRUE(tab->AutoZoneGrid->isHidden());
    EXPECT_FALSE(model().PickersOpen);
    EXPECT_EQ(tab->AutoGrid->RowCount(), 5);
    EXPECT_EQ(model().SelectedRule, 2);
    EXPECT_EQ(tab->AutoGrid->currentRow(), 2);
    EXPECT_EQ(Dump(model()), before);
  }
  // Esc in the rule list while not picking does nothing.
  KeyClick(tab->AutoGrid, Qt::Key_Escape);
  EXPECT_EQ(model().SelectedRule, 2);
}

TEST_F(AutomationTabTest, TheRuleButtonsAreRefusedWhilePicking) {
  AddNodes(model(), {1});
  AddRules(3);
  ClickCell(tab->AutoGrid, 1, 2);
  DoubleClickCell(tab->AutoGrid, 1, 2);
  ASSERT_FALSE(tab->AutoNodeGrid->isHidden());
  const std::string before = Dump(model());
  for (QToolButton* b : {tab->AddAuto_Butt, tab->DelAuto_Butt, tab->UpAuto_Butt, tab->DownAuto_Butt}) {
    b->click();
    EXPECT_EQ(Dump(model()), before) << b->objectName().toStdString();
    EXPECT_FALSE(tab->AutoNodeGrid->isHidden());
    EXPECT_EQ(tab->AutoGrid->RowCount(), 2);
  }
  // A double-click in the rule list does nothing while the pickers are shown.
  DoubleClickCell(tab->AutoGrid, 3, 1);
  EXPECT_TRUE(tab->EventBox->isHidden());
}

TEST_F(AutomationTabTest, TheButtonsEditTheListAndSelectTheMovedRule) {
  AddNodes(model(), {1});
  AddRules(3);
  ClickCell(tab->AutoGrid, 0, 1);
  PickZone(1, 0, 7);  // rule 0 names zone 7
  tab->DownAuto_Butt->click();
  EXPECT_EQ(model().SelectedRule, 1);
  EXPECT_EQ(tab->AutoGrid->Cell(1, 2).toStdString(), "  0007: ЗЕЛОР-16: ШС-08");
  EXPECT_EQ(tab->AutoGrid->Cell(0, 2).toStdString(), "01");
  EXPECT_EQ(tab->AutoGrid->currentRow(), 1);
  tab->UpAuto_Butt->click();
  EXPECT_EQ(model().SelectedRule, 0);
  tab->UpAuto_Butt->click();  // refused at the top
  EXPECT_EQ(model().SelectedRule, 0);
  tab->DelAuto_Butt->click();
  EXPECT_EQ(model().RuleCount, 2);
  EXPECT_EQ(tab->AutoGrid->RowCount(), 3);
  EXPECT_EQ(tab->AutoGrid->Cell(1, 1).toStdString(), "  -?");
  tab->DelAuto_Butt->click();
  tab->DelAuto_Butt->click();
  EXPECT_EQ(model().RuleCount, 0);
  EXPECT_EQ(tab->AutoGrid->RowCount(), 2);
  EXPECT_EQ(Row(tab->AutoGrid, 1), std::vector<std::string>(8, ""));
}

TEST_F(AutomationTabTest, TwentyRulesWidenTheGridByTheScrollBarNineteenDoNot) {
  const int plain = 30 + 175 + 60 + 130 + 30 + 175 + 60 + 130 + 12;
  const int bar = form->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  EXPECT_EQ(tab->AutoGrid->width(), plain);
  struct Case {
    int rules, width;
  };
  for (const Case& c : {Case{19, plain}, Case{20, plain + bar}, Case{19, plain}, Case{32, plain + bar}}) {
    while (model().RuleCount < c.rules) tab->AddAuto_Butt->click();
    while (model().RuleCount > c.rules) tab->DelAuto_Butt->click();
    EXPECT_EQ(tab->AutoGrid->width(), c.width) << c.rules;
  }
  tab->AddAuto_Butt->click();  // the 33rd is refused
  EXPECT_EQ(model().RuleCount, 32);
}

TEST_F(AutomationTabTest, MovingTheLastVisibleRuleDownScrollsByOneRow) {
  AddRules(25);
  ClickCell(tab->AutoGrid, 0, 1);
  ASSERT_EQ(AutomationTab::TopRow(*tab->AutoGrid), 1);
  ClickCell(tab->AutoGrid, 0, 19);  // rule 18: the last row in view
  ASSERT_EQ(AutomationTab::TopRow(*tab->AutoGrid), 1);
  tab->DownAuto_Butt->click();
  EXPECT_EQ(model().SelectedRule, 19);
  EXPECT_EQ(AutomationTab::TopRow(*tab->AutoGrid), 2);
  tab->DownAuto_Butt->click();
  EXPECT_EQ(AutomationTab::TopRow(*tab->AutoGrid), 3);
  // Back up from the first row in view.
  ClickCell(tab->AutoGrid, 0, 3);
  ASSERT_EQ(AutomationTab::TopRow(*tab->AutoGrid), 3);
  tab->UpAuto_Butt->click();
  EXPECT_EQ(model().SelectedRule, 1);
  EXPECT_EQ(AutomationTab::TopRow(*tab->AutoGrid), 2);
}

TEST_F(AutomationTabTest, TwentyDevicesNarrowTheTypeColumnAndThePickerScrollsToTheDevice) {
  std::vector<uint8_t> types(20, 14);
  for (uint8_t t : types) AddNodes(model(), {t});
  AddRules(1);
  AssignZone(model(), Side::Executor, 18, 0);  // a rule as read from a panel: the pickers never opened
  ASSERT_EQ(model().Executors[0].ZoneIndex, 18);
  DoubleClickCell(tab->AutoGrid, 5, 1);
  const int bar = form->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  EXPECT_EQ(tab->AutoNodeGrid->ColWidth(1), 175 - bar);
  EXPECT_EQ(tab->AutoNodeGrid->currentRow(), 18);
  EXPECT_EQ(AutomationTab::TopRow(*tab->AutoNodeGrid), 20 - 15);
}

TEST_F(AutomationTabTest, ANodeChangeClosesThePickersAndTheListAndSelectsRuleZero) {
  AddNodes(model(), {1, 5});
  AddRules(3);
  ClickCell(tab->AutoGrid, 0, 1);
  PickZone(1, 0, 4);
  ClickCell(tab->AutoGrid, 0, 3);
  DoubleClickCell(tab->AutoGrid, 5, 3);  // picking on rule 2
  ASSERT_FALSE(tab->AutoNodeGrid->isHidden());
  model().SelectedNode = 0;
  ASSERT_EQ(AddNode(model(), 3), kDone);  // two zones inserted after node 0: rule 0's zone moves
  EXPECT_TRUE(tab->AutoNodeGrid->isHidden());
  EXPECT_TRUE(tab->AutoZoneGrid->isHidden());
  EXPECT_FALSE(model().PickersOpen);
  EXPECT_EQ(model().SelectedRule, 0);
  EXPECT_EQ(tab->AutoGrid->RowCount(), 4);
  EXPECT_EQ(tab->AutoGrid->currentRow(), 0);
  EXPECT_EQ(tab->Editor.PickMode, kPickNone);
  EXPECT_EQ(tab->AutoGrid->Cell(1, 1).toStdString(), "  0004: ЗЕЛОР-16: ШС-05");

  // An open code list closes too, and a rule made after it is untouched by the old list.
  PickZone(1, 0, 4);
  DoubleClickCell(tab->AutoGrid, 3, 1);
  ASSERT_FALSE(tab->EventBox->isHidden());
  model().SelectedNode = 1;
  ASSERT_EQ(DeleteNode(model()), kDone);
  EXPECT_TRUE(tab->EventBox->isHidden());
  const std::string after = Dump(model());
  tab->EventBox->setCurrentIndex(1);
  tab->EventBoxCloseUp();
  EXPECT_EQ(Dump(model()), after) << "a hidden list chooses nothing";

  // The hook for changes that reach the rules without a fix-up.
  EXPECT_EQ(model().RuleCount, 0) << "the rules with a side not set went with the node";
  AddRules(2);
  ClickCell(tab->AutoGrid, 0, 2);
  DoubleClickCell(tab->AutoGrid, 1, 2);
  ASSERT_FALSE(tab->AutoNodeGrid->isHidden());
  tab->RefreshAfterNodeChange();
  EXPECT_TRUE(tab->AutoNodeGrid->isHidden());
  EXPECT_EQ(model().SelectedRule, 0);
  EXPECT_EQ(tab->AutoGrid->RowCount(), model().RuleCount + 1);
}

TEST_F(AutomationTabTest, AConfigurationReadWhilePickingEndsThePicking) {
  AddNodes(model(), {1, 14});
  AddRules(2);
  DoubleClickCell(tab->AutoGrid, 5, 2);
  ASSERT_FALSE(tab->AutoNodeGrid->isHidden());
  ConfigModel other;
  AddNodes(other, {5});
  ConfigImage image{};
  ASSERT_EQ(BuildImage(other, image), kBuildOk);
  ParseImage(model(), image);
  EXPECT_TRUE(tab->AutoNodeGrid->isHidden()) << "the pickers would offer devices that are gone";
  EXPECT_FALSE(model().PickersOpen);
  tab->AddAuto_Butt->click();
  EXPECT_EQ(model().RuleCount, 1);
}

// Activator zone, event, executor zone and action, each by the editor's own controls.
class RuleThroughTheEditor : public AutomationTabTest {
 protected:
  void MakeRule() {
    AddNodes(model(), {1, 7, 14});
    model().Nodes[1].Address = 5;   // ППУ-ПК
    model().Nodes[2].Address = 9;   // ДРОЛА
    AddRules(1);
    PickZone(1, 0, 2);              // fire zone 2
    ChooseCode(3, 0);               // "  ПОЖАР            "
    PickZone(5, 1, 0);              // the ППУ-ПК's zone, index 16
    ChooseCode(7, 0);               // "  ПУСК ТУШЕНИЯ"
    tab->AddAuto_Butt->click();
    PickZone(1, 0, 3);
    ChooseCode(3, 1);               // "  НОРМА            "
    DoubleClickCell(tab->AutoGrid, 5, 2);
    DoubleClickCell(tab->AutoNodeGrid, 1, 3);  // the single-zone board at once
    ChooseCode(7, 2);               // "  ВКЛ. СВЕТ-2Гц"
  }
};

TEST_F(RuleThroughTheEditor, IsWrittenWithItsExecutorCommandsAndReadsBackTheSame) {
  MakeRule();
  const std::vector<std::string> first = {"00", "  0002: ЗЕЛОР-16: ШС-03", "  ПОЖ.", "  ПОЖАР            ", "-->",
                                          "  0016: ТУШЕНИЕ:       ", "  УПР.", "  ПУСК ТУШЕНИЯ"};
  const std::vector<std::string> second = {"01", "  0003: ЗЕЛОР-16: ШС-04", "  ПОЖ.", "  НОРМА            ", "-->",
                                           "  0017: ТАБЛО СВЕТ.    ", "  СВ.ОП.", "  ВКЛ. СВЕТ-2Гц"};
  ASSERT_EQ(Row(tab->AutoGrid, 1), first);
  ASSERT_EQ(Row(tab->AutoGrid, 2), second);

  ConfigImage image{};
  ASSERT_EQ(testing::BuildFromEditor(model(), image), kBuildOk);
  using namespace image;
  EXPECT_EQ(image[kRuleCount], 2);
  EXPECT_EQ(ReadBigEndian(image, kRuleActivators), 2);
  EXPECT_EQ(image[kRuleEvents], 0);
  EXPECT_EQ(ReadBigEndian(image, kRuleActivators + 2), 3);
  EXPECT_EQ(image[kRuleEvents + 1], 4);
  EXPECT_EQ(image[kRuleFirstSlot], 0);
  EXPECT_EQ(image[kRuleSlotCount], 2);
  EXPECT_EQ(image[kRuleFirstSlot + 1], 2);
  EXPECT_EQ(image[kRuleSlotCount + 1], 1);
  // The frames the panel will send; their CRCs come from a second, bit-by-bit CRC-16/MODBUS
  // (tests/link/crc_vectors.py), not from the code under test.
  const std::vector<std::vector<uint8_t>> commands = {
      {0x05, 0x06, 0x00, 0x13, 0x7D, 0x4B, 0x18, 0xEC},  // ППУ-ПК at 5: 19 := 0x7D4B, then
      {0x05, 0x06, 0x00, 0x11, 0xAA, 0x01, 0x67, 0x2B},  //             17 := 0xAA01
      {0x09, 0x06, 0x00, 0x03, 0x00, 0x07, 0x39, 0x40},  // ДРОЛА at 9: 3 := 7
  };
  for (std::size_t slot = 0; slot < commands.size(); ++slot) {
    const auto* at = image.data() + kCommandSlots + slot * kCommandSlotBytes;
    EXPECT_EQ(std::vector<uint8_t>(at, at + kCommandSlotBytes), commands[slot]) << slot;
  }
  EXPECT_EQ(image[kCommandSlots + 3 * kCommandSlotBytes], kFill);
  EXPECT_TRUE(ImageCrcMatches(image));

  // Through the simulator's configuration memory, page by page, applied, and read back.
  sim::ConfigMemory& memory = panel.config();
  for (uint32_t page = 0; page < TransferLength / 64; ++page) {
    ASSERT_TRUE(memory.Write(page, image.data() + page * 64, 64));
  }
  ASSERT_TRUE(memory.Apply());
  const std::vector<uint8_t> stored = memory.ImageFile();
  ConfigImage readBack{};
  std::copy(stored.begin(), stored.end(), readBack.begin());
  // The rules come back as written; their zone texts as the panel's display code folds the names.
  ConfigModel written = model();
  for (uint8_t r = 0; r < written.RuleCount; ++r) {
    for (RuleSide* side : {&written.Activators[r], &written.Executors[r]}) side->Text = testing::Fold(side->Text);
  }
  auto rules = [](const ConfigModel& m) {
    const std::string dump = Dump(m);
    return dump.substr(dump.find("rules "));
  };
  ResetModel();
  EXPECT_TRUE(ParseImage(model(), readBack).empty());
  EXPECT_EQ(rules(model()), rules(written));
  EXPECT_EQ(tab->AutoGrid->RowCount(), 3);
  EXPECT_EQ(tab->AutoGrid->Cell(7, 1).toStdString(), "  ПУСК ТУШЕНИЯ");
  EXPECT_EQ(tab->AutoGrid->Cell(3, 2).toStdString(), "  НОРМА            ");
  EXPECT_EQ(tab->AutoGrid->Cell(7, 2).toStdString(), "  ВКЛ. СВЕТ-2Гц");
}

TEST_F(RuleThroughTheEditor, LooksAsDesignedInPictures) {
  MakeRule();
  const QString dir = qEnvironmentVariable("ZELOR_SCREENSHOT_DIR");
  auto save = [&](const QString& name, const QPixmap& shot) {
    EXPECT_FALSE(shot.isNull());
    if (!dir.isEmpty()) {
      EXPECT_TRUE(shot.save(QDir(dir).filePath(name)));
    }
  };
  save("automation_list.png", form->grab());
  ClickCell(tab->AutoGrid, 1, 2);
  DoubleClickCell(tab->AutoGrid, 1, 2);
  ASSERT_FALSE(tab->AutoNodeGrid->isHidden());
  save("automation_pickers.png", form->grab());
  KeyClick(tab->AutoNodeGrid, Qt::Key_Escape);
  DoubleClickCell(tab->AutoGrid, 7, 2);
  ASSERT_FALSE(tab->EventBox->isHidden());
  EXPECT_EQ(tab->EventBox->count(), 5) << "the light board's actions";
  tab->EventBox->showPopup();
  // The open list is a window of its own: drawn into the picture where it stands.
  QPixmap shot = form->grab();
  if (QWidget* popup = tab->EventBox->view()->window(); popup != nullptr && popup->isVisible()) {
    QPainter painter(&shot);
    painter.drawPixmap(form->mapFromGlobal(popup->mapToGlobal(QPoint(0, 0))), popup->grab());
  }
  save("automation_choice.png", shot);
  tab->EventBox->hidePopup();
  QCoreApplication::processEvents();
  EXPECT_TRUE(tab->EventBox->isHidden());
  EXPECT_EQ(model().Executors[1].Code, 13) << "closed on the preselected action";
}

}  // namespace
}  // namespace zelor::test
