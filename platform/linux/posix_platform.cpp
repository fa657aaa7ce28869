#include "platform/linux/posix_platform.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <limits>

#include "common/data_directory.h"
#include "common/user_config.h"
#include "platform/atomic_file.h"
#include "platform/linux/settings_place.h"

namespace orvane {
namespace {

class PosixFileSystem final : public FileSystem {
 public:
  bool CreateDirectory(const std::string& path) override {
    const std::string target = common::MapFixedPath(path);
    if (target == common::DataDirectory()) return common::CreateDataDirectory();
    if (target.empty()) return false;
    struct stat info {};
    if (mkdir(target.c_str(), 0700) != 0 && errno != EEXIST) return false;
    return stat(target.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
  }

  bool CopyFile(const std::string& from, const std::string& to) override {
    const std::string target = common::MapFixedPath(to);
    // Nothing is copied into a data directory that the rule refuses.
    if (target != to && common::CheckDataDirectory() != common::DataDirectoryState::Usable) {
      return false;
    }
    return CopyFileAtomically(common::MapFixedPath(from), target);
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

  ProgramId StartProgram(const std::string& program,
                         const std::vector<std::string>& arguments) override {
    if (program.empty()) return 0;
    // Everything the child uses is made before fork: after it only async-signal-safe calls
    // are allowed.
    std::vector<std::string> words{program};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);

    // The child reports a failed exec through this pipe; a clean exec closes it.
    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0) return 0;
    const pid_t child = fork();
    if (child < 0) {
      close(report[0]);
      close(report[1]);
      return 0;
    }
    if (child == 0) {
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
    return 0;
  }

  bool ProgramEnded(ProgramId program) override {
    // Never 0 or below: waitpid would then look at other children, or a whole group.
    if (program <= 0 || program > std::numeric_limits<pid_t>::max()) return true;
    while (true) {
      const pid_t got = waitpid(static_cast<pid_t>(program), nullptr, WNOHANG);
      if (got == 0) return false;
      if (got < 0 && errno == EINTR) continue;
      // Collected now, or already gone (ECHILD): either way it has ended.
      return true;
    }
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
