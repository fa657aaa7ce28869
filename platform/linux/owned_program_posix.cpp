#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

#include "platform/owned_program.h"

namespace orvane {
namespace {

constexpr auto kGrace = std::chrono::milliseconds(500);

class PosixOwnedProgram final : public OwnedProgram {
 public:
  ~PosixOwnedProgram() override { End(); }

  bool Start(const std::string& program, const std::vector<std::string>& arguments) override {
    if (pid_ > 0 || program.empty()) return false;
    // Everything the child uses is made before fork: after it only async-signal-safe calls
    // are allowed.
    std::vector<std::string> words{program};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);

    // The child reports a failed exec through this pipe; a clean exec closes it.
    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0) return false;
    const pid_t parent = getpid();
    const pid_t child = fork();
    if (child < 0) {
      close(report[0]);
      close(report[1]);
      return false;
    }
    if (child == 0) {
      // Dies with the host, even when the host is killed; a host already gone means now.
      if (prctl(PR_SET_PDEATHSIG, SIGKILL) != 0 || getppid() != parent) _exit(127);
      sigset_t none;
      sigemptyset(&none);
      sigprocmask(SIG_SETMASK, &none, nullptr);
      for (int sig : {SIGPIPE, SIGCHLD, SIGINT, SIGTERM, SIGHUP}) signal(sig, SIG_DFL);
      execv(argv[0], argv.data());
      const int error = errno;
      ssize_t ignored = write(report[1], &error, sizeof error);
      (void)ignored;
      _exit(127);
    }
    close(report[1]);
    int error = 0;
    ssize_t got;
    do {
      got = read(report[0], &error, sizeof error);
    } while (got < 0 && errno == EINTR);
    close(report[0]);
    pid_ = child;
    if (got != 0) {
      End();
      return false;
    }
    return true;
  }

  bool Running() override {
    if (pid_ <= 0) return false;
    const pid_t got = waitpid(pid_, nullptr, WNOHANG);
    if (got == 0) return true;
    if (got < 0 && errno == EINTR) return true;
    pid_ = -1;
    return false;
  }

  void End() override {
    if (!Running()) return;
    kill(pid_, SIGTERM);
    const auto deadline = std::chrono::steady_clock::now() + kGrace;
    while (Running() && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (pid_ <= 0) return;
    kill(pid_, SIGKILL);
    while (waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
    }
    pid_ = -1;
  }

 private:
  pid_t pid_ = -1;
};

}  // namespace

std::unique_ptr<OwnedProgram> MakePosixOwnedProgram() {
  return std::make_unique<PosixOwnedProgram>();
}

}  // namespace orvane
