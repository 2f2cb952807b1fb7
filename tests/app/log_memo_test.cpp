// The log memo's line operations as the link uses them: the placeholder line replaced by the
// answer, colours, the edge cases of an empty or one-line memo, and the same lines whether or not
// the gathered lines have reached the document yet.
#include <gtest/gtest.h>

#include <QCoreApplication>

#include "app/log_memo_view.h"

namespace zelor::test {
namespace {

TEST(LogMemoView, DeleteLastLineRemovesOnlyTheLastLine) {
  struct Case {
    QStringList before;
    QStringList after;
  };
  const Case cases[] = {
      {{"TX: F7 03", "   RX: ...", ""}, {"TX: F7 03", "   RX: ..."}},  // an empty last line
      {{"TX: F7 03", "RX: ..."}, {"TX: F7 03"}},
      {{"only"}, {}},
      {{}, {}},
  };
  for (const bool flushedFirst : {false, true}) {
    for (const Case& c : cases) {
      LogMemoView memo("TeMemo1", nullptr);
      for (const QString& line : c.before) memo.AddLine(line.toStdString());
      if (flushedFirst) memo.Flush();
      memo.DeleteLastLine();
      EXPECT_EQ(memo.Lines(), c.after) << c.before.join('|').toStdString() << (flushedFirst ? " in the document" : "");
      memo.Flush();
      EXPECT_EQ(memo.Lines(), c.after) << c.before.join('|').toStdString();
      EXPECT_EQ(memo.toPlainText(), c.after.join('\n'));
    }
  }
}

TEST(LogMemoView, ALineAddedAfterADeleteFollowsTheRemainingLines) {
  const QStringList expected{"TX: F7 03 00 00", "TX: 00 01", "RX: F7 03 02", "   : ОК."};
  for (const bool flushedFirst : {false, true}) {
    LogMemoView memo("TeMemo1", nullptr);
    for (const char* line : {"TX: F7 03 00 00", "TX: 00 01", "   RX: ..."}) memo.AddLine(line);
    if (flushedFirst) memo.Flush();  // the request's lines are in the document when the answer comes
    memo.DeleteLastLine();
    memo.AddLine("RX: F7 03 02");
    memo.AddLine("   : ОК.");
    EXPECT_EQ(memo.Lines(), expected);
    memo.Flush();
    EXPECT_EQ(memo.toPlainText(), expected.join('\n'));
    // More deletes in one turn than the document has lines: it is empty, not more than empty.
    for (int i = 0; i < 5; ++i) memo.DeleteLastLine();
    EXPECT_TRUE(memo.Lines().isEmpty());
    memo.AddLine("   : ОК.");
    memo.Flush();
    EXPECT_EQ(memo.toPlainText(), "   : ОК.");
  }
}

// A request clears the memo and writes its lines: what the document shows after the event loop
// turned is exactly what Lines() said before.
TEST(LogMemoView, ClearAndLinesReachTheDocumentOnTheNextTurn) {
  LogMemoView memo("TeMemo1", nullptr);
  memo.AddLine("old");
  memo.Flush();
  memo.Clear();
  EXPECT_TRUE(memo.Lines().isEmpty());
  memo.DeleteLastLine();  // nothing left to delete
  memo.AddLine("TX: F7 03");
  memo.AddLine("   RX: ...");
  const QStringList expected{"TX: F7 03", "   RX: ..."};
  EXPECT_EQ(memo.Lines(), expected);
  EXPECT_EQ(memo.toPlainText(), "old") << "not laid out on the link's path";
  QCoreApplication::processEvents();
  EXPECT_EQ(memo.toPlainText(), expected.join('\n'));
  memo.Clear();
  QCoreApplication::processEvents();
  EXPECT_TRUE(memo.toPlainText().isEmpty());
  EXPECT_TRUE(memo.Lines().isEmpty());
}

TEST(LogMemoView, ColourChangesReachTheTextPalette) {
  LogMemoView memo("TeMemo1", nullptr);
  EXPECT_EQ(memo.palette().color(QPalette::Text), QColor(0, 0, 128));
  memo.SetColor(MemoColor::Red);
  memo.SetColor(MemoColor::Red);
  EXPECT_EQ(memo.Color(), MemoColor::Red);
  QCoreApplication::processEvents();
  EXPECT_EQ(memo.palette().color(QPalette::Text), QColor(255, 0, 0));
  EXPECT_EQ(memo.Color(), MemoColor::Red);
  memo.SetColor(MemoColor::Blue);
  memo.Flush();
  EXPECT_EQ(memo.palette().color(QPalette::Text), QColor(0, 0, 255));
}

}  // namespace
}  // namespace zelor::test
