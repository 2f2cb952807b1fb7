// Where the port list comes from: the system's list (simulator pseudo-terminals first, then the
// serial devices Qt knows) and, failing that, the "comports.txt" file. Tests inject both.
#pragma once
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace zelor {

struct PortFileResult {
  bool ok = false;
  std::vector<std::string> lines;  // as typed, line ends removed
  std::string error;               // what went wrong when !ok
};

struct PortSources {
  // nullopt: the system's list cannot be read at all.
  std::function<std::optional<std::vector<std::string>>()> systemPorts;
  std::function<PortFileResult()> readPortFile;
};

// Up to maxLines lines of the file, without trimming anything but the line end.
PortFileResult ReadPortFile(const std::string& path, int maxLines);

// Registered simulator ports by name, then QSerialPortInfo's ports; the file in the current folder.
PortSources ProductionPortSources();

}  // namespace zelor
