#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace orvane::testing {

// A program the test starts itself. Output goes to files so that tests can read it;
// the destructor ends the program (and only it, by its id) if it still runs.
class Child {
 public:
  // env holds NAME=value pairs that are set on top of the test's own environment.
  Child(std::vector<std::string> argv, std::vector<std::string> env = {});
  ~Child();
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;

  pid_t pid() const { return pid_; }
  bool started() const { return pid_ > 0; }
  // The exit code, or 128 + signal number; nullopt if it is still running at the deadline.
  std::optional<int> Wait(std::chrono::milliseconds timeout);
  bool Running();
  void Signal(int signal);
  std::string Stdout() const;
  std::string Stderr() const;

 private:
  pid_t pid_ = -1;
  std::optional<int> status_;
  std::string outPath_;
  std::string errPath_;
};

// Runs a command to its end through /bin/sh and returns its exit code and standard output.
std::pair<int, std::string> RunShell(const std::string& command);

// Polls a condition until it holds or the timeout passes.
template <typename Condition>
bool WaitFor(Condition condition, std::chrono::milliseconds timeout,
             std::chrono::milliseconds step = std::chrono::milliseconds(20));

}  // namespace orvane::testing

#include "tests/support/child_inl.h"
