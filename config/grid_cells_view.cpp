#include "config/grid_cells_view.h"

#include <QPainter>

namespace zelor {
namespace {

QColor Rgb(uint32_t rgb) { return QColor::fromRgb(static_cast<QRgb>(rgb)); }

QColor FillColour(CellFill fill, const QStyleOptionViewItem& option) {
  switch (fill) {
    case CellFill::Selected:
      return Rgb(kSelectedFill);
    case CellFill::GroupColumn:
      return Rgb(kGroupColumnFill);
    case CellFill::Fixed:
      return option.palette.color(QPalette::Button);
    case CellFill::Normal:
      break;
  }
  return option.palette.color(QPalette::Base);
}

}  // namespace

GridCellsView::GridCellsView(LookFor look, QObject* parent) : QStyledItemDelegate(parent), look_(std::move(look)) {}

void GridCellsView::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
  QString text = index.data(Qt::DisplayRole).toString();
  const bool selected = (option.state & QStyle::State_Selected) != 0;
  const CellLook look = look_(index.column(), index.row() + 1, text, selected);
  text.remove(QChar(static_cast<char16_t>(kExplicitMarker)));
  painter->save();
  if (look.RefusalFrame) {
    painter->fillRect(option.rect, Rgb(kRefusalFrame));
    painter->fillRect(option.rect.adjusted(2, 2, -2, -2), Rgb(kSelectedFill));
  } else {
    painter->fillRect(option.rect, FillColour(look.Fill, option));
  }
  QFont font = option.font;
  font.setBold(look.BoldBlue);
  painter->setFont(font);
  painter->setPen(Rgb(look.BoldBlue ? kExplicitNumberColour : kTextColour));
  const Qt::Alignment align = Qt::AlignVCenter | (look.Align == CellAlign::Centre ? Qt::AlignHCenter : Qt::AlignLeft);
  painter->drawText(option.rect.adjusted(0, 0, -2, 0), static_cast<int>(align | Qt::TextSingleLine), text);
  painter->restore();
}

}  // namespace zelor
