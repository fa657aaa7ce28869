// The daemon mode on the real system: the X display, the GLib main loop, signals and music.
#include <X11/Xlib.h>
#include <glib-unix.h>
#include <stdlib.h>

#include <cstdio>
#include <memory>
#include <optional>

#include "common/data_directory.h"
#include "host/Orvane_B.h"
#include "host/daemon_run.h"
#include "host/music/Orvane_BGM.h"
#include "host/window_place.h"
#include "platform/linux/close_watch.h"
#include "platform/linux/posix_platform.h"
#include "platform/linux/x11_platform.h"
#include "platform/multimedia.h"

namespace orvane {
namespace {

// Everything below lives as long as the process, which ends in DaemonRun::End.
DaemonRun* run = nullptr;
Display* display = nullptr;
Window target = 0;
bool xFailed = false;

int Fail(const std::string& message) {
  std::fprintf(stderr, "Orvane: %s\n", message.c_str());
  return 1;
}

int RecordXError(Display*, XErrorEvent*) {
  xFailed = true;
  return 0;
}

std::optional<WindowNode> LookUpWindow(std::uint32_t window) {
  Window root = 0, parent = 0, *children = nullptr;
  unsigned int count = 0;
  int x = 0, y = 0;
  unsigned int width = 0, height = 0, border = 0, depth = 0;
  xFailed = false;
  const bool found =
      XQueryTree(display, window, &root, &parent, &children, &count) != 0 &&
      XGetGeometry(display, window, &root, &x, &y, &width, &height, &border, &depth) != 0;
  if (children != nullptr) XFree(children);
  if (!found || xFailed) return std::nullopt;
  return WindowNode{static_cast<std::uint32_t>(parent), x, y, width + 2 * border,
                    height + 2 * border};
}

gboolean OnXEvents(gint, GIOCondition, gpointer) {
  while (XPending(display) > 0) {
    XEvent event;
    XNextEvent(display, &event);
    if (event.type == DestroyNotify && event.xdestroywindow.window == target) run->End();
  }
  return G_SOURCE_CONTINUE;
}

}  // namespace

int RunDaemon(const DaemonRequest& request) {
  if (!request.error.empty()) return Fail(request.error);
  static auto process = MakePosixProcess();
  static auto fileSystem = MakePosixFileSystem();
  static auto userFiles = MakePosixUserFiles();
  SetHostFolder(process->HostFolder());

  display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    return Fail("cannot open the X display (is DISPLAY set and the X server running?)");
  }
  XSetErrorHandler(RecordXError);
  target = request.window.value_or(DefaultRootWindow(display));
  const auto place = FindWindowPlace(static_cast<std::uint32_t>(target), LookUpWindow);
  if (!place) {
    return Fail("cannot find the window " + WindowIdText(static_cast<std::uint32_t>(target)));
  }
  const bool music = PlaysMusicIn(*place, request.windowFromSwitch);
  // Only the window's end is heard: input belongs to the daemon.
  XSelectInput(display, target, StructureNotifyMask);
  XSync(display, False);
  if (xFailed) return Fail("cannot watch the window " + WindowIdText(target));

  if (const std::string_view missing = PrepareDaemonRun(*fileSystem, *userFiles);
      !missing.empty()) {
    return Fail(std::string(missing));
  }

  static auto timers = MakeGLibTimers();
  static auto renderer = MakePosixOwnedProgram();
  static auto lock =
      MakeFlockMusicLock(MusicLockPath(getenv("XDG_RUNTIME_DIR"), common::DataDirectory()));
  static std::unique_ptr<platform::Multimedia> multimedia;
  static DaemonRun daemonRun(DaemonParts{*fileSystem, *process, *timers, *renderer, *lock,
                                         [] {
                                           multimedia = platform::CreateSystemMultimedia();
                                           BGM_UseMultimedia(*multimedia);
                                         }},
                             static_cast<std::uint32_t>(target), music);
  run = &daemonRun;

  static CloseWatch closeWatch([] { run->End(); });
  g_unix_fd_add(ConnectionNumber(display), static_cast<GIOCondition>(G_IO_IN | G_IO_HUP | G_IO_ERR),
                OnXEvents, nullptr);

  run->Start();
  GMainLoop* loop = g_main_loop_new(nullptr, FALSE);
  g_main_loop_run(loop);
  return 0;
}

}  // namespace orvane
