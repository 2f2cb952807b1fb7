#include "qtcore/qt_port_sources.h"

#include <QSerialPortInfo>

#include "link/port_registry.h"
#include "link/port_texts.h"

namespace zelor {

PortSources ProductionPortSources() {
  PortSources sources;
  sources.systemPorts = []() -> std::optional<std::vector<std::string>> {
    std::vector<std::string> names;
    for (const auto& reg : ListRegisteredPorts()) names.push_back(reg.name);
    for (const auto& info : QSerialPortInfo::availablePorts()) names.push_back(info.portName().toStdString());
    return names;
  };
  sources.readPortFile = [] { return ReadPortFile(port_text::kPortFileName, port_text::kPortFileMaxLines); };
  return sources;
}

}  // namespace zelor
