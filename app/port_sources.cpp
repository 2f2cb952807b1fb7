#include "app/port_sources.h"

#include <QSerialPortInfo>
#include <cerrno>
#include <cstring>
#include <fstream>

#include "app/app_texts.h"
#include "link/port_registry.h"

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

PortSources ProductionPortSources() {
  PortSources sources;
  sources.systemPorts = []() -> std::optional<std::vector<std::string>> {
    std::vector<std::string> names;
    for (const auto& reg : ListRegisteredPorts()) names.push_back(reg.name);
    for (const auto& info : QSerialPortInfo::availablePorts()) names.push_back(info.portName().toStdString());
    return names;
  };
  sources.readPortFile = [] { return ReadPortFile(app_text::kPortFileName, app_text::kPortFileMaxLines); };
  return sources;
}

}  // namespace zelor
