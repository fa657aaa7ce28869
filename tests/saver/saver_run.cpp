#include "tests/saver/saver_run.h"

#include <signal.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>

#include "host/Orvane_B.h"

namespace orvane::testing {
namespace {

// The fields of /proc/<pid>/stat after the program name: state, ppid, ...
std::vector<std::string> StatFields(pid_t pid) {
  const std::string stat = ReadBytes("/proc/" + std::to_string(pid) + "/stat");
  const size_t close = stat.rfind(')');
  std::vector<std::string> fields;
  if (close == std::string::npos) return fields;
  std::istringstream rest(stat.substr(close + 1));
  for (std::string field; rest >> field;) fields.push_back(field);
  return fields;
}

std::string ProgramOf(pid_t pid) {
  std::error_code error;
  return std::filesystem::read_symlink("/proc/" + std::to_string(pid) + "/exe", error).string();
}

template <typename Condition>
std::vector<pid_t> ProcessesWhere(Condition condition) {
  std::vector<pid_t> found;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator("/proc", error)) {
    const pid_t pid = static_cast<pid_t>(atoi(entry.path().filename().c_str()));
    if (pid > 1 && condition(pid)) found.push_back(pid);
  }
  return found;
}

}  // namespace

SaverInstall::SaverInstall() {
  for (const char* name : {"Orvane.scr", "Orvane.dll", "Orvane.image"}) {
    std::filesystem::copy_file(ProgramPath(name), Path(name));
  }
}

void SaverInstall::WriteSettings(int kind, const std::string& musicFile) {
  WriteBytes(Path("Orvane.ini"), SettingsText(kind, musicFile));
}

std::string SaverInstall::SettingsText(int kind, const std::string& musicFile) {
  return ("[" + std::string(IniSection) + "]\r\n" + std::string(IniKeyKind) + "=" +
          std::to_string(kind) + "\r\n" + std::string(IniKeyRepeatTrack) + "=0\r\n" +
          std::string(IniKeyFile) + "=" + musicFile + "\r\n");
}

bool ProcessRuns(pid_t pid) {
  const auto fields = StatFields(pid);
  return !fields.empty() && fields[0] != "Z" && fields[0] != "X";
}

std::vector<pid_t> ProcessesRunning(const std::string& program) {
  return ProcessesWhere([&](pid_t pid) { return ProcessRuns(pid) && ProgramOf(pid) == program; });
}

std::vector<pid_t> ZombieChildren(pid_t parent) {
  return ProcessesWhere([&](pid_t pid) {
    const auto fields = StatFields(pid);
    return fields.size() > 1 && fields[0] == "Z" && fields[1] == std::to_string(parent);
  });
}

std::vector<pid_t> Children(pid_t parent) {
  return ProcessesWhere([&](pid_t pid) {
    const auto fields = StatFields(pid);
    return fields.size() > 1 && fields[1] == std::to_string(parent);
  });
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
