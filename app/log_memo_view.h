// A read-only log memo (TeMemo1, TeMemo2) as the link writes to it: lines, one text colour.
#pragma once
#include <QPlainTextEdit>
#include <QStringList>
#include <QTimer>
#include <functional>

#include "link/surfaces.h"

namespace zelor {

// The link writes a request's and an answer's lines from its timers, and its next pause starts
// only when it is done: the lines are gathered and put into the document in one edit once the
// event loop is free again (before anything is painted), not laid out one by one on that path.
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
  // The lines as they read now, those not yet in the document included.
  QStringList Lines() const;
  // Puts the gathered lines into the document at once.
  void Flush();
  // TeMemo1MouseDown: a press hands the focus on (to the menu bar).
  std::function<void()> onMouseDown;

 protected:
  void mousePressEvent(QMouseEvent* event) override;

 private:
  QStringList DocumentLines() const;
  int DocumentLineCount() const;
  void ReplaceAll();
  void ApplyColor();

  MemoColor color_ = MemoColor::Navy;
  MemoColor appliedColor_ = MemoColor::Navy;
  bool colorApplied_ = false;
  int dropLast_ = 0;  // lines at the document's end that go before `pending_` is added
  bool clearPending_ = false;  // the document is to be emptied before `pending_` goes in
  QStringList pending_;
  QTimer flush_;
};

}  // namespace zelor
