#include "service/archive_lines.h"

#include "link/format.h"
#include "service/archive_texts.h"

namespace zelor {

std::array<std::string, kFileGridColumns> FileGridRow(uint16_t recordNumber, const EventFields& e) {
  return {FormatZeroPadded(recordNumber, 4),
          SourceCellText(e.source),
          "  " + StateTextBefore(e.before),
          archive_text::kArrow,
          "  " + StateAfterText(e.after, e.distance),
          EventTimeText(e),
          EventDateText(e)};
}

std::array<std::string, 4> ArchiveFileHeader(const std::string& longTime, const std::string& shortDate) {
  return {archive_text::kFileTitle + longTime + " " + shortDate, archive_text::kFileBlankLine,
          archive_text::kFileColumns, archive_text::kFileBlankLine};
}

std::string ArchiveFileLine(int32_t lineNumber, const EventFields& e) {
  // The state after always takes 19 characters: the 15-character distance form gets four
  // blanks, the 17-character state text two.
  const std::string after = StateAfterText(e.after, e.distance) + (ShowsFireDistance(e.after, e.distance) ? "    " : "  ");
  return FormatZeroPadded(static_cast<uint16_t>(lineNumber & 0xFFFF), 4) + "    " + SourceFieldText(e.source) +
         StateTextBefore(e.before) + archive_text::kLineArrow + after + EventTimeText(e) + "    " +
         EventDateText(e);
}

std::string ProposedArchiveFileName(const std::string& shortDate) {
  std::string date = shortDate;
  for (char& c : date) {
    switch (c) {
      case '/': case '\\': case ':': case '*': case '?': case '"': case '<': case '>': case '|':
        c = '-';
        break;
      default:
        break;
    }
  }
  return archive_text::kFileNamePrefix + date + archive_text::kFileNameSuffix;
}

CellLook FileGridCellLook(int column, int row, bool selected) {
  const bool fixed = row == 0 || column == 0;
  const CellFill fill = fixed ? CellFill::Fixed : selected ? CellFill::Selected : CellFill::Plain;
  const bool centred = row == 0 || column == 0 || column == 3 || column == 5 || column == 6;
  return {fill, centred ? CellAlign::Centre : CellAlign::Left};
}

}  // namespace zelor
