// Add_Box: the strip of 21 device-type buttons of the configuration editor, over the log memos.
#pragma once
#include <QGroupBox>
#include <QPushButton>
#include <array>

namespace zelor {

class AddBoxView : public QGroupBox {
  Q_OBJECT
 public:
  explicit AddBoxView(QWidget* parent = nullptr);

  // In the order of the layout: row by row, left to right.
  std::array<QPushButton*, 21> Buttons{};
};

}  // namespace zelor
