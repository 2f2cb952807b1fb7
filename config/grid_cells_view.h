// Draws the cells of the configuration tab's grids as the core's CellLook says: fill, refusal frame,
// alignment, bold blue explicit numbers; the invisible number marker is never drawn.
#pragma once
#include <QStyledItemDelegate>
#include <functional>

#include "config/editor_cells.h"

namespace zelor {

class GridCellsView : public QStyledItemDelegate {
 public:
  // `look` answers the look of data cell (column, row); rows count from 1 as in the grid.
  using LookFor = std::function<CellLook(int column, int row, const QString& text, bool selected)>;
  GridCellsView(LookFor look, QObject* parent);

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

 private:
  LookFor look_;
};

}  // namespace zelor
