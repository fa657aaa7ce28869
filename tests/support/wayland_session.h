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

enum class Compositor {
  // sway 1.7, headless, outputs HEADLESS-1 at 0,0 and HEADLESS-2 at 640,0, 640 × 480 each;
  // XWayland on; an output added with "swaymsg create_output" is HEADLESS-3 at 1280,0.
  Sway,
  Weston,  // weston 10, headless, GL on llvmpipe, one 640 × 480 output, screenshots allowed
};

// A headless compositor of the test's own: its own runtime folder (mode 0700), socket and HOME,
// run as the test's user, or, for a test run as root (sway refuses root), as "orvane-wayland",
// made with useradd when missing. Several may run at once. The destructor ends exactly the
// compositor it started, by its id.
class WaylandSession {
 public:
  explicit WaylandSession(Compositor compositor = Compositor::Sway);
  WaylandSession(const WaylandSession&) = delete;
  WaylandSession& operator=(const WaylandSession&) = delete;

  // The compositor answers and, for sway, shows both outputs.
  bool running() const { return ready_; }
  // Its standard error, for a failed test's message.
  std::string Log() const { return ReadBytes(folder_ / "compositor.log"); }
  // The user's HOME for the session, a folder of the session's own (the user's).
  std::string home() const { return folder_ / "home"; }

  // argv (argv[0] looked up in PATH) as the session's user, in only the session's environment
  // (PATH, HOME, XDG_RUNTIME_DIR, WAYLAND_DISPLAY, on sway SWAYSOCK and XWayland's DISPLAY) plus
  // env (NAME=value pairs); Child::pid() is the program's own id, so a signal reaches it.
  std::unique_ptr<Child> Start(const std::vector<std::string>& argv,
                               const std::vector<std::string>& env = {}) const;
  // The same, run to its end (at most 30 s): its exit code and standard output.
  std::pair<int, std::string> Run(const std::vector<std::string>& argv) const;
  // Gives path and all in it to the session's user (the renderer reads only its own folders).
  bool GiveToUser(const std::string& path) const;
  // sway: types one key (an xkb key name such as "Escape") through a virtual keyboard, held a
  // moment after plugging it in so that the focused surface has the keyboard first.
  bool Type(const std::string& key) const {
    return Run({"wtype", "-s", "300", "-k", key}).first == 0;
  }

  // A picture of the layout's rectangle from (x, y), width × height logical pixels, at the
  // scale given (sway, grim). Weston: the whole output, whatever the rectangle
  // (weston-screenshooter). Invalid when it cannot be taken.
  Screenshot Shot(int x, int y, int width, int height, int scale = 1) const;
  // One pixel of the layout; nullopt when it cannot be read.
  std::optional<Rgb> Pixel(int x, int y) const;

 private:
  std::vector<std::string> AsUser(const std::vector<std::string>& argv,
                                  const std::vector<std::string>& env) const;
  bool WaitUntilReady();

  Compositor compositor_;
  TempFolder folder_;
  uid_t uid_ = 0;
  gid_t gid_ = 0;
  bool switched_ = false;  // the test runs as root and the programs as another user
  std::vector<std::string> env_;
  std::string runtime_ = folder_ / "run";
  std::unique_ptr<Child> compositorProcess_;
  bool ready_ = false;
};

}  // namespace orvane::testing
