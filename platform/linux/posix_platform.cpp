#include "platform/linux/posix_platform.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <limits>

#include "common/data_directory.h"
#include "common/user_config.h"
#include "platform/atomic_file.h"
#include "platform/linux/fork_exec.h"
#include "platform/linux/settings_place.h"
#include "platform/linux/user_folders.h"
#include "platform/linux/write_permission.h"

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
    const pid_t child = ForkExec(program, arguments, ProgramTie::OwnSession);
    return child > 0 ? child : 0;
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
  bool Writable(const std::string& path) override { return MayWrite(path); }
};

class PosixUserFiles final : public UserFiles {
 public:
  std::string SettingsPath(const std::string& hostFolder) override {
    PosixFileAccess files;
    return ChooseSettingsPath(hostFolder, common::UserConfigFolder(), files);
  }
  std::string SettingsSourcePath(const std::string& hostFolder) override {
    PosixFileAccess files;
    return ChooseSettingsSource(SettingsPath(hostFolder), hostFolder, files);
  }
  std::string UserPicturePath() override { return common::UserPicturePath(); }
  std::string MusicFolder() override { return DesktopMusicFolder(); }
  std::string HomeFolder() override { return DesktopHomeFolder(); }
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
