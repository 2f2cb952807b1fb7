#include "service/archive_csv.h"

#include "link/format.h"

namespace zelor {

namespace {
// The source without the grid's " :" lead: "0012", "ПУЛЬТ", "П001".
std::string SourceField(uint16_t source) {
  std::string cell = SourceCellText(source);
  if (cell.rfind(" :", 0) == 0) cell.erase(0, 2);
  return TrimBlanks(cell);
}
}  // namespace

std::string CsvField(const std::string& text) {
  const bool quoted = text.find_first_of(",\"\r\n") != std::string::npos ||
                      (!text.empty() && (text.front() == ' ' || text.back() == ' '));
  if (!quoted) return text;
  std::string out = "\"";
  for (const char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

std::string ArchiveCsvHeading() { return "number,source,state_before,state_after,distance_m,time,date\r\n"; }

std::string ArchiveCsvRow(int32_t lineNumber, const EventFields& e) {
  const std::string distance = ShowsFireDistance(e.after, e.distance) ? std::to_string(e.distance) : "";
  const std::string fields[] = {std::to_string(lineNumber),        SourceField(e.source),
                                TrimBlanks(StateTextBefore(e.before)), TrimBlanks(StateTextAfter(e.after)),
                                distance,                           TrimBlanks(EventTimeText(e)),
                                TrimBlanks(EventDateText(e))};
  std::string row;
  for (const auto& f : fields) {
    if (!row.empty()) row += ',';
    row += CsvField(f);
  }
  return row + "\r\n";
}

}  // namespace zelor
