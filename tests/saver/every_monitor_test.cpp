// A saver run (/s) on an Xorg of the test's own with two monitors, 1920 × 1080 and 1280 × 1024
// right of it (a 3200 × 1080 desktop): the tunnel on each monitor, black where no monitor shows,
// Escape ends it. The Linux build runs it without a window manager, with openbox and with a
// stand-in manager that offers the full-screen-monitors hint; built with ORVANE_WINDOWS_BIN_DIR
// the same test runs the Windows build under Wine.

#include <gtest/gtest.h>
// After GoogleTest, whose names Xlib's macros (None) would take.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <memory>

#include "tests/renderer/tunnel_pixels.h"
#include "tests/support/child.h"
#include "tests/support/dummy_xorg.h"
#include "tests/support/screenshot.h"
#include "tests/support/temp_folder.h"
#ifdef ORVANE_WINDOWS_BIN_DIR
#include "tests/windows/wine_probe.h"
#endif

namespace orvane::testing {
namespace {

using namespace std::chrono_literals;

struct Monitor {
  int centreX, centreY;
};
// Their centres on the desktop.
constexpr Monitor kLeft{960, 540}, kRight{1920 + 640, 512};

// The corner edges' directions round each centre: eight, 45° apart, the same on both monitors
// (one moment of the tunnel). A monitor drawn with another's aspect ratio would squeeze them.
bool RingsAreRegularAndAlike(const Screenshot& shot, std::string& why) {
  const auto left = CornerAngles(shot, kLeft.centreX, kLeft.centreY, 300);
  const auto right = CornerAngles(shot, kRight.centreX, kRight.centreY, 300);
  why = "corner edges: " + std::to_string(left.size()) + " left, " + std::to_string(right.size()) +
        " right";
  if (left.size() != 8 || right.size() != 8) return false;
  for (std::size_t i = 0; i < 8; ++i) {
    const double gap = std::fmod(left[(i + 1) % 8] - left[i] + 360.0, 360.0);
    const double rightGap = std::fmod(right[(i + 1) % 8] - right[i] + 360.0, 360.0);
    const double shift = std::abs(left[i] - right[i]);
    why += "; " + std::to_string(left[i]) + "/" + std::to_string(right[i]);
    if (std::abs(gap - 45) > 4 || std::abs(rightGap - 45) > 4 || std::min(shift, 360 - shift) > 3)
      return false;
  }
  return true;
}

bool ShowsATunnelOnEachMonitor(const Screenshot& shot, std::string& why) {
  if (shot.width != 3200 || shot.height != 1080) return why = "no 3200 x 1080 shot", false;
  for (const Monitor& m : {kLeft, kRight}) {
    if (!ShowsThePictureOnEveryFace(shot, m.centreX, m.centreY, why)) {
      why = "at " + std::to_string(m.centreX) + "," + std::to_string(m.centreY) + ": " + why;
      return false;
    }
  }
  // Below the smaller monitor no monitor shows: the window's black.
  for (const auto& [x, y] : {std::pair{1920, 1024}, {2560, 1050}, {3199, 1079}}) {
    if (!(shot.at(x, y) == Rgb{0, 0, 0})) return why = "not black below the right monitor", false;
  }
  if (shot.at(2560, 1023) == Rgb{0, 0, 0}) return why = "the right monitor ends early", false;
  return RingsAreRegularAndAlike(shot, why);
}

// A stand-in for a window manager that offers to spread a full-screen window over several
// monitors: it lists the hint as such managers do and hears the request, nothing more.
class HintListingManager {
 public:
  explicit HintListingManager(const std::string& display)
      : display_(XOpenDisplay(display.c_str())) {
    if (display_ == nullptr) return;
    const Window root = DefaultRootWindow(display_);
    const Window check = XCreateSimpleWindow(display_, root, -10, -10, 1, 1, 0, 0, 0);
    for (const Window on : {root, check})
      XChangeProperty(display_, on, Intern("_NET_SUPPORTING_WM_CHECK"), XA_WINDOW, 32,
                      PropModeReplace, reinterpret_cast<const unsigned char*>(&check), 1);
    const ::Atom supported[] = {Intern("_NET_WM_STATE"), Intern("_NET_WM_STATE_FULLSCREEN"),
                                Intern("_NET_WM_FULLSCREEN_MONITORS")};
    XChangeProperty(display_, root, Intern("_NET_SUPPORTED"), XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(supported), 3);
    XSelectInput(display_, root, SubstructureNotifyMask);
    XSync(display_, False);
  }
  ~HintListingManager() {
    if (display_ != nullptr) XCloseDisplay(display_);
  }
  // The monitors (top, bottom, left, right, source) of the request heard, if any.
  std::vector<long> Request() {
    while (display_ != nullptr && XPending(display_) > 0) {
      XEvent event;
      XNextEvent(display_, &event);
      if (event.type == ClientMessage &&
          event.xclient.message_type == Intern("_NET_WM_FULLSCREEN_MONITORS"))
        heard_.assign(event.xclient.data.l, event.xclient.data.l + 5);
    }
    return heard_;
  }
  // Whether the window manager is passed by (override-redirect) and wears the full-screen state.
  std::pair<bool, bool> Placement(unsigned long window) {
    XWindowAttributes attributes{};
    XGetWindowAttributes(display_, window, &attributes);
    ::Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    XGetWindowProperty(display_, window, Intern("_NET_WM_STATE"), 0, 8, False, XA_ATOM, &type,
                       &format, &count, &after, &data);
    const bool fullScreen =
        count == 1 && reinterpret_cast<::Atom*>(data)[0] == Intern("_NET_WM_STATE_FULLSCREEN");
    if (data != nullptr) XFree(data);
    return {attributes.override_redirect != 0, fullScreen};
  }

 private:
  ::Atom Intern(const char* name) { return XInternAtom(display_, name, False); }
  Display* display_;
  std::vector<long> heard_;
};

enum class Manager { none, openbox, listsHint };

struct Run {
  const char* name;
  Manager manager;
  friend void PrintTo(const Run& run, std::ostream* out) { *out << run.name; }
};

class EveryMonitor : public ::testing::TestWithParam<Run> {
 protected:
  std::string Xdotool(const std::string& arguments) {
    return RunShell("DISPLAY=" + xorg_.display() + " xdotool " + arguments + " 2>/dev/null").second;
  }
  long RendererWindows() {
    const std::string ids = Xdotool("search --name '^Orvane_VC$'");
    return std::count(ids.begin(), ids.end(), '\n');
  }
  // The saver from a program folder of the test's own, with the ramps picture as its texture.
  std::unique_ptr<Child> StartSaver() {
#ifdef ORVANE_WINDOWS_BIN_DIR
    const std::string prefix = "WINEPREFIX=" + prefix_.path();
    const std::vector<std::string> env = {"DISPLAY=" + xorg_.display(), prefix, "WINEDEBUG=-all",
                                          "LANG=C.UTF-8", "LC_ALL=C.UTF-8"};
    EXPECT_EQ(RunShell("env DISPLAY=" + xorg_.display() + " '" + prefix +
                       "' WINEDEBUG=-all wineboot -i >/dev/null 2>&1")
                  .first,
              0);
    for (const char* name : {"Orvane.scr", "Orvane.dll"})
      std::filesystem::copy_file(std::string(ORVANE_WINDOWS_BIN_DIR) + "/" + name, folder_ / name);
    WriteBytes(folder_ / "Orvane.image", RampsPicture());
    // Windows sets no DISPLAY, and freeglut would take one for a device name.
    return std::make_unique<Child>(
        std::vector<std::string>{"wine", "cmd", "/c",
                                 "set DISPLAY=&& " + WindowsPath(folder_ / "Orvane.scr") + " /s"},
        env);
#else
    for (const char* name : {"Orvane.scr", "Orvane.dll"})
      std::filesystem::copy_file(std::string(ORVANE_BIN_DIR) + "/" + name, folder_ / name);
    WriteBytes(folder_ / "Orvane.image", RampsPicture());
    return std::make_unique<Child>(
        std::vector<std::string>{folder_ / "Orvane.scr", "/s"},
        std::vector<std::string>{"DISPLAY=" + xorg_.display(), "XDG_CACHE_HOME=" + cache_.path()});
#endif
  }
  void TearDown() override {
#ifdef ORVANE_WINDOWS_BIN_DIR
    RunShell("WINEPREFIX='" + prefix_.path() + "' wineserver -k; WINEPREFIX='" + prefix_.path() +
             "' wineserver -w");
#endif
  }

  DummyXorg xorg_;
  TempFolder folder_;
  TempFolder cache_;
  TempFolder prefix_;
};

TEST_P(EveryMonitor, SaverDrawsATunnelOnEachMonitorAndBlackElsewhereUntilEscape) {
  ASSERT_TRUE(xorg_.running()) << xorg_.Log();
  std::unique_ptr<Child> manager;
  std::unique_ptr<HintListingManager> hintListing;
  if (GetParam().manager == Manager::listsHint)
    hintListing = std::make_unique<HintListingManager>(xorg_.display());
  if (GetParam().manager == Manager::openbox) {
    manager = std::make_unique<Child>(std::vector<std::string>{"openbox", "--sm-disable"},
                                      std::vector<std::string>{"DISPLAY=" + xorg_.display()});
    // Ready once it names its check window on the root window.
    ASSERT_TRUE(WaitFor(
        [&] {
          return RunShell("DISPLAY=" + xorg_.display() +
                          " xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null")
                     .second.find("window id") != std::string::npos;
        },
        20s, 100ms));
  }
  auto saver = StartSaver();
  ASSERT_TRUE(WaitFor([&] { return RendererWindows() == 1; }, 60s, 100ms)) << saver->Stderr();

  // The first frames may be black or not yet in place: look until the tunnels show.
  Screenshot shot;
  std::string why;
  const bool drawn = WaitFor(
      [&] { return ShowsATunnelOnEachMonitor(shot = TakeScreenshot(xorg_.display()), why); }, 30s,
      100ms);
  const std::string saved =
      ::testing::TempDir() + "/orvane-every-monitor-" + GetParam().name + ".ppm";
  if (!drawn) shot.SavePpm(saved);
  EXPECT_TRUE(drawn) << why << "; see " << saved;
#ifndef ORVANE_WINDOWS_BIN_DIR
  // Where the manager offers the hint the window is its to place, full screen over the two
  // monitors at the edges: 0 at the top, bottom and left, 1 at the right. Elsewhere the
  // window passes the manager by.
  HintListingManager look(xorg_.display());
  const auto [passesBy, fullScreen] =
      look.Placement(std::strtoul(Xdotool("search --name '^Orvane_VC$'").c_str(), nullptr, 10));
  EXPECT_EQ(passesBy, !hintListing);
  EXPECT_EQ(fullScreen, !!hintListing);
  if (hintListing) EXPECT_EQ(hintListing->Request(), (std::vector<long>{0, 0, 0, 1, 1}));
#endif

  // A key pressed before the renderer takes the keyboard may be lost: pressed again then.
  for (int attempt = 0; attempt < 3 && RendererWindows() != 0; ++attempt) {
    Xdotool("key Escape");
    WaitFor([&] { return RendererWindows() == 0; }, 3s, 100ms);
  }
  EXPECT_EQ(RendererWindows(), 0);
  EXPECT_EQ(saver->Wait(15s), 0) << "the host outlived its renderer";
}

#ifdef ORVANE_WINDOWS_BIN_DIR
INSTANTIATE_TEST_SUITE_P(Wine, EveryMonitor, ::testing::Values(Run{"wine", Manager::none}),
                         [](const auto& info) { return std::string(info.param.name); });
#else
INSTANTIATE_TEST_SUITE_P(Linux, EveryMonitor,
                         ::testing::Values(Run{"no_window_manager", Manager::none},
                                           Run{"openbox", Manager::openbox},
                                           Run{"manager_listing_the_hint", Manager::listsHint}),
                         [](const auto& info) { return std::string(info.param.name); });
#endif

}  // namespace
}  // namespace orvane::testing
