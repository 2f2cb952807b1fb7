#include "service/archive_file.h"

#include <system_error>

#include "model/cp1251.h"

namespace zelor {

namespace {
std::filesystem::path PathFromUtf8(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}
}  // namespace

ArchiveFile::~ArchiveFile() { Abandon(); }

bool ArchiveFile::Create(const std::string& path) {
  Abandon();
  path_ = path;
  target_ = PathFromUtf8(path);
  working_ = target_;
  working_ += ".part";
  out_.open(working_, std::ios::binary | std::ios::trunc);
  return out_.is_open();
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
  std::error_code ec;
  if (written && !out_.fail()) {
    std::filesystem::rename(working_, target_, ec);
    if (!ec) return true;
  }
  std::filesystem::remove(working_, ec);
  return false;
}

void ArchiveFile::Abandon() {
  if (!out_.is_open()) return;
  out_.close();
  std::error_code ec;
  std::filesystem::remove(working_, ec);
}

}  // namespace zelor
