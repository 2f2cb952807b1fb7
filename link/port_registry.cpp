#include "link/port_registry.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "link/serial_port.h"

namespace fs = std::filesystem;

namespace zelor {

std::string PortRegistryDir() {
  if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime != nullptr && *runtime != '\0') {
    return std::string(runtime) + "/zelor-pui-ports";
  }
  return "/tmp/zelor-pui-ports-" + std::to_string(::getuid());
}

std::vector<RegisteredPort> ListRegisteredPorts(const std::string& dir) {
  std::vector<RegisteredPort> ports;
  std::error_code ec;
  // Stepping with an error code: a folder that changes underfoot must not throw.
  for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code e2;
    if (!it->is_symlink(e2) || !fs::exists(it->path(), e2)) continue;  // dangling: simulator gone
    ports.push_back({it->path().filename().string(), it->path().string()});
  }
  std::sort(ports.begin(), ports.end(), [](const auto& a, const auto& b) {
    return a.name.size() != b.name.size() ? a.name.size() < b.name.size() : a.name < b.name;
  });
  return ports;
}

PortRegistration::PortRegistration(const std::string& target, const std::string& dir) {
  std::error_code ec;
  fs::create_directories(dir, ec);
  for (int n = 1; n < 100; ++n) {
    const std::string name = "SIM" + std::to_string(n);
    const fs::path link = fs::path(dir) / name;
    if (fs::is_symlink(link, ec) && !fs::exists(link, ec)) fs::remove(link, ec);  // left by a crash
    fs::create_symlink(target, link, ec);
    if (!ec) {
      name_ = name;
      path_ = link.string();
      return;
    }
  }
  throw SerialPortError("cannot register " + target + " in " + dir);
}

PortRegistration::~PortRegistration() {
  std::error_code ec;
  if (!path_.empty()) fs::remove(path_, ec);
}

}  // namespace zelor
