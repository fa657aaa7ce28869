#include "tests/saver/saver_run.h"

#include <signal.h>
#include <unistd.h>

#include <filesystem>

namespace orvane::testing {
namespace {

std::string ProgramOf(pid_t pid) {
  std::error_code error;
  return std::filesystem::read_symlink("/proc/" + std::to_string(pid) + "/exe", error).string();
}

}  // namespace

SaverInstall::SaverInstall() {
  for (const char* name : {"Orvane.scr", "Orvane.dll", "Orvane.image"})
    std::filesystem::copy_file(ProgramPath(name), Path(name));
}

bool ProcessRuns(pid_t pid) {
  // The state follows the program's name, which ends at the last ')'.
  const std::string stat = ReadBytes("/proc/" + std::to_string(pid) + "/stat");
  const size_t close = stat.rfind(')');
  return close != std::string::npos && close + 2 < stat.size() && stat[close + 2] != 'Z' &&
         stat[close + 2] != 'X';
}

std::vector<pid_t> ProcessesRunning(const std::string& program) {
  std::vector<pid_t> found;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator("/proc", error)) {
    const pid_t pid = static_cast<pid_t>(atoi(entry.path().filename().c_str()));
    if (pid > 1 && ProcessRuns(pid) && ProgramOf(pid) == program) found.push_back(pid);
  }
  return found;
}

InstalledProcess::~InstalledProcess() {
  Signal(SIGKILL);
}

bool InstalledProcess::Runs() const {
  return pid_ > 1 && ProcessRuns(pid_) && ProgramOf(pid_) == program_;
}

bool InstalledProcess::Signal(int signal) {
  // Never 0 or -1: those would reach a whole process group, or every process there is.
  if (!Runs() || pid_ == getpid()) return false;
  return kill(pid_, signal) == 0;
}

}  // namespace orvane::testing
