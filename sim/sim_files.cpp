#include "sim/sim_files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>

namespace zelor::sim {

namespace fs = std::filesystem;

namespace {

std::string SystemText(int error) { return std::strerror(error); }

std::string NotRegular(fs::file_type type) {
  switch (type) {
    case fs::file_type::fifo: return "it is a FIFO, not a regular file";
    case fs::file_type::socket: return "it is a socket, not a regular file";
    case fs::file_type::block: return "it is a block device, not a regular file";
    case fs::file_type::character: return "it is a character device, not a regular file";
    default: return "it is not a regular file";
  }
}

// Opens with fopen's mode and closes again; the system's reason when it cannot.
std::string TryOpen(const std::string& path, const char* mode) {
  errno = 0;
  std::FILE* file = std::fopen(path.c_str(), mode);
  if (file == nullptr) return SystemText(errno != 0 ? errno : EACCES);
  std::fclose(file);
  return {};
}

// The folder a new file would go in must exist and take a file.
std::string WhyFolderRefuses(const fs::path& file) {
  const fs::path folder = file.parent_path().empty() ? fs::path(".") : file.parent_path();
  std::error_code failed;
  const fs::file_status status = fs::status(folder, failed);
  if (failed) return "the folder " + folder.string() + ": " + failed.message();
  if (!fs::is_directory(status)) return "the folder " + folder.string() + ": " + SystemText(ENOTDIR);
  std::random_device random;
  const fs::path probe = folder / (".zelor-pui-sim-probe-" + std::to_string(random()));
  const std::string why = TryOpen(probe.string(), "wb");
  if (!why.empty()) return "the folder " + folder.string() + ": " + why;
  fs::remove(probe, failed);
  return {};
}

}  // namespace

std::string WhyNotReadable(const std::string& path) {
  std::error_code failed;
  const fs::file_status status = fs::status(path, failed);
  if (failed) return failed.message();
  if (fs::is_directory(status)) return SystemText(EISDIR);
  if (!fs::is_regular_file(status)) return NotRegular(status.type());
  return TryOpen(path, "rb");
}

std::string WhyNotWritable(const std::string& path, WriteKind kind) {
  std::error_code failed;
  const fs::file_status status = fs::status(path, failed);
  if (failed && failed != std::errc::no_such_file_or_directory) return failed.message();
  if (fs::exists(status)) {
    if (fs::is_directory(status)) return SystemText(EISDIR);
    const bool device = kind == WriteKind::Append && fs::is_character_file(status);
    if (!fs::is_regular_file(status) && !device) return NotRegular(status.type());
    // "ab" opens for writing without touching what the file holds.
    if (const std::string why = TryOpen(path, "ab"); !why.empty()) return why;
    if (kind != WriteKind::ByRename) return {};
  }
  return WhyFolderRefuses(fs::path(path));
}

std::string CheckSimFiles(const SimOptions& o) {
  if (!o.image.empty()) {
    if (const std::string why = WhyNotReadable(o.image); !why.empty()) return "--image " + o.image + ": " + why;
  }
  if (!o.log.empty() && o.log != "-") {
    if (const std::string why = WhyNotWritable(o.log, WriteKind::Append); !why.empty()) {
      return "--log " + o.log + ": " + why;
    }
  }
  if (!o.firmwareOut.empty()) {
    if (const std::string why = WhyNotWritable(o.firmwareOut, WriteKind::InPlace); !why.empty()) {
      return "--firmware-out " + o.firmwareOut + ": " + why;
    }
  }
  if (!o.configOut.empty()) {
    if (const std::string why = WhyNotWritable(o.configOut, WriteKind::ByRename); !why.empty()) {
      return "--config-out " + o.configOut + ": " + why;
    }
  }
  return {};
}

}  // namespace zelor::sim
