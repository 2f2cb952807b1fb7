// The parts of the simulator port registry that are the same on every system.
#include "link/port_registry.h"

#include <filesystem>

namespace zelor {

std::string PortLockPathFor(const std::string& linkPath) {
  const std::filesystem::path link(linkPath);
  return (link.parent_path() / ("." + link.filename().string() + ".lock")).string();
}

bool RegisteredNameLess(const std::string& a, const std::string& b) {
  return a.size() != b.size() ? a.size() < b.size() : a < b;
}

}  // namespace zelor
