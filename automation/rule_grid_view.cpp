#include "automation/rule_grid_view.h"

#include <QPainter>

namespace zelor {
namespace {
constexpr int kRightMargin = 2;
}

RuleGridDelegate::RuleGridDelegate(FillRule fill, AlignRule align, uint32_t selectedColour, QObject* parent)
    : QStyledItemDelegate(parent), fill_(std::move(fill)), align_(std::move(align)), selectedColour_(selectedColour) {}

QColor RuleGridDelegate::FillOf(int column, int row, bool selected) const {
  switch (fill_(column, row, selected)) {
    case CellFill::Selected: return QColor(QRgb(selectedColour_));
    case CellFill::Picked: return QColor(QRgb(kPickedFill));
    case CellFill::Heading:
    case CellFill::Normal: break;
  }
  return QColor(QRgb(kNormalFill));
}

void RuleGridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
  const int column = index.column();
  const int row = index.row() + 1;
  painter->save();
  painter->fillRect(option.rect, FillOf(column, row, (option.state & QStyle::State_Selected) != 0));
  const Qt::Alignment horizontal = align_(column, row) == CellAlign::Centre ? Qt::AlignHCenter : Qt::AlignLeft;
  painter->setFont(option.font);
  painter->setPen(Qt::black);
  painter->drawText(option.rect.adjusted(0, 0, -kRightMargin, 0), horizontal | Qt::AlignVCenter | Qt::TextSingleLine,
                    index.data(Qt::DisplayRole).toString());
  painter->restore();
}

ChoiceBox::ChoiceBox(const char* objectName, QWidget* parent) : QComboBox(parent) {
  setObjectName(objectName);
  setEditable(false);
  connect(this, &QComboBox::activated, this, [this] {
    closing_ = false;
    if (onCloseUp) onCloseUp();
  });
}

// The list closes before the chosen item becomes current: the close-up without a choice waits
// until the events of the closing click have run.
void ChoiceBox::hidePopup() {
  QComboBox::hidePopup();
  closing_ = true;
  QMetaObject::invokeMethod(
      this,
      [this] {
        if (!closing_) return;
        closing_ = false;
        if (onCloseUp) onCloseUp();
      },
      Qt::QueuedConnection);
}

}  // namespace zelor
