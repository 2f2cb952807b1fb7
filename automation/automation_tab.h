// The "КОНФИГ.-4" tab (TeTabSheet4): the rule grid, the two zone pickers, the code list and the
// four rule buttons, in their state at start.
#pragma once
#include <QComboBox>
#include <QToolButton>
#include <QWidget>

#include "widgets/qt_string_grid.h"

namespace zelor {

class AutomationTab : public QWidget {
  Q_OBJECT
 public:
  explicit AutomationTab(QWidget* parent = nullptr);

  // FormActivate: headings and widths of the three grids; AutoZoneGrid 30 pixels right of AutoNodeGrid.
  void SetUpGrids();

  StringGrid* AutoGrid;
  StringGrid* AutoNodeGrid;
  StringGrid* AutoZoneGrid;
  QComboBox* EventBox;
  QToolButton* AddAuto_Butt;
  QToolButton* DelAuto_Butt;
  QToolButton* UpAuto_Butt;
  QToolButton* DownAuto_Butt;
};

}  // namespace zelor
