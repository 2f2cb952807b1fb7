// How archive records are shown: the cells of a FileGrid row, the archive file's header and
// record lines, the proposed file name, and how FileGridDrawCell paints a cell.
#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "service/event_texts.h"

namespace zelor {

constexpr int kFileGridColumns = 7;
constexpr int kFileGridRecordRows = 15;  // rows 1..15 under the heading row

// Columns 0..6: number, source, state before, arrow, state after, time, date.
std::array<std::string, kFileGridColumns> FileGridRow(uint16_t recordNumber, const EventFields& event);

// The four lines that open the archive file (UTF-8; the file holds them in cp1251).
std::array<std::string, 4> ArchiveFileHeader(const std::string& longTime, const std::string& shortDate);
// One record line; only the low 16 bits of the line number are printed.
std::string ArchiveFileLine(int32_t lineNumber, const EventFields& event);

// "file_" + short date + ".txt". Characters a file name cannot hold (a short date such as
// "12/13/18" has path separators) become "-".
std::string ProposedArchiveFileName(const std::string& shortDate);

// FileGridDrawCell: the fill and the horizontal alignment of a cell. Fixed cells (the heading
// row and the number column) keep the fixed colour even in the selected row.
enum class CellFill { Plain, Fixed, Selected };
enum class CellAlign { Left, Centre };
struct CellLook {
  CellFill fill;
  CellAlign align;
};
CellLook FileGridCellLook(int column, int row, bool selected);

struct Rgb {
  uint8_t r, g, b;
};
constexpr Rgb kSelectedCellFill{182, 189, 210};
constexpr int kCellTextRightMargin = 2;  // pixels the text rectangle gives up on the right

}  // namespace zelor
