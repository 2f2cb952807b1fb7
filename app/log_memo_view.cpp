#include "app/log_memo_view.h"

#include <QScrollBar>
#include <QTextBlock>

#include <algorithm>
#include <QTextCursor>
#include <QTextDocument>

namespace zelor {

LogMemoView::LogMemoView(const QString& objectName, QWidget* parent) : QPlainTextEdit(parent) {
  setObjectName(objectName);
  setReadOnly(true);
  setLineWrapMode(QPlainTextEdit::NoWrap);
  setUndoRedoEnabled(false);
  ApplyColor();
  flush_.setSingleShot(true);
  flush_.setInterval(0);
  connect(&flush_, &QTimer::timeout, this, &LogMemoView::Flush);
}

void LogMemoView::Clear() {
  pending_.clear();
  clearPending_ = true;
  flush_.start();
}

void LogMemoView::AddLine(const std::string& line) {
  pending_.append(QString::fromStdString(line));
  flush_.start();
}

void LogMemoView::Flush() {
  flush_.stop();
  if (appliedColor_ != color_ || !colorApplied_) ApplyColor();
  if (clearPending_) {
    clearPending_ = false;
    dropLast_ = 0;
    ReplaceAll();
    return;
  }
  if (dropLast_ == 0) {
    if (!pending_.isEmpty()) appendPlainText(pending_.join('\n'));
    pending_.clear();
    return;
  }
  // The answer takes the place of the placeholder: one edit from the end of the last line that
  // stays, so the document lays out only what changed.
  QTextDocument* doc = document();
  const int keep = DocumentLineCount() - dropLast_;
  dropLast_ = 0;
  if (keep <= 0) {
    ReplaceAll();
    return;
  }
  QScrollBar* bar = verticalScrollBar();
  const bool atBottom = bar->value() == bar->maximum();
  QTextCursor cursor(doc->findBlockByNumber(keep - 1));
  cursor.movePosition(QTextCursor::EndOfBlock);
  cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
  cursor.insertText(pending_.isEmpty() ? QString() : '\n' + pending_.join('\n'));
  pending_.clear();
  if (atBottom) bar->setValue(bar->maximum());  // follows the newest line, as an append does
}

void LogMemoView::ReplaceAll() {
  if (pending_.isEmpty()) {
    clear();
  } else {
    setPlainText(pending_.join('\n'));
    moveCursor(QTextCursor::End);  // shown from its newest line, as appended lines are
  }
  pending_.clear();
}

int LogMemoView::DocumentLineCount() const { return document()->isEmpty() ? 0 : document()->blockCount(); }

// Every answer replaces the placeholder line: it goes with the answer's lines in one edit.
void LogMemoView::DeleteLastLine() {
  if (!pending_.isEmpty()) {
    pending_.removeLast();
  } else if (!clearPending_ && dropLast_ < DocumentLineCount()) {
    ++dropLast_;
    flush_.start();
  }
}

void LogMemoView::SetColor(MemoColor color) {
  color_ = color;
  flush_.start();
}

// A new palette repaints the memo and its children: once a turn at most, and only on a change.
void LogMemoView::ApplyColor() {
  colorApplied_ = true;
  appliedColor_ = color_;
  QColor c;
  switch (color_) {
    case MemoColor::Navy: c = QColor(0, 0, 128); break;
    case MemoColor::Red: c = QColor(255, 0, 0); break;
    case MemoColor::Blue: c = QColor(0, 0, 255); break;
  }
  QPalette p = palette();
  p.setColor(QPalette::Text, c);
  setPalette(p);
}

QStringList LogMemoView::DocumentLines() const {
  if (document()->isEmpty()) return {};
  return toPlainText().split('\n');
}

QStringList LogMemoView::Lines() const {
  if (clearPending_) return pending_;
  QStringList lines = DocumentLines();
  lines.resize(std::max<qsizetype>(0, lines.size() - dropLast_));
  return lines + pending_;
}

void LogMemoView::mousePressEvent(QMouseEvent* event) {
  QPlainTextEdit::mousePressEvent(event);
  if (onMouseDown) onMouseDown();
}

}  // namespace zelor
