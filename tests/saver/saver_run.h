#pragma once

#include <sys/types.h>

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/child.h"
#include "tests/support/xvfb.h"

struct _XDisplay;

namespace orvane::testing {

// A folder of the test's own, removed with everything in it at the end.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

std::string ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const std::string& bytes);

// An installed saver of the test's own: copies of the built Orvane.scr, Orvane.dll and
// Orvane.image in one folder, an optional Orvane.ini beside them, and a cache home of its
// own for the data directory.
class SaverInstall {
 public:
  SaverInstall();
  const std::string& folder() const { return folder_.path(); }
  std::string Path(const std::string& name) const { return folder() + "/" + name; }
  // XDG_CACHE_HOME for the host, and the texture copy the saver makes there.
  const std::string& cacheHome() const { return cache_.path(); }
  std::string TextureCopy() const { return cacheHome() + "/t_ovin/Orvane.image"; }
  // Writes Orvane.ini with the music kind and file (keys as the Japanese Windows wrote them).
  void WriteSettings(int kind, const std::string& musicFile);

 private:
  TempFolder folder_;
  TempFolder cache_;
};

// The processes' side of the checks: they look at /proc.
// True while pid runs (a zombie counts as ended).
bool ProcessRuns(pid_t pid);
// The children of pid that have ended and were not reaped.
std::vector<pid_t> ZombieChildren(pid_t pid);
// The arguments pid was started with, program first.
std::vector<std::string> CommandLineOf(pid_t pid);
// The program file pid runs.
std::string ProgramOf(pid_t pid);
// The running processes whose program file is exactly program (each test has an install folder
// of its own, so its renderer is the one running that folder's Orvane.dll).
std::vector<pid_t> ProcessesRunning(const std::string& program);

// The X side: a connection of the test's own to its Xvfb.
class Screen {
 public:
  explicit Screen(const std::string& display);
  ~Screen();
  Screen(const Screen&) = delete;
  Screen& operator=(const Screen&) = delete;

  // The first window with exactly that title anywhere in the tree, or 0.
  unsigned long Find(const std::string& title);
  // How many windows have exactly that title.
  int Count(const std::string& title);
  bool IsMapped(unsigned long window);
  // Mapped, and so are all its ancestors.
  bool IsShown(unsigned long window);
  bool IsTopLevel(unsigned long window);
  // _NET_WM_PID of the window, or -1.
  pid_t WindowPid(unsigned long window);
  // The window's size, or 0 x 0 when it is gone.
  std::pair<int, int> Size(unsigned long window);

 private:
  _XDisplay* display_ = nullptr;
};

// The renderer that a test's host started, found by its program file. It is signalled only by
// its own id (a real one: above 1), and only while that id still runs our copy of the renderer;
// the destructor ends it with SIGKILL if it still runs.
class RendererGuard {
 public:
  RendererGuard(pid_t pid, std::string program) : pid_(pid), program_(std::move(program)) {}
  ~RendererGuard();
  RendererGuard(const RendererGuard&) = delete;
  RendererGuard& operator=(const RendererGuard&) = delete;
  pid_t pid() const { return pid_; }
  bool Runs() const;
  // False when the process is not (or no longer) ours to signal.
  bool Signal(int signal);

 private:
  pid_t pid_;
  std::string program_;
};

}  // namespace orvane::testing
