#include "tests/saver/saver_run.h"

#include <signal.h>
#include <unistd.h>

#include <filesystem>

namespace orvane::testing {
namespace {

// Its program file while it runs; "" else, for a zombie too, whose memory (and so its program
// file's link) has gone.
std::string ProgramOf(pid_t pid) {
  std::error_code error;
  return std::filesystem::read_symlink("/proc/" + std::to_string(pid) + "/exe", error).string();
}

}  // namespace

SaverInstall::SaverInstall() {
  for (const char* name : {"Orvane.scr", "Orvane.dll", "Orvane.image"})
    std::filesystem::copy_file(ProgramPath(name), Path(name));
}

std::vector<pid_t> ProcessesRunning(const std::string& program) {
  std::vector<pid_t> found;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator("/proc", error)) {
    const pid_t pid = static_cast<pid_t>(atoi(entry.path().filename().c_str()));
    if (pid > 1 && ProgramOf(pid) == program) found.push_back(pid);
  }
  return found;
}

InstalledProcess::~InstalledProcess() {
  // Never 0 or -1: those would reach a whole process group, or every process there is.
  if (pid_ > 1 && pid_ != getpid() && ProgramOf(pid_) == program_) kill(pid_, SIGKILL);
}

}  // namespace orvane::testing
