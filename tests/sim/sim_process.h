// The real zelor-pui-sim run from a test: found next to the test program, started with its own
// runtime folder, its output read with bounded waits, stopped with SIGTERM when the test ends.
#pragma once
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

extern char** environ;

namespace zelor::test {

// zelor-pui-sim next to this test's executable (build/tests/test_sim -> build/zelor-pui-sim).
inline std::string SimProgramPath() {
  std::error_code ec;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return {};
  const auto program = self.parent_path().parent_path() / "zelor-pui-sim";
  return std::filesystem::exists(program, ec) ? program.string() : std::string();
}

// The real program with its own runtime folder; standard output and error in one pipe.
class Simulator {
 public:
  Simulator(const std::string& runtime, std::vector<std::string> args) {
    args.insert(args.begin(), {SimProgramPath(), "--no-commands"});
    std::vector<std::string> env{"XDG_RUNTIME_DIR=" + runtime};
    for (char** e = environ; *e != nullptr; ++e) {
      if (std::string(*e).rfind("XDG_RUNTIME_DIR=", 0) != 0) env.emplace_back(*e);
    }
    int out[2];
    if (pipe(out) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDERR_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    std::vector<char*> argv, envp;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    for (auto& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    out_ = out[0];
  }
  ~Simulator() {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      Wait();
    }
    if (out_ >= 0) ::close(out_);
  }
  // Reads output until `text` has appeared (true) or the program ended or went quiet for 10 s.
  bool WaitForOutput(const std::string& text) {
    while (output_.find(text) == std::string::npos) {
      if (!ReadOnce()) return false;
    }
    return true;
  }
  // The rest of a line after `marker`, once it has been printed.
  std::string After(const std::string& marker) {
    if (!WaitForOutput(marker)) return {};
    const auto at = output_.find(marker) + marker.size();
    while (output_.find('\n', at) == std::string::npos) {
      if (!ReadOnce()) return {};
    }
    return output_.substr(at, output_.find('\n', at) - at);
  }
  // SIGTERM, then the exit status.
  std::optional<int> Stop() {
    if (pid_ > 0) kill(pid_, SIGTERM);
    return Wait();
  }
  void Kill9() {
    kill(pid_, SIGKILL);
    Wait();
  }
  // The exit status, after waiting for the program to end.
  std::optional<int> Wait() {
    if (pid_ <= 0) return status_;
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    if (WIFEXITED(status)) status_ = WEXITSTATUS(status);
    return status_;
  }
  const std::string& output() const { return output_; }

 private:
  // One read of output; false when the program ended or went quiet for 10 s.
  bool ReadOnce() {
    pollfd p{out_, POLLIN, 0};
    if (poll(&p, 1, 10000) <= 0) return false;
    char buf[512];
    const ssize_t n = ::read(out_, buf, sizeof buf);
    if (n <= 0) return false;
    output_.append(buf, static_cast<std::size_t>(n));
    return true;
  }

  pid_t pid_ = -1;
  int out_ = -1;
  std::string output_;
  std::optional<int> status_;
};

}  // namespace zelor::test
