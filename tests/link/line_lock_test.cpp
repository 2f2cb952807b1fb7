// The line lock keys a device by its identity: names that reach one device meet one lock. Two
// locks in one process stand for two programs (flock holds per open file).
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "link/line_lock.h"

namespace zelor::test {
namespace {

namespace fs = std::filesystem;

class LineLockTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "line_lock_XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir = pattern;
    fs::create_symlink("/dev/null", dir / "panel");
    fs::create_symlink(dir / "panel", dir / "panel-again");
  }
  void TearDown() override { fs::remove_all(dir); }
  std::string In(const char* name) const { return (dir / name).string(); }
  std::string LockDir() const { return In("locks"); }

  fs::path dir;
};

TEST_F(LineLockTest, EveryNameOfOneDeviceMeetsTheSameLock) {
  LineLock first(LockDir());
  first.Acquire(In("panel"), "PANEL");
  ASSERT_TRUE(first.Held());
  const std::string refusal = "is in use by another program (process " + std::to_string(::getpid()) + ")";
  for (const std::string& name : {In("panel"), In("panel-again"), std::string("/dev/null")}) {
    LineLock second(LockDir());
    try {
      second.Acquire(name, name);
      ADD_FAILURE() << name << " was not refused";
    } catch (const LineInUse& e) {
      EXPECT_EQ(std::string(e.what()), name + " " + refusal);
    }
    EXPECT_FALSE(second.Held());
  }
  first.Acquire("/dev/null", "null");  // the same device again: still held, nothing changes
  EXPECT_TRUE(first.Held());

  first.Release();
  EXPECT_FALSE(first.Held());
  LineLock next(LockDir());
  next.Acquire(In("panel-again"), "PANEL");
  EXPECT_TRUE(next.Held()) << "free once its holder has let go";
}

TEST_F(LineLockTest, AnotherDeviceOrAMissingPathDoesNotMeetTheLock) {
  LineLock first(LockDir());
  first.Acquire("/dev/null", "null");
  LineLock second(LockDir());
  second.Acquire("/dev/zero", "zero");
  EXPECT_TRUE(second.Held());
  second.Acquire(In("no-such-port"), "absent");
  EXPECT_FALSE(second.Held()) << "nothing to lock; opening will fail with the system's reason";
  {
    LineLock scoped(LockDir());
    scoped.Acquire("/dev/zero", "zero");
    EXPECT_TRUE(scoped.Held());
  }
  second.Acquire("/dev/zero", "zero");
  EXPECT_TRUE(second.Held()) << "let go when destroyed";
}

}  // namespace
}  // namespace zelor::test
