// A progress bar the link and the operations drive (TeProgressBar1).
#pragma once
#include <QProgressBar>

#include "link/surfaces.h"

namespace zelor {

class ProgressBarView : public QProgressBar, public ProgressBar {
  Q_OBJECT
 public:
  ProgressBarView(const QString& objectName, QWidget* parent) : QProgressBar(parent) {
    setObjectName(objectName);
    setTextVisible(false);
  }
  void SetVisible(bool visible) override { setVisible(visible); }
  void SetRange(int minimum, int maximum) override { setRange(minimum, maximum); }
  // QProgressBar paints itself at once on a visible step; the link's handlers call this between
  // a reply and the next pause, so the paint is left to the next turn of the event loop.
  void SetPosition(int position) override {
    setUpdatesEnabled(false);
    setValue(position);
    setUpdatesEnabled(true);  // and asks for that paint
  }
};

}  // namespace zelor
