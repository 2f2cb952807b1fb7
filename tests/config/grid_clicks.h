// Mouse clicks on the cells of a StringGrid, delivered to its viewport as a user's would be.
#pragma once
#include <QApplication>
#include <QMouseEvent>

#include "widgets/qt_string_grid.h"

namespace zelor::test {

// Rows as the grid counts them: row 0 is the heading, data rows from 1.
inline QPoint CellCentre(StringGrid* grid, int column, int row) {
  return grid->visualRect(grid->model()->index(row - 1, column)).center();
}

inline void SendMouse(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
  QMouseEvent e(type, at, w->mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}

inline void ClickCell(StringGrid* grid, int column, int row) {
  const QPoint at = CellCentre(grid, column, row);
  SendMouse(grid->viewport(), QEvent::MouseButtonPress, at, Qt::LeftButton);
  SendMouse(grid->viewport(), QEvent::MouseButtonRelease, at, Qt::NoButton);
}

// Press, release, double-click, release: what a double-click delivers.
inline void DoubleClickCell(StringGrid* grid, int column, int row) {
  ClickCell(grid, column, row);
  const QPoint at = CellCentre(grid, column, row);
  SendMouse(grid->viewport(), QEvent::MouseButtonDblClick, at, Qt::LeftButton);
  SendMouse(grid->viewport(), QEvent::MouseButtonRelease, at, Qt::NoButton);
}

}  // namespace zelor::test
