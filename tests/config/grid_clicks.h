// Mouse clicks on the cells of a StringGrid, delivered to its viewport as a user's would be.
#pragma once
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <utility>

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

// A double-click at `at` in `parent` as the window system delivers it: each of its four events
// goes to the child under the pointer when the event arrives, so a click that hides one button
// sends the rest of the double-click to whatever that uncovered.
inline void DoubleClickAt(QWidget* parent, QPoint at) {
  const std::pair<QEvent::Type, Qt::MouseButtons> events[] = {{QEvent::MouseButtonPress, Qt::LeftButton},
                                                              {QEvent::MouseButtonRelease, Qt::NoButton},
                                                              {QEvent::MouseButtonDblClick, Qt::LeftButton},
                                                              {QEvent::MouseButtonRelease, Qt::NoButton}};
  for (const auto& [type, buttons] : events) {
    QWidget* under = parent->childAt(at);
    if (under == nullptr) under = parent;
    SendMouse(under, type, under->mapFrom(parent, at), buttons);
  }
}

// Keys typed into a widget, one press and release a character, each carrying its text.
inline void TypeText(QWidget* w, const QString& text) {
  for (const QChar c : text) {
    const int key = c.isDigit() ? Qt::Key_0 + c.digitValue() : c.toUpper().unicode();
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(c));
    QApplication::sendEvent(w, &release);
  }
}

}  // namespace zelor::test
