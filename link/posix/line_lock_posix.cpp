// The line lock on POSIX systems: flock(2) on a file named after the device's identity (a
// character device by its device number, anything else by its file system and inode).
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <utility>

#include "link/line_lock.h"

namespace zelor {

namespace {

std::string LockNameFor(const struct stat& device) {
  if (S_ISCHR(device.st_mode)) {
    return ".line-c" + std::to_string(major(device.st_rdev)) + "-" + std::to_string(minor(device.st_rdev)) + ".lock";
  }
  return ".line-i" + std::to_string(device.st_dev) + "-" + std::to_string(device.st_ino) + ".lock";
}

bool SameFile(int fd, const std::string& path) {
  struct stat byFd{};
  struct stat byPath{};
  return fstat(fd, &byFd) == 0 && ::stat(path.c_str(), &byPath) == 0 && byFd.st_dev == byPath.st_dev &&
         byFd.st_ino == byPath.st_ino;
}

// The holder's process id as it wrote it; empty when it could not be read.
std::string HolderOf(int fd) {
  char text[24] = {};
  const ssize_t n = ::pread(fd, text, sizeof text - 1, 0);
  std::string pid;
  for (ssize_t i = 0; i < n && text[i] >= '0' && text[i] <= '9'; ++i) pid += text[i];
  return pid;
}

}  // namespace

LineLock::LineLock(std::string dir) : dir_(std::move(dir)) {}

LineLock::~LineLock() { Release(); }

bool LineLock::Held() const { return fd_ >= 0; }

void LineLock::Acquire(const std::string& devicePath, const std::string& shownName) {
  struct stat device{};
  if (::stat(devicePath.c_str(), &device) != 0) {
    Release();
    return;
  }
  const std::string lockPath = (std::filesystem::path(dir_) / LockNameFor(device)).string();
  if (fd_ >= 0 && lockPath == lockPath_) return;
  Release();
  std::error_code ec;
  std::filesystem::create_directories(dir_, ec);
  auto why = [](const std::string& what) { return what + ": " + std::strerror(errno); };
  // A holder that lets go removes the file: a file locked after that is no longer the lock.
  for (int attempt = 0; attempt < 5; ++attempt) {
    const int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) throw SerialPortError(why("cannot create the line lock " + lockPath));
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
      const bool held = errno == EWOULDBLOCK;
      const std::string error = why("cannot lock " + lockPath);
      const std::string holder = held ? HolderOf(fd) : std::string();
      ::close(fd);
      if (!held) throw SerialPortError(error);
      throw LineInUse(shownName + " is in use by another program" +
                      (holder.empty() ? std::string() : " (process " + holder + ")"));
    }
    if (!SameFile(fd, lockPath)) {
      ::close(fd);
      continue;
    }
    const std::string pid = std::to_string(::getpid()) + "\n";
    if (ftruncate(fd, 0) != 0 || ::pwrite(fd, pid.data(), pid.size(), 0) != static_cast<ssize_t>(pid.size())) {
      // The pid only makes the refusal clearer; the lock alone keeps the line.
    }
    fd_ = fd;
    lockPath_ = lockPath;
    return;
  }
  throw SerialPortError("cannot lock " + lockPath + ": it keeps being removed");
}

void LineLock::Release() {
  if (fd_ < 0) return;
  ::unlink(lockPath_.c_str());
  ::close(fd_);
  fd_ = -1;
  lockPath_.clear();
}

}  // namespace zelor
