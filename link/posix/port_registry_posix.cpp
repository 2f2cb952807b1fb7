// The simulator port registry on POSIX systems: symbolic links guarded by flock(2) locks, which
// the kernel releases when their owner ends however it ends (SIGKILL included).
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "link/port_registry.h"

namespace fs = std::filesystem;

namespace zelor {

namespace {

// True when `fd` is still the file at `path`: someone removing a stale entry may have unlinked
// the lock file between our open and our lock.
bool SameFile(int fd, const std::string& path) {
  struct stat byFd{};
  struct stat byPath{};
  return fstat(fd, &byFd) == 0 && ::stat(path.c_str(), &byPath) == 0 && byFd.st_dev == byPath.st_dev &&
         byFd.st_ino == byPath.st_ino;
}

std::string OwnerOf(const std::string& lockPath) {
  const int fd = ::open(lockPath.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return {};
  char text[32] = {};
  const ssize_t n = ::read(fd, text, sizeof text - 1);
  ::close(fd);
  if (n <= 0) return {};
  std::string pid(text, static_cast<std::size_t>(n));
  pid.erase(std::remove_if(pid.begin(), pid.end(), [](char c) { return c < '0' || c > '9'; }), pid.end());
  return pid;
}

// Removes the link and its lock when no living owner holds the lock; true when it did.
bool RemoveIfOwnerEnded(const std::string& linkPath) {
  const std::string lockPath = PortLockPathFor(linkPath);
  std::error_code ec;
  const int fd = ::open(lockPath.c_str(), O_RDWR | O_CLOEXEC);
  if (fd < 0) {
    // No lock at all: nobody can hold this entry (an owner takes its lock before linking).
    fs::remove(linkPath, ec);
    return true;
  }
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return false;  // held: the owner lives
  }
  const bool same = SameFile(fd, lockPath);
  if (same) {
    fs::remove(linkPath, ec);
    ::unlink(lockPath.c_str());
  }
  ::close(fd);
  return same;
}

}  // namespace

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
    const std::string name = it->path().filename().string();
    if (name.empty() || name.front() == '.' || !it->is_symlink(e2)) continue;
    if (RemoveIfOwnerEnded(it->path().string())) continue;
    ports.push_back({name, it->path().string()});
  }
  std::sort(ports.begin(), ports.end(), [](const auto& a, const auto& b) { return RegisteredNameLess(a.name, b.name); });
  return ports;
}

PortClaim::PortClaim(const std::string& linkPath, const std::string& target) : lockPath_(PortLockPathFor(linkPath)) {
  auto why = [](const std::string& what) { return what + ": " + std::strerror(errno); };
  for (int attempt = 0; attempt < 5 && lockFd_ < 0; ++attempt) {
    const int fd = ::open(lockPath_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) throw SerialPortError(why("cannot create the lock " + lockPath_));
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
      const bool held = errno == EWOULDBLOCK;
      const std::string error = why("cannot lock " + lockPath_);
      ::close(fd);
      if (!held) throw SerialPortError(error);
      const std::string owner = OwnerOf(lockPath_);
      throw PortInUse(linkPath + " is held by a running simulator" +
                      (owner.empty() ? std::string() : " (process " + owner + ")"));
    }
    if (SameFile(fd, lockPath_)) {
      lockFd_ = fd;
    } else {
      ::close(fd);  // removed as stale under our feet: take the new file
    }
  }
  if (lockFd_ < 0) throw SerialPortError("cannot lock " + lockPath_ + ": it keeps being removed");

  auto giveUp = [this](const std::string& message) {
    ::unlink(lockPath_.c_str());
    ::close(lockFd_);
    lockFd_ = -1;
    throw SerialPortError(message);
  };
  std::error_code ec;
  if (fs::is_symlink(linkPath, ec)) {
    fs::remove(linkPath, ec);  // its owner has ended: we hold the lock
  } else if (fs::exists(linkPath, ec)) {
    giveUp(linkPath + " exists and is not a symbolic link; not replacing it");
  }
  fs::create_symlink(target, linkPath, ec);
  if (ec) giveUp("cannot create the link " + linkPath + ": " + ec.message());
  const std::string pid = std::to_string(::getpid()) + "\n";
  if (ftruncate(lockFd_, 0) != 0 || ::write(lockFd_, pid.data(), pid.size()) != static_cast<ssize_t>(pid.size())) {
    // The pid only makes the refusal message clearer; the lock alone guards the link.
  }
  path_ = linkPath;
}

PortClaim::~PortClaim() {
  if (lockFd_ < 0) return;
  std::error_code ec;
  fs::remove(path_, ec);
  ::unlink(lockPath_.c_str());
  ::close(lockFd_);
}

PortRegistration::PortRegistration(const std::string& target, const std::string& dir) {
  std::error_code ec;
  fs::create_directories(dir, ec);
  ListRegisteredPorts(dir);  // removes the entries of owners that have ended
  for (int n = 1; n < 100; ++n) {
    const std::string name = "SIM" + std::to_string(n);
    try {
      claim_ = std::make_unique<PortClaim>((fs::path(dir) / name).string(), target);
      name_ = name;
      return;
    } catch (const SerialPortError&) {
      // held by a living simulator, or not ours to replace: try the next name
    }
  }
  throw SerialPortError("cannot register " + target + " in " + dir);
}

}  // namespace zelor
