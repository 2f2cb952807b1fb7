#include "config/config_editor_view.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QScrollBar>
#include <QStyle>
#include <QStyleHints>
#include <algorithm>

#include "config/add_box_view.h"
#include "config/config_edits.h"
#include "config/config_tab.h"
#include "config/config_tab_texts.h"
#include "config/config_texts.h"
#include "config/editor_cells.h"
#include "config/grid_cells_view.h"
#include "config/nodes.h"
#include "link/format.h"
#include "model/names.h"

namespace zelor {
namespace {

constexpr int kNodesGridLines = 8;
constexpr int kTypeBoxItemHeight = 16;
constexpr int kGroupColumn0Width = 80;

QString Q(const std::string& utf8) { return QString::fromStdString(utf8); }

bool IsEnter(int key) { return key == Qt::Key_Return || key == Qt::Key_Enter; }

int SpinButtonWidth() { return QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent); }

// Room around the no-group row's text in the chooser's first column: the drawing's right margin
// and a little air on both sides.
constexpr int kGroupTextRoom = 2 + 2 * 4;

}  // namespace

ConfigEditorView::ConfigEditorView(ConfigTab& tab, AddBoxView& addBox, ConfigModel& model, Timer& timerX1,
                                   const Clock& clock, LinkSurfaces log, QObject* parent)
    : QObject(parent), tab_(tab), addBox_(addBox), model_(model), timerX1_(timerX1), clock_(clock), log_(log) {
  timerX1_.SetInterval(100);
  timerX1_.SetHandler([this] { TimerX1Timer(); });
  tab_.NodesGrid->setItemDelegate(new GridCellsView(
      [](int column, int row, const QString&, bool selected) { return NodesCellLook(column, row, selected); }, this));
  tab_.ZoneGrid->setItemDelegate(new GridCellsView(
      [this](int column, int row, const QString& text, bool selected) {
        const bool flashed = state_.FlashPending && column == state_.ClickedColumn && row == state_.ClickedZoneRow;
        return ZoneCellLook(column, row, text.toStdString(), selected, state_.ZoneColumnHighlight, flashed);
      },
      this));
  tab_.GroupGrid->setItemDelegate(new GridCellsView(
      [](int column, int row, const QString&, bool selected) { return GroupCellLook(column, row, selected); }, this));
  tab_.NodesGrid->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  QFont small = tab_.NameEdit->font();
  small.setPixelSize(10);
  tab_.NameEdit->setFont(small);
  tab_.TypeBox->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  tab_.TypeBox->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  // The clash rule of the address applies to the value the user commits (Enter, leaving the
  // editor, the arrows), not to each digit typed on the way to it.
  tab_.AddrEdit->setKeyboardTracking(false);
  Connect();
}

void ConfigEditorView::Connect() {
  tab_.installEventFilter(this);
  tab_.NameEdit->installEventFilter(this);
  tab_.AddrEdit->installEventFilter(this);
  connect(tab_.Add_Butt_00, &QToolButton::clicked, this, [this] { Add_Butt_00Click(); });
  for (std::size_t i = 0; i < config_text::kAddButtons.size(); ++i) {
    const auto type = static_cast<uint8_t>(config_text::kAddButtons[i].typeCode);
    connect(addBox_.Buttons[i], &QPushButton::clicked, this, [this, type] { AddButtonClick(type); });
  }
  connect(tab_.Del_Butt, &QToolButton::clicked, this, [this] { Del_ButtClick(); });
  // The tool bar's buttons take no focus: pressing one leaves AddrEdit all the same, and what was
  // typed there is committed before the button acts.
  for (QToolButton* b : {tab_.Load_ButtA, tab_.Load_ButtB, tab_.Up_Butt, tab_.Down_Butt, tab_.Del_Butt,
                         tab_.Save_ButtA, tab_.Save_ButtB}) {
    connect(b, &QToolButton::pressed, this, [this] { CloseAddrEdit(true); });
  }
  connect(tab_.Up_Butt, &QToolButton::clicked, this, [this] { Up_ButtClick(); });
  connect(tab_.Down_Butt, &QToolButton::clicked, this, [this] { Down_ButtClick(); });

  connect(tab_.NodesGrid, &QTableWidget::currentCellChanged, this, [this](int row, int column, int, int) {
    if (!filling_ && row >= 0) NodesGridSelectCell(column, row + 1);
  });
  // A press on the current cell selects it again (closing editors as any selection does); the
  // handlers do nothing twice when a press also moved the current cell.
  connect(tab_.NodesGrid, &QTableWidget::cellPressed, this, [this](int row, int column) {
    if (!filling_) NodesGridSelectCell(column, row + 1);
  });
  connect(tab_.ZoneGrid, &QTableWidget::cellPressed, this, [this](int row, int column) {
    if (!filling_) ZoneGridSelectCell(column, row + 1);
  });
  connect(tab_.GroupGrid, &QTableWidget::cellPressed, this, [this](int row, int column) {
    if (!filling_) GroupGridSelectCell(column, row + 1);
  });
  // The double-click acts on the cell it was made on, even when the grid's current cell did not change.
  connect(tab_.NodesGrid, &QTableWidget::cellDoubleClicked, this, [this](int, int column) {
    state_.ClickedColumn = column;
    NodesGridDblClick();
  });
  connect(tab_.NodesGrid->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { NodesGridTopLeftChanged(); });
  connect(tab_.ZoneGrid, &QTableWidget::currentCellChanged, this, [this](int row, int column, int, int) {
    if (!filling_ && row >= 0) ZoneGridSelectCell(column, row + 1);
  });
  connect(tab_.ZoneGrid, &QTableWidget::cellDoubleClicked, this, [this](int row, int column) {
    state_.ClickedColumn = column;
    state_.ClickedZoneRow = row + 1;
    ZoneGridDblClick();
  });
  connect(tab_.GroupGrid, &QTableWidget::currentCellChanged, this, [this](int row, int column, int, int) {
    if (!filling_ && row >= 0) GroupGridSelectCell(column, row + 1);
  });
  connect(tab_.GroupGrid, &QTableWidget::cellDoubleClicked, this, [this](int, int column) {
    state_.ClickedColumn = column;
    GroupGridDblClick();
  });
  connect(tab_.AddrEdit, &QSpinBox::valueChanged, this, [this] { AddrEditChange(); });
  connect(tab_.TypeBox, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { TypeBoxClick(tab_.TypeBox->row(item)); });
}

bool ConfigEditorView::eventFilter(QObject* watched, QEvent* event) {
  if (watched == &tab_) {
    if (event->type() == QEvent::Show) TeTabSheet12Show();
    if (event->type() == QEvent::Hide) TeTabSheet12Hide();
  } else if (event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (watched == tab_.NameEdit && IsEnter(key)) {
      NameEditKeyDown(key);
      return true;
    }
    if (watched == tab_.AddrEdit && IsEnter(key)) {
      AddrEditKeyDown(key);
      return true;
    }
  }
  return QObject::eventFilter(watched, event);
}

// ---- the tab and the device panel ----

void ConfigEditorView::TeTabSheet12Show() { addBox_.show(); }
void ConfigEditorView::TeTabSheet12Hide() { addBox_.hide(); }

void ConfigEditorView::Add_Butt_00Click() {
  addBox_.show();
  tab_.Add_Butt_00->hide();
  addButtonClickedAt_ = clock_.NowMicros();
}

void ConfigEditorView::AddButtonClick(uint8_t type) {
  if (AddNode(model_, type) == kDone) RefreshNodesGrid();
}

bool ConfigEditorView::AskDelete(const QString& question) {
  if (deleteQuestion) return deleteQuestion(question);
  return QMessageBox::warning(tab_.window(), QString(), question, QMessageBox::Yes | QMessageBox::No,
                              QMessageBox::No) == QMessageBox::Yes;
}

void ConfigEditorView::Del_ButtClick() {
  // Hiding Add_Butt_00 uncovers Del_Butt in its place: the second click of a double-click on
  // "Добавить" lands on "Удалить" and is no deletion.
  const int64_t doubleClickMicros = int64_t{QGuiApplication::styleHints()->mouseDoubleClickInterval()} * 1000;
  if (addButtonClickedAt_ && clock_.NowMicros() - *addButtonClickedAt_ < doubleClickMicros) return;
  if (const NodeRecord* node = SelectedNodeRecord(model_)) {
    // A device that takes rules with it goes only when the user says so.
    if (const unsigned rules = RulesDeletedWithNode(model_); rules > 0) {
      const QString question = Q(DeleteNodeQuestionText(static_cast<unsigned>(model_.SelectedNode), node->Address,
                                                        NameForEditor(node->Name), rules));
      if (!AskDelete(question)) return;
    }
  }
  if (DeleteNode(model_) != kDone) return;
  RefreshNodesGrid();
  RefreshZoneGrid();
}

void ConfigEditorView::Up_ButtClick() {
  if (MoveNodeUp(model_) != kDone) return;
  RefreshNodesGrid();
  RefreshZoneGrid();
}

void ConfigEditorView::Down_ButtClick() {
  if (MoveNodeDown(model_) != kDone) return;
  RefreshNodesGrid();
  RefreshZoneGrid();
}

// ---- filling ----

void ConfigEditorView::SelectRow(StringGrid* grid, int row) {
  if (row < 1 || row >= grid->RowCount()) return;
  const bool wasFilling = filling_;
  filling_ = true;
  grid->setCurrentCell(row - 1, std::max(grid->currentColumn(), 0));
  filling_ = wasFilling;
}

void ConfigEditorView::CloseEditors() {
  tab_.NameEdit->hide();
  state_.NameTarget = NameEditTarget::None;
  CloseAddrEdit(false);
  tab_.TypeBox->hide();
}

void ConfigEditorView::CloseAddrEdit(bool commit) {
  QSpinBox* spin = tab_.AddrEdit;
  if (spin->isHidden()) return;
  // The typed text becomes the value (and is committed through AddrEditChange) while the
  // selection is still the one the editor was opened for.
  if (commit) spin->interpretText();
  // Hiding takes the focus away, which would interpret the text again: nothing is edited now.
  state_.SpinEditMode = SpinEditMode::None;
  spin->hide();
}

void ConfigEditorView::ShowLog(const std::vector<std::string>& lines) {
  if (lines.empty()) return;
  addBox_.hide();
  tab_.Add_Butt_00->show();
  ShowLinkLog(log_, MemoColor::Blue, lines);
}

void ConfigEditorView::RefreshNodesGrid() {
  // The rows under an open editor or the chooser are rewritten: they close, as for another device.
  CloseEditors();
  HideGroupChooser();
  StringGrid* grid = tab_.NodesGrid;
  filling_ = true;
  if (model_.NodeCount == 0) {
    grid->SetRowCount(2);
    for (int c = 0; c < grid->ColCount(); ++c) grid->SetCell(c, 1, QString());
    grid->FitWidth(kNodesGridLines);
    SelectRow(grid, 1);
  } else {
    const int top = grid->verticalScrollBar()->value() + 1;
    grid->SetRowCount(model_.NodeCount + 1);
    grid->FitWidth(kNodesGridLines, model_.NodeCount > kNodesVisibleRows);
    for (int k = 0; k < model_.NodeCount; ++k) {
      const auto cells = NodeRowCells(model_.Nodes[static_cast<std::size_t>(k)], k);
      for (int c = 0; c < 4; ++c) grid->SetCell(c, k + 1, Q(cells[static_cast<std::size_t>(c)]));
    }
    const int newTop = NodesGridTopAfter(top, model_.SelectedNode + 1);
    const bool autoScroll = grid->hasAutoScroll();
    grid->setAutoScroll(false);
    SelectRow(grid, model_.SelectedNode + 1);
    grid->setAutoScroll(autoScroll);
    grid->verticalScrollBar()->setValue(newTop - 1);
  }
  filling_ = false;
  RefreshZoneGrid();
}

void ConfigEditorView::ShowZoneRow(int row) {
  const ZoneRecord& zone = model_.Nodes[static_cast<std::size_t>(model_.SelectedNode)].Zones[static_cast<std::size_t>(row - 1)];
  const auto cells = ZoneRowCells(zone);
  for (int c = 0; c < 5; ++c) tab_.ZoneGrid->SetCell(c, row, Q(cells[static_cast<std::size_t>(c)]));
}

void ConfigEditorView::RefreshZoneGrid() {
  StringGrid* grid = tab_.ZoneGrid;
  filling_ = true;
  const int rows = ZoneGridRows(model_);
  grid->SetRowCount(rows);
  if (ZoneGridEmpty(model_)) {
    for (int c = 0; c < grid->ColCount(); ++c) grid->SetCell(c, 1, QString());
  } else {
    for (int row = 1; row < rows; ++row) ShowZoneRow(row);
  }
  SelectRow(grid, std::min(model_.SelectedZone + 1, rows - 1));
  filling_ = false;
}

// ---- selecting ----

void ConfigEditorView::CommitNodeAddress() {
  const uint8_t v = SetNodeAddress(model_, tab_.AddrEdit->value());
  if (v == 0) return;
  if (tab_.AddrEdit->value() != v) {
    const SpinEditMode mode = state_.SpinEditMode;
    state_.SpinEditMode = SpinEditMode::None;
    tab_.AddrEdit->setValue(v);
    state_.SpinEditMode = mode;
  }
  tab_.NodesGrid->SetCell(3, model_.SelectedNode + 1, Q(FormatZeroPadded(v, 3)));
}

void ConfigEditorView::NodesGridSelectCell(int column, int row) {
  if (model_.NodeCount == 0) return;
  if (tab_.AddrEdit->isVisible()) {
    // Leaving the editor commits what was typed; an address is committed as designed even when
    // nothing was typed (ResolveAddress of the value).
    tab_.AddrEdit->interpretText();
    if (state_.SpinEditMode == SpinEditMode::NodeAddress) CommitNodeAddress();
    CloseAddrEdit(false);
  }
  if (tab_.NameEdit->isVisible()) {
    if (state_.NameTarget == NameEditTarget::Node) NameEditKeyDown(Qt::Key_Return);
    tab_.NameEdit->hide();
    state_.NameTarget = NameEditTarget::None;
  }
  // The kind list lies over the old device's zones: it would set a kind on the new device's zone.
  tab_.TypeBox->hide();
  const bool chooserWasOpen = tab_.GroupGrid->isVisible();
  HideGroupChooser();
  if (row != model_.SelectedNode + 1 && row >= 1 && row <= model_.NodeCount) {
    model_.SelectedNode = row - 1;
    model_.SelectedZone = 0;
    RefreshZoneGrid();
  } else if (chooserWasOpen) {
    RefreshZoneGrid();  // the zone list was cut to the zone being assigned
  }
  state_.ClickedColumn = column;
}

void ConfigEditorView::NodesGridTopLeftChanged() { CloseAddrEdit(true); }

void ConfigEditorView::ZoneGridSelectCell(int column, int row) {
  CloseAddrEdit(true);  // committed to the zone it was opened for, before the selection moves
  if (!tab_.GroupGrid->isVisible()) {
    if (tab_.NameEdit->isVisible()) {
      if (state_.NameTarget == NameEditTarget::Zone) NameEditKeyDown(Qt::Key_Return);
      tab_.NameEdit->hide();
      state_.NameTarget = NameEditTarget::None;
    }
    model_.SelectedZone = row - 1;
  }
  tab_.TypeBox->hide();
  state_.ClickedColumn = column;
  state_.ClickedZoneRow = row;
}

// ---- opening editors ----

QRect ConfigEditorView::CellRect(StringGrid* grid, int column, int row) const {
  QRect r = grid->visualRect(grid->model()->index(row - 1, column));
  r.translate(grid->viewport()->mapTo(&tab_, QPoint(0, 0)));
  return r;
}

void ConfigEditorView::OpenNameEditor(StringGrid* grid, int column, int row, int maxLength, const QString& text) {
  const QRect cell = CellRect(grid, column, row);
  tab_.NameEdit->setGeometry(cell.x(), cell.y() - 1, grid->ColWidth(column), grid->RowHeight() + 2);
  tab_.NameEdit->setMaxLength(maxLength);
  tab_.NameEdit->setText(text);
  tab_.NameEdit->show();
  tab_.NameEdit->raise();
  timerX1_.SetEnabled(true);
}

void ConfigEditorView::OpenSpinEditor(StringGrid* grid, int column, int row, int value, int minimum, int maximum,
                                      SpinEditMode mode) {
  const QRect cell = CellRect(grid, column, row);
  const int width = grid->ColWidth(column) + SpinButtonWidth() + 2 + 1;
  state_.SpinEditMode = SpinEditMode::None;
  tab_.AddrEdit->setRange(minimum, maximum);
  tab_.AddrEdit->setValue(value);
  tab_.AddrEdit->setGeometry(cell.x() + grid->ColWidth(column) - width, cell.y() - 1, width, grid->RowHeight() + 2);
  tab_.AddrEdit->show();
  tab_.AddrEdit->raise();
  state_.SpinEditMode = mode;
  state_.EditorFocusAction = EditorFocusAction::AddrEdit;
  timerX1_.SetEnabled(true);
}

void ConfigEditorView::NodesGridDblClick() {
  const NodeRecord* node = SelectedNodeRecord(model_);
  if (node == nullptr) return;
  const int row = model_.SelectedNode + 1;
  if (state_.ClickedColumn == 2) {
    OpenNameEditor(tab_.NodesGrid, 2, row, static_cast<int>(kNameWidth), Q(NameForEditor(node->Name)));
    state_.NameTarget = NameEditTarget::Node;
    state_.EditorFocusAction = EditorFocusAction::NodeName;
  } else if (state_.ClickedColumn == 3) {
    OpenSpinEditor(tab_.NodesGrid, 3, row, node->Address, 1, kHighestAddress, SpinEditMode::NodeAddress);
  }
}

void ConfigEditorView::RedrawZoneCell(int column, int row) {
  if (row < 1 || row >= tab_.ZoneGrid->RowCount()) return;
  tab_.ZoneGrid->viewport()->update(tab_.ZoneGrid->visualRect(tab_.ZoneGrid->model()->index(row - 1, column)));
}

void ConfigEditorView::FlashClickedCell() {
  state_.FlashPending = true;
  RedrawZoneCell(state_.ClickedColumn, state_.ClickedZoneRow);
  state_.EditorFocusAction = EditorFocusAction::EndFlash;
  timerX1_.SetEnabled(true);
}

void ConfigEditorView::ZoneGridDblClick() {
  state_.FlashPending = false;
  const ZoneEditor editor = ZoneEditorFor(model_, state_.ClickedColumn);
  if (editor == ZoneEditor::Refused) {
    FlashClickedCell();
    return;
  }
  if (tab_.GroupGrid->isVisible()) return;
  const ZoneRecord* zone = SelectedZoneRecord(model_);
  if (zone == nullptr) return;
  const int row = model_.SelectedZone + 1;
  StringGrid* grid = tab_.ZoneGrid;
  switch (editor) {
    case ZoneEditor::Name:
      OpenNameEditor(grid, 1, row, static_cast<int>(kNameWidth), Q(NameForEditor(zone->Name)));
      state_.NameTarget = NameEditTarget::Zone;
      state_.EditorFocusAction = EditorFocusAction::ZoneName;
      break;
    case ZoneEditor::Kind: {
      QListWidget* box = tab_.TypeBox;
      box->clear();
      for (const char* item : config_text::kKindChoices) {
        auto* it = new QListWidgetItem(item, box);
        it->setSizeHint(QSize(grid->ColWidth(2), kTypeBoxItemHeight));
      }
      const QRect cell = CellRect(grid, 2, row);
      const int height = 2 * (grid->RowHeight() + StringGrid::kGridLineWidth);
      int top = cell.y();
      if (row == kMaxZonesPerNode) top = cell.y() + cell.height() - height;  // stays inside the grid
      box->setGeometry(cell.x(), top, grid->ColWidth(2), height);
      box->setCurrentRow(zone->Kind == kKindFire ? 1 : 0);
      box->show();
      box->raise();
      break;
    }
    case ZoneEditor::Group:
      ShowGroupChooser();
      break;
    case ZoneEditor::Number: {
      const int number = zone->ConvNumber >= kExplicitNumberBase ? zone->ConvNumber - kExplicitNumberBase : zone->ConvNumber;
      OpenSpinEditor(grid, 4, row, std::min(number, 999), 0, 999, SpinEditMode::ConvNumber);
      break;
    }
    case ZoneEditor::None:
    case ZoneEditor::Refused:
      break;
  }
}

// ---- editing and committing ----

void ConfigEditorView::AddrEditChange() {
  switch (state_.SpinEditMode) {
    case SpinEditMode::NodeAddress:
      CommitNodeAddress();
      break;
    case SpinEditMode::ConvNumber: {
      const int value = tab_.AddrEdit->value();
      SetExplicitNumber(model_, value);
      if (const ZoneRecord* zone = SelectedZoneRecord(model_)) {
        tab_.ZoneGrid->SetCell(4, model_.SelectedZone + 1, Q(ConvNumberCell(zone->ConvNumber)));
      }
      break;
    }
    case SpinEditMode::None:
      break;
  }
}

void ConfigEditorView::AddrEditKeyDown(int key) {
  if (!IsEnter(key)) return;
  tab_.AddrEdit->interpretText();  // the typed value, committed if it differs
  AddrEditChange();                // and committed in any case, so Enter makes a number explicit
  CloseAddrEdit(false);
}

void ConfigEditorView::NameEditKeyDown(int key) {
  if (!IsEnter(key)) return;
  const std::string text = tab_.NameEdit->text().toStdString();
  switch (state_.NameTarget) {
    case NameEditTarget::Node:
      if (SelectedNodeRecord(model_) != nullptr) {
        tab_.NodesGrid->SetCell(2, model_.SelectedNode + 1, Q("  " + CommitNodeName(model_, text)));
      }
      break;
    case NameEditTarget::Zone:
      if (SelectedZoneRecord(model_) != nullptr) {
        tab_.ZoneGrid->SetCell(1, model_.SelectedZone + 1, Q("  " + CommitZoneName(model_, text)));
      }
      break;
    case NameEditTarget::Group:
      if (state_.EditedGroup >= 0 && state_.EditedGroup < kGroupCount) {
        tab_.GroupGrid->SetCell(1, state_.EditedGroup + 2, Q(std::string(15, ' ') + CommitGroupName(model_, state_.EditedGroup, text)));
      }
      break;
    case NameEditTarget::None:
      return;
  }
  tab_.NameEdit->hide();
  state_.NameTarget = NameEditTarget::None;
}

void ConfigEditorView::TypeBoxClick(int item) {
  if (item < 0 || item > 1 || SelectedZoneRecord(model_) == nullptr) return;
  std::vector<std::string> lost;
  SetZoneKind(model_, static_cast<uint8_t>(item + 1), &lost);
  ShowZoneRow(model_.SelectedZone + 1);
  tab_.TypeBox->hide();
  ShowLog(lost);  // a rule that lost its event would be dropped by the next write without a word
}

void ConfigEditorView::TimerX1Timer() {
  timerX1_.SetEnabled(false);
  switch (state_.EditorFocusAction) {
    case EditorFocusAction::NodeName:
    case EditorFocusAction::ZoneName:
    case EditorFocusAction::GroupName:
      tab_.NameEdit->setFocus(Qt::MouseFocusReason);
      tab_.NameEdit->selectAll();
      break;
    case EditorFocusAction::AddrEdit:
      tab_.AddrEdit->setFocus(Qt::MouseFocusReason);
      tab_.AddrEdit->selectAll();
      break;
    case EditorFocusAction::EndFlash:
      state_.FlashPending = false;
      RedrawZoneCell(state_.ClickedColumn, state_.ClickedZoneRow);
      state_.EditorFocusAction = EditorFocusAction::None;
      break;
    case EditorFocusAction::None:
      break;
  }
}

// ---- the group chooser ----

void ConfigEditorView::ShowGroupChooser() {
  ZoneRecord* zone = SelectedZoneRecord(model_);
  if (zone == nullptr) return;
  StringGrid* zones = tab_.ZoneGrid;
  StringGrid* groups = tab_.GroupGrid;
  const int line = StringGrid::kGridLineWidth;
  const int height = kGroupGridRows * groups->RowHeight() + 13 * line + 2;
  groups->setGeometry(zones->x(), zones->y() + 3 * (zones->RowHeight() + line), zones->width(), height);
  filling_ = true;
  groups->SetRowCount(kGroupGridRows);
  // The first column is as designed, or wider when the no-group row's text would be cut.
  const int noGroupWidth = groups->fontMetrics().horizontalAdvance(Q(GroupRowCells(model_, 1)[0]));
  const int column0 = std::max(kGroupColumn0Width, noGroupWidth + kGroupTextRoom);
  groups->SetColWidth(0, column0);
  groups->SetColWidth(1, groups->width() - column0 - 6);
  groups->SetCell(0, 0, config_text::kGroupGridHeadings[0]);
  groups->SetCell(1, 0, config_text::kGroupGridHeadings[1]);
  for (int row = 1; row < kGroupGridRows; ++row) {
    const auto cells = GroupRowCells(model_, row);
    groups->SetCell(0, row, Q(cells[0]));
    groups->SetCell(1, row, Q(cells[1]));
  }
  filling_ = false;
  groups->show();
  groups->raise();
  state_.ZoneColumnHighlight = true;
  // Only the zone being assigned stays in view.
  filling_ = true;
  const int row = model_.SelectedZone + 1;
  for (int c = 0; c < 5; ++c) zones->SetCell(c, 1, zones->Cell(c, row));
  zones->SetRowCount(2);
  SelectRow(zones, 1);
  filling_ = false;
  zones->viewport()->update();
  state_.ChosenGroup = IsGroupMember(zone->Group) ? zone->Group : -1;
  filling_ = true;
  SelectRow(groups, GroupRowOf(zone->Group));
  filling_ = false;
}

void ConfigEditorView::HideGroupChooser() {
  tab_.GroupGrid->hide();
  if (state_.ZoneColumnHighlight) {
    state_.ZoneColumnHighlight = false;
    tab_.ZoneGrid->viewport()->update();
  }
}

void ConfigEditorView::GroupGridSelectCell(int column, int row) {
  if (tab_.NameEdit->isVisible()) NameEditKeyDown(Qt::Key_Return);  // commits to the group it was opened for
  state_.ChosenGroup = row - 2;
  state_.ClickedColumn = column;
  CloseAddrEdit(true);
}

void ConfigEditorView::GroupGridDblClick() {
  if (state_.ClickedColumn == 0) {
    SetZoneGroup(model_, state_.ChosenGroup);
    HideGroupChooser();
    RefreshZoneGrid();
  } else if (state_.ClickedColumn == 1) {
    EditGroupName();
  }
}

void ConfigEditorView::EditGroupName() {
  StringGrid* groups = tab_.GroupGrid;
  const int r = groups->currentRow() + 1;
  if (r < 2 || r >= kGroupGridRows) return;
  const QRect cell = CellRect(groups, 1, r);
  tab_.NameEdit->setGeometry(cell.x(), cell.y() - 1, groups->ColWidth(1), groups->RowHeight() + 2);
  tab_.NameEdit->setMaxLength(static_cast<int>(kGroupNameWidth));
  tab_.NameEdit->setText(Q(NameForEditor(model_.GroupNames[static_cast<std::size_t>(r - 2)])));
  tab_.NameEdit->show();
  tab_.NameEdit->raise();
  state_.EditedGroup = r - 2;
  state_.NameTarget = NameEditTarget::Group;
  state_.EditorFocusAction = EditorFocusAction::GroupName;
  timerX1_.SetEnabled(true);
}

// ---- what goes on to the automation tab ----

void ConfigEditorView::RefreshAutoGrid(uint8_t selected) {
  if (ruleViews_ != nullptr) ruleViews_->RefreshAutoGrid(selected);
}

void ConfigEditorView::HideRulePickers() {
  if (ruleViews_ != nullptr) ruleViews_->HideRulePickers();
}

void ConfigEditorView::NodesChanged() {
  if (ruleViews_ != nullptr) ruleViews_->NodesChanged();
}

}  // namespace zelor
