// The "СТАТУС" tab (TeTabSheet1): the monitoring memo TeMemo3 and its start button TeButton2.
#pragma once
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>

namespace zelor {

class StatusTab : public QWidget {
  Q_OBJECT
 public:
  explicit StatusTab(QWidget* parent = nullptr);

  QPlainTextEdit* TeMemo3;
  QPushButton* TeButton2;
};

}  // namespace zelor
