#include "automation/automation_tab.h"

#include <QApplication>
#include <QAbstractItemView>
#include <QKeyEvent>
#include <QScrollBar>
#include <QStyle>

#include "automation/automation_tab_texts.h"
#include "automation/rules.h"
#include "widgets/qt_fonts.h"

namespace zelor {

namespace {
constexpr int kAutoGridLines = 12;
constexpr int kEventBoxHeight = kAutoGridRowHeight + 3;

QToolButton* MakeButton(const char* name, QStyle::StandardPixmap icon, int x, QWidget* parent) {
  auto* b = new QToolButton(parent);
  b->setObjectName(name);
  b->setIcon(parent->style()->standardIcon(icon));
  b->setIconSize(QSize(12, 12));
  b->setGeometry(x, 3, 25, 16);
  return b;
}

StringGrid* MakeGrid(const char* name, int columns, QRect place, QWidget* parent) {
  auto* g = new StringGrid(name, columns, 2, kAutoGridRowHeight, parent);
  g->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  g->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  // A one-pixel frame, so that 19 rules (16 devices) fit whole, as the scrolling rules expect.
  g->setFrameShadow(QFrame::Plain);
  g->setGeometry(place);
  return g;
}

int ScrollBarWidth() { return QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent); }

bool IsEscape(int key) { return key == Qt::Key_Escape; }

}  // namespace

AutomationTab::AutomationTab(ConfigModel& model, QWidget* parent) : QWidget(parent), model_(model) {
  setObjectName("TeTabSheet4");
  AutoGrid = MakeGrid("AutoGrid", 8, {8, 24, 802, 383}, this);
  AutoNodeGrid = MakeGrid("AutoNodeGrid", 4, {8, 81, 401, 326}, this);
  AutoNodeGrid->hide();
  AutoZoneGrid = MakeGrid("AutoZoneGrid", 3, {439, 81, 371, 326}, this);
  AutoZoneGrid->hide();

  AutoGridDrawCell = new RuleGridDelegate(
      [this](int c, int r, bool selected) { return AutoGridFill(Editor.PickMode, c, r, selected); }, AutoGridAlign,
      kSelectedFill, AutoGrid);
  const auto pickerFill = [](int /*column*/, int r, bool selected) { return PickerFill(r, selected); };
  AutoNodeGridDrawCell = new RuleGridDelegate(pickerFill, NodePickerAlign, kSelectedFill, AutoNodeGrid);
  AutoZoneGridDrawCell = new RuleGridDelegate(pickerFill, ZonePickerAlign, kPickedFill, AutoZoneGrid);
  AutoGrid->setItemDelegate(AutoGridDrawCell);
  AutoNodeGrid->setItemDelegate(AutoNodeGridDrawCell);
  AutoZoneGrid->setItemDelegate(AutoZoneGridDrawCell);

  EventBox = new ChoiceBox("EventBox", this);
  EventBox->setMaxVisibleItems(10);
  // The list drops down below the box, as a drop-down list does, rather than over it.
  EventBox->setStyleSheet("QComboBox { combobox-popup: 0; }");
  EventBox->setFont(fonts::Face(fonts::kDefaultFontFamily, 11));  // a style sheet takes no font from the window
  EventBox->view()->setFont(EventBox->font());
  EventBox->hide();

  AddAuto_Butt = MakeButton("AddAuto_Butt", QStyle::SP_FileDialogNewFolder, 40, this);
  AddAuto_Butt->setToolTip(automation_text::kAddHint);
  DelAuto_Butt = MakeButton("DelAuto_Butt", QStyle::SP_TrashIcon, 64, this);
  DelAuto_Butt->setToolTip(automation_text::kDeleteHint);
  UpAuto_Butt = MakeButton("UpAuto_Butt", QStyle::SP_ArrowUp, 120, this);
  DownAuto_Butt = MakeButton("DownAuto_Butt", QStyle::SP_ArrowDown, 144, this);
  Connect();
}

void AutomationTab::Connect() {
  connect(AddAuto_Butt, &QToolButton::clicked, this, &AutomationTab::AddAuto_ButtClick);
  connect(DelAuto_Butt, &QToolButton::clicked, this, &AutomationTab::DelAuto_ButtClick);
  connect(UpAuto_Butt, &QToolButton::clicked, this, &AutomationTab::UpAuto_ButtClick);
  connect(DownAuto_Butt, &QToolButton::clicked, this, &AutomationTab::DownAuto_ButtClick);
  struct Handlers {
    StringGrid* grid;
    void (AutomationTab::*select)(int, int);
    void (AutomationTab::*dblClick)();
  };
  for (const Handlers& h : {Handlers{AutoGrid, &AutomationTab::AutoGridSelectCell, &AutomationTab::AutoGridDblClick},
                            Handlers{AutoNodeGrid, &AutomationTab::AutoNodeGridSelectCell,
                                     &AutomationTab::AutoNodeGridDblClick},
                            Handlers{AutoZoneGrid, &AutomationTab::AutoZoneGridSelectCell,
                                     &AutomationTab::AutoZoneGridDblClick}}) {
    connect(h.grid, &QTableWidget::currentCellChanged, this, [this, h](int row, int column) {
      if (!filling_ && row >= 0 && column >= 0) (this->*h.select)(column, row + 1);
    });
    connect(h.grid, &QTableWidget::cellDoubleClicked, this, [this, h] { (this->*h.dblClick)(); });
    h.grid->installEventFilter(this);
  }
  EventBox->onCloseUp = [this] { EventBoxCloseUp(); };
}

void AutomationTab::SetUpGrids() {
  AutoGrid->SetColumns(automation_text::kAutoGridColumns);
  AutoNodeGrid->SetColumns(automation_text::kAutoNodeGridColumns);
  AutoZoneGrid->SetColumns(automation_text::kAutoZoneGridColumns);
  AutoZoneGrid->move(AutoNodeGrid->x() + AutoNodeGrid->width() + 30, AutoZoneGrid->y());
}

int AutomationTab::TopRow(const StringGrid& grid) { return grid.verticalScrollBar()->value() + 1; }

void AutomationTab::SetTopRow(StringGrid& grid, int row) {
  grid.doItemsLayout();  // the scroll range follows a new row count only after a layout
  grid.verticalScrollBar()->setValue(row - 1);
}

void AutomationTab::SelectRow(StringGrid& grid, int row) {
  if (row < 1 || row >= grid.RowCount()) return;
  const bool wasFilling = filling_;
  filling_ = true;
  grid.setCurrentCell(row - 1, std::max(grid.currentColumn(), 0));
  filling_ = wasFilling;
}

void AutomationTab::FillRuleRow(int row, uint8_t rule) {
  const AutoGridRow texts = AutoGridRowTexts(model_, rule);
  for (std::size_t c = 0; c < texts.size(); ++c) AutoGrid->SetCell(static_cast<int>(c), row, QString::fromStdString(texts[c]));
}

void AutomationTab::RefreshAutoGrid(uint8_t s) {
  const bool wasFilling = filling_;
  filling_ = true;
  // Picking and choosing belong to the list as it was; neither may act on the rewritten one.
  HideRulePickers();
  Editor.PickMode = kPickNone;
  if (model_.RuleCount > 0) {
    AutoGrid->SetRowCount(model_.RuleCount + 1);
    AutoGrid->FitWidth(kAutoGridLines, model_.RuleCount >= kRulesNeedingScrollBar);
    model_.SelectedRule = s < model_.RuleCount ? s : 0;
    for (uint8_t r = 0; r < model_.RuleCount; ++r) FillRuleRow(r + 1, r);
    SetTopRow(*AutoGrid, AutoGridTopRow(TopRow(*AutoGrid), static_cast<uint8_t>(model_.SelectedRule)));
  } else {
    AutoGrid->SetRowCount(2);
    AutoGrid->FitWidth(kAutoGridLines);
    model_.SelectedRule = 0;
    for (int c = 0; c < AutoGrid->ColCount(); ++c) AutoGrid->SetCell(c, 1, QString());
  }
  SelectRow(*AutoGrid, model_.SelectedRule + 1);
  filling_ = wasFilling;
  AutoGrid->viewport()->update();
}

void AutomationTab::HideRulePickers() {
  AutoNodeGrid->hide();
  AutoZoneGrid->hide();
  EventBox->hide();
  model_.PickersOpen = false;
}

void AutomationTab::RefreshAfterNodeChange() {
  HideRulePickers();
  RefreshAutoGrid(0);
}

void AutomationTab::AddAuto_ButtClick() {
  if (AddRule(model_) == kDone) RefreshAutoGrid(static_cast<uint8_t>(model_.SelectedRule));
}

void AutomationTab::DelAuto_ButtClick() {
  if (DeleteRule(model_) == kDone) RefreshAutoGrid(static_cast<uint8_t>(model_.SelectedRule));
}

void AutomationTab::UpAuto_ButtClick() {
  if (MoveRuleUp(model_) == kDone) RefreshAutoGrid(static_cast<uint8_t>(model_.SelectedRule));
}

void AutomationTab::DownAuto_ButtClick() {
  if (MoveRuleDown(model_) == kDone) RefreshAutoGrid(static_cast<uint8_t>(model_.SelectedRule));
}

void AutomationTab::AutoGridSelectCell(int column, int row) {
  Editor.AutoColumn = static_cast<uint8_t>(column);
  // While picking, row 1 stands for the rule being edited.
  if (AutoNodeGrid->isHidden()) model_.SelectedRule = row - 1;
  EventBox->hide();
}

void AutomationTab::AutoGridDblClick() {
  const DblClickStep step = AutoGridDblClickStep(model_, Editor.AutoColumn, !AutoZoneGrid->isHidden());
  if (step == DblClickStep::Nothing) return;
  if (model_.SelectedRule < 0 || model_.SelectedRule >= model_.RuleCount) return;
  EventBox->hide();
  const auto rule = static_cast<uint8_t>(model_.SelectedRule);
  switch (step) {
    case DblClickStep::PickActivator:
      Editor.PickMode = kPickActivator;
      StartPicking(model_.Activators[rule].ZoneIndex);
      break;
    case DblClickStep::PickExecutor:
      Editor.PickMode = kPickExecutor;
      StartPicking(model_.Executors[rule].ZoneIndex);
      break;
    case DblClickStep::ChooseEvent: OpenChoice(Side::Activator); break;
    case DblClickStep::ChooseAction: OpenChoice(Side::Executor); break;
    case DblClickStep::OtherColumn: Editor.PickMode = kPickNone; break;
    case DblClickStep::Nothing: break;
  }
}

void AutomationTab::StartPicking(uint16_t zoneIndex) {
  // Shrinking the grid moves its current cell; the rule being edited stays selected.
  const int32_t rule = model_.SelectedRule;
  filling_ = true;
  AutoGrid->SetRowCount(2);
  FillRuleRow(1, static_cast<uint8_t>(rule));
  AutoGrid->FitWidth(kAutoGridLines);
  SelectRow(*AutoGrid, 1);
  model_.SelectedRule = rule;
  filling_ = false;

  // Shown first: a grid scrolls to its selection only while it is shown.
  AutoNodeGrid->show();
  AutoZoneGrid->show();
  model_.PickersOpen = true;
  ZonePosition at;
  FindZone(model_, zoneIndex, at);  // (0, 0) when the zone is not set or not found
  FillNodePicker(at.Node);
  Editor.PickerNode = at.Node;
  FillZonePicker(at.Zone);
  Editor.PickerZone = at.Zone;
  AutoGrid->viewport()->update();
}

void AutomationTab::OpenChoice(Side side) {
  const auto rule = static_cast<uint8_t>(model_.SelectedRule);
  const Choice choice = ChoiceFor(SideOf(model_, side, rule), side);
  EventBox->clear();
  for (const std::string& text : choice.Texts) EventBox->addItem(QString::fromStdString(text));
  Editor.ChoiceCodes = choice.Codes;
  EventBox->setCurrentIndex(choice.Selected);
  // The closed box keeps the cell's width; its list is as wide as its longest item, so that the
  // actions that differ only at their ends ("ВКЛ. СВЕТ-2Гц/ЗВУК", "-1Гц/ЗВУК") can be told apart.
  QAbstractItemView* list = EventBox->view();
  const bool scrolls = EventBox->count() > EventBox->maxVisibleItems();
  list->setMinimumWidth(list->sizeHintForColumn(0) + 2 * list->frameWidth() + (scrolls ? ScrollBarWidth() : 0));
  const BoxPlace place = EventBoxPlace(AutoGrid->x(), AutoGrid->y(), model_.SelectedRule, TopRow(*AutoGrid),
                                       side == Side::Executor);
  EventBox->setGeometry(place.Left, place.Top, place.Width, kEventBoxHeight);
  EventBox->show();
  EventBox->raise();
  EventBox->setFocus(Qt::OtherFocusReason);
}

void AutomationTab::EventBoxCloseUp() {
  if (EventBox->isHidden()) return;  // a list no longer shown chooses nothing
  const int item = EventBox->currentIndex();
  if (ApplyChoice(model_, Editor, item)) {
    AutoGrid->SetCell(Editor.AutoColumn, model_.SelectedRule + 1, EventBox->itemText(item));
  }
  EventBox->hide();
}

void AutomationTab::FillNodePicker(uint8_t p) {
  const bool wasFilling = filling_;
  filling_ = true;
  if (model_.NodeCount > 0) {
    AutoNodeGrid->SetRowCount(model_.NodeCount + 1);
    AutoNodeGrid->SetColWidth(1, NodePickerTypeWidth(model_.NodeCount, ScrollBarWidth()));
    for (uint8_t n = 0; n < model_.NodeCount && n < kMaxNodes; ++n) {
      const NodePickerRow texts = NodePickerRowTexts(model_, n);
      for (std::size_t c = 0; c < texts.size(); ++c) {
        AutoNodeGrid->SetCell(static_cast<int>(c), n + 1, QString::fromStdString(texts[c]));
      }
    }
    SetTopRow(*AutoNodeGrid, NodePickerTopRow(TopRow(*AutoNodeGrid), p, model_.NodeCount));
  } else {
    AutoNodeGrid->SetRowCount(2);
    for (int c = 0; c < AutoNodeGrid->ColCount(); ++c) AutoNodeGrid->SetCell(c, 1, QString());
  }
  SelectRow(*AutoNodeGrid, p + 1);
  filling_ = wasFilling;
}

void AutomationTab::FillZonePicker(uint8_t q) {
  const bool wasFilling = filling_;
  filling_ = true;
  const ZonePickerContents contents = ZonePickerFor(model_, static_cast<uint8_t>(std::clamp(Editor.PickerNode, 0, 255)));
  AutoZoneGrid->SetRowCount(contents.RowCount);
  for (std::size_t r = 0; r < contents.Rows.size(); ++r) {
    for (std::size_t c = 0; c < contents.Rows[r].size(); ++c) {
      AutoZoneGrid->SetCell(static_cast<int>(c), static_cast<int>(r) + 1, QString::fromStdString(contents.Rows[r][c]));
    }
  }
  SelectRow(*AutoZoneGrid, q + 1);
  filling_ = wasFilling;
}

void AutomationTab::AutoNodeGridSelectCell(int /*column*/, int row) {
  if (row - 1 == Editor.PickerNode) return;
  Editor.PickerNode = row - 1;
  Editor.PickerZone = 0;
  FillZonePicker(0);
}

void AutomationTab::AutoZoneGridSelectCell(int /*column*/, int row) { Editor.PickerZone = row - 1; }

void AutomationTab::AssignPicked() {
  const Side side = Editor.PickMode == kPickActivator ? Side::Activator : Side::Executor;
  if (Editor.PickerNode >= 0 && Editor.PickerNode < model_.NodeCount && Editor.PickerZone >= 0) {
    AssignZone(model_, side, static_cast<uint8_t>(Editor.PickerNode),
               static_cast<uint8_t>(std::min(Editor.PickerZone, 255)));
  }
  HideRulePickers();
  RefreshAutoGrid(static_cast<uint8_t>(model_.SelectedRule));
}

void AutomationTab::AutoZoneGridDblClick() {
  if (Editor.PickMode == kPickActivator || Editor.PickMode == kPickExecutor) AssignPicked();
}

void AutomationTab::AutoNodeGridDblClick() {
  if (Editor.PickerNode < 0 || Editor.PickerNode >= model_.NodeCount) return;
  if (AssignsOnNodeDoubleClick(model_.Nodes[static_cast<std::size_t>(Editor.PickerNode)].Type)) AutoZoneGridDblClick();
}

void AutomationTab::CancelPicking() {
  HideRulePickers();
  RefreshAutoGrid(static_cast<uint8_t>(model_.SelectedRule));
}

void AutomationTab::AutoGridKeyPress(int key) {
  if (IsEscape(key) && !AutoNodeGrid->isHidden()) CancelPicking();
}

void AutomationTab::AutoNodeGridKeyPress(int key) {
  if (IsEscape(key)) CancelPicking();
}

void AutomationTab::AutoZoneGridKeyPress(int key) {
  if (IsEscape(key)) CancelPicking();
}

bool AutomationTab::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (watched == AutoGrid) AutoGridKeyPress(key);
    if (watched == AutoNodeGrid) AutoNodeGridKeyPress(key);
    if (watched == AutoZoneGrid) AutoZoneGridKeyPress(key);
    if (IsEscape(key)) return true;
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace zelor
