#include "config/config_tab.h"

#include <QStyle>
#include <algorithm>

#include "config/config_tab_texts.h"
#include "link/format.h"
#include "model/cp1251.h"
#include "model/device_types.h"

namespace zelor {

namespace {
constexpr int kRowHeight = 20;
constexpr int kGridTop = 40;
constexpr int kGridHeight = 360;
constexpr int kButtonSize = 24;

QToolButton* MakeToolButton(const config_text::ToolButtonText& t, QStyle::StandardPixmap icon, int x, QWidget* bar) {
  auto* b = new QToolButton(bar);
  b->setObjectName(t.name);
  b->setToolTip(t.hint);
  b->setIcon(bar->style()->standardIcon(icon));
  b->setAutoRaise(true);
  b->setGeometry(x, 1, kButtonSize, kButtonSize);
  return b;
}

void Separator(int x, QWidget* bar) {
  auto* line = new QFrame(bar);
  line->setFrameShape(QFrame::VLine);
  line->setFrameShadow(QFrame::Sunken);
  line->setGeometry(x, 3, 8, kButtonSize - 4);
}

}  // namespace

ConfigTab::ConfigTab(QWidget* parent) : QWidget(parent) {
  setObjectName("TeTabSheet12");
  TeToolBar1 = new QFrame(this);
  TeToolBar1->setObjectName("TeToolBar1");
  TeToolBar1->setGeometry(8, 8, 358, kButtonSize + 2);
  int x = 2;
  auto next = [&x] { const int at = x; x += kButtonSize; return at; };
  auto gap = [&x, this] { Separator(x, TeToolBar1); x += 8; };
  Load_ButtA = MakeToolButton(config_text::kLoadFromPanel, QStyle::SP_ArrowDown, next(), TeToolBar1);
  Load_ButtB = MakeToolButton(config_text::kLoadFromFile, QStyle::SP_DialogOpenButton, next(), TeToolBar1);
  gap();
  Up_Butt = MakeToolButton(config_text::kMoveUp, QStyle::SP_ArrowUp, next(), TeToolBar1);
  Down_Butt = MakeToolButton(config_text::kMoveDown, QStyle::SP_ArrowDown, next(), TeToolBar1);
  gap();
  const int delX = next();
  Del_Butt = MakeToolButton(config_text::kDelete, QStyle::SP_TrashIcon, delX, TeToolBar1);
  Add_Butt_00 = MakeToolButton(config_text::kShowAddBox, QStyle::SP_FileDialogNewFolder, delX, TeToolBar1);
  Add_Butt_00->hide();
  gap();
  Save_ButtA = MakeToolButton(config_text::kSaveToPanel, QStyle::SP_ArrowUp, next(), TeToolBar1);
  Save_ButtB = MakeToolButton(config_text::kSaveToFile, QStyle::SP_DialogSaveButton, next(), TeToolBar1);
  Load_ButtA->setIcon(style()->standardIcon(QStyle::SP_ComputerIcon));
  Save_ButtA->setIcon(style()->standardIcon(QStyle::SP_DriveHDIcon));

  NodesGrid = new StringGrid("NodesGrid", 4, 2, kRowHeight, this);
  NodesGrid->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  NodesGrid->setGeometry(8, kGridTop, 358, kGridHeight);
  ZoneGrid = new StringGrid("ZoneGrid", 5, 2, kRowHeight, this);
  ZoneGrid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  ZoneGrid->setGeometry(382, kGridTop, 434, kGridHeight);

  GroupGrid = new StringGrid("GroupGrid", 2, 12, kRowHeight, this);
  GroupGrid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  GroupGrid->setGeometry(382, kGridTop, 434, 12 * kRowHeight + 4);
  GroupGrid->hide();

  NameEdit = new QLineEdit(this);
  NameEdit->setObjectName("NameEdit");
  NameEdit->setAlignment(Qt::AlignCenter);
  NameEdit->hide();
  AddrEdit = new QSpinBox(this);
  AddrEdit->setObjectName("AddrEdit");
  AddrEdit->setAlignment(Qt::AlignCenter);
  AddrEdit->setLayoutDirection(Qt::RightToLeft);  // the spin buttons on the left, as designed
  AddrEdit->hide();
  TypeBox = new QListWidget(this);
  TypeBox->setObjectName("TypeBox");
  TypeBox->hide();
}

void ConfigTab::SetUpGrids() {
  NodesGrid->SetColumns(config_text::kNodesGridColumns);
  ZoneGrid->SetColumns(config_text::kZoneGridColumns);
  TeToolBar1->resize(NodesGrid->width(), TeToolBar1->height());
  ZoneGrid->move(NodesGrid->x() + NodesGrid->width() + 16, ZoneGrid->y());
}

}  // namespace zelor
