#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "host/daemon_command_line.h"
#include "host/saver_music.h"
#include "host/window_place.h"
#include "host/window_timer.h"
#include "platform/file_system.h"
#include "platform/music_lock.h"
#include "platform/owned_program.h"
#include "platform/process.h"
#include "platform/timers.h"
#include "platform/user_files.h"

// The saver run that a screen-saver daemon starts: the tunnel drawn into the daemon's window
// and the music of "/s", with no window of the host's own, owned and ended as daemons expect.
namespace orvane {

// What a daemon run asks of the system.
struct DaemonParts {
  FileSystem& fileSystem;
  Process& process;
  Timers& timers;
  OwnedProgram& renderer;
  MusicLock& musicLock;
  // Runs once, just before the first music starts (the multimedia system is made there).
  std::function<void()> prepareMusic;
};

// The start-up of "/s" without its message boxes, for the settings place of this installation.
// The missing-file message, or "" when all is there.
std::string_view PrepareDaemonRun(FileSystem& fileSystem, UserFiles& userFiles);

class DaemonRun {
 public:
  static constexpr std::chrono::milliseconds WatchInterval{500};       // looks for the renderer
  static constexpr std::chrono::milliseconds MusicRetryInterval{500};  // tries the music lock

  // window: the daemon's, where the renderer draws; music: whether this run may play.
  DaemonRun(DaemonParts parts, std::uint32_t window, bool music);
  // The same run with the renderer started on other arguments (the Wayland saver's).
  DaemonRun(DaemonParts parts, std::vector<std::string> rendererArguments, bool music);
  ~DaemonRun();
  DaemonRun(const DaemonRun&) = delete;
  DaemonRun& operator=(const DaemonRun&) = delete;

  // Music starts only with the music lock; without it the run tries again every 500 ms and
  // takes over once the run that plays has ended.
  void Start();
  // The end, whatever its cause (a signal, the window or display gone, the renderer ended); the
  // first call only stops the music, releases the lock, reaps the renderer and ends the process.
  void End();

  bool playing() const { return playing_; }

 private:
  void WatchRenderer();
  void TryMusic();

  DaemonParts parts_;
  std::vector<std::string> rendererArguments_;
  bool music_;
  WindowTimer watch_;
  WindowTimer retry_;
  SaverMusic saverMusic_;
  bool playing_ = false;
  bool ending_ = false;
};

// The run above on the X display, ended by SIGTERM, SIGINT, SIGHUP or the window or display
// gone. Returns an exit code only when the run cannot start; otherwise DaemonRun::End ends it.
int RunDaemon(const DaemonRequest& request);

}  // namespace orvane
