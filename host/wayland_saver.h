#pragma once

#include <functional>
#include <string>

#include "host/daemon_run.h"
#include "platform/platform.h"
#include "platform/saver_lock.h"

// The saver run on a Wayland session. A compositor has no window list that could be searched
// for the renderer's title, so this run follows the renderer's process instead, and ends it
// itself: a saver that an idle program (swayidle) started must go when that program ends it.
namespace orvane {

// What the run asks of the system beyond the host's platform.
struct WaylandSaverParts {
  OwnedProgram& renderer;
  MusicLock& musicLock;
  SaverLock& saverLock;
  // Runs once, just before the music starts (the multimedia system is made there).
  std::function<void()> prepareMusic;
};

class WaylandSaver {
 public:
  // The renderer's switch for its Wayland shell.
  static constexpr const char* RendererSwitch = "--wayland";

  WaylandSaver(Platform& platform, WaylandSaverParts parts);
  WaylandSaver(const WaylandSaver&) = delete;
  WaylandSaver& operator=(const WaylandSaver&) = delete;

  // If another saver holds the saver lock this process ends at once, silently; else every 500 ms
  // it looks whether the renderer still runs, and closes once it has ended.
  void Start();
  // The close step, whatever its cause (the renderer ended, a signal), the first time only:
  // stops the music, ends and reaps the renderer, ends the process.
  void Close();

 private:
  Platform& platform_;
  SaverLock& saverLock_;
  DaemonRun run_;
};

// Saver mode on a Wayland session: Main with no X display, then the run above on the GLib main
// loop; the process ends in Main (a refused start, a missing file) or in the close step.
int RunWaylandSaver(const std::string& commandLine);

}  // namespace orvane
