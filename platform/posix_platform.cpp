#include "platform/posix_platform.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

#include "common/data_directory.h"
#include "common/user_config.h"
#include "platform/atomic_file.h"
#include "platform/settings_place.h"

namespace orvane {
namespace {

class PosixFileSystem final : public FileSystem {
 public:
  bool CreateDirectory(const std::string& path) override {
    const std::string target = common::MapFixedPath(path);
    if (target.empty()) return false;
    // Missing parents too, each private to the user like the data directory.
    for (size_t slash = target.find('/', 1);; slash = target.find('/', slash + 1)) {
      const std::string part = target.substr(0, slash);
      if (!part.empty() && mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
      if (slash == std::string::npos) break;
    }
    struct stat info {};
    return stat(target.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
  }

  bool CopyFile(const std::string& from, const std::string& to) override {
    return CopyFileAtomically(common::MapFixedPath(from), common::MapFixedPath(to));
  }
};

class PosixProcess final : public Process {
 public:
  explicit PosixProcess(std::function<void()> beforeExit) : beforeExit_(std::move(beforeExit)) {}

  std::string HostFolder() override {
    char buffer[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (length <= 0) return ".";
    std::string path(buffer, static_cast<size_t>(length));
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
  }

  bool StartProgram(const std::string& program,
                    const std::vector<std::string>& arguments) override {
    if (program.empty()) return false;
    // Everything the children use is made before fork: after it only async-signal-safe
    // calls are allowed.
    std::vector<std::string> words{program};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);

    // The grandchild reports a failed exec through this pipe; a clean exec closes it.
    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0) return false;
    const pid_t child = fork();
    if (child < 0) {
      close(report[0]);
      close(report[1]);
      return false;
    }
    if (child == 0) {
      // The middle process ends at once, so the program is adopted by init: no zombie here.
      const pid_t grandchild = fork();
      if (grandchild != 0) _exit(grandchild < 0 ? 1 : 0);
      sigset_t none;
      sigemptyset(&none);
      sigprocmask(SIG_SETMASK, &none, nullptr);
      for (int sig : {SIGPIPE, SIGCHLD, SIGINT, SIGTERM, SIGHUP}) signal(sig, SIG_DFL);
      setsid();  // its own session: it outlives the host and is not ended with it
      execvp(argv[0], argv.data());
      const int error = errno;
      ssize_t ignored = write(report[1], &error, sizeof error);
      (void)ignored;
      _exit(127);
    }
    close(report[1]);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    int error = 0;
    ssize_t got;
    do {
      got = read(report[0], &error, sizeof error);
    } while (got < 0 && errno == EINTR);
    close(report[0]);
    const bool forked = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return forked && got == 0;
  }

  void EndProcess() override {
    if (beforeExit_) beforeExit_();
    _exit(0);
  }

 private:
  std::function<void()> beforeExit_;
};

class PosixFileAccess final : public FileAccess {
 public:
  bool Exists(const std::string& path) override { return access(path.c_str(), F_OK) == 0; }
  bool Writable(const std::string& path) override { return access(path.c_str(), W_OK) == 0; }
};

class PosixUserFiles final : public UserFiles {
 public:
  std::string SettingsPath(const std::string& hostFolder) override {
    PosixFileAccess files;
    return ChooseSettingsPath(hostFolder, common::UserConfigFolder(), files);
  }
  std::string UserPicturePath() override { return common::UserPicturePath(); }
};

}  // namespace

std::unique_ptr<FileSystem> MakePosixFileSystem() {
  return std::make_unique<PosixFileSystem>();
}

std::unique_ptr<Process> MakePosixProcess(std::function<void()> beforeExit) {
  return std::make_unique<PosixProcess>(std::move(beforeExit));
}

std::unique_ptr<UserFiles> MakePosixUserFiles() {
  return std::make_unique<PosixUserFiles>();
}

}  // namespace orvane
