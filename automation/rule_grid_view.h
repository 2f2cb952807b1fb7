// The drawing of the automation tab's three grids (fill, then one line of text) and the code list
// EventBox, which reports when its list closes as the designed drop-down list did.
#pragma once
#include <QComboBox>
#include <QStyledItemDelegate>
#include <functional>

#include "automation/rule_editor.h"

namespace zelor {

class RuleGridDelegate : public QStyledItemDelegate {
 public:
  // `row` counts the heading row as 0, as the grids' own addressing does.
  using FillRule = std::function<CellFill(int column, int row, bool selected)>;
  using AlignRule = std::function<CellAlign(int column, int row)>;
  RuleGridDelegate(FillRule fill, AlignRule align, uint32_t selectedColour, QObject* parent);

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  // The fill a data cell gets, as a colour (tests read it).
  QColor FillOf(int column, int row, bool selected) const;

 private:
  FillRule fill_;
  AlignRule align_;
  uint32_t selectedColour_;
};

// A drop-down list without free text. `onCloseUp` runs when the list closes: after the chosen
// item became current, or with the current item unchanged when the list was closed without a choice.
class ChoiceBox : public QComboBox {
 public:
  ChoiceBox(const char* objectName, QWidget* parent);
  void hidePopup() override;
  std::function<void()> onCloseUp;

 private:
  bool closing_ = false;  // closed, and no choice has followed yet
};

}  // namespace zelor
