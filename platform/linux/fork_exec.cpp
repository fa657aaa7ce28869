#include "platform/linux/fork_exec.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

namespace orvane {

pid_t ForkExec(const std::string& program, const std::vector<std::string>& arguments,
               ProgramTie tie) {
  if (program.empty()) return -1;
  // Everything the child uses is made before fork: after it only async-signal-safe calls are
  // allowed.
  std::vector<std::string> words{program};
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (auto& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);

  // The child reports a failed exec through this pipe; a clean exec closes it.
  int report[2];
  if (pipe2(report, O_CLOEXEC) != 0) return -1;
  const pid_t parent = getpid();
  const pid_t child = fork();
  if (child < 0) {
    close(report[0]);
    close(report[1]);
    return -1;
  }
  if (child == 0) {
    if (tie != ProgramTie::OwnSession) {
      // A host already gone by the time the signal is set means now.
      if (prctl(PR_SET_PDEATHSIG, SIGKILL) != 0 || getppid() != parent) _exit(127);
    }
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    for (int sig : {SIGPIPE, SIGCHLD, SIGINT, SIGTERM, SIGHUP}) signal(sig, SIG_DFL);
    if (tie == ProgramTie::DiesWithHostOwnGroup) setpgid(0, 0);
    if (tie == ProgramTie::OwnSession) {
      setsid();
      execvp(argv[0], argv.data());
    } else {
      execv(argv[0], argv.data());
    }
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
  if (got == 0) return child;
  // The exec failed: the child is ending on its own, and is collected here.
  while (waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
  }
  return -1;
}

}  // namespace orvane
