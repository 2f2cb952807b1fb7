// A string grid addressed as the tool's grids are: Cells(column, row) with row 0 the heading
// row (kept in the horizontal header so it never scrolls away), rows 1.. the data rows.
#pragma once
#include <QString>
#include <QTableWidget>

namespace zelor {

class StringGrid : public QTableWidget {
  Q_OBJECT
 public:
  StringGrid(const QString& objectName, int columns, int rows, int rowHeight, QWidget* parent);

  // Counts include the heading row.
  int RowCount() const { return rowCount() + 1; }
  void SetRowCount(int rows);
  int ColCount() const { return columnCount(); }
  void SetColCount(int columns);

  QString Cell(int column, int row) const;
  void SetCell(int column, int row, const QString& text);

  int ColWidth(int column) const;
  void SetColWidth(int column, int width);
  int RowHeight() const { return rowHeight_; }  // without the grid line below it
  static constexpr int kGridLineWidth = 1;
  int SumOfColWidths() const;
  // Width := column widths + `lines` grid-line widths (+ the vertical scroll bar's when asked).
  void FitWidth(int lines, bool withScrollBar = false);

  // Headings and widths from a table of {width, heading}; then width := columns + (count + 4)
  // grid lines, and two rows (the heading and one empty data row).
  template <class Columns>
  void SetColumns(const Columns& columns) {
    SetColCount(static_cast<int>(columns.size()));
    int c = 0;
    for (const auto& column : columns) {
      SetColWidth(c, column.width);
      SetCell(c, 0, column.heading);
      ++c;
    }
    FitWidth(c + 4);
    SetRowCount(2);
  }

 private:
  int rowHeight_;
};

}  // namespace zelor
