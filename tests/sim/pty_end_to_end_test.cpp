// Over a real pseudo-terminal: the serving loop in a thread of this test, and the program itself
// questioned by mbpoll, a MODBUS master written elsewhere. Waits are bounded I/O waits only.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <thread>

#include "sim/sample_image.h"
#include "sim/posix/serial_endpoint.h"
#include "sim/session.h"
#include "sim/sim_options.h"
#include "sim/posix/sim_server.h"
#include "sim_process.h"
#include "sim_rig.h"

extern char** environ;

namespace zelor::test {
namespace {

using Bytes = std::vector<uint8_t>;

// Reads until `want` bytes came or `timeoutMs` passed without any.
Bytes ReadFor(int fd, std::size_t want, int timeoutMs) {
  Bytes got;
  while (got.size() < want) {
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, timeoutMs) <= 0) break;
    uint8_t buf[512];
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n <= 0) break;
    got.insert(got.end(), buf, buf + n);
  }
  return got;
}

TEST(PtyEndToEnd, ServingLoopAnswersAReadOverAPseudoTerminal) {
  std::string error;
  auto endpoint = sim::OpenPseudoTerminal(error);
  ASSERT_TRUE(endpoint) << error;
  sim::Panel panel;
  sim::FaultScript faults;
  std::ostringstream logText, said;
  sim::TrafficLog log(&logText, {});
  sim::Session session(panel, faults, log);
  sim::SimServer server(panel, session, log, endpoint->line.get(), false, said);
  int stop[2];
  ASSERT_EQ(pipe(stop), 0);
  std::thread loop([&] { server.Run(stop[0]); });

  const int tool = ::open(endpoint->path.c_str(), O_RDWR | O_NOCTTY);
  ASSERT_GE(tool, 0);
  // Garbage first: the loop must still find the request behind it.
  Bytes request{0x00, 0xFF, 0x55};
  const Bytes read = SimRig::Sealed({0xF7, 0x03, 0x00, 0x00, 0x00, 0x01});
  request.insert(request.end(), read.begin(), read.end());
  ASSERT_EQ(::write(tool, request.data(), request.size()), static_cast<ssize_t>(request.size()));
  EXPECT_EQ(ReadFor(tool, 7, 2000), (Bytes{0xF7, 0x03, 0x02, 0x00, 0x0B, 0x31, 0x96}));

  const Bytes block = SimRig::Sealed({0xF7, 0x03, 0x0F, 0x00, 0x00, 0x60});
  ASSERT_EQ(::write(tool, block.data(), block.size()), 8);
  const Bytes reply = ReadFor(tool, 197, 2000);
  ASSERT_EQ(reply.size(), 197U);
  const Bytes image = sim::SampleImage();
  EXPECT_EQ(Bytes(reply.begin() + 3, reply.begin() + 195), Bytes(image.begin(), image.begin() + 192));

  ::close(tool);
  ASSERT_EQ(::write(stop[1], "x", 1), 1);
  loop.join();
  ::close(stop[0]);
  ::close(stop[1]);
  EXPECT_NE(logText.str().find("RX F7 03 00 00 00 01 90 9C"), std::string::npos);
}

std::string Mbpoll() {
  for (const char* p : {"/usr/bin/mbpoll", "/usr/local/bin/mbpoll"}) {
    if (access(p, X_OK) == 0) return p;
  }
  return {};
}

// Runs a program with arguments; returns its standard output, or nothing if it failed.
std::optional<std::string> RunProgram(const std::vector<std::string>& argv) {
  int out[2];
  if (pipe(out) != 0) return std::nullopt;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  std::vector<char*> args;
  for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  pid_t pid = 0;
  const int rc = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(out[1]);
  if (rc != 0) {
    ::close(out[0]);
    return std::nullopt;
  }
  std::string text;
  char buf[1024];
  for (;;) {
    pollfd p{out[0], POLLIN, 0};
    if (poll(&p, 1, 15000) <= 0) break;
    const ssize_t n = ::read(out[0], buf, sizeof buf);
    if (n <= 0) break;
    text.append(buf, static_cast<std::size_t>(n));
  }
  ::close(out[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
  return text;
}

// The values mbpoll printed as "[reg]: value" lines, in order.
std::vector<long> Values(const std::string& text) {
  std::vector<long> values;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    const auto close = line.find("]:");
    if (line.rfind("[", 0) == 0 && close != std::string::npos) values.push_back(std::stol(line.substr(close + 2)));
  }
  return values;
}

class SimulatorProcess {
 public:
  explicit SimulatorProcess(const std::string& program) {
    int out[2];
    if (pipe(out) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    const char* argv[] = {program.c_str(), "--no-register", "--no-commands", nullptr};
    if (posix_spawn(&pid_, argv[0], &actions, nullptr, const_cast<char* const*>(argv), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    out_ = out[0];
    const std::string marker = "serving on ";
    while (pid_ > 0 && output_.find('\n', output_.find(marker)) == std::string::npos) {
      pollfd p{out_, POLLIN, 0};
      if (poll(&p, 1, 10000) <= 0) break;
      char buf[256];
      const ssize_t n = ::read(out_, buf, sizeof buf);
      if (n <= 0) break;
      output_.append(buf, static_cast<std::size_t>(n));
    }
    const auto at = output_.find(marker);
    if (at != std::string::npos) {
      port_ = output_.substr(at + marker.size(), output_.find('\n', at) - at - marker.size());
    }
  }
  ~SimulatorProcess() { Stop(); }

  // SIGTERM; true when the program ended by itself with status 0.
  bool Stop() {
    if (pid_ <= 0) return false;
    kill(pid_, SIGTERM);
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    ::close(out_);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
  }
  const std::string& port() const { return port_; }

 private:
  pid_t pid_ = -1;
  int out_ = -1;
  std::string output_;
  std::string port_;
};

TEST(PtyEndToEnd, MbpollReadsAndWritesTheSimulator) {
  const std::string program = SimProgramPath();
  const std::string mbpoll = Mbpoll();
  if (program.empty()) GTEST_SKIP() << "zelor-pui-sim is not built next to the tests";
  if (mbpoll.empty()) GTEST_SKIP() << "mbpoll is not installed (Debian package mbpoll)";
  SimulatorProcess sim(program);
  ASSERT_FALSE(sim.port().empty()) << "the program did not say its port";
  auto poll = [&](std::vector<std::string> extra) {
    std::vector<std::string> argv{mbpoll, "-m", "rtu", "-a", "247", "-b", "57600", "-P", "none", "-s", "1",
                                  "-0",   "-1", "-t", "4",  "-o", "2"};
    argv.insert(argv.end(), extra.begin(), extra.end());
    return RunProgram(argv);
  };

  const auto type = poll({"-r", "0", "-c", "1", sim.port()});
  ASSERT_TRUE(type) << "mbpoll failed on register 0";
  EXPECT_EQ(Values(*type), std::vector<long>{11});

  const auto block = poll({"-r", "0", "-c", "24", sim.port()});
  ASSERT_TRUE(block);
  const auto params = Values(*block);
  ASSERT_EQ(params.size(), 24U);
  EXPECT_EQ(params[0], 11);
  EXPECT_EQ(params[1], 247);
  EXPECT_EQ(params[18], 28799);

  const auto config = poll({"-r", std::to_string(0x0F00 + 3), "-c", "96", sim.port()});
  ASSERT_TRUE(config);
  const auto words = Values(*config);
  ASSERT_EQ(words.size(), 96U);
  const Bytes image = sim::SampleImage();
  for (std::size_t i = 0; i < 96; ++i) {
    EXPECT_EQ(words[i], image[192 + 2 * i] << 8 | image[193 + 2 * i]) << "word " << i;
  }

  ASSERT_TRUE(poll({"-r", "17", sim.port(), "200"})) << "mbpoll could not write register 17";
  const auto contrast = poll({"-r", "17", "-c", "1", sim.port()});
  ASSERT_TRUE(contrast);
  EXPECT_EQ(Values(*contrast), std::vector<long>{200});

  EXPECT_TRUE(sim.Stop()) << "SIGTERM ends the program cleanly";
}

TEST(SimOptions, BadOptionsAreRefusedWithAReason) {
  const std::vector<std::vector<std::string>> bad = {
      {"--address", "0"}, {"--address", "248"}, {"--address"},       {"--baud", "14401"},
      {"--records", "-1"}, {"--event-every", "0"}, {"--fault", "lost"}, {"--fault-delay", "x"},
      {"--frobnicate"},   {"--link", "a", "--device", "b"}};
  for (const auto& args : bad) {
    std::string error;
    EXPECT_FALSE(sim::ParseSimOptions(args, error)) << args[0];
    EXPECT_FALSE(error.empty()) << args[0];
  }
  std::string error;
  const auto good = sim::ParseSimOptions({"--address", "12", "--baud", "115200", "--pace", "--records", "2000", "--wrapped",
                                          "--event-every", "0.5", "--fault", "split@every=4", "--log", "-"},
                                         error);
  ASSERT_TRUE(good) << error;
  EXPECT_EQ(good->address, 12);
  EXPECT_EQ(good->baud, 115200U);
  EXPECT_TRUE(good->pace);
  EXPECT_EQ(good->eventEveryMicros, 500'000);
  ASSERT_EQ(good->faults.size(), 1U);
  EXPECT_EQ(good->faults[0].every, 4U);
  for (const char* option : {"--link", "--device", "--address", "--baud", "--pace", "--image", "--records", "--wrapped",
                             "--event-every", "--bootloader", "--fault", "--log"}) {
    EXPECT_NE(std::string(sim::SimUsage()).find(option), std::string::npos) << option;
  }
}

}  // namespace
}  // namespace zelor::test
