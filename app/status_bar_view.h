// StatusBar1: three panels (port, PC rate, device line) over a 21-pixel strip.
#pragma once
#include <QLabel>
#include <QWidget>
#include <array>

#include "link/surfaces.h"

namespace zelor {

class StatusBarView : public QWidget, public StatusBar {
  Q_OBJECT
 public:
  explicit StatusBarView(QWidget* parent);

  void SetPanelText(int panel, const std::string& text) override;
  QString PanelText(int panel) const;
  QLabel* Panel(int panel) const { return panels_[static_cast<std::size_t>(panel)]; }

 private:
  std::array<QLabel*, 3> panels_{};
};

}  // namespace zelor
