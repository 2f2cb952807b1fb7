// The simulator port registry on real pseudo-terminals: names are trusted only while their
// simulator lives. In-process registrations, and the real zelor-pui-sim killed with SIGKILL.
// Waits are bounded I/O waits on the program's output only.
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "link/port_registry.h"
#include "sim_process.h"

extern char** environ;

namespace zelor::test {
namespace {

namespace fs = std::filesystem;

// A fresh folder per test, removed afterwards.
class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/zelor-registry-test-XXXXXX";
    ASSERT_NE(::mkdtemp(tmpl), nullptr);
    root = tmpl;
    dir = (fs::path(root) / "zelor-pui-ports").string();
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(root, ec);
  }
  std::vector<std::string> Names() {
    std::vector<std::string> names;
    for (const auto& p : ListRegisteredPorts(dir)) names.push_back(p.name);
    return names;
  }
  std::string root;
  std::string dir;
};

// A pseudo-terminal this test holds, standing for "some other program's terminal".
struct Pty {
  Pty() {
    char name[256] = {};
    if (::openpty(&master, &slave, name, nullptr, nullptr) == 0) path = name;
  }
  ~Pty() {
    if (master >= 0) ::close(master);
    if (slave >= 0) ::close(slave);
  }
  int master = -1;
  int slave = -1;
  std::string path;
};

TEST_F(RegistryTest, NamesAreTheLowestFreeAndGoWithTheirOwner) {
  Pty a, b, c;
  auto first = std::make_unique<PortRegistration>(a.path, dir);
  auto second = std::make_unique<PortRegistration>(b.path, dir);
  EXPECT_EQ(first->name(), "SIM1");
  EXPECT_EQ(second->name(), "SIM2");
  EXPECT_EQ(fs::read_symlink(first->path()), a.path);
  EXPECT_TRUE(fs::exists(PortLockPathFor(first->path())));
  EXPECT_EQ(Names(), (std::vector<std::string>{"SIM1", "SIM2"}));
  const std::string firstPath = first->path();
  first.reset();
  EXPECT_FALSE(fs::is_symlink(firstPath));
  EXPECT_FALSE(fs::exists(PortLockPathFor(firstPath)));
  EXPECT_EQ(Names(), std::vector<std::string>{"SIM2"});
  const PortRegistration third(c.path, dir);
  EXPECT_EQ(third.name(), "SIM1") << "the lowest free name";
}

TEST_F(RegistryTest, AnEntryNobodyHoldsIsSkippedAndRemoved) {
  Pty other;
  fs::create_directories(dir);
  // Left behind by an owner that has ended: the link still leads to a live terminal.
  fs::create_symlink(other.path, fs::path(dir) / "SIM1");
  fs::create_symlink(other.path, fs::path(dir) / "SIM3");
  { std::ofstream(PortLockPathFor((fs::path(dir) / "SIM3").string())) << "999999\n"; }  // a lock file, unlocked
  EXPECT_TRUE(Names().empty());
  EXPECT_FALSE(fs::is_symlink(fs::path(dir) / "SIM1"));
  EXPECT_FALSE(fs::is_symlink(fs::path(dir) / "SIM3"));
  EXPECT_FALSE(fs::exists(PortLockPathFor((fs::path(dir) / "SIM3").string())));

  fs::create_symlink(other.path, fs::path(dir) / "SIM1");
  Pty mine;
  const PortRegistration registration(mine.path, dir);
  EXPECT_EQ(registration.name(), "SIM1") << "a new simulator takes over a dead name";
  EXPECT_EQ(fs::read_symlink(registration.path()), mine.path);
}

TEST_F(RegistryTest, APathHeldByALiveOwnerIsRefused) {
  Pty a, b;
  const std::string link = (fs::path(root) / "panel").string();
  const PortClaim held(link, a.path);
  try {
    PortClaim second(link, b.path);
    FAIL() << "a held path was taken over";
  } catch (const PortInUse& e) {
    EXPECT_NE(std::string(e.what()).find("held by a running simulator (process " + std::to_string(::getpid()) + ")"),
              std::string::npos)
        << e.what();
  }
  EXPECT_EQ(fs::read_symlink(link), a.path) << "the holder's link is untouched";
  // A path that is not a link is never replaced.
  const std::string file = (fs::path(root) / "plain").string();
  { std::ofstream(file) << "x"; }
  EXPECT_THROW(PortClaim(file, b.path), SerialPortError);
  EXPECT_TRUE(fs::is_regular_file(file));
}

TEST_F(RegistryTest, AKilledSimulatorsNameIsNeitherListedNorKept) {
  if (SimProgramPath().empty()) GTEST_SKIP() << "zelor-pui-sim is not built next to the tests";
  Simulator first(root, {});
  ASSERT_EQ(first.After("registered as "), "SIM1 (" + dir + "/SIM1)") << first.output();
  EXPECT_EQ(Names(), std::vector<std::string>{"SIM1"});
  first.Kill9();  // no chance to remove its registration
  ASSERT_TRUE(fs::is_symlink(fs::path(dir) / "SIM1")) << "the entry is left behind";
  Pty unrelated;  // the kernel may hand the freed terminal number to another program
  EXPECT_TRUE(Names().empty()) << "a dead simulator's port is not listed";
  EXPECT_FALSE(fs::is_symlink(fs::path(dir) / "SIM1")) << "and its entry is removed";

  Simulator dead(root, {});
  ASSERT_EQ(dead.After("registered as "), "SIM1 (" + dir + "/SIM1)") << dead.output();
  dead.Kill9();
  Simulator second(root, {});
  EXPECT_EQ(second.After("registered as "), "SIM1 (" + dir + "/SIM1)")
      << "a new simulator removes the dead entry and takes the lowest name: " << second.output();
  const std::string served = second.After("serving on ");
  EXPECT_EQ(fs::read_symlink(fs::path(dir) / "SIM1").string(), served);
}

TEST_F(RegistryTest, ALinkHeldByARunningSimulatorIsRefused) {
  if (SimProgramPath().empty()) GTEST_SKIP() << "zelor-pui-sim is not built next to the tests";
  const std::string link = (fs::path(root) / "panel").string();
  Simulator holder(root, {"--link", link, "--no-register"});
  const std::string served = holder.After("serving on ");
  ASSERT_TRUE(holder.WaitForOutput("linked from " + link)) << holder.output();

  Simulator intruder(root, {"--link", link, "--no-register"});
  EXPECT_EQ(intruder.Wait(), 2) << intruder.output();
  intruder.WaitForOutput("not taking it over");
  EXPECT_NE(intruder.output().find(link + " is held by a running simulator"), std::string::npos) << intruder.output();
  EXPECT_NE(intruder.output().find("not taking it over"), std::string::npos) << intruder.output();
  EXPECT_EQ(fs::read_symlink(link).string(), served) << "the holder keeps its link after the refusal";

  holder.Kill9();
  Simulator successor(root, {"--link", link, "--no-register"});
  const std::string successorPort = successor.After("serving on ");
  ASSERT_TRUE(successor.WaitForOutput("linked from " + link)) << "a dead holder's link is taken over";
  EXPECT_EQ(fs::read_symlink(link).string(), successorPort);
  EXPECT_EQ(successor.Stop(), 0);
  EXPECT_FALSE(fs::is_symlink(link)) << "removed when its simulator stops";
}

}  // namespace
}  // namespace zelor::test
