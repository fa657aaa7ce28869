#include "tests/saver/saver_run.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
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

// The ids of every process there is.
std::vector<pid_t> AllProcesses() {
  std::vector<pid_t> all;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator("/proc", error)) {
    const pid_t pid = static_cast<pid_t>(atoi(entry.path().filename().c_str()));
    if (pid > 1) all.push_back(pid);
  }
  return all;
}

}  // namespace

SaverInstall::SaverInstall() {
  for (const char* name : {"Orvane.scr", "Orvane.dll", "Orvane.image"}) {
    std::filesystem::copy_file(std::string(ORVANE_BIN_DIR) + "/" + name, Path(name));
  }
}

void SaverInstall::WriteSettings(int kind, const std::string& musicFile) {
  const auto line = [](std::string_view key, const std::string& value) {
    return std::string(key) + "=" + value + "\r\n";
  };
  WriteBytes(Path("Orvane.ini"), "[" + std::string(IniSection) + "]\r\n" +
                                     line(IniKeyKind, std::to_string(kind)) +
                                     line(IniKeyRepeatTrack, "0") + line(IniKeyFile, musicFile));
}

bool ProcessRuns(pid_t pid) {
  const auto fields = StatFields(pid);
  return !fields.empty() && fields[0] != "Z" && fields[0] != "X";
}

std::vector<pid_t> ZombieChildren(pid_t pid) {
  std::vector<pid_t> zombies;
  for (pid_t other : AllProcesses()) {
    const auto fields = StatFields(other);
    if (fields.size() > 1 && fields[0] == "Z" && fields[1] == std::to_string(pid)) {
      zombies.push_back(other);
    }
  }
  return zombies;
}

std::vector<std::string> CommandLineOf(pid_t pid) {
  std::istringstream raw(ReadBytes("/proc/" + std::to_string(pid) + "/cmdline"));
  std::vector<std::string> words;
  for (std::string word; std::getline(raw, word, '\0');) words.push_back(word);
  return words;
}

std::vector<pid_t> ProcessesRunning(const std::string& program) {
  std::vector<pid_t> found;
  for (pid_t pid : AllProcesses()) {
    if (ProcessRuns(pid) && ProgramOf(pid) == program) found.push_back(pid);
  }
  return found;
}

Screen::Screen(const std::string& display) {
  display_ = XOpenDisplay(display.c_str());
  // Windows come and go under the test's feet; a vanished one is no failure.
  XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
}

Screen::~Screen() {
  if (display_) XCloseDisplay(display_);
}

namespace {

bool HasTitle(Display* display, Window window, const std::string& title) {
  for (Atom property : {XInternAtom(display, "_NET_WM_NAME", False), Atom{XA_WM_NAME}}) {
    Atom type = 0;
    int format = 0;
    unsigned long items = 0, remaining = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, window, property, 0, 1024, False, AnyPropertyType, &type,
                           &format, &items, &remaining, &data) == Success &&
        data != nullptr) {
      const bool same = format == 8 && std::string(reinterpret_cast<char*>(data), items) == title;
      XFree(data);
      if (same) return true;
    }
  }
  return false;
}

void Collect(Display* display, Window window, const std::string& title, int depth,
             std::vector<unsigned long>& found) {
  if (depth > 0 && HasTitle(display, window, title)) found.push_back(window);
  Window root = 0, parent = 0, *children = nullptr;
  unsigned int count = 0;
  if (depth > 32 || !XQueryTree(display, window, &root, &parent, &children, &count)) return;
  std::vector<Window> list(children, children + count);
  if (children) XFree(children);
  for (Window child : list) Collect(display, child, title, depth + 1, found);
}

}  // namespace

std::vector<unsigned long> Screen::Windows(const std::string& title) {
  std::vector<unsigned long> found;
  if (display_) Collect(display_, DefaultRootWindow(display_), title, 0, found);
  return found;
}

bool Screen::IsMapped(unsigned long window) {
  XWindowAttributes attributes{};
  return XGetWindowAttributes(display_, window, &attributes) && attributes.map_state != IsUnmapped;
}

bool Screen::IsShown(unsigned long window) {
  XWindowAttributes attributes{};
  return XGetWindowAttributes(display_, window, &attributes) && attributes.map_state == IsViewable;
}

std::pair<int, int> Screen::Size(unsigned long window) {
  XWindowAttributes attributes{};
  if (!XGetWindowAttributes(display_, window, &attributes)) return {0, 0};
  return {attributes.width, attributes.height};
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
