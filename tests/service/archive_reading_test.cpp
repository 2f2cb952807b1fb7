// The 15-newest read and the record count without a window: short replies, the count line,
// and how FileGridDrawCell paints each cell.
#include <gtest/gtest.h>

#include "archive_test_support.h"
#include "link/link_texts.h"
#include "link_fixture.h"
#include "service/archive_lines.h"
#include "service/archive_reading.h"

namespace zelor::test {
namespace {

using enum OperationMode;

class ArchiveReadingTest : public LinkFixture {
 protected:
  FakeArchiveView view;
  ArchiveReading reading{link, sequencer, view};
};

TEST_F(ArchiveReadingTest, ARecordReplyTooShortForARecordIsAskedAgain) {
  FillWithTestRecords(panel, 3);
  reading.File_ButtBClick();
  ASSERT_TRUE(clock.RunUntil([this] { return link.OperationMode == omLast15Record && !link.Timer_Rx->Enabled(); }, 5000));
  line.QueueFault(sim::Fault::NoReply);
  const auto sent = line.requests.size();
  ASSERT_TRUE(clock.RunUntil([&] { return line.requests.size() == sent + 1; }, 5000));
  line.Inject(2000, Sealed({247, 3, 12, 1, 2, 3, 4, 5, 6, 7}));  // a good CRC, seven of twelve bytes
  AwaitReceiveCycle();
  EXPECT_EQ(link.ArchiveAddress, 8192) << "the same record is asked again";
  EXPECT_EQ(link.ErrorCount, 0);
  EXPECT_EQ(reading.ArchiveRemaining, 3);
  EXPECT_TRUE(view.Cell(0, 3).empty()) << "nothing rendered from bytes the reply did not carry";
  ASSERT_TRUE(clock.RunUntil([this] { return link.OperationMode == omIdle && !link.Timer_Rx->Enabled(); }, 5000));
  for (int row = 1; row <= 3; ++row) {
    const auto cells = FileGridRow(static_cast<uint16_t>(3 - row), DecodeEvent(TestRecord(3 - row).data()));
    for (int c = 0; c < kFileGridColumns; ++c) EXPECT_EQ(view.Cell(c, row), cells[static_cast<std::size_t>(c)]);
  }
}

TEST_F(ArchiveReadingTest, RecordCountIsLoggedZeroPadded) {
  struct Case {
    uint16_t count;
    const char* line;
  };
  for (const Case c : {Case{0, "   : ЗАПИСЕЙ - 0000"}, Case{37, "   : ЗАПИСЕЙ - 0037"}, Case{1500, "   : ЗАПИСЕЙ - 1500"},
                       Case{65535, "   : ЗАПИСЕЙ - 65535"}}) {
    panel.SetRegister(reg::kRecordCount, c.count);
    reading.File_ButtCClick();
    AwaitReceiveCycle();
    ASSERT_GE(memo1.lines.size(), 3U);
    EXPECT_EQ(memo1.lines[memo1.lines.size() - 2], c.line);
    EXPECT_EQ(memo1.lines.back(), text::kOk);
    EXPECT_FALSE(line.IsOpen());
  }
}

TEST_F(ArchiveReadingTest, RecordCountWorksWhileMonitoringAndNotDuringAParameterOperation) {
  link.OperationMode = omConfigRead;
  reading.File_ButtCClick();
  EXPECT_TRUE(line.requests.empty());
  link.OperationMode = omMonitorPoll;
  reading.File_ButtCClick();
  ASSERT_EQ(line.requests.size(), 1U);
  EXPECT_EQ(line.requests[0][3], reg::kRecordCount);
}

TEST(FileGridCellLook, FillAndAlignmentByCell) {
  struct Case {
    int column, row;
    bool selected;
    CellFill fill;
    CellAlign align;
  };
  const Case cases[] = {
      {0, 0, false, CellFill::Fixed, CellAlign::Centre}, {1, 0, false, CellFill::Fixed, CellAlign::Centre},
      {4, 0, true, CellFill::Fixed, CellAlign::Centre},  {0, 5, true, CellFill::Fixed, CellAlign::Centre},
      {1, 5, false, CellFill::Plain, CellAlign::Left},    {2, 5, true, CellFill::Selected, CellAlign::Left},
      {3, 5, false, CellFill::Plain, CellAlign::Centre},  {4, 1, false, CellFill::Plain, CellAlign::Left},
      {5, 15, true, CellFill::Selected, CellAlign::Centre}, {6, 15, false, CellFill::Plain, CellAlign::Centre},
  };
  for (const auto& c : cases) {
    const CellLook look = FileGridCellLook(c.column, c.row, c.selected);
    EXPECT_EQ(look.fill, c.fill) << c.column << "," << c.row;
    EXPECT_EQ(look.align, c.align) << c.column << "," << c.row;
  }
}

TEST(FileGridRow, CellsOfOneRecord) {
  const auto r = sim::MakeRecord(1001, 4, 0, 150, {2019, 2, 3, 7, 5, 9});
  const auto cells = FileGridRow(85, DecodeEvent(r.data()));
  const std::array<std::string, 7> expected = {"0085", " :П001", "  НОРМА            ", "-->",
                                               "  ПОЖАР  L= 0150м", " 7:05:09", " 3.02.2019"};
  EXPECT_EQ(cells, expected);
  const auto far = FileGridRow(0, DecodeEvent(sim::MakeRecord(12, 255, 0, 2001, {2018, 12, 13, 14, 5, 7}).data()));
  EXPECT_EQ(far[1], " :0012");
  EXPECT_EQ(far[2], "                   ");
  EXPECT_EQ(far[4], "  ПОЖАР            ");
}

}  // namespace
}  // namespace zelor::test
