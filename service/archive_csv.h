// The archive as a spreadsheet table: UTF-8, one column per field of a record, comma-separated
// with quotes where a field needs them.
#pragma once
#include <cstdint>
#include <string>

#include "service/event_texts.h"

namespace zelor {

// The heading row, line end included.
std::string ArchiveCsvHeading();
// One record's row, numbered as the archive file numbers it, line end included.
std::string ArchiveCsvRow(int32_t lineNumber, const EventFields& event);
// A field as CSV writes it: quoted (inner quotes doubled) when it holds a comma, a quote, a line end
// or blanks at either end.
std::string CsvField(const std::string& text);

}  // namespace zelor
