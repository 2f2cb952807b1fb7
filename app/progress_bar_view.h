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
  void SetPosition(int position) override { setValue(position); }
};

}  // namespace zelor
