// A read-only log memo (TeMemo1, TeMemo2) as the link writes to it: lines, one text colour.
#pragma once
#include <QPlainTextEdit>
#include <functional>

#include "link/surfaces.h"

namespace zelor {

class LogMemoView : public QPlainTextEdit, public LogMemo {
  Q_OBJECT
 public:
  LogMemoView(const QString& objectName, QWidget* parent);

  void Clear() override;
  void AddLine(const std::string& line) override;
  void DeleteLastLine() override;
  void SetColor(MemoColor color) override;
  void SetVisible(bool visible) override { setVisible(visible); }

  MemoColor Color() const { return color_; }
  QStringList Lines() const;
  // TeMemo1MouseDown: a press hands the focus on (to the menu bar).
  std::function<void()> onMouseDown;

 protected:
  void mousePressEvent(QMouseEvent* event) override;

 private:
  MemoColor color_ = MemoColor::Navy;
};

}  // namespace zelor
