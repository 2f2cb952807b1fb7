// The archive text file: lines in cp1251, each ending with CR LF. They go to a working file
// beside the chosen one, which takes the chosen name when closed, so a download that fails to
// write never destroys a file that was there; and the lines read are never deleted: when they
// cannot take the chosen name they stay in the working file.
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
  ~ArchiveFile();  // an open file is closed as by Close()

  // Creates the working file for `path` (UTF-8): `<path>.part`, or `<path>.2.part` … when a file
  // of that name is there already (the lines of an earlier download kept there). False when it
  // cannot be created.
  bool Create(const std::string& path);
  bool IsOpen() const { return out_.is_open(); }
  // Converts the UTF-8 lines to cp1251, writes them with CR LF and flushes; false on any error.
  bool WriteLines(const std::vector<std::string>& utf8Lines);
  // Closes the file: it replaces the chosen one. False when that could not be done: the chosen
  // file keeps what it had and the lines stay in the working file (KeptPath()).
  bool Close();
  // Closes the file without putting it in place (a write failed): the lines written so far stay
  // in the working file.
  void Keep();

  const std::string& Path() const { return path_; }
  // The working file (UTF-8) when it is on the disk holding lines that did not take the chosen
  // name; empty otherwise.
  std::string KeptPath() const;

 private:
  std::string path_;
  std::filesystem::path target_;
  std::filesystem::path working_;
  std::ofstream out_;
  bool kept_ = false;
};

}  // namespace zelor
