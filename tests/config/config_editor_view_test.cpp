// The configuration editor in the real window on the virtual clock: grids, Add_Box, the in-place
// editors, the refusal flash and the group chooser, driven by clicks on the controls.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QListWidget>
#include <QScrollBar>
#include <QSpinBox>
#include <QStyle>
#include <QStyleHints>
#include <QTableWidget>

#include "app/window_fixture.h"
#include "config/add_box_view.h"
#include "config/config_editor_view.h"
#include "config/config_edits.h"
#include "config/config_image.h"
#include "config/config_tab.h"
#include "config/config_tab_texts.h"
#include "config/editor_cells.h"
#include "config/image_layout.h"
#include "config/nodes.h"
#include "automation/rules.h"
#include "config_test_support.h"
#include "grid_clicks.h"
#include "link/format.h"
#include "model/cp1251.h"

namespace zelor::test {
namespace {

class ConfigEditorTest : public WindowTest {
 protected:
  void SetUp() override {
    CreateAndShow();
    form->TePageControl1->setCurrentWidget(form->TeTabSheet12);
    tab = form->TeTabSheet12;
    // A question no test arranged an answer for fails at once instead of waiting for a user.
    form->configEditor().deleteQuestion = [](const QString& question) {
      ADD_FAILURE() << "unexpected question: " << question.toStdString();
      return false;
    };
  }
  // Reads the simulated panel's configuration (ten devices, eight rules) as Load_ButtA does.
  void ReadFromPanel() {
    tab->Load_ButtA->click();
    ASSERT_TRUE(clock->RunUntil(
        [this] { return form->link().OperationMode == OperationMode::omIdle && !form->link().Timer_Rx->Enabled(); },
        60'000));
  }
  std::vector<std::string> Log() const {
    std::vector<std::string> out;
    for (const QString& line : form->TeMemo1->Lines()) out.push_back(line.toStdString());
    return out;
  }
  ConfigModel& model() { return form->Config; }
  const EditorState& state() { return form->configEditor().State(); }

  void Add(const char* button) { Find<QPushButton>(button)->click(); }
  void Click(StringGrid* grid, int column, int row) { ClickCell(grid, column, row); }
  void DoubleClick(StringGrid* grid, int column, int row) { DoubleClickCell(grid, column, row); }
  std::string Cell(StringGrid* grid, int column, int row) { return grid->Cell(column, row).toStdString(); }
  QColor PixelOfCell(StringGrid* grid, int column, int row, QPoint offset) {
    const QImage image = grid->viewport()->grab().toImage();
    const QRect r = grid->visualRect(grid->model()->index(row - 1, column));
    return image.pixelColor(r.topLeft() + offset);
  }
  void Shot(const char* name) {
    const QString dir = qEnvironmentVariable("ZELOR_SCREENSHOT_DIR");
    if (!dir.isEmpty()) {
      EXPECT_TRUE(form->grab().save(QDir(dir).filePath(name)));
    }
  }

  ConfigTab* tab = nullptr;
};

TEST_F(ConfigEditorTest, TheTabShowsAddBoxAndTheButtonBringsItBack) {
  EXPECT_TRUE(form->Add_Box->isVisible());
  form->TePageControl1->setCurrentIndex(0);
  EXPECT_FALSE(form->Add_Box->isVisible());
  form->TePageControl1->setCurrentWidget(tab);
  EXPECT_TRUE(form->Add_Box->isVisible());
  form->Add_Box->hide();
  tab->Add_Butt_00->show();  // as the transfer buttons leave it
  tab->Add_Butt_00->click();
  EXPECT_TRUE(form->Add_Box->isVisible());
  EXPECT_TRUE(tab->Add_Butt_00->isHidden());
}

TEST_F(ConfigEditorTest, EmptyGridsShowOneEmptyRowAndIgnoreClicks) {
  EXPECT_EQ(tab->NodesGrid->RowCount(), 2);
  EXPECT_EQ(tab->ZoneGrid->RowCount(), 2);
  const std::string before = zelor::testing::Dump(model());
  Click(tab->NodesGrid, 2, 1);
  DoubleClick(tab->NodesGrid, 2, 1);
  for (int col = 0; col < 5; ++col) DoubleClick(tab->ZoneGrid, col, 1);
  EXPECT_TRUE(tab->NameEdit->isHidden());
  EXPECT_TRUE(tab->AddrEdit->isHidden());
  EXPECT_TRUE(tab->TypeBox->isHidden());
  EXPECT_FALSE(state().FlashPending);
  EXPECT_EQ(zelor::testing::Dump(model()), before);
}

TEST_F(ConfigEditorTest, EveryAddButtonAddsItsTypeAndTheSeventeenthWidensTheList) {
  const int narrow = tab->NodesGrid->width();
  EXPECT_EQ(narrow, 30 + 130 + 130 + 60 + 8);
  std::vector<int> types;
  for (const auto& b : config_text::kAddButtons) {
    Add(b.name);
    types.push_back(b.typeCode);
    const int n = static_cast<int>(types.size());
    ASSERT_EQ(model().NodeCount, n) << b.name;
    EXPECT_EQ(model().Nodes[n - 1].Type, b.typeCode) << b.name;
    EXPECT_EQ(model().SelectedNode, n - 1);
    EXPECT_EQ(tab->NodesGrid->RowCount(), n + 1);
    EXPECT_EQ(Cell(tab->NodesGrid, 0, n), FormatZeroPadded(static_cast<uint16_t>(n - 1), 2));
    EXPECT_EQ(Cell(tab->NodesGrid, 1, n), DeviceTypeText(static_cast<uint8_t>(b.typeCode)));
    EXPECT_EQ(Cell(tab->NodesGrid, 3, n), FormatZeroPadded(static_cast<uint16_t>(n), 3));
    EXPECT_EQ(tab->NodesGrid->currentRow(), n - 1);
    const int extent = tab->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    EXPECT_EQ(tab->NodesGrid->width(), n > 16 ? narrow + extent : narrow) << n;
    // The new device's row stays in view.
    const QRect row = tab->NodesGrid->visualRect(tab->NodesGrid->model()->index(n - 1, 0));
    EXPECT_TRUE(tab->NodesGrid->viewport()->rect().contains(row)) << n;
    EXPECT_EQ(tab->ZoneGrid->RowCount(), ZoneGridRows(model()));
  }
  Shot("config_grids_filled.png");
  while (model().NodeCount < kMaxNodes) Add("ADD_Butt_07");
  Add("ADD_Butt_01");  // the 33rd is refused
  EXPECT_EQ(model().NodeCount, kMaxNodes);
  EXPECT_EQ(tab->NodesGrid->RowCount(), 33);
}

TEST_F(ConfigEditorTest, MovingTheTopDeviceUpScrollsTheListByOneRow) {
  for (int i = 0; i < 20; ++i) Add("ADD_Butt_09");
  QScrollBar* bar = tab->NodesGrid->verticalScrollBar();
  EXPECT_EQ(bar->value(), 4);  // rows 5..20 in view, the last selected
  Click(tab->NodesGrid, 1, 5);  // the top visible row
  tab->Up_Butt->click();
  EXPECT_EQ(model().SelectedNode, 3);
  EXPECT_EQ(bar->value(), 3);
  tab->Down_Butt->click();  // back inside the view: no scrolling
  EXPECT_EQ(bar->value(), 3);
}

TEST_F(ConfigEditorTest, SelectingADeviceShowsItsZones) {
  Add("ADD_Butt_01");
  Add("ADD_Butt_13");  // the indication module: one empty row
  Add("ADD_Butt_19");
  EXPECT_EQ(tab->ZoneGrid->RowCount(), 4);
  EXPECT_EQ(Cell(tab->ZoneGrid, 0, 1), "0016");
  EXPECT_EQ(Cell(tab->ZoneGrid, 1, 3), "  ЧЭМ-3И : ШС-03 ");
  Click(tab->NodesGrid, 1, 2);
  EXPECT_EQ(model().SelectedNode, 1);
  EXPECT_EQ(tab->ZoneGrid->RowCount(), 2);
  EXPECT_EQ(Cell(tab->ZoneGrid, 1, 1), "");
  Click(tab->NodesGrid, 1, 1);
  EXPECT_EQ(tab->ZoneGrid->RowCount(), 17);
  EXPECT_EQ(Cell(tab->ZoneGrid, 2, 16), "  ПОЖ.");
  Click(tab->ZoneGrid, 3, 6);
  EXPECT_EQ(model().SelectedZone, 5);
  EXPECT_EQ(state().ClickedColumn, 3);
  EXPECT_EQ(state().ClickedZoneRow, 6);
}

TEST_F(ConfigEditorTest, DeleteAndMoveButtonsRefreshTheList) {
  Add("ADD_Butt_05");
  Add("ADD_Butt_09");
  tab->Up_Butt->click();
  EXPECT_EQ(Cell(tab->NodesGrid, 1, 1), "  ДРОЛА АДРЕС.    ");
  EXPECT_EQ(tab->NodesGrid->currentRow(), 0);
  tab->Down_Butt->click();
  EXPECT_EQ(Cell(tab->NodesGrid, 1, 2), "  ДРОЛА АДРЕС.    ");
  tab->Down_Butt->click();  // refused at the end
  EXPECT_EQ(tab->NodesGrid->currentRow(), 1);
  tab->Del_Butt->click();
  EXPECT_EQ(tab->NodesGrid->RowCount(), 2);
  EXPECT_EQ(Cell(tab->NodesGrid, 1, 1), "  ЗЕЛОР-ППУ       ");
  tab->Del_Butt->click();
  tab->Del_Butt->click();  // refused
  EXPECT_EQ(model().NodeCount, 0);
  EXPECT_EQ(Cell(tab->NodesGrid, 1, 1), "");
}

TEST_F(ConfigEditorTest, ADoubleClickOnAddDeletesNothingAndADeviceWithRulesGoesOnlyWhenConfirmed) {
  ReadFromPanel();
  ASSERT_EQ(model().NodeCount, 10);
  ASSERT_EQ(model().RuleCount, 8);
  ASSERT_TRUE(form->Add_Box->isHidden());
  ASSERT_FALSE(tab->Add_Butt_00->isHidden());
  const QPoint add = tab->Add_Butt_00->geometry().center();
  ASSERT_EQ(tab->Del_Butt->geometry().center(), add) << "the two share their place";
  // The first click brings the device panel and uncovers "Удалить"; the second deletes nothing.
  DoubleClickAt(tab->TeToolBar1, add);
  EXPECT_TRUE(form->Add_Box->isVisible());
  EXPECT_TRUE(tab->Add_Butt_00->isHidden());
  EXPECT_EQ(model().NodeCount, 10);
  EXPECT_EQ(model().RuleCount, 8);

  // Past the double-click interval a click on "Удалить" is a deletion: one that takes rules with
  // it asks first, naming the device and the rules.
  int withRules = -1;
  int withoutRules = -1;
  for (int k = 0; k < model().NodeCount; ++k) {
    model().SelectedNode = k;
    (RulesDeletedWithNode(model()) > 0 ? withRules : withoutRules) = k;
  }
  ASSERT_GE(withRules, 0);
  ASSERT_GE(withoutRules, 0);
  Click(tab->NodesGrid, 1, withRules + 1);
  ASSERT_EQ(model().SelectedNode, withRules);
  const unsigned goes = RulesDeletedWithNode(model());
  const NodeRecord node = model().Nodes[static_cast<std::size_t>(withRules)];
  const std::string expected = "Удалить устройство " + FormatZeroPadded(static_cast<uint16_t>(withRules), 2) + " \"" +
                               NameForEditor(node.Name) + "\" (адрес " + FormatZeroPadded(node.Address, 3) +
                               ")?\nВместе с ним будут удалены правила автоматики: " + std::to_string(goes) + ".";
  clock->AdvanceMs(QGuiApplication::styleHints()->mouseDoubleClickInterval());
  const std::string before = zelor::testing::Dump(model());
  std::vector<std::string> asked;
  bool answer = false;
  form->configEditor().deleteQuestion = [&](const QString& question) {
    asked.push_back(question.toStdString());
    return answer;
  };
  MouseClick(tab->Del_Butt, tab->Del_Butt->rect().center());
  ASSERT_EQ(asked, std::vector<std::string>{expected});
  EXPECT_EQ(zelor::testing::Dump(model()), before) << "No keeps the device and its rules";
  answer = true;
  MouseClick(tab->Del_Butt, tab->Del_Butt->rect().center());
  EXPECT_EQ(asked.size(), 2U);
  EXPECT_EQ(model().NodeCount, 9);
  EXPECT_EQ(model().RuleCount, 8 - goes);
  EXPECT_EQ(tab->NodesGrid->RowCount(), 10);

  // A device no rule names goes at once, as before.
  const int plain = withoutRules < withRules ? withoutRules : withoutRules - 1;
  Click(tab->NodesGrid, 1, plain + 1);
  const uint8_t rules = model().RuleCount;
  MouseClick(tab->Del_Butt, tab->Del_Butt->rect().center());
  EXPECT_EQ(asked.size(), 2U) << "no question";
  EXPECT_EQ(model().NodeCount, 8);
  EXPECT_EQ(model().RuleCount, rules);
}

TEST_F(ConfigEditorTest, AnAddressTypedDigitByDigitMeetsTheClashRuleOnlyWhenCommitted) {
  for (int i = 0; i < 10; ++i) Add("ADD_Butt_07");  // addresses 1..10
  struct Case {
    const char* typed;
    int commit;  // a key, or 0: another device row is clicked
    int address;
  };
  const Case cases[] = {
      {"20", Qt::Key_Return, 20},  // over taken 2: not moved on to 11 before the 0 comes
      {"15", 0, 15},               // leaving the editor commits
      {"30", Qt::Key_Up, 31},      // the arrow steps from what was typed
      {"5", Qt::Key_Enter, 1},     // a taken address committed: skipped downwards to the free 1
  };
  QSpinBox* spin = tab->AddrEdit;
  for (const Case& c : cases) {
    Click(tab->NodesGrid, 1, 1);
    const int before = model().Nodes[0].Address;
    DoubleClick(tab->NodesGrid, 3, 1);
    ASSERT_TRUE(spin->isVisible());
    clock->AdvanceMs(100);  // focus and all the text selected
    TypeText(spin, c.typed);
    EXPECT_EQ(model().Nodes[0].Address, before) << c.typed << ": nothing is committed while typing";
    if (c.commit == 0) {
      Click(tab->NodesGrid, 1, 2);
    } else {
      KeyClick(spin, c.commit);
    }
    EXPECT_EQ(model().Nodes[0].Address, c.address) << c.typed;
    EXPECT_EQ(Cell(tab->NodesGrid, 3, 1), FormatZeroPadded(static_cast<uint16_t>(c.address), 3)) << c.typed;
    if (c.commit == Qt::Key_Up) KeyClick(spin, Qt::Key_Return);
    EXPECT_TRUE(spin->isHidden()) << c.typed;
  }
  // A number typed into the conventional-number editor is committed once, on Enter.
  DoubleClick(tab->ZoneGrid, 4, 1);
  clock->AdvanceMs(100);
  TypeText(spin, "42");
  EXPECT_EQ(model().Nodes[0].Zones[0].ConvNumber, 0);
  KeyClick(spin, Qt::Key_Return);
  EXPECT_EQ(model().Nodes[0].Zones[0].ConvNumber, 1042);
}

struct Refusal {
  const char* button;
  int column;
  int row;
};

TEST_F(ConfigEditorTest, RefusedDoubleClicksFlashTheCellForATick) {
  const std::vector<Refusal> cases = {
      {"ADD_Butt_08", 2, 1},  // ЧЭМ-2И: the kind is fixed
      {"ADD_Butt_13", 1, 1},  // the indication module: every column
      {"ADD_Butt_13", 0, 1},
      {"ADD_Butt_01", 3, 4},  // a fire zone has no group
      {"ADD_Butt_05", 3, 1},
  };
  for (const auto& c : cases) {
    Add(c.button);
    DoubleClick(tab->ZoneGrid, c.column, c.row);
    EXPECT_TRUE(state().FlashPending) << c.button << " " << c.column;
    EXPECT_EQ(state().EditorFocusAction, EditorFocusAction::EndFlash);
    EXPECT_EQ(PixelOfCell(tab->ZoneGrid, c.column, c.row, {0, 0}), QColor(0xEA, 0x3A, 0x00)) << c.button;
    EXPECT_EQ(PixelOfCell(tab->ZoneGrid, c.column, c.row, {3, 3}), QColor(0xB6, 0xBD, 0xD2));
    EXPECT_TRUE(tab->TypeBox->isHidden());
    EXPECT_TRUE(tab->GroupGrid->isHidden());
    EXPECT_TRUE(tab->NameEdit->isHidden());
    clock->AdvanceMs(99);
    EXPECT_TRUE(state().FlashPending);
    clock->AdvanceMs(1);
    EXPECT_FALSE(state().FlashPending);
    EXPECT_EQ(state().EditorFocusAction, EditorFocusAction::None);
    EXPECT_NE(PixelOfCell(tab->ZoneGrid, c.column, c.row, {0, 0}), QColor(0xEA, 0x3A, 0x00));
  }
}

TEST_F(ConfigEditorTest, KindChooserSwitchesTheKindAndTheNewKindDropsTheGroup) {
  Add("ADD_Butt_01");
  DoubleClick(tab->ZoneGrid, 2, 3);
  ASSERT_TRUE(tab->TypeBox->isVisible());
  ASSERT_EQ(tab->TypeBox->count(), 2);
  EXPECT_EQ(tab->TypeBox->item(0)->text().toStdString(), "ОХР.");
  EXPECT_EQ(tab->TypeBox->item(1)->text().toStdString(), "ПОЖ.");
  EXPECT_EQ(tab->TypeBox->currentRow(), 1);  // a fire zone
  EXPECT_EQ(tab->TypeBox->width(), 60);
  EXPECT_EQ(tab->TypeBox->height(), 42);
  MouseClick(tab->TypeBox->viewport(), tab->TypeBox->visualItemRect(tab->TypeBox->item(0)).center());
  EXPECT_TRUE(tab->TypeBox->isHidden());
  EXPECT_EQ(model().Nodes[0].Zones[2].Kind, kKindSecurity);
  EXPECT_EQ(Cell(tab->ZoneGrid, 2, 3), "  ОХР.");
  // In a group now, then back to fire: the group goes.
  DoubleClick(tab->ZoneGrid, 3, 3);
  ASSERT_TRUE(tab->GroupGrid->isVisible());
  DoubleClick(tab->GroupGrid, 0, 6);  // "04"
  EXPECT_EQ(Cell(tab->ZoneGrid, 3, 3), "04");
  DoubleClick(tab->ZoneGrid, 2, 3);
  EXPECT_EQ(tab->TypeBox->currentRow(), 0);
  MouseClick(tab->TypeBox->viewport(), tab->TypeBox->visualItemRect(tab->TypeBox->item(1)).center());
  EXPECT_EQ(model().Nodes[0].Zones[2].Group, NoGroup);
  EXPECT_EQ(Cell(tab->ZoneGrid, 3, 3), "");
  EXPECT_EQ(Cell(tab->ZoneGrid, 2, 3), "  ПОЖ.");
  // The sixteenth zone's list is raised to end with its row.
  DoubleClick(tab->ZoneGrid, 2, 16);
  const QRect row16 = tab->ZoneGrid->visualRect(tab->ZoneGrid->model()->index(15, 2));
  EXPECT_EQ(tab->TypeBox->geometry().bottom(), tab->ZoneGrid->viewport()->mapTo(tab, row16.bottomLeft()).y());
  // Another device selected while it is open: it closes and sets nothing there.
  Add("ADD_Butt_05");
  Click(tab->NodesGrid, 1, 1);
  DoubleClick(tab->ZoneGrid, 2, 1);
  ASSERT_TRUE(tab->TypeBox->isVisible());
  Click(tab->NodesGrid, 1, 2);
  EXPECT_TRUE(tab->TypeBox->isHidden());
}

TEST_F(ConfigEditorTest, AddressSpinningSkipsTakenAddressesAndTheCellFollows) {
  for (int i = 0; i < 4; ++i) Add("ADD_Butt_07");  // addresses 1..4
  Click(tab->NodesGrid, 1, 1);
  DoubleClick(tab->NodesGrid, 3, 1);
  QSpinBox* spin = tab->AddrEdit;
  ASSERT_TRUE(spin->isVisible());
  EXPECT_EQ(spin->value(), 1);
  EXPECT_EQ(spin->minimum(), 1);
  EXPECT_EQ(spin->maximum(), 247);
  EXPECT_EQ(state().SpinEditMode, SpinEditMode::NodeAddress);
  clock->AdvanceMs(100);
  EXPECT_EQ(form->focusWidget(), spin);
  struct Step {
    int by;
    int address;
  };
  for (const auto& s : std::vector<Step>{{+1, 5}, {+1, 6}, {-1, 5}, {-1, 1}, {-1, 1}}) {
    spin->stepBy(s.by);
    EXPECT_EQ(spin->value(), s.address);
    EXPECT_EQ(model().Nodes[0].Address, s.address);
    EXPECT_EQ(Cell(tab->NodesGrid, 3, 1), FormatZeroPadded(static_cast<uint16_t>(s.address), 3));
  }
  spin->setValue(3);  // typed onto a taken address above: the next free one above
  EXPECT_EQ(model().Nodes[0].Address, 5);
  EXPECT_EQ(spin->value(), 5);
  spin->setValue(200);
  Shot("config_address_editor.png");
  KeyClick(spin, Qt::Key_Return);
  EXPECT_TRUE(spin->isHidden());
  EXPECT_EQ(model().Nodes[0].Address, 200);
}

TEST_F(ConfigEditorTest, EnterOnAnAutomaticNumberMakesItExplicit) {
  Add("ADD_Butt_01");
  DoubleClick(tab->ZoneGrid, 4, 6);
  QSpinBox* spin = tab->AddrEdit;
  ASSERT_TRUE(spin->isVisible());
  EXPECT_EQ(spin->value(), 5);
  EXPECT_EQ(spin->maximum(), 999);
  EXPECT_EQ(spin->minimum(), 0);
  EXPECT_EQ(model().Nodes[0].Zones[5].ConvNumber, 5);  // opening changes nothing
  KeyClick(spin, Qt::Key_Enter);
  EXPECT_TRUE(spin->isHidden());
  EXPECT_EQ(model().Nodes[0].Zones[5].ConvNumber, 1005);
  EXPECT_EQ(tab->ZoneGrid->Cell(4, 6), QString("0005") + QChar(u'\0'));
  const QColor text = [&] {
    const QImage image = tab->ZoneGrid->viewport()->grab().toImage();
    const QRect r = tab->ZoneGrid->visualRect(tab->ZoneGrid->model()->index(5, 4));
    for (int y = r.top(); y <= r.bottom(); ++y)
      for (int x = r.left(); x <= r.right(); ++x)
        if (image.pixelColor(x, y).blue() > 200 && image.pixelColor(x, y).red() < 80) return image.pixelColor(x, y);
    return QColor();
  }();
  EXPECT_TRUE(text.isValid()) << "the explicit number is drawn in blue";
  // Spinning writes each step; a device row clicked meanwhile closes it without touching an address.
  DoubleClick(tab->ZoneGrid, 4, 8);
  spin->stepBy(3);
  Shot("config_number_editor.png");
  EXPECT_EQ(model().Nodes[0].Zones[7].ConvNumber, 1010);
  Click(tab->NodesGrid, 2, 1);
  EXPECT_TRUE(spin->isHidden());
  EXPECT_EQ(model().Nodes[0].Address, 1);
}

TEST_F(ConfigEditorTest, NameEditorOpensWithoutBlanksAndCommitsOnEnter) {
  Add("ADD_Butt_05");
  DoubleClick(tab->NodesGrid, 2, 1);
  QLineEdit* edit = tab->NameEdit;
  ASSERT_TRUE(edit->isVisible());
  EXPECT_EQ(edit->text().toStdString(), "ППУ");
  EXPECT_EQ(edit->maxLength(), 15);
  EXPECT_EQ(edit->width(), 130);
  EXPECT_EQ(state().EditorFocusAction, EditorFocusAction::NodeName);
  clock->AdvanceMs(99);
  EXPECT_NE(form->focusWidget(), edit);
  clock->AdvanceMs(1);
  EXPECT_EQ(form->focusWidget(), edit);
  EXPECT_EQ(edit->selectedText().toStdString(), "ППУ");
  Shot("config_name_editor.png");
  edit->setText("ППУ-Ж₴ё");  // the hryvnia sign has no cp1251 byte
  KeyClick(edit, Qt::Key_Return);
  EXPECT_TRUE(edit->isHidden());
  EXPECT_EQ(Utf8FromCp1251(model().Nodes[0].Name), "ППУ-Ж?ё        ");
  EXPECT_EQ(Cell(tab->NodesGrid, 2, 1), "  ППУ-Ж?ё");

  // A zone name: committed when another zone is selected.
  DoubleClick(tab->ZoneGrid, 1, 1);
  ASSERT_TRUE(edit->isVisible());
  EXPECT_EQ(edit->text().toStdString(), "ТУШЕНИЕ:");
  edit->setText("ТУШЕНИЕ: ЦЕХ 2");
  Add("ADD_Butt_01");  // the list is rewritten under the editor: it closes without committing
  EXPECT_TRUE(edit->isHidden());
  EXPECT_EQ(Utf8FromCp1251(model().Nodes[0].Zones[0].Name), "ТУШЕНИЕ:       ");
  DoubleClick(tab->ZoneGrid, 1, 2);
  edit->setText("ЗОНА Ж");
  Click(tab->ZoneGrid, 1, 5);
  EXPECT_TRUE(edit->isHidden());
  EXPECT_EQ(Utf8FromCp1251(model().Nodes[1].Zones[1].Name), "ЗОНА Ж         ");
  EXPECT_EQ(Cell(tab->ZoneGrid, 1, 2), "  ЗОНА Ж");
}

TEST_F(ConfigEditorTest, GroupChooserSelectsTheZonesGroupAndAssigns) {
  Add("ADD_Butt_01");
  for (int z = 0; z < 16; ++z) model().Nodes[0].Zones[z].Kind = kKindSecurity;
  model().Nodes[0].Zones[3].Group = 3;
  form->configEditor().RefreshZoneGrid();
  Click(tab->ZoneGrid, 1, 4);
  const auto zoneRow = [&] {
    std::vector<std::string> cells;
    for (int c = 0; c < 5; ++c) cells.push_back(Cell(tab->ZoneGrid, c, 4));
    return cells;
  }();
  DoubleClick(tab->ZoneGrid, 3, 4);
  StringGrid* groups = tab->GroupGrid;
  ASSERT_TRUE(groups->isVisible());
  EXPECT_TRUE(state().ZoneColumnHighlight);
  EXPECT_EQ(groups->RowCount(), 12);
  EXPECT_EQ(groups->currentRow() + 1, 5);  // "03"
  EXPECT_EQ(state().ChosenGroup, 3);
  EXPECT_EQ(Cell(groups, 0, 0), "№ ГРУППЫ");
  EXPECT_EQ(Cell(groups, 1, 0), "НАЗВАНИЕ ГРУППЫ");
  EXPECT_EQ(Cell(groups, 0, 1), "<не в группе>");
  EXPECT_EQ(Cell(groups, 0, 11), "09");
  EXPECT_EQ(Cell(groups, 1, 11), std::string(15, ' ') + "<НАЗВАНИЕ> : 9  ");
  EXPECT_EQ(groups->geometry(), QRect(tab->ZoneGrid->x(), tab->ZoneGrid->y() + 63, tab->ZoneGrid->width(), 255));
  // The first column is at least as designed and wide enough for "<не в группе>" and the
  // drawing's 2-pixel right margin; the second takes the rest less 6.
  EXPECT_GE(groups->ColWidth(0), 80);
  EXPECT_GE(groups->ColWidth(0) - 2, groups->fontMetrics().horizontalAdvance(QString("<не в группе>")));
  EXPECT_EQ(groups->ColWidth(1), tab->ZoneGrid->width() - groups->ColWidth(0) - 6);
  // Only the zone being assigned stays in view, with its group column light green.
  EXPECT_EQ(tab->ZoneGrid->RowCount(), 2);
  for (int c = 0; c < 5; ++c) EXPECT_EQ(Cell(tab->ZoneGrid, c, 1), zoneRow[static_cast<std::size_t>(c)]);
  EXPECT_EQ(PixelOfCell(tab->ZoneGrid, 3, 1, {4, 4}), QColor(0xBC, 0xE1, 0x9C));
  QCoreApplication::processEvents();  // the picture after the new column widths are laid out
  Shot("config_group_chooser.png");
  // Selecting cells of the cut list does not change the zone.
  Click(tab->ZoneGrid, 1, 1);
  EXPECT_EQ(model().SelectedZone, 3);
  DoubleClick(tab->ZoneGrid, 3, 1);  // a second chooser is not started
  DoubleClick(groups, 0, 9);         // "07"
  EXPECT_TRUE(groups->isHidden());
  EXPECT_FALSE(state().ZoneColumnHighlight);
  EXPECT_EQ(model().Nodes[0].Zones[3].Group, 7);
  EXPECT_EQ(tab->ZoneGrid->RowCount(), 17);
  EXPECT_EQ(Cell(tab->ZoneGrid, 3, 4), "07");
  EXPECT_EQ(tab->ZoneGrid->currentRow(), 3);
  EXPECT_NE(PixelOfCell(tab->ZoneGrid, 3, 2, {4, 4}), QColor(0xBC, 0xE1, 0x9C));

  Click(tab->ZoneGrid, 1, 9);
  DoubleClick(tab->ZoneGrid, 3, 9);  // no group: the no-group row
  EXPECT_EQ(groups->currentRow() + 1, 1);
  EXPECT_EQ(state().ChosenGroup, -1);
  DoubleClick(groups, 0, 4);  // "02"
  EXPECT_EQ(model().Nodes[0].Zones[8].Group, 2);
  DoubleClick(tab->ZoneGrid, 3, 9);
  DoubleClick(groups, 0, 1);
  EXPECT_EQ(model().Nodes[0].Zones[8].Group, NoGroup);
  EXPECT_EQ(Cell(tab->ZoneGrid, 3, 9), "");
}

TEST_F(ConfigEditorTest, GroupNamesAreEditedInTheChooser) {
  Add("ADD_Butt_01");
  model().Nodes[0].Zones[0].Kind = kKindSecurity;
  DoubleClick(tab->ZoneGrid, 3, 1);
  StringGrid* groups = tab->GroupGrid;
  DoubleClick(groups, 1, 1);  // the no-group row has no name
  EXPECT_TRUE(tab->NameEdit->isHidden());
  DoubleClick(groups, 1, 4);  // group 2
  QLineEdit* edit = tab->NameEdit;
  ASSERT_TRUE(edit->isVisible());
  EXPECT_EQ(edit->text().toStdString(), "<НАЗВАНИЕ> : 2");
  EXPECT_EQ(edit->maxLength(), 16);
  EXPECT_EQ(state().EditorFocusAction, EditorFocusAction::GroupName);
  clock->AdvanceMs(100);
  EXPECT_EQ(form->focusWidget(), edit);
  edit->setText("ЦЕХ1");
  Click(groups, 1, 8);  // another row: the name goes to group 2, not 6
  EXPECT_TRUE(edit->isHidden());
  EXPECT_EQ(Utf8FromCp1251(model().GroupNames[2]), "ЦЕХ1            ");
  EXPECT_EQ(Utf8FromCp1251(model().GroupNames[6]), "<НАЗВАНИЕ> : 6  ");
  EXPECT_EQ(Cell(groups, 1, 4), std::string(15, ' ') + "ЦЕХ1");
  DoubleClick(groups, 1, 4);
  EXPECT_EQ(edit->text().toStdString(), "ЦЕХ1");
  edit->setText("0123456789ABCDEF");
  KeyClick(edit, Qt::Key_Return);
  EXPECT_EQ(Utf8FromCp1251(model().GroupNames[2]), "0123456789ABCDEF");
  EXPECT_EQ(model().Nodes[0].Zones[0].Group, NoGroup);  // naming assigns nothing
}

TEST_F(ConfigEditorTest, SelectingADeviceClosesTheChooserAndTheZoneKeepsItsGroup) {
  Add("ADD_Butt_01");
  Add("ADD_Butt_02");
  Click(tab->NodesGrid, 1, 1);
  model().Nodes[0].Zones[2].Kind = kKindSecurity;
  model().Nodes[0].Zones[2].Group = 5;
  form->configEditor().RefreshZoneGrid();
  Click(tab->ZoneGrid, 1, 3);
  for (int row : {2, 1}) {  // another device, and the same device's row
    DoubleClick(tab->ZoneGrid, 3, 3);
    ASSERT_TRUE(tab->GroupGrid->isVisible());
    Click(tab->GroupGrid, 0, 3);
    Click(tab->NodesGrid, 2, row);
    EXPECT_TRUE(tab->GroupGrid->isHidden()) << row;
    EXPECT_FALSE(state().ZoneColumnHighlight);
    EXPECT_EQ(model().Nodes[0].Zones[2].Group, 5);
    EXPECT_EQ(tab->ZoneGrid->RowCount(), row == 2 ? 9 : 17) << "the whole zone list is back";
    Click(tab->NodesGrid, 2, 1);
    Click(tab->ZoneGrid, 1, 3);
  }
}

// Both rule mends through the editor: the commands follow an address edited in the grid, and a kind
// switched in the kind chooser clears the event the new kind does not offer.
TEST_F(ConfigEditorTest, RulesFollowEditsMadeInTheGrids) {
  Add("ADD_Butt_01");
  Add("ADD_Butt_10");  // ДРОЛА-З at address 2
  ConfigModel& m = model();
  ASSERT_EQ(AddRule(m), kDone);
  AssignZone(m, Side::Activator, 0, 0);
  m.Activators[0].Code = 0;  // fire
  AssignZone(m, Side::Executor, 1, 0);
  m.Executors[0].Code = 16;  // sound on: register 3 := 10
  DoubleClick(tab->NodesGrid, 3, 2);
  tab->AddrEdit->setValue(77);
  KeyClick(tab->AddrEdit, Qt::Key_Return);
  ConfigImage image{};
  ASSERT_EQ(BuildImage(m, image), kBuildOk);
  EXPECT_EQ(std::vector<uint8_t>(image.begin() + image::kCommandSlots, image.begin() + image::kCommandSlots + 6),
            (std::vector<uint8_t>{77, 0x06, 0x00, 0x03, 0x00, 0x0A}));

  Click(tab->NodesGrid, 1, 1);
  ASSERT_TRUE(form->Add_Box->isVisible());
  DoubleClick(tab->ZoneGrid, 2, 1);
  MouseClick(tab->TypeBox->viewport(), tab->TypeBox->visualItemRect(tab->TypeBox->item(0)).center());
  EXPECT_EQ(m.Activators[0].Kind, kKindSecurity);
  EXPECT_EQ(m.Activators[0].Code, kUnsetCode);
  // The loss is said, in a log that is shown: the next write would drop the rule.
  EXPECT_EQ(Log(), std::vector<std::string>{"   : правило 00: зона 0000 теперь ОХР., событие \"ПОЖАР\" снято; "
                                            "правило без события при записи удаляется."});
  EXPECT_TRUE(form->TeMemo1->isVisible());
  EXPECT_TRUE(form->Add_Box->isHidden());
  EXPECT_FALSE(tab->Add_Butt_00->isHidden());
  // A switch that costs no rule anything says nothing.
  tab->Add_Butt_00->click();
  DoubleClick(tab->ZoneGrid, 2, 2);
  MouseClick(tab->TypeBox->viewport(), tab->TypeBox->visualItemRect(tab->TypeBox->item(0)).center());
  EXPECT_EQ(m.Nodes[0].Zones[1].Kind, kKindSecurity);
  EXPECT_TRUE(form->Add_Box->isVisible());
}

}  // namespace
}  // namespace zelor::test
