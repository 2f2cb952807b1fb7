#include "config/add_box_view.h"

#include "config/config_tab_texts.h"
#include "widgets/qt_fonts.h"

namespace zelor {

AddBoxView::AddBoxView(QWidget* parent) : QGroupBox(config_text::kAddBoxTitle, parent) {
  setObjectName("Add_Box");
  setAutoFillBackground(true);  // it covers the log memos
  const QFont buttonFont = fonts::Face(fonts::kSystemFontFamily, 11);
  constexpr int kColumns = 7;
  constexpr int kLeft = 10, kTop = 20, kWidth = 118, kHeight = 27, kGap = 1;
  for (std::size_t i = 0; i < config_text::kAddButtons.size(); ++i) {
    const auto& t = config_text::kAddButtons[i];
    auto* b = new QPushButton(t.caption, this);
    b->setObjectName(t.name);
    b->setToolTip(t.hint);
    b->setFont(buttonFont);
    const int row = static_cast<int>(i) / kColumns;
    const int col = static_cast<int>(i) % kColumns;
    b->setGeometry(kLeft + col * (kWidth + kGap), kTop + row * (kHeight + kGap), kWidth, kHeight);
    Buttons[i] = b;
  }
  hide();
}

}  // namespace zelor
