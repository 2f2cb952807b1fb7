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

void ConfigTab::RefreshGrids(const ConfigModel& model) {
  auto text = [](const std::string& utf8) { return QString::fromStdString(utf8); };
  const int nodes = model.NodeCount;
  NodesGrid->SetRowCount(std::max(nodes, 1) + 1);
  if (nodes == 0) {
    for (int c = 0; c < NodesGrid->ColCount(); ++c) NodesGrid->SetCell(c, 1, QString());
  }
  for (int k = 0; k < nodes; ++k) {
    const NodeRecord& node = model.Nodes[static_cast<std::size_t>(k)];
    NodesGrid->SetCell(0, k + 1, text(FormatZeroPadded(static_cast<uint16_t>(k), 2)));
    NodesGrid->SetCell(1, k + 1, text(DeviceTypeText(node.Type)));
    NodesGrid->SetCell(2, k + 1, text("  " + Utf8FromCp1251(node.Name)));
    NodesGrid->SetCell(3, k + 1, text(FormatZeroPadded(node.Address, 3)));
  }
  const bool selected = model.SelectedNode >= 0 && model.SelectedNode < nodes;
  const NodeRecord* node = selected ? &model.Nodes[static_cast<std::size_t>(model.SelectedNode)] : nullptr;
  const int zones = node != nullptr ? node->ZoneCount : 0;
  ZoneGrid->SetRowCount(std::max(zones, 1) + 1);
  if (zones == 0) {
    for (int c = 0; c < ZoneGrid->ColCount(); ++c) ZoneGrid->SetCell(c, 1, QString());
  }
  for (int z = 0; z < zones; ++z) {
    const ZoneRecord& zone = node->Zones[static_cast<std::size_t>(z)];
    const bool explicitNumber = zone.ConvNumber >= kExplicitNumberBase;
    const auto number = static_cast<uint16_t>(explicitNumber ? zone.ConvNumber - kExplicitNumberBase : zone.ConvNumber);
    ZoneGrid->SetCell(0, z + 1, text(FormatZeroPadded(zone.Index, 4)));
    ZoneGrid->SetCell(1, z + 1, text("  " + Utf8FromCp1251(zone.Name)));
    ZoneGrid->SetCell(2, z + 1, text(ZoneKindText(zone.Kind)));
    ZoneGrid->SetCell(3, z + 1, zone.Group < 10 ? text(FormatZeroPadded(zone.Group, 2)) : QString());
    // An explicit number carries an invisible marker after its digits.
    ZoneGrid->SetCell(4, z + 1, text(FormatZeroPadded(number, 4)) + (explicitNumber ? QString(QChar(0)) : QString()));
  }
  if (nodes > 0 && selected) NodesGrid->selectRow(model.SelectedNode);
}

}  // namespace zelor
