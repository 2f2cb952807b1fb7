#include "automation/automation_tab.h"

#include <QStyle>

#include "automation/automation_tab_texts.h"

namespace zelor {

namespace {
constexpr int kRowHeight = 18;

QToolButton* MakeButton(const char* name, QStyle::StandardPixmap icon, int x, QWidget* parent) {
  auto* b = new QToolButton(parent);
  b->setObjectName(name);
  b->setIcon(parent->style()->standardIcon(icon));
  b->setIconSize(QSize(12, 12));
  b->setGeometry(x, 3, 25, 16);
  return b;
}

}  // namespace

AutomationTab::AutomationTab(QWidget* parent) : QWidget(parent) {
  setObjectName("TeTabSheet4");
  AutoGrid = new StringGrid("AutoGrid", 8, 2, kRowHeight, this);
  AutoGrid->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  AutoGrid->setGeometry(8, 24, 802, 383);
  AutoNodeGrid = new StringGrid("AutoNodeGrid", 4, 2, kRowHeight, this);
  AutoNodeGrid->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  AutoNodeGrid->setGeometry(8, 81, 401, 326);
  AutoNodeGrid->hide();
  AutoZoneGrid = new StringGrid("AutoZoneGrid", 3, 2, kRowHeight, this);
  AutoZoneGrid->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  AutoZoneGrid->setGeometry(439, 81, 371, 326);
  AutoZoneGrid->hide();

  EventBox = new QComboBox(this);
  EventBox->setObjectName("EventBox");
  EventBox->setMaxVisibleItems(10);
  EventBox->hide();

  AddAuto_Butt = MakeButton("AddAuto_Butt", QStyle::SP_FileDialogNewFolder, 40, this);
  AddAuto_Butt->setToolTip(automation_text::kAddHint);
  DelAuto_Butt = MakeButton("DelAuto_Butt", QStyle::SP_TrashIcon, 64, this);
  DelAuto_Butt->setToolTip(automation_text::kDeleteHint);
  UpAuto_Butt = MakeButton("UpAuto_Butt", QStyle::SP_ArrowUp, 120, this);
  DownAuto_Butt = MakeButton("DownAuto_Butt", QStyle::SP_ArrowDown, 144, this);
}

void AutomationTab::SetUpGrids() {
  AutoGrid->SetColumns(automation_text::kAutoGridColumns);
  AutoNodeGrid->SetColumns(automation_text::kAutoNodeGridColumns);
  AutoZoneGrid->SetColumns(automation_text::kAutoZoneGridColumns);
  AutoZoneGrid->move(AutoNodeGrid->x() + AutoNodeGrid->width() + 30, AutoZoneGrid->y());
}

}  // namespace zelor
