// The "АРХИВ" tab in the real window, on the virtual clock against the in-process panel.
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QHeaderView>
#include <QPushButton>
#include <QTemporaryDir>
#include <iostream>

#include "app/window_fixture.h"
#include "archive_test_support.h"
#include "link/link_texts.h"
#include "service/archive_download.h"
#include "service/archive_lines.h"
#include "service/archive_reading.h"
#include "service/archive_tab.h"
#include "service/archive_tab_view.h"
#include "qtcore/qt_pc_time.h"
#include "service/archive_texts.h"
#include "service/service_tab_texts.h"

namespace zelor::test {
namespace {

using enum OperationMode;

class ArchiveTabViewTest : public WindowTest {
 protected:
  void SetUp() override {
    CreateAndShow();
    tab = form->TeTabSheet2;
    form->TePageControl1->setCurrentWidget(tab);
  }
  bool RunToIdle(int64_t maxMs = 20000) {
    return clock->RunUntil(
        [this] { return form->link().OperationMode == omIdle && !form->link().Timer_Rx->Enabled(); }, maxMs);
  }
  std::string Cell(int column, int row) const { return tab->FileGrid->Cell(column, row).toStdString(); }
  // Row `row` shows test record `index` numbered `number`.
  void ExpectRow(int row, int index, int number) {
    const auto cells = FileGridRow(static_cast<uint16_t>(number), DecodeEvent(TestRecord(index).data()));
    for (int c = 0; c < kFileGridColumns; ++c) {
      EXPECT_EQ(Cell(c, row), cells[static_cast<std::size_t>(c)]) << "row " << row << " column " << c;
    }
  }
  void ExpectEmptyRow(int row) {
    for (int c = 0; c < kFileGridColumns; ++c) EXPECT_EQ(Cell(c, row), "") << "row " << row << " column " << c;
  }
  std::vector<uint16_t> RecordReads() const {
    std::vector<uint16_t> starts;
    for (const auto& r : line->requests) {
      const auto start = static_cast<uint16_t>(r[2] << 8 | r[3]);
      if (start >= reg::kArchiveFirst && start <= reg::kArchiveLast) starts.push_back(start);
    }
    return starts;
  }
  static std::vector<uint16_t> Range(uint16_t first, uint16_t last) {
    std::vector<uint16_t> v;
    for (uint32_t a = first; a <= last; ++a) v.push_back(static_cast<uint16_t>(a));
    return v;
  }
  void ExpectRestored() {
    EXPECT_EQ(tab->File_ButtB->text().toStdString(), service_text::kLast15);
    EXPECT_TRUE(tab->File_ButtA->isEnabled());
    EXPECT_TRUE(tab->File_ButtC->isEnabled());
    EXPECT_FALSE(tab->TeProgressBar2->isVisible());
    EXPECT_FALSE(form->TeMemo2->isVisible());
    EXPECT_TRUE(form->TeMemo1->isVisible());
    EXPECT_EQ(form->archiveReading().Last15Active, 0);
    EXPECT_EQ(form->link().OperationMode, omIdle);
    EXPECT_FALSE(line->IsOpen());
  }
  QStringList Memo1() const { return form->TeMemo1->Lines(); }

  ArchiveTab* tab = nullptr;
};

TEST_F(ArchiveTabViewTest, NineRecordsFillRowsNineToOne) {
  FillWithTestRecords(panel, 9);  // newest 8200, oldest 8192
  tab->File_ButtB->click();
  EXPECT_EQ(tab->File_ButtB->text().toStdString(), archive_text::kStopDownload);
  EXPECT_FALSE(tab->File_ButtA->isEnabled());
  EXPECT_FALSE(tab->File_ButtC->isEnabled());
  EXPECT_TRUE(tab->TeProgressBar2->isVisible());
  EXPECT_EQ(tab->TeProgressBar2->maximum(), 15);
  EXPECT_TRUE(form->TeMemo2->isVisible());
  EXPECT_FALSE(form->TeMemo1->isVisible());
  EXPECT_EQ(form->TeMemo2->Lines(), QStringList{text::kArchiveReading});
  EXPECT_EQ(Cell(0, 1), "") << "the start empties the rows, the \"x\" included";
  ASSERT_TRUE(RunToIdle());
  EXPECT_EQ(RecordReads(), Range(8192, 8200));
  for (int row = 1; row <= 9; ++row) ExpectRow(row, 9 - row, 9 - row);
  for (int row = 10; row <= 15; ++row) ExpectEmptyRow(row);
  EXPECT_EQ(Memo1().front().toStdString(), text::kArchiveReading);
  EXPECT_EQ(Memo1().back().toStdString(), text::kOk);
  ExpectRestored();
}

TEST_F(ArchiveTabViewTest, WrappedRingShowsTheRingsEndThenItsStart) {
  FillWithTestRecords(panel, 1500 + 4);  // newest 8195, oldest 8196
  ASSERT_EQ(panel.archive().Newest(), 8195);
  ASSERT_EQ(panel.archive().Oldest(), 8196);
  tab->File_ButtB->click();
  ASSERT_TRUE(RunToIdle());
  std::vector<uint16_t> expected = Range(9681, 9691);
  for (uint16_t a : Range(8192, 8195)) expected.push_back(a);
  EXPECT_EQ(RecordReads(), expected);
  // Record 1503 (at 8195) is the newest; register 6 says 1500, so the numbers run 1485..1499.
  for (int row = 1; row <= 15; ++row) ExpectRow(row, 1503 - (row - 1), 1499 - (row - 1));
  ExpectRestored();
}

TEST_F(ArchiveTabViewTest, OnlyTheFifteenNewestAreRead) {
  FillWithTestRecords(panel, 109);  // newest 8300, oldest 8192
  tab->File_ButtB->click();
  ASSERT_TRUE(RunToIdle());
  EXPECT_EQ(RecordReads(), Range(8286, 8300));
  for (int row = 1; row <= 15; ++row) ExpectRow(row, 108 - (row - 1), 108 - (row - 1));
  EXPECT_EQ(Cell(0, 15), "0094");
  EXPECT_EQ(Cell(0, 1), "0108");
}

TEST_F(ArchiveTabViewTest, RecordNumbersFollowRegisterSix) {
  struct Case {
    int records;
    const char* lowest;   // row 15
    const char* highest;  // row 1
  };
  for (const Case c : {Case{15, "0000", "0014"}, Case{16, "0001", "0015"}}) {
    FillWithTestRecords(panel, c.records);
    tab->File_ButtB->click();
    ASSERT_TRUE(RunToIdle());
    EXPECT_EQ(Cell(0, 15), c.lowest);
    EXPECT_EQ(Cell(0, 1), c.highest);
    ExpectRow(15, c.records - 15, c.records - 15);
  }
}

TEST_F(ArchiveTabViewTest, StopKeepsTheRowsAlreadyShown) {
  FillWithTestRecords(panel, 100);
  tab->File_ButtB->click();
  ASSERT_TRUE(clock->RunUntil([this] { return form->archiveReading().ArchiveRemaining == 10; }, 5000));
  tab->File_ButtB->click();  // a reply may be pending: the stop then waits for it
  ASSERT_TRUE(RunToIdle());
  clock->AdvanceMs(1000);
  const auto sent = line->requests.size();
  clock->AdvanceMs(2000);
  EXPECT_EQ(line->requests.size(), sent);
  const int left = form->archiveReading().ArchiveRemaining;
  EXPECT_LE(left, 10);
  EXPECT_GT(left, 0);
  for (int row = 15; row > left; --row) ExpectRow(row, 99 - (row - 1), 99 - (row - 1));
  for (int row = left; row >= 1; --row) ExpectEmptyRow(row);
  EXPECT_EQ(Memo1(), QStringList{archive_text::kStopped});
  ExpectRestored();
}

TEST_F(ArchiveTabViewTest, TheTwentyFirstConsecutiveFailureAbandons) {
  FillWithTestRecords(panel, 100);
  tab->File_ButtB->click();
  ASSERT_TRUE(clock->RunUntil([this] { return form->archiveReading().ArchiveRemaining == 12; }, 5000));
  line->defaultFault = sim::MakeFault(sim::Fault::NoReply);
  ASSERT_TRUE(clock->RunUntil(
      [this] { return form->link().ErrorCount == 20 && !form->link().Timer_Rx->Enabled(); }, 20000));
  EXPECT_EQ(form->archiveReading().Last15Active, 1) << "twenty failures keep the read going";
  EXPECT_EQ(Panel(2), "ЧТЕНИЕ АРХИВА : ОШИБКИ -> 20");
  EXPECT_EQ(tab->File_ButtB->text().toStdString(), archive_text::kStopDownload);
  ASSERT_TRUE(RunToIdle());
  EXPECT_EQ(Memo1(), (QStringList{text::kArchiveReading, text::kNoPanelAnswer}));
  EXPECT_EQ(Panel(2).rfind("DEVICE", 0), 0U);
  for (int row = 15; row > 12; --row) ExpectRow(row, 99 - (row - 1), 99 - (row - 1));
  ExpectEmptyRow(12);
  ExpectRestored();
}

TEST_F(ArchiveTabViewTest, RecordCountButtonLogsTheCount) {
  FillWithTestRecords(panel, 37);
  tab->File_ButtC->click();
  clock->RunUntil([this] { return !form->link().Timer_Rx->Enabled(); }, 5000);
  EXPECT_EQ(Memo1(), (QStringList{"TX : F7 03 00 06 00 01 70 9D ", "RX : F7 03 02 00 25 B1 8A ",
                                  "   : ЗАПИСЕЙ - 0037", text::kOk}));
}

TEST_F(ArchiveTabViewTest, DownloadThroughTheSaveDialog) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  FillWithTestRecords(panel, 20);  // newest 8211, oldest 8192
  QString askedFolder, askedName;
  const QString chosen = dir.filePath("archive.txt");
  form->archiveView().saveDialog = [&](const QString& folder, const QString& name) -> std::optional<QString> {
    askedFolder = folder;
    askedName = name;
    return chosen;
  };
  tab->File_ButtA->click();
  EXPECT_EQ(askedFolder, QCoreApplication::applicationDirPath());
  EXPECT_TRUE(askedName.startsWith("file_"));
  EXPECT_TRUE(askedName.endsWith(".txt"));
  EXPECT_FALSE(askedName.contains('/'));
  EXPECT_EQ(tab->File_ButtA->text().toStdString(), archive_text::kStopDownload);
  EXPECT_FALSE(tab->File_ButtB->isEnabled());
  ASSERT_TRUE(RunToIdle());
  QFile file(chosen);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QList<QByteArray> lines = file.readAll().split('\n');
  ASSERT_EQ(lines.size(), 4 + 20 + 1);  // the last CR LF leaves an empty piece
  EXPECT_TRUE(lines[0].startsWith("\xC0\xD0\xD5\xC8\xC2 "));  // "АРХИВ " in cp1251
  for (const auto& l : lines.mid(0, 24)) EXPECT_TRUE(l.endsWith('\r'));
  EXPECT_TRUE(lines[4].startsWith("0001    "));
  EXPECT_TRUE(lines[23].startsWith("0020    "));
  EXPECT_EQ(tab->File_ButtA->text().toStdString(), service_text::kDownloadToFile);
  EXPECT_TRUE(tab->File_ButtB->isEnabled());
  EXPECT_TRUE(tab->File_ButtC->isEnabled());
  EXPECT_FALSE(tab->TeProgressBar2->isVisible());
}

// Closing the window while a download runs keeps the lines read, as a stop does.
TEST_F(ArchiveTabViewTest, ClosingTheWindowMidDownloadKeepsTheLinesRead) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  FillWithTestRecords(panel, 200);
  const QString chosen = dir.filePath("archive.txt");
  form->archiveView().saveDialog = [&](const QString&, const QString&) -> std::optional<QString> { return chosen; };
  tab->File_ButtA->click();
  ASSERT_TRUE(clock->RunUntil(
      [this] { return form->link().ArchiveAddress >= 8192 + 60 && !form->link().Timer_Rx->Enabled(); }, 20000));
  ASSERT_EQ(form->archiveDownload().DownloadActive, 1);
  form.reset();
  QFile file(chosen);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QList<QByteArray> lines = file.readAll().split('\n');
  ASSERT_GE(lines.size(), 4 + 60 + 1);
  EXPECT_TRUE(lines[4].startsWith("0001    "));
  EXPECT_TRUE(lines[63].startsWith("0060    "));
  EXPECT_FALSE(QFile::exists(chosen + ".part"));
}

// Every cell's text fits its column (less the grid line and the painter's right margin) in the
// grid's face: erased records (all 0xFF, written in full as "255:255:255" and "ЗАПИСЬ
// ПОВРЕЖДЕНА") read from the panel, and every state code, source class and distance form.
TEST_F(ArchiveTabViewTest, EveryCellsTextFitsItsColumn) {
  panel.archive().Clear();
  for (int i = 0; i < 10; ++i) panel.archive().Append(TestRecord(i * 37));
  panel.archive().Append(sim::MakeRecord(511, 4, 0, 2000, CivilTime{2030, 12, 28, 23, 59, 59}));
  for (int i = 0; i < 4; ++i) panel.archive().Append(sim::ErasedRecord());
  tab->File_ButtB->click();
  ASSERT_TRUE(RunToIdle());
  const QFontMetrics metrics(tab->FileGrid->font());
  const auto room = [this](int column) {
    return tab->FileGrid->ColWidth(column) - StringGrid::kGridLineWidth - kCellTextRightMargin;
  };
  ASSERT_EQ(Cell(5, 1), "255:255:255");
  for (int row = 1; row <= kFileGridRecordRows; ++row) {
    for (int c = 0; c < kFileGridColumns; ++c) {
      const QString text = tab->FileGrid->Cell(c, row);
      EXPECT_FALSE(text.isEmpty()) << "row " << row << " column " << c;
      EXPECT_LE(metrics.horizontalAdvance(text), room(c))
          << "row " << row << " column " << c << " \"" << text.toStdString() << "\"";
    }
  }
  // The texts no read above happened to show: every code, the widest sources and distances.
  std::vector<EventFields> events;
  for (int code = 0; code < 256; ++code) {
    for (uint16_t source : {uint16_t{511}, uint16_t{1000}, uint16_t{1247}, uint16_t{0xFFFF}}) {
      EventFields e = DecodeEvent(sim::ErasedRecord().data());
      e.source = source;
      e.before = static_cast<uint8_t>(code);
      e.after = static_cast<uint8_t>(code);
      e.distance = code == 0 ? 2000 : 0xFFFF;
      events.push_back(e);
    }
  }
  for (const auto& e : events) {
    const auto cells = FileGridRow(9999, e);
    for (int c = 0; c < kFileGridColumns; ++c) {
      const QString text = QString::fromStdString(cells[static_cast<std::size_t>(c)]);
      EXPECT_LE(metrics.horizontalAdvance(text), room(c)) << "column " << c << " \"" << text.toStdString() << "\"";
    }
  }
}

TEST_F(ArchiveTabViewTest, CancelledSaveDialogChangesNothing) {
  form->archiveView().saveDialog = [](const QString&, const QString&) { return std::optional<QString>(); };
  const QStringList memo = Memo1();
  tab->File_ButtA->click();
  clock->AdvanceMs(1000);
  EXPECT_TRUE(line->requests.empty());
  EXPECT_EQ(Memo1(), memo);
  EXPECT_EQ(tab->File_ButtA->text().toStdString(), service_text::kDownloadToFile);
  EXPECT_TRUE(tab->File_ButtB->isEnabled());
  EXPECT_EQ(form->link().OperationMode, omIdle);
}

TEST(PcArchiveDateTexts, TheSystemFormatsWithoutATimeZone) {
  const PcDateTexts now = PcArchiveDateTexts();
  std::cout << "long time \"" << now.longTime << "\", short date \"" << now.shortDate << "\"\n";
  EXPECT_FALSE(now.longTime.empty());
  EXPECT_FALSE(now.shortDate.empty());
  EXPECT_EQ(now.longTime.find("UTC"), std::string::npos);
  EXPECT_EQ(QString::fromStdString(now.longTime).count(':'), 2) << "hours, minutes and seconds";
  EXPECT_EQ(ProposedArchiveFileName(now.shortDate).find('/'), std::string::npos);
}

TEST_F(ArchiveTabViewTest, FilledGridPicture) {
  FillWithTestRecords(panel, 40);
  panel.AddEvent(sim::MakeRecord(12, 4, 0, 150, {2018, 12, 13, 14, 5, 7}));
  panel.AddEvent(sim::ErasedRecord());
  tab->File_ButtB->click();
  ASSERT_TRUE(RunToIdle());
  tab->FileGrid->selectRow(2);  // data row 3
  EXPECT_EQ(Cell(4, 2), "  ПОЖАР  L= 0150м");
  EXPECT_EQ(Cell(2, 1), "                   ");
  EXPECT_EQ(tab->FileGrid->horizontalHeader()->defaultAlignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
  // The painted fills, sampled in a corner of each cell where no text is drawn.
  const QImage image = tab->FileGrid->viewport()->grab().toImage();
  auto fillAt = [&](int column, int dataRow) {
    const QRect r = tab->FileGrid->visualRect(tab->FileGrid->model()->index(dataRow, column));
    return image.pixelColor(r.topLeft() + QPoint(2, 2));
  };
  const QColor fixed = tab->FileGrid->palette().color(QPalette::Button);
  EXPECT_EQ(fillAt(1, 2), QColor(182, 189, 210)) << "the selected row";
  EXPECT_EQ(fillAt(6, 2), QColor(182, 189, 210));
  EXPECT_EQ(fillAt(0, 2), fixed) << "the number column keeps the fixed colour";
  EXPECT_EQ(fillAt(0, 5), fixed);
  EXPECT_EQ(fillAt(2, 5), QColor(Qt::white));
  EXPECT_NE(fixed, QColor(Qt::white));
  if (const QString dir = qEnvironmentVariable("ZELOR_SCREENSHOT_DIR"); !dir.isEmpty()) {
    form->grab().save(dir + "/archive_filled.png");
  }
}

}  // namespace
}  // namespace zelor::test
