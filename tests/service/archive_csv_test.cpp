// The archive as a spreadsheet table: the fields of a record, one column each, and CSV quoting.
#include <gtest/gtest.h>

#include "service/archive_csv.h"

namespace zelor::test {
namespace {

EventFields Event(uint16_t source, uint8_t before, uint8_t after, uint16_t distance) {
  EventFields e;
  e.source = source;
  e.before = before;
  e.after = after;
  e.distance = distance;
  e.hour = 14, e.minute = 5, e.second = 7;
  e.day = 3, e.month = 2, e.year = 19;
  return e;
}

TEST(ArchiveCsv, HeadingNamesEveryColumn) {
  EXPECT_EQ(ArchiveCsvHeading(), "number,source,state_before,state_after,distance_m,time,date\r\n");
}

TEST(ArchiveCsv, OneColumnPerFieldOfARecord) {
  struct Case {
    EventFields event;
    const char* row;
  };
  const Case cases[] = {
      {Event(12, 4, 0, 150), "7,0012,НОРМА,ПОЖАР,150,14:05:07,3.02.2019\r\n"},   // a fire shows its distance
      {Event(1000, 4, 84, 0), "7,ПУЛЬТ,НОРМА,ВКЛЮЧЕНИЕ,,14:05:07,3.02.2019\r\n"},  // the panel itself
      {Event(1009, 4, 3, 99), "7,П009,НОРМА,НЕИСПРАВНОСТЬ,,14:05:07,3.02.2019\r\n"},  // no distance but for a fire
  };
  for (const auto& c : cases) EXPECT_EQ(ArchiveCsvRow(7, c.event), c.row);
}

TEST(ArchiveCsv, QuotesFieldsThatNeedIt) {
  const std::pair<const char*, const char*> cases[] = {
      {"plain", "plain"},         {"", ""},
      {"a,b", "\"a,b\""},         {"say \"hi\"", "\"say \"\"hi\"\"\""},
      {"two\nlines", "\"two\nlines\""}, {" lead", "\" lead\""},
      {"trail ", "\"trail \""},
  };
  for (const auto& [text, field] : cases) EXPECT_EQ(CsvField(text), field) << text;
}

}  // namespace
}  // namespace zelor::test
