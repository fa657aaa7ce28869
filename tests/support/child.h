#pragma once

#include <signal.h>
#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "tests/support/temp_folder.h"

namespace orvane::testing {

// A program the test starts, which dies with the test. env holds NAME=value pairs set on top of
// the test's own environment (a name without "=" removes the variable); its output goes to out
// and err, or to files of its own. The destructor ends it by its id: politely, then for sure.
class Child {
 public:
  Child(std::vector<std::string> argv, const std::vector<std::string>& env = {},
        std::string out = "", std::string err = "");
  ~Child();
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;

  pid_t pid() const { return pid_; }
  // The exit code, or 128 + signal number; nullopt if it is still running at the deadline.
  std::optional<int> Wait(std::chrono::milliseconds timeout);
  bool Running() { return pid_ > 0 && !Wait(std::chrono::milliseconds(0)); }
  void Signal(int signal) {
    if (pid_ > 0 && !status_) kill(pid_, signal);
  }
  std::string Stdout() const { return ReadBytes(out_); }
  std::string Stderr() const { return ReadBytes(err_); }

 private:
  pid_t pid_ = -1;
  std::optional<int> status_;
  TempFolder files_;  // out and err unless given
  std::string out_, err_;
};

// A command run to its end through the shell: its exit code and standard output.
std::pair<int, std::string> RunShell(const std::string& command);

// A built program: from ORVANE_TEST_BIN_DIR when it is set (the package check runs the
// scenarios against the unpacked package), else from the build tree.
std::string ProgramPath(const std::string& name);

template <typename Condition>
bool WaitFor(Condition condition, std::chrono::milliseconds timeout,
             std::chrono::milliseconds step = std::chrono::milliseconds(20)) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!condition()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(step);
  }
  return true;
}

}  // namespace orvane::testing
