#include "app/log_memo_view.h"

#include <QTextBlock>
#include <QTextCursor>

namespace zelor {

LogMemoView::LogMemoView(const QString& objectName, QWidget* parent) : QPlainTextEdit(parent) {
  setObjectName(objectName);
  setReadOnly(true);
  setLineWrapMode(QPlainTextEdit::NoWrap);
  setUndoRedoEnabled(false);
  SetColor(MemoColor::Navy);
}

void LogMemoView::Clear() { clear(); }

void LogMemoView::AddLine(const std::string& line) { appendPlainText(QString::fromStdString(line)); }

void LogMemoView::DeleteLastLine() {
  QStringList lines = Lines();
  if (lines.isEmpty()) return;
  lines.removeLast();
  setPlainText(lines.join('\n'));
}

void LogMemoView::SetColor(MemoColor color) {
  color_ = color;
  QColor c;
  switch (color) {
    case MemoColor::Navy: c = QColor(0, 0, 128); break;
    case MemoColor::Red: c = QColor(255, 0, 0); break;
    case MemoColor::Blue: c = QColor(0, 0, 255); break;
  }
  QPalette p = palette();
  p.setColor(QPalette::Text, c);
  setPalette(p);
}

QStringList LogMemoView::Lines() const {
  if (document()->isEmpty()) return {};
  return toPlainText().split('\n');
}

void LogMemoView::mousePressEvent(QMouseEvent* event) {
  QPlainTextEdit::mousePressEvent(event);
  if (onMouseDown) onMouseDown();
}

}  // namespace zelor
