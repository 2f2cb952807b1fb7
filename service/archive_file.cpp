#include "service/archive_file.h"

#include <system_error>

#include "model/cp1251.h"

namespace zelor {

namespace {
std::filesystem::path PathFromUtf8(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Utf8FromPath(const std::filesystem::path& path) {
  const std::u8string s = path.u8string();
  return std::string(s.begin(), s.end());
}

// Working files tried beside the chosen one before giving up.
constexpr int kWorkingNames = 100;
}  // namespace

ArchiveFile::~ArchiveFile() { Close(); }

bool ArchiveFile::Create(const std::string& path) {
  Close();
  path_ = path;
  kept_ = false;
  target_ = PathFromUtf8(path);
  for (int n = 1; n <= kWorkingNames; ++n) {
    working_ = target_;
    working_ += n == 1 ? std::string(".part") : "." + std::to_string(n) + ".part";
    std::error_code ec;  // a name that cannot be looked at is tried by opening it
    if (std::filesystem::exists(std::filesystem::symlink_status(working_, ec))) continue;
    out_.open(working_, std::ios::binary | std::ios::trunc);
    return out_.is_open();
  }
  return false;
}

bool ArchiveFile::WriteLines(const std::vector<std::string>& utf8Lines) {
  if (!out_.is_open()) return false;
  for (const auto& line : utf8Lines) {
    const std::string bytes = Cp1251FromUtf8(line).Bytes();
    out_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out_.write("\r\n", 2);
  }
  out_.flush();
  return static_cast<bool>(out_);
}

bool ArchiveFile::Close() {
  if (!out_.is_open()) return false;
  out_.flush();
  const bool written = static_cast<bool>(out_);
  out_.close();
  if (written && !out_.fail()) {
    std::error_code ec;
    std::filesystem::rename(working_, target_, ec);
    if (!ec) return true;
  }
  kept_ = true;
  return false;
}

void ArchiveFile::Keep() {
  if (!out_.is_open()) return;
  out_.close();
  kept_ = true;
}

std::string ArchiveFile::KeptPath() const {
  if (!kept_ || out_.is_open()) return {};
  std::error_code ec;
  if (!std::filesystem::is_regular_file(working_, ec)) return {};
  return Utf8FromPath(working_);
}

}  // namespace zelor
