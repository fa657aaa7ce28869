#include "tests/support/child.h"

#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace orvane::testing {
namespace {

std::string TempPath(const char* tag) {
  std::string pattern = std::string(P_tmpdir) + "/orvane-" + tag + "-XXXXXX";
  int fd = mkstemp(pattern.data());
  if (fd >= 0) close(fd);
  return pattern;
}

int Decode(int status) {
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return -1;
}

}  // namespace

pid_t Spawn(std::vector<std::string> argv, const std::vector<std::string>& env,
            const std::string& out, const std::string& err, bool dieWithTest) {
  const pid_t parent = getpid();
  const pid_t pid = fork();
  if (pid != 0) return pid;
  if (dieWithTest && (prctl(PR_SET_PDEATHSIG, SIGKILL), getppid() != parent)) _exit(127);
  for (const std::string& pair : env) {
    const size_t eq = pair.find('=');
    eq == std::string::npos ? unsetenv(pair.c_str())
                            : setenv(pair.substr(0, eq).c_str(), pair.substr(eq + 1).c_str(), 1);
  }
  dup2(open("/dev/null", O_RDONLY), STDIN_FILENO);
  dup2(open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), STDOUT_FILENO);
  dup2(open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), STDERR_FILENO);
  std::vector<char*> args;
  for (std::string& a : argv) args.push_back(a.data());
  args.push_back(nullptr);
  execvp(args[0], args.data());
  _exit(127);
}

void End(pid_t pid) {
  if (pid <= 0) return;
  kill(pid, SIGTERM);
  if (!WaitFor([&] { return waitpid(pid, nullptr, WNOHANG) == pid; },
               std::chrono::milliseconds(3000), std::chrono::milliseconds(10))) {
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
  }
}

Child::Child(std::vector<std::string> argv, std::vector<std::string> env)
    : outPath_(TempPath("out")), errPath_(TempPath("err")) {
  pid_ = Spawn(std::move(argv), env, outPath_, errPath_);
}

Child::~Child() {
  if (pid_ > 0 && !status_) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  unlink(outPath_.c_str());
  unlink(errPath_.c_str());
}

std::optional<int> Child::Wait(std::chrono::milliseconds timeout) {
  if (status_ || pid_ <= 0) return status_;
  WaitFor(
      [&] {
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) status_ = Decode(status);
        return status_.has_value();
      },
      timeout, std::chrono::milliseconds(5));
  return status_;
}

std::pair<int, std::string> RunShell(const std::string& command) {
  std::string output;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return {-1, output};
  char buffer[4096];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
  const int status = pclose(pipe);
  return {Decode(status), output};
}

std::string ProgramPath(const std::string& name) {
  const char* folder = getenv("ORVANE_TEST_BIN_DIR");
  return std::string(folder != nullptr && *folder != '\0' ? folder : ORVANE_BIN_DIR) + "/" + name;
}

}  // namespace orvane::testing
