#pragma once

#include <sys/types.h>

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/child.h"
#include "tests/support/screenshot.h"
#include "tests/support/temp_folder.h"

namespace orvane::testing {

// The user a Wayland compositor and its clients run as: the test's own, or, for a test run as
// root (sway refuses root), "orvane-wayland", made with useradd when missing.
struct SessionUser {
  uid_t uid = 0;
  gid_t gid = 0;
  bool switched = false;  // the test runs as root and the programs as this user
};
std::optional<SessionUser> WaylandUser();

enum class Compositor {
  Sway,    // sway 1.7, headless, two 640 × 480 outputs side by side, XWayland on
  Weston,  // weston 10, headless, GL on llvmpipe, one 640 × 480 output, screenshots allowed
};

// One output as the compositor lays it out: position and size in the layout's (logical)
// pixels, and its scale.
struct OutputInfo {
  std::string name;
  int x = 0, y = 0, width = 0, height = 0;
  double scale = 1;
};

// A headless compositor of the test's own: its own runtime folder (mode 0700, the user's),
// socket and HOME, run as WaylandUser(). Several may run at once. The destructor ends exactly
// the compositor it started, by its id.
class WaylandSession {
 public:
  explicit WaylandSession(Compositor compositor = Compositor::Sway);
  ~WaylandSession();
  WaylandSession(const WaylandSession&) = delete;
  WaylandSession& operator=(const WaylandSession&) = delete;

  // The compositor answers and, for sway, shows both outputs.
  bool running() const { return ready_; }
  // Its standard error, for a failed test's message.
  std::string Log() const { return ReadBytes(folder_ / "compositor.log"); }
  // NAME=value pairs that point a program at the session: PATH, HOME, XDG_RUNTIME_DIR,
  // WAYLAND_DISPLAY, and on sway SWAYSOCK and XWayland's DISPLAY.
  const std::vector<std::string>& env() const { return env_; }
  // The user's HOME for the session, a folder of the session's own (the user's).
  std::string home() const { return folder_ / "home"; }

  // argv (argv[0] looked up in PATH) as the session's user, in only the session's environment
  // plus env (NAME=value pairs); Child::pid() is the program's own id, so a signal reaches it.
  std::unique_ptr<Child> Start(const std::vector<std::string>& argv,
                               const std::vector<std::string>& env = {}) const;
  // The same, run to its end (at most 30 s): its exit code and standard output.
  std::pair<int, std::string> Run(const std::vector<std::string>& argv) const;
  // Gives path and all in it to the session's user (the renderer reads only its own folders).
  bool GiveToUser(const std::string& path) const;

  // sway: the outputs, in the compositor's order.
  std::vector<OutputInfo> Outputs() const;
  // sway: plugs in another 640 × 480 output; its name once the compositor lists it, else "".
  std::string AddOutput() const;
  // sway: sets an output's scale and waits until the compositor reports it.
  bool SetScale(const std::string& output, int scale) const;
  // sway: types one key (an xkb key name such as "Escape") through a virtual keyboard, held a
  // moment after plugging it in so that the focused surface has the keyboard first.
  bool Type(const std::string& key) const;

  // A picture of the layout's rectangle from (x, y), width × height logical pixels; scale 0
  // takes the greatest scale of the outputs it covers (sway, grim). Weston: the whole output,
  // whatever the rectangle (weston-screenshooter). Invalid when it cannot be taken.
  Screenshot Shot(int x, int y, int width, int height, int scale = 1) const;
  // One pixel of the layout; nullopt when it cannot be read.
  std::optional<Rgb> Pixel(int x, int y) const;

 private:
  bool WaitUntilReady(Compositor compositor);

  Compositor compositor_;
  SessionUser user_;
  TempFolder folder_;
  std::string runtime_;
  std::string waylandDisplay_;
  std::vector<std::string> env_;
  pid_t pid_ = -1;
  bool ready_ = false;
};

}  // namespace orvane::testing
