// The port choice: which ports the Port menu lists (the system's list, or the "comports.txt"
// file when that list is empty or unreadable), which one is chosen, and what the log says.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "link/surfaces.h"

namespace zelor {

struct PortFileResult {
  bool ok = false;
  std::vector<std::string> lines;  // as typed, line ends removed
  std::string error;               // what went wrong when !ok
};

// Up to maxLines lines of the file, without trimming anything but the line end.
PortFileResult ReadPortFile(const std::string& path, int maxLines);

struct PortSources {
  // nullopt: the system's list cannot be read at all.
  std::function<std::optional<std::vector<std::string>>()> systemPorts;
  std::function<PortFileResult()> readPortFile;
};

// The Port menu as the choice sees it.
class PortMenu {
 public:
  virtual ~PortMenu() = default;
  // Replaces the entries by these names, none checked.
  virtual void SetEntries(const std::vector<std::string>& names) = 0;
  // Checks entry `index` alone and makes its name the port's; the port's error text when an
  // open port cannot be reopened under the new name.
  virtual std::optional<std::string> Choose(std::size_t index) = 0;
  // Adds a checked entry for the chosen port, which the system does not list now (an adapter
  // pulled out, a simulator stopped); the port keeps its name.
  virtual void ShowAbsent(const std::string& /*name*/) {}
};

// What the system's list does to a chosen port that it no longer holds.
enum class AbsentPort : uint8_t {
  FallBack,  // nothing chosen yet: COM1 or the first entry
  Keep,      // the port stays chosen, shown as absent, and is used again when it returns
};

// The current port if listed, else "COM1" if listed, else the first entry; nothing for no entries.
std::optional<std::size_t> PreferredPort(const std::vector<std::string>& names, const std::string& current);

// Lists the ports into `menu` and chooses one. A failed reopen after the system's list is
// ignored; after the file's list it is logged as a file error, without the closing OK line.
// With AbsentPort::Keep a current port missing from the system's list stays chosen.
void RefreshPorts(const PortSources& sources, const std::string& currentPort, PortMenu& menu, LogMemo& memo,
                  AbsentPort absent = AbsentPort::FallBack);

}  // namespace zelor
