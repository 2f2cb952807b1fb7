// StatusBar1: three panels (port, PC rate, device line) over a 21-pixel strip.
#pragma once
#include <QLabel>
#include <QWidget>
#include <array>
#include <functional>

#include "link/surfaces.h"

namespace zelor {

class StatusBarView : public QWidget, public StatusBar {
  Q_OBJECT
 public:
  explicit StatusBarView(QWidget* parent);

  void SetPanelText(int panel, const std::string& text) override;
  void UpdateStatusBar() override {
    if (onUpdate) onUpdate();
  }
  QString PanelText(int panel) const;
  QLabel* Panel(int panel) const { return panels_[static_cast<std::size_t>(panel)]; }

  // The window supplies the refresh: it knows the rate entries, the port and the link.
  std::function<void()> onUpdate;

 private:
  std::array<QLabel*, 3> panels_{};
};

}  // namespace zelor
