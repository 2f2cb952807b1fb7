// The "СТАТУС" tab (TeTabSheet1): the monitoring memo TeMemo3 and its start button TeButton2,
// bound to the live monitor.
#pragma once
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>

#include "service/monitor_view.h"

namespace zelor {

class LiveMonitor;

class StatusTab : public QWidget, public MonitorView {
  Q_OBJECT
 public:
  explicit StatusTab(QWidget* parent = nullptr);

  // Routes TeButton2's clicks to the monitor.
  void Connect(LiveMonitor& monitor);

  void ClearMemo() override;
  void SetMemoBlue() override;
  void AddLine(const std::string& line) override;
  std::string ButtonCaption() const override;
  void SetButtonCaption(const std::string& caption) override;

  QPlainTextEdit* TeMemo3;
  QPushButton* TeButton2;
};

}  // namespace zelor
