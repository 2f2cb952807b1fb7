#include "app/status_bar_view.h"

namespace zelor {

namespace {
struct PanelLayout {
  int width;
  Qt::Alignment alignment;
};
constexpr std::array<PanelLayout, 3> kPanels = {{{50, Qt::AlignCenter},
                                                 {100, Qt::AlignCenter},
                                                 {1105, Qt::AlignLeft | Qt::AlignVCenter}}};
}  // namespace

StatusBarView::StatusBarView(QWidget* parent) : QWidget(parent) {
  setObjectName("StatusBar1");
  int x = 0;
  for (std::size_t i = 0; i < kPanels.size(); ++i) {
    auto* label = new QLabel(this);
    label->setObjectName(QStringLiteral("StatusBar1_Panel%1").arg(i));
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    label->setAlignment(kPanels[i].alignment);
    label->setIndent(2);
    label->setGeometry(x, 2, kPanels[i].width, 19);
    x += kPanels[i].width + 2;
    panels_[i] = label;
  }
}

void StatusBarView::SetPanelText(int panel, const std::string& text) {
  if (panel < 0 || panel >= static_cast<int>(panels_.size())) return;
  panels_[static_cast<std::size_t>(panel)]->setText(QString::fromStdString(text));
}

QString StatusBarView::PanelText(int panel) const {
  if (panel < 0 || panel >= static_cast<int>(panels_.size())) return {};
  return panels_[static_cast<std::size_t>(panel)]->text();
}

}  // namespace zelor
