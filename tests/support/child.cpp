#include "tests/support/child.h"

#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace orvane::testing {
namespace {

int Decode(int status) {
  return WIFEXITED(status)     ? WEXITSTATUS(status)
         : WIFSIGNALED(status) ? 128 + WTERMSIG(status)
                               : -1;
}

}  // namespace

Child::Child(std::vector<std::string> argv, const std::vector<std::string>& env, std::string out,
             std::string err)
    : out_(out.empty() ? files_ / "out" : std::move(out)),
      err_(err.empty() ? files_ / "err" : std::move(err)) {
  const pid_t parent = getpid();
  if ((pid_ = fork()) != 0) return;
  if (prctl(PR_SET_PDEATHSIG, SIGKILL) != 0 || getppid() != parent) _exit(127);
  for (const std::string& pair : env) {
    const size_t eq = pair.find('=');
    eq == std::string::npos ? unsetenv(pair.c_str())
                            : setenv(pair.substr(0, eq).c_str(), pair.substr(eq + 1).c_str(), 1);
  }
  dup2(open("/dev/null", O_RDONLY), STDIN_FILENO);
  dup2(open(out_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), STDOUT_FILENO);
  dup2(open(err_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), STDERR_FILENO);
  std::vector<char*> args;
  for (std::string& a : argv) args.push_back(a.data());
  args.push_back(nullptr);
  execvp(args[0], args.data());
  _exit(127);
}

Child::~Child() {
  Signal(SIGTERM);
  if (pid_ > 0 && !Wait(std::chrono::seconds(3))) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
}

std::optional<int> Child::Wait(std::chrono::milliseconds timeout) {
  const auto ended = [&] {
    int status = 0;
    if (!status_ && pid_ > 0 && waitpid(pid_, &status, WNOHANG) == pid_) status_ = Decode(status);
    return status_.has_value() || pid_ <= 0;
  };
  WaitFor(ended, timeout, std::chrono::milliseconds(5));
  return status_;
}

std::pair<int, std::string> RunShell(const std::string& command) {
  std::string output;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return {-1, output};
  char buffer[4096];
  for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, n);
  return {Decode(pclose(pipe)), output};
}

std::string ProgramPath(const std::string& name) {
  const char* folder = getenv("ORVANE_TEST_BIN_DIR");
  return std::string(folder != nullptr && *folder != '\0' ? folder : ORVANE_BIN_DIR) + "/" + name;
}

}  // namespace orvane::testing
