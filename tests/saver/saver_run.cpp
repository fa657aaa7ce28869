#include "tests/saver/saver_run.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <dirent.h>
#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "host/Orvane_B.h"

namespace orvane::testing {
namespace {

int IgnoreXError(Display*, XErrorEvent*) {
  return 0;
}

// The fields of /proc/<pid>/stat after the program name: state, ppid, ...
std::vector<std::string> StatFields(pid_t pid) {
  const std::string stat = ReadWholeFile("/proc/" + std::to_string(pid) + "/stat");
  const size_t close = stat.rfind(')');
  std::vector<std::string> fields;
  if (close == std::string::npos) return fields;
  std::istringstream rest(stat.substr(close + 1));
  for (std::string field; rest >> field;) fields.push_back(field);
  return fields;
}

}  // namespace

TempFolder::TempFolder() {
  std::string pattern = std::filesystem::temp_directory_path().string() + "/orvane-saver-XXXXXX";
  if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void WriteWholeFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

SaverInstall::SaverInstall() {
  for (const char* name : {"Orvane.scr", "Orvane.dll", "Orvane.image"}) {
    std::filesystem::copy_file(std::string(ORVANE_BIN_DIR) + "/" + name, Path(name));
  }
}

void SaverInstall::WriteSettings(int kind, const std::string& musicFile) {
  std::string ini = "[" + std::string(IniSection) + "]\r\n";
  ini += std::string(IniKeyKind) + "=" + std::to_string(kind) + "\r\n";
  ini += std::string(IniKeyRepeatTrack) + "=0\r\n";
  ini += std::string(IniKeyFile) + "=" + musicFile + "\r\n";
  WriteWholeFile(Path("Orvane.ini"), ini);
}

bool ProcessRuns(pid_t pid) {
  const auto fields = StatFields(pid);
  return !fields.empty() && fields[0] != "Z" && fields[0] != "X";
}

std::vector<pid_t> ZombieChildren(pid_t pid) {
  std::vector<pid_t> zombies;
  DIR* proc = opendir("/proc");
  if (!proc) return zombies;
  while (dirent* entry = readdir(proc)) {
    const pid_t other = static_cast<pid_t>(atoi(entry->d_name));
    if (other <= 0) continue;
    const auto fields = StatFields(other);
    if (fields.size() > 1 && fields[0] == "Z" && fields[1] == std::to_string(pid)) {
      zombies.push_back(other);
    }
  }
  closedir(proc);
  return zombies;
}

std::vector<std::string> CommandLineOf(pid_t pid) {
  const std::string raw = ReadWholeFile("/proc/" + std::to_string(pid) + "/cmdline");
  std::vector<std::string> words;
  size_t start = 0;
  for (size_t nul = raw.find('\0'); nul != std::string::npos; nul = raw.find('\0', start)) {
    words.push_back(raw.substr(start, nul - start));
    start = nul + 1;
  }
  return words;
}

std::string ProgramOf(pid_t pid) {
  std::error_code error;
  return std::filesystem::read_symlink("/proc/" + std::to_string(pid) + "/exe", error).string();
}

Screen::Screen(const std::string& display) {
  display_ = XOpenDisplay(display.c_str());
  // Windows come and go under the test's feet; a vanished one is no failure.
  XSetErrorHandler(IgnoreXError);
}

Screen::~Screen() {
  if (display_) XCloseDisplay(display_);
}

namespace {

bool HasTitle(Display* display, Window window, const std::string& title) {
  static const Atom netWmName = XInternAtom(display, "_NET_WM_NAME", False);
  for (Atom property : {netWmName, static_cast<Atom>(XA_WM_NAME)}) {
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
             std::vector<Window>& found) {
  if (depth > 0 && HasTitle(display, window, title)) found.push_back(window);
  Window root = 0, parent = 0, *children = nullptr;
  unsigned int count = 0;
  if (depth > 32 || !XQueryTree(display, window, &root, &parent, &children, &count)) return;
  std::vector<Window> list(children, children + count);
  if (children) XFree(children);
  for (Window child : list) Collect(display, child, title, depth + 1, found);
}

}  // namespace

unsigned long Screen::Find(const std::string& title) {
  std::vector<Window> found;
  if (display_) Collect(display_, DefaultRootWindow(display_), title, 0, found);
  return found.empty() ? 0 : found.front();
}

int Screen::Count(const std::string& title) {
  std::vector<Window> found;
  if (display_) Collect(display_, DefaultRootWindow(display_), title, 0, found);
  return static_cast<int>(found.size());
}

bool Screen::IsMapped(unsigned long window) {
  XWindowAttributes attributes{};
  return XGetWindowAttributes(display_, window, &attributes) && attributes.map_state != IsUnmapped;
}

bool Screen::IsShown(unsigned long window) {
  XWindowAttributes attributes{};
  return XGetWindowAttributes(display_, window, &attributes) && attributes.map_state == IsViewable;
}

bool Screen::IsTopLevel(unsigned long window) {
  Window root = 0, parent = 0, *children = nullptr;
  unsigned int count = 0;
  if (!XQueryTree(display_, window, &root, &parent, &children, &count)) return false;
  if (children) XFree(children);
  return parent == root;
}

pid_t Screen::WindowPid(unsigned long window) {
  const Atom netWmPid = XInternAtom(display_, "_NET_WM_PID", False);
  Atom type = 0;
  int format = 0;
  unsigned long items = 0, remaining = 0;
  unsigned char* data = nullptr;
  pid_t pid = -1;
  if (XGetWindowProperty(display_, window, netWmPid, 0, 1, False, XA_CARDINAL, &type, &format,
                         &items, &remaining, &data) == Success &&
      data != nullptr) {
    if (format == 32 && items == 1) pid = static_cast<pid_t>(*reinterpret_cast<long*>(data));
    XFree(data);
  }
  return pid;
}

std::pair<int, int> Screen::Size(unsigned long window) {
  XWindowAttributes attributes{};
  if (!XGetWindowAttributes(display_, window, &attributes)) return {0, 0};
  return {attributes.width, attributes.height};
}

std::vector<pid_t> ProcessesRunning(const std::string& program) {
  std::vector<pid_t> found;
  DIR* proc = opendir("/proc");
  if (!proc) return found;
  while (dirent* entry = readdir(proc)) {
    const pid_t pid = static_cast<pid_t>(atoi(entry->d_name));
    if (pid > 1 && ProcessRuns(pid) && ProgramOf(pid) == program) found.push_back(pid);
  }
  closedir(proc);
  return found;
}

RendererGuard::~RendererGuard() {
  Signal(SIGKILL);
}

bool RendererGuard::Runs() const {
  return pid_ > 1 && ProcessRuns(pid_) && ProgramOf(pid_) == program_;
}

bool RendererGuard::Signal(int signal) {
  // Never 0 or -1: those would reach a whole process group, or every process there is.
  if (!Runs() || pid_ == getpid()) return false;
  return kill(pid_, signal) == 0;
}

}  // namespace orvane::testing
