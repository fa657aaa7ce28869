#pragma once

#include <sys/types.h>

#include <string>
#include <utility>
#include <vector>

#include "tests/support/child.h"
#include "tests/support/temp_folder.h"
#include "tests/support/xvfb.h"

// An installed saver of the test's own and its processes, for the daemon runs and the saver
// benchmark.
namespace orvane::testing {

// The saver benchmark reads /proc files with it.
inline std::string ReadWholeFile(const std::string& path) {
  return ReadBytes(path);
}

// Copies of the built programs and texture in one folder, an optional Orvane.ini beside them,
// and a cache home of its own for the data directory.
class SaverInstall {
 public:
  SaverInstall();
  std::string Path(const std::string& name) const { return folder_ / name; }
  const std::string& cacheHome() const { return cache_.path(); }
  // Writes Orvane.ini with the music kind and file.
  void WriteSettings(int kind, const std::string& musicFile) {
    WriteBytes(Path("Orvane.ini"), SettingsText(kind, musicFile));
  }
  // The settings file's bytes for that kind and file, the keys as Japanese Windows writes them.
  static std::string SettingsText(int kind, const std::string& musicFile) {
    return "[Section]\r\nBGM\x8B\xE6\x95\xAA=" + std::to_string(kind) +
           "\r\nBGM\xD8\xCB\xDF\xB0\xC4=0\r\nBGM\xCC\xA7\xB2\xD9=" + musicFile + "\r\n";
  }

 private:
  TempFolder folder_;
  TempFolder cache_;
};

// True while pid runs (a zombie counts as ended).
bool ProcessRuns(pid_t pid);
// The running processes whose program file is exactly program (an install folder's own).
std::vector<pid_t> ProcessesRunning(const std::string& program);

// A process running one of the test's installed programs, found by its program file. It is
// signalled only by its own id (above 1), and only while that id still runs that program; the
// destructor ends it with SIGKILL if it still runs.
class InstalledProcess {
 public:
  InstalledProcess(pid_t pid, std::string program) : pid_(pid), program_(std::move(program)) {}
  ~InstalledProcess();
  InstalledProcess(const InstalledProcess&) = delete;
  InstalledProcess& operator=(const InstalledProcess&) = delete;
  pid_t pid() const { return pid_; }
  bool Runs() const;
  // False when the process is not (or no longer) ours to signal.
  bool Signal(int signal);

 private:
  pid_t pid_;
  std::string program_;
};

}  // namespace orvane::testing
