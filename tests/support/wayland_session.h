#pragma once

#include <sys/types.h>

#include <chrono>
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
  // sway 1.7: outputs HEADLESS-1 at 0,0 and HEADLESS-2 at 640,0, 640 × 480 each, XWayland on;
  // "swaymsg create_output" adds HEADLESS-3 at 1280,0.
  Sway,
  Weston,  // weston 10, GL on llvmpipe, one 640 × 480 output, screenshots allowed
};

// A headless compositor of the test's own, with its own runtime folder, socket and HOME, run as
// the test's user or, for a test run as root (sway refuses root), as "orvane-wayland", made with
// useradd when missing.
class WaylandSession {
 public:
  explicit WaylandSession(Compositor compositor = Compositor::Sway);
  WaylandSession(const WaylandSession&) = delete;
  WaylandSession& operator=(const WaylandSession&) = delete;

  // The compositor answers and, for sway, shows both outputs.
  bool running() const { return ready_; }
  std::string Log() const { return ReadBytes(folder_ / "compositor.log"); }
  // The user's HOME, a folder of the session's own.
  std::string home() const { return folder_ / "home"; }
  // argv as the session's user, in only the session's environment plus env (NAME=value pairs);
  // Child::pid() is the program's own id, so a signal reaches it.
  std::unique_ptr<Child> Start(const std::vector<std::string>& argv,
                               const std::vector<std::string>& env = {}) const {
    return std::make_unique<Child>(AsUser(argv, env));
  }
  // The same, run to its end (at most 30 s): its exit code and standard output.
  std::pair<int, std::string> Run(const std::vector<std::string>& argv) const {
    auto child = Start(argv);
    return {child->Wait(std::chrono::seconds(30)).value_or(-1), child->Stdout()};
  }
  // Gives path and all in it to the session's user (the renderer reads only its own folders).
  bool GiveToUser(const std::string& path) const {
    return !switched_ || RunShell("chown -R " + std::to_string(uid_) + ":" + std::to_string(gid_) +
                                  " '" + path + "'")
                                 .first == 0;
  }
  // sway: one key (an xkb name such as "Escape"), the virtual keyboard held a moment after it is
  // plugged in so that the focused surface has the keyboard first.
  bool Type(const std::string& key) const {
    return Run({"wtype", "-s", "300", "-k", key}).first == 0;
  }
  // The layout's rectangle from (x, y), width × height logical pixels, at the scale given
  // (grim); on weston the whole output, whatever the rectangle. Invalid when it cannot be taken.
  Screenshot Shot(int x, int y, int width, int height, int scale = 1) const;
  std::optional<Rgb> Pixel(int x, int y) const {
    const Screenshot shot = Shot(x, y, 1, 1);
    // grim gives the one pixel asked for, weston's screenshot the whole output.
    const int sx = compositor_ == Compositor::Sway ? 0 : x,
              sy = compositor_ == Compositor::Sway ? 0 : y;
    if (!shot.valid() || sx < 0 || sy < 0 || sx >= shot.width || sy >= shot.height)
      return std::nullopt;
    return shot.at(sx, sy);
  }

 private:
  std::vector<std::string> AsUser(const std::vector<std::string>& argv,
                                  const std::vector<std::string>& env) const;

  Compositor compositor_;
  TempFolder folder_;
  uid_t uid_ = 0;
  gid_t gid_ = 0;
  bool switched_ = false;  // the test runs as root and the programs as another user
  std::vector<std::string> env_;
  std::unique_ptr<Child> compositorProcess_;
  bool ready_ = false;
};

}  // namespace orvane::testing
