#include "widgets/qt_string_grid.h"

#include <QApplication>
#include <QHeaderView>
#include <QStyle>

namespace zelor {

StringGrid::StringGrid(const QString& objectName, int columns, int rows, int rowHeight, QWidget* parent)
    : QTableWidget(parent), rowHeight_(rowHeight) {
  setObjectName(objectName);
  setColumnCount(columns);
  for (int c = 0; c < columns; ++c) setHorizontalHeaderItem(c, new QTableWidgetItem(QString()));
  SetRowCount(rows);
  verticalHeader()->hide();
  verticalHeader()->setMinimumSectionSize(1);
  verticalHeader()->setDefaultSectionSize(rowHeight + kGridLineWidth);
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  horizontalHeader()->setMinimumSectionSize(1);
  horizontalHeader()->setFixedHeight(rowHeight + kGridLineWidth);
  horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  horizontalHeader()->setHighlightSections(false);
  horizontalHeader()->setSectionsClickable(false);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setWordWrap(false);
  setFrameShape(QFrame::Box);
  setLineWidth(1);
  QPalette p = palette();
  p.setColor(QPalette::Base, Qt::white);
  setPalette(p);
}

void StringGrid::SetRowCount(int rows) { setRowCount(rows > 1 ? rows - 1 : 0); }

void StringGrid::SetColCount(int columns) {
  const int old = columnCount();
  setColumnCount(columns);
  for (int c = old; c < columns; ++c) setHorizontalHeaderItem(c, new QTableWidgetItem(QString()));
}

QString StringGrid::Cell(int column, int row) const {
  if (column < 0 || column >= columnCount() || row < 0 || row >= RowCount()) return {};
  const QTableWidgetItem* it = row == 0 ? horizontalHeaderItem(column) : item(row - 1, column);
  return it != nullptr ? it->text() : QString();
}

void StringGrid::SetCell(int column, int row, const QString& text) {
  if (column < 0 || column >= columnCount() || row < 0 || row >= RowCount()) return;
  if (row == 0) {
    horizontalHeaderItem(column)->setText(text);
    return;
  }
  if (QTableWidgetItem* it = item(row - 1, column)) {
    it->setText(text);
  } else {
    setItem(row - 1, column, new QTableWidgetItem(text));
  }
}

// A section holds its cell and the grid line after it.
void StringGrid::SetColWidth(int column, int width) { setColumnWidth(column, width + kGridLineWidth); }

int StringGrid::ColWidth(int column) const { return columnWidth(column) - kGridLineWidth; }

int StringGrid::SumOfColWidths() const {
  int sum = 0;
  for (int c = 0; c < columnCount(); ++c) sum += ColWidth(c);
  return sum;
}

void StringGrid::FitWidth(int lines, bool withScrollBar) {
  int w = SumOfColWidths() + lines * kGridLineWidth;
  if (withScrollBar) w += QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  resize(w, height());
}

}  // namespace zelor
