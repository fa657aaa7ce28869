#pragma once

#include <signal.h>
#include <sys/types.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/child.h"
#include "tests/support/temp_folder.h"
#include "tests/support/xvfb.h"

// A saver installed for the daemon runs and the saver benchmark, and its processes.
namespace orvane::testing {

// Copies of the built programs and texture in one folder, and a cache home of its own.
class SaverInstall {
 public:
  SaverInstall() {
    for (const char* name : {"Orvane.scr", "Orvane.dll", "Orvane.image"})
      std::filesystem::copy_file(ProgramPath(name), Path(name));
  }
  std::string Path(const std::string& name) const { return folder_ / name; }
  const std::string& cacheHome() const { return cache_.path(); }
  void WriteSettings(int kind, const std::string& musicFile) {
    WriteBytes(Path("Orvane.ini"), SettingsText(kind, musicFile));
  }
  // The settings file's bytes, the keys as Japanese Windows writes them.
  static std::string SettingsText(int kind, const std::string& musicFile) {
    return "[Section]\r\nBGM\x8B\xE6\x95\xAA=" + std::to_string(kind) +
           "\r\nBGM\xD8\xCB\xDF\xB0\xC4=0\r\nBGM\xCC\xA7\xB2\xD9=" + musicFile + "\r\n";
  }

 private:
  TempFolder folder_;
  TempFolder cache_;
};

// Its program file while it runs; "" else, for a zombie too, whose memory (and so its program
// file's link) has gone.
inline std::string ProgramOf(pid_t pid) {
  std::error_code error;
  return std::filesystem::read_symlink("/proc/" + std::to_string(pid) + "/exe", error).string();
}

// The running processes whose program file is exactly program (an install folder's own).
inline std::vector<pid_t> ProcessesRunning(const std::string& program) {
  std::vector<pid_t> found;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator("/proc", error)) {
    const pid_t pid = static_cast<pid_t>(atoi(entry.path().filename().c_str()));
    if (pid > 1 && ProgramOf(pid) == program) found.push_back(pid);
  }
  return found;
}

// A process running one of the test's installed programs, which the destructor ends with
// SIGKILL: only by its own id, and only while that id still runs that program.
class InstalledProcess {
 public:
  InstalledProcess(pid_t pid, std::string program) : pid_(pid), program_(std::move(program)) {}
  // Never 0 or -1: those would reach a whole process group, or every process there is.
  ~InstalledProcess() {
    if (pid_ > 1 && pid_ != getpid() && ProgramOf(pid_) == program_) kill(pid_, SIGKILL);
  }
  InstalledProcess(const InstalledProcess&) = delete;
  InstalledProcess& operator=(const InstalledProcess&) = delete;
  pid_t pid() const { return pid_; }

 private:
  pid_t pid_;
  std::string program_;
};

}  // namespace orvane::testing
