// The archive text file: lines in cp1251, each ending with CR LF. They go to a working file
// beside the chosen one, which takes the chosen name when closed, so a download that fails to
// write never destroys a file that was there.
#pragma once
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace zelor {

class ArchiveFile {
 public:
  ArchiveFile() = default;
  ArchiveFile(const ArchiveFile&) = delete;
  ArchiveFile& operator=(const ArchiveFile&) = delete;
  ~ArchiveFile();  // an open file is abandoned

  // Creates the working file for `path` (UTF-8); false when it cannot be created.
  bool Create(const std::string& path);
  bool IsOpen() const { return out_.is_open(); }
  // Converts the UTF-8 lines to cp1251, writes them with CR LF and flushes; false on any error.
  bool WriteLines(const std::vector<std::string>& utf8Lines);
  // Closes the file: it replaces the chosen one. False when that could not be done (the chosen
  // file then keeps what it had).
  bool Close();
  // Closes and removes the working file; the chosen file keeps what it had.
  void Abandon();

  const std::string& Path() const { return path_; }

 private:
  std::string path_;
  std::filesystem::path target_;
  std::filesystem::path working_;
  std::ofstream out_;
};

}  // namespace zelor
