#include "link/port_choice.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>

#include "link/port_texts.h"

namespace zelor {

PortFileResult ReadPortFile(const std::string& path, int maxLines) {
  PortFileResult result;
  errno = 0;
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    result.error = std::strerror(errno != 0 ? errno : ENOENT);
    return result;
  }
  std::string line;
  while (static_cast<int>(result.lines.size()) < maxLines && std::getline(file, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();  // a CR LF line end
    result.lines.push_back(line);
  }
  if (file.bad()) {
    result.lines.clear();
    result.error = std::strerror(errno != 0 ? errno : EIO);
    return result;
  }
  result.ok = true;
  return result;
}

std::optional<std::size_t> PreferredPort(const std::vector<std::string>& names, const std::string& current) {
  if (names.empty()) return std::nullopt;
  std::optional<std::size_t> com1;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (names[i] == current) return i;
    if (!com1 && names[i] == port_text::kDefaultPortName) com1 = i;
  }
  return com1 ? *com1 : 0;
}

namespace {

void ReportFileError(LogMemo& memo, bool afterAccessError, const std::string& why) {
  if (!afterAccessError) memo.Clear();
  memo.SetColor(MemoColor::Blue);
  memo.AddLine(port_text::kPortFileErrorPrefix + why + ".");
}

// True when the current port, not among `names`, stays chosen and is shown as absent.
bool KeptAbsent(const std::vector<std::string>& names, const std::string& currentPort, PortMenu& menu,
                AbsentPort absent) {
  if (absent != AbsentPort::Keep || currentPort.empty()) return false;
  if (std::find(names.begin(), names.end(), currentPort) != names.end()) return false;
  menu.ShowAbsent(currentPort);
  return true;
}

void ListFromFile(const PortSources& sources, const std::string& currentPort, PortMenu& menu, LogMemo& memo,
                  bool afterAccessError, AbsentPort absent) {
  PortFileResult file = sources.readPortFile ? sources.readPortFile() : PortFileResult{false, {}, "no file"};
  if (!file.ok) {
    ReportFileError(memo, afterAccessError, file.error);
    KeptAbsent({}, currentPort, menu, absent);
    return;
  }
  if (file.lines.size() > static_cast<std::size_t>(port_text::kPortFileMaxLines)) {
    file.lines.resize(port_text::kPortFileMaxLines);
  }
  menu.SetEntries(file.lines);
  // The file's names are the user's own list: a port it names is chosen as before; only an empty
  // file leaves nothing to choose, and the chosen port stays.
  if (file.lines.empty()) KeptAbsent(file.lines, currentPort, menu, absent);
  if (const auto chosen = PreferredPort(file.lines, currentPort)) {
    if (const std::optional<std::string> why = menu.Choose(*chosen)) {
      ReportFileError(memo, afterAccessError, *why);
      return;
    }
  }
  if (afterAccessError) memo.AddLine(port_text::kPortFileOk);
}

}  // namespace

void RefreshPorts(const PortSources& sources, const std::string& currentPort, PortMenu& menu, LogMemo& memo,
                  AbsentPort absent) {
  const std::optional<std::vector<std::string>> system =
      sources.systemPorts ? sources.systemPorts() : std::optional<std::vector<std::string>>{};
  if (system) {
    if (system->empty()) {
      menu.SetEntries({});
      ListFromFile(sources, currentPort, menu, memo, false, absent);
      return;
    }
    menu.SetEntries(*system);
    if (KeptAbsent(*system, currentPort, menu, absent)) return;
    menu.Choose(*PreferredPort(*system, currentPort));  // a failed reopen is ignored here
    return;
  }
  memo.Clear();
  memo.AddLine(port_text::kPortListAccessError);
  memo.AddLine(port_text::kPortListFromFile);
  menu.SetEntries({});
  ListFromFile(sources, currentPort, menu, memo, true, absent);
}

}  // namespace zelor
