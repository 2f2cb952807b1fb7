// Paths that are not plain readable files, for the tests that open what a user may choose: a
// FIFO that cannot block its reader, a file without read permission, a path through a file.
#pragma once
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace zelor::test {

inline bool WriteBytesTo(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

// A FIFO whose both ends this object holds, with `bytes` already in it: a program that opens it
// and reads finds a writer and data, so a regression that reads FIFOs shows as a wrong result
// instead of hanging the test.
class HeldFifo {
 public:
  HeldFifo(const std::string& path, const std::vector<uint8_t>& bytes) {
    if (mkfifo(path.c_str(), 0600) != 0) return;
    fd_ = ::open(path.c_str(), O_RDWR | O_NONBLOCK);
    if (fd_ >= 0 && !bytes.empty()) written_ = ::write(fd_, bytes.data(), bytes.size());
  }
  ~HeldFifo() {
    if (fd_ >= 0) ::close(fd_);
  }
  HeldFifo(const HeldFifo&) = delete;
  HeldFifo& operator=(const HeldFifo&) = delete;
  bool ok(std::size_t wanted) const { return fd_ >= 0 && written_ == static_cast<ssize_t>(wanted); }

 private:
  int fd_ = -1;
  ssize_t written_ = 0;
};

// Takes every permission from the file; false when this user reads it all the same (root).
inline bool MakeUnreadable(const std::string& path) {
  if (::chmod(path.c_str(), 0) != 0) return false;
  const int fd = ::open(path.c_str(), O_RDONLY);
  if (fd < 0) return true;
  ::close(fd);
  return false;
}

// A sparse file of `size` bytes: its size is real, its blocks are not.
inline bool MakeSparse(const std::string& path, std::uintmax_t size) {
  { std::ofstream create(path, std::ios::binary | std::ios::trunc); }
  std::error_code failed;
  std::filesystem::resize_file(path, size, failed);
  return !failed;
}

}  // namespace zelor::test
