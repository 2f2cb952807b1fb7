// The simulator's own inputs as a new user types them: every option checked before it serves,
// numbers strictly decimal and in range, files refused up front with the system's reason.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "sim/sample_image.h"
#include "sim/sim_files.h"
#include "sim/sim_options.h"
#include "sim/sim_program.h"
#include "sim_process.h"
#include "special_files.h"

namespace zelor::test {
namespace {

namespace fs = std::filesystem;
using Args = std::vector<std::string>;

struct Refused {
  Args args;
  std::string says;  // part of the error
};

TEST(SimOptions, NumbersAreDecimalInRangeAndPathsNotEmpty) {
  const Refused cases[] = {
      {{"--event-every", "0x10"}, "--event-every must be 0.01..86400 seconds, not '0x10'"},
      {{"--event-every", "5s"}, "'5s'"},
      {{"--event-every", "-1"}, "'-1'"},
      {{"--event-every", "1e3"}, "'1e3'"},
      {{"--event-every", " 5"}, "' 5'"},
      {{"--event-every", "inf"}, "'inf'"},
      {{"--event-every", "nan"}, "'nan'"},
      {{"--event-every", "1.2.3"}, "'1.2.3'"},
      {{"--event-every", "."}, "'.'"},
      {{"--event-every", "86400.5"}, "'86400.5'"},
      {{"--event-every", "0.001"}, "'0.001'"},
      {{"--address", "0x10"}, "--address must be 1..247, not '0x10'"},
      {{"--address", "12abc"}, "'12abc'"},
      {{"--address", "-5"}, "'-5'"},
      {{"--address", "+5"}, "'+5'"},
      {{"--address", "99999999999999999999"}, "'99999999999999999999'"},
      {{"--records", "100001"}, "--records must be 0..100000"},
      {{"--seed", "4294967296"}, "--seed"},
      {{"--turnaround", "10001"}, "--turnaround must be 0..10000 ms"},
      {{"--fault-delay", "60001"}, "--fault-delay must be 0..60000 ms"},
      {{"--baud", "57600.0"}, "--baud must be one of"},
      {{"--fault", "noreply@rate=0x1"}, "fault rate must be a number from 0 to 1: '0x1'"},
      {{"--fault", "noreply@rate=1.5"}, "'1.5'"},
      {{"--fault", "noreply@rate=-0"}, "'-0'"},
      {{"--fault", "noreply@every=0"}, "bad fault trigger"},
      {{"--fault", "noreply@every=0x2"}, "bad fault trigger"},
      {{"--image", ""}, "--image needs a value, not an empty one"},
      {{"--log", ""}, "--log needs a value"},
      {{"--firmware-out", ""}, "--firmware-out needs a value"},
      {{"--config-out"}, "--config-out needs a value"},
      {{"--frobnicate"}, "unknown option '--frobnicate'"},
      {{"16"}, "unknown option '16'"},
  };
  for (const Refused& c : cases) {
    std::string error;
    EXPECT_FALSE(sim::ParseSimOptions(c.args, error)) << c.args[0] << " " << c.args.back();
    EXPECT_NE(error.find(c.says), std::string::npos) << error;
    EXPECT_EQ(error.find("--help"), std::string::npos) << "the program adds the hint once: " << error;
  }

  struct Taken {
    Args args;
    int64_t eventEveryMicros;
  };
  const Taken taken[] = {{{"--event-every", "16"}, 16'000'000},
                         {{"--event-every", "0.5"}, 500'000},
                         {{"--event-every", ".25"}, 250'000},
                         {{"--event-every", "7."}, 7'000'000},
                         {{"--event-every", "86400"}, 86'400'000'000}};
  for (const Taken& c : taken) {
    std::string error;
    const auto o = sim::ParseSimOptions(c.args, error);
    ASSERT_TRUE(o) << c.args[1] << ": " << error;
    EXPECT_EQ(o->eventEveryMicros, c.eventEveryMicros) << c.args[1];
  }
  std::string error;
  const auto rate = sim::ParseSimOptions({"--fault", "noreply@rate=0.25", "--seed", "4294967295"}, error);
  ASSERT_TRUE(rate) << error;
  EXPECT_EQ(rate->faults[0].rate, 0.25);
  EXPECT_EQ(rate->seed, 4294967295U);
}

class SimFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    dir = fs::path(::testing::TempDir()) / (std::string("simfiles.") + test->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
    ASSERT_TRUE(WriteBytesTo(In("file"), {1, 2, 3}));
    fs::create_directory(In("folder"));
    fifo = std::make_unique<HeldFifo>(In("fifo"), std::vector<uint8_t>{});
  }
  void TearDown() override {
    fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add);
    fs::remove_all(dir);
  }
  std::string In(const std::string& name) const { return (dir / name).string(); }

  fs::path dir;
  std::unique_ptr<HeldFifo> fifo;
};

TEST_F(SimFiles, EachFileOptionIsCheckedWithTheSystemsReason) {
  const Refused cases[] = {
      {{"--image", In("missing.bin")}, "--image " + In("missing.bin") + ": No such file or directory"},
      {{"--image", In("folder")}, "--image " + In("folder") + ": Is a directory"},
      {{"--image", In("fifo")}, "--image " + In("fifo") + ": it is a FIFO, not a regular file"},
      {{"--image", In("file") + "/x.bin"}, ": Not a directory"},
      {{"--image", "/dev/zero"}, "it is a character device, not a regular file"},
      {{"--log", In("folder")}, "--log " + In("folder") + ": Is a directory"},
      {{"--log", In("fifo")}, "--log " + In("fifo") + ": it is a FIFO, not a regular file"},
      {{"--log", In("no folder/sim.log")}, "--log " + In("no folder/sim.log") + ": the folder " + In("no folder") +
                                               ": No such file or directory"},
      {{"--log", In("file") + "/sim.log"}, ": Not a directory"},
      {{"--firmware-out", In("no folder/fw.hex")}, "--firmware-out " + In("no folder/fw.hex") + ": the folder " +
                                                       In("no folder") + ": No such file or directory"},
      {{"--firmware-out", In("folder")}, ": Is a directory"},
      {{"--firmware-out", In("fifo")}, ": it is a FIFO, not a regular file"},
      {{"--firmware-out", "/dev/null"}, "--firmware-out /dev/null: it is a character device, not a regular file"},
      {{"--config-out", In("no folder/c.bin")}, ": the folder " + In("no folder") + ": No such file or directory"},
      {{"--config-out", In("file") + "/c.bin"}, ": Not a directory"},
      {{"--config-out", "/dev/null"}, "it is a character device, not a regular file"},
  };
  for (const Refused& c : cases) {
    std::string error;
    const auto o = sim::ParseSimOptions(c.args, error);
    ASSERT_TRUE(o) << error;
    const std::string why = sim::CheckSimFiles(*o);
    EXPECT_NE(why.find(c.says), std::string::npos) << c.args[0] << " " << c.args[1] << ": " << why;
    std::ostringstream said;
    EXPECT_FALSE(sim::SimProgram::Create(*o, said, error)) << c.args[1];
    EXPECT_EQ(error, why) << "the program starts with the same checks";
  }

  // What can be used: new files in a folder that exists, an existing file, /dev/null as the log.
  std::ofstream(In("image.bin"), std::ios::binary)
      .write(reinterpret_cast<const char*>(sim::SampleImage().data()), static_cast<std::streamsize>(sim::SampleImage().size()));
  std::string error;
  const auto good = sim::ParseSimOptions({"--image", In("image.bin"), "--log", "/dev/null", "--firmware-out", In("file"),
                                          "--config-out", In("new.bin")},
                                         error);
  ASSERT_TRUE(good) << error;
  EXPECT_EQ(sim::CheckSimFiles(*good), "");
  std::ostringstream said;
  EXPECT_TRUE(sim::SimProgram::Create(*good, said, error)) << error;
  EXPECT_EQ(fs::file_size(In("file")), 3U) << "checking a file to write leaves its content";
  std::vector<std::string> left;
  for (const auto& entry : fs::directory_iterator(dir)) left.push_back(entry.path().filename().string());
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"fifo", "file", "folder", "image.bin"})) << "no probe file stays behind";
}

// Permissions stop only other users than root; each case is skipped where they do not.
TEST_F(SimFiles, FilesThisUserMayNotUseAreRefused) {
  ASSERT_TRUE(WriteBytesTo(In("locked.bin"), sim::SampleImage()));
  fs::permissions(In("locked.bin"), fs::perms::none);
  fs::create_directory(In("readonly"));
  fs::permissions(In("readonly"), fs::perms::owner_read | fs::perms::owner_exec);
  if (sim::WhyNotReadable(In("locked.bin")).empty()) GTEST_SKIP() << "this user reads any file (root)";
  const Refused cases[] = {
      {{"--image", In("locked.bin")}, "--image " + In("locked.bin") + ": Permission denied"},
      {{"--log", In("locked.bin")}, "--log " + In("locked.bin") + ": Permission denied"},
      {{"--firmware-out", In("readonly/fw.hex")}, ": the folder " + In("readonly") + ": Permission denied"},
      {{"--config-out", In("readonly/c.bin")}, ": the folder " + In("readonly") + ": Permission denied"},
  };
  for (const Refused& c : cases) {
    std::string error;
    const auto o = sim::ParseSimOptions(c.args, error);
    ASSERT_TRUE(o) << error;
    EXPECT_NE(sim::CheckSimFiles(*o).find(c.says), std::string::npos) << sim::CheckSimFiles(*o);
  }
}

// The program itself: a bad option or file ends it at once with status 2 and one line on what
// was wrong, before it serves anything.
TEST_F(SimFiles, TheProgramRefusesBadInputsAtOnce) {
  if (SimProgramPath().empty()) GTEST_SKIP() << "zelor-pui-sim is not built next to the tests";
  struct Run {
    Args args;
    std::string says;
  };
  const Run runs[] = {
      {{"--frobnicate"}, "zelor-pui-sim: unknown option '--frobnicate' (see zelor-pui-sim --help)\n"},
      {{"--event-every", "0x10"}, "zelor-pui-sim: --event-every must be 0.01..86400 seconds, not '0x10' (see zelor-pui-sim --help)\n"},
      {{"--image", In("fifo")}, "zelor-pui-sim: --image " + In("fifo") + ": it is a FIFO, not a regular file\n"},
      {{"--firmware-out", In("no folder/fw.hex")},
       "zelor-pui-sim: --firmware-out " + In("no folder/fw.hex") + ": the folder " + In("no folder") +
           ": No such file or directory\n"},
  };
  for (const Run& r : runs) {
    Simulator sim(dir.string(), r.args);
    // Until its output ends: a program that hung would be stopped after 10 quiet seconds.
    sim.WaitForOutput("(never printed)");
    EXPECT_EQ(sim.Stop(), std::optional<int>(2)) << r.args[0];
    EXPECT_EQ(sim.output(), r.says);
    EXPECT_EQ(fs::exists(dir / "zelor-pui-ports"), false) << "nothing was registered";
  }
}

}  // namespace
}  // namespace zelor::test
