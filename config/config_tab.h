// The "КОНФИГ.-3" tab (TeTabSheet12): tool bar, device and zone grids, the group chooser and the
// in-place editors, all in their state at start.
#pragma once
#include <QFrame>
#include <QLineEdit>
#include <QListWidget>
#include <QSpinBox>
#include <QToolButton>
#include <QWidget>

#include "model/config_model.h"
#include "widgets/qt_string_grid.h"

namespace zelor {

class ConfigTab : public QWidget {
  Q_OBJECT
 public:
  explicit ConfigTab(QWidget* parent = nullptr);

  // FormActivate: headings and widths of NodesGrid and ZoneGrid; the tool bar takes NodesGrid's width.
  void SetUpGrids();

  QFrame* TeToolBar1;
  QToolButton* Load_ButtA;
  QToolButton* Load_ButtB;
  QToolButton* Up_Butt;
  QToolButton* Down_Butt;
  QToolButton* Del_Butt;
  QToolButton* Add_Butt_00;
  QToolButton* Save_ButtA;
  QToolButton* Save_ButtB;
  StringGrid* NodesGrid;
  StringGrid* ZoneGrid;
  StringGrid* GroupGrid;
  QLineEdit* NameEdit;
  QSpinBox* AddrEdit;
  QListWidget* TypeBox;
};

}  // namespace zelor
