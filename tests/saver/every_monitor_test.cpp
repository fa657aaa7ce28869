// A saver run (/s) of either build on an Xorg of the test's own with two monitors, 1920 × 1080
// and 1280 × 1024 right of it (a 3200 × 1080 desktop): the tunnel on each monitor, black where
// no monitor shows, Escape ends it.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <memory>

#include "tests/renderer/tunnel_pixels.h"
#include "tests/support/programs.h"

namespace orvane::testing {
namespace {

using namespace std::chrono_literals;

// The dummy video driver's two monitors, as X11 programs and Wine both see them: DUMMY0 at
// +0+0 (primary) and DUMMY1 right of it, at depth 24, in the standard 60 Hz timings (1280 x 1024
// is among the server's built-in ones); no input devices.
constexpr char kXorgConfig[] = R"(Section "ServerFlags"
  Option "AutoAddDevices" "false"
  Option "AutoAddGPU" "false"
EndSection
Section "Device"
  Identifier "dummy"
  Driver "dummy"
  VideoRam 131072
  Option "Monitor-DUMMY0" "left"
  Option "Monitor-DUMMY1" "right"
EndSection
Section "Monitor"
  Identifier "left"
  HorizSync 5.0 - 1000.0
  VertRefresh 5.0 - 200.0
  Modeline "1920x1080" 148.50 1920 2008 2052 2200 1080 1084 1089 1125 +hsync +vsync
  Option "PreferredMode" "1920x1080"
  Option "Primary" "true"
EndSection
Section "Monitor"
  Identifier "right"
  HorizSync 5.0 - 1000.0
  VertRefresh 5.0 - 200.0
  Option "PreferredMode" "1280x1024"
  Option "RightOf" "left"
  Option "Enable" "true"
EndSection
Section "Screen"
  Identifier "screen"
  Device "dummy"
  Monitor "left"
  SubSection "Display"
    Depth 24
    Virtual 3200 1080
  EndSubSection
EndSection
)";

// The monitors' centres on the desktop.
struct Monitor {
  int centreX, centreY;
} constexpr kLeft{960, 540}, kRight{1920 + 640, 512};

// The corner edges' directions round each centre: eight, 45° apart, the same on both monitors
// (one moment of the tunnel). A monitor drawn with another's aspect ratio would squeeze them.
bool RingsAreRegularAndAlike(const Screenshot& shot, std::string& why) {
  const auto left = CornerAngles(shot, kLeft.centreX, kLeft.centreY, 300);
  const auto right = CornerAngles(shot, kRight.centreX, kRight.centreY, 300);
  why = "corner edges: " + std::to_string(left.size()) + " left, " + std::to_string(right.size());
  if (left.size() != 8 || right.size() != 8) return false;
  const auto apart = [](double a, double b) { return std::fmod(a - b + 720.0, 360.0); };
  for (std::size_t i = 0; i < 8; ++i) {
    why += "; " + std::to_string(left[i]) + "/" + std::to_string(right[i]);
    const double shift = apart(left[i], right[i]);
    if (std::abs(apart(left[(i + 1) % 8], left[i]) - 45) > 4 ||
        std::abs(apart(right[(i + 1) % 8], right[i]) - 45) > 4 || std::min(shift, 360 - shift) > 3)
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

// The run's name; the Linux build runs without a window manager and with openbox.
class EveryMonitor : public ::testing::TestWithParam<const char*> {
 protected:
  // An Xorg of the test's own reading only its own configuration (an empty folder of snippets).
  TempFolder folder_;
  bool configured_ = (WriteBytes(folder_ / "xorg.conf", kXorgConfig),
                      std::filesystem::create_directory(folder_ / "xorg.conf.d"));
  XServer xorg_{
      "Xorg",
      {"-config", folder_ / "xorg.conf", "-configdir", folder_ / "xorg.conf.d", "-noreset",
       "-nolisten", "tcp", "-logfile", folder_ / "Xorg.log", "-novtswitch", "-sharevts"}};
  Programs programs_{Build::ORVANE_TEST_BUILD, xorg_.display()};
};

TEST_P(EveryMonitor, SaverDrawsATunnelOnEachMonitorAndBlackElsewhereUntilEscape) {
  ASSERT_TRUE(configured_ && xorg_.running()) << ReadBytes(folder_ / "Xorg.log");
  ASSERT_TRUE(programs_.ready());
  std::unique_ptr<Child> manager;
  if (std::string(GetParam()) == "openbox") {
    manager = programs_.Start("openbox", {"--sm-disable"});
    // Ready once it names its check window on the root window.
    ASSERT_TRUE(WaitFor(
        [&] {
          return programs_.Run("xprop -root _NET_SUPPORTING_WM_CHECK").second.find("window id") !=
                 std::string::npos;
        },
        20s, 100ms));
  }
  for (const char* name : {"Orvane.scr", "Orvane.dll"})
    std::filesystem::copy_file(programs_.Built(name), folder_ / name);
  WriteBytes(folder_ / "Orvane.image", RampsPicture());
  auto saver = programs_.Start(folder_ / "Orvane.scr", {"/s"});
  const unsigned long window = programs_.FindWindow("Orvane_VC", 60s);
  ASSERT_NE(window, 0u) << saver->Stderr();

  // The first frames may be black or not yet in place: look until the tunnels show.
  std::string why;
  EXPECT_TRUE(WaitFor(
      [&] { return ShowsATunnelOnEachMonitor(TakeScreenshot(xorg_.display()), why); }, 30s, 100ms))
      << why;
  // The window passes the managers by.
  if (!programs_.windows()) {
    EXPECT_NE(programs_.Run("xwininfo -id " + std::to_string(window))
                  .second.find("Override Redirect State: yes"),
              std::string::npos);
  }
  EXPECT_TRUE(programs_.EscapeUntilGone("Orvane_VC"));
  EXPECT_EQ(saver->Wait(15s), 0) << "the host outlived its renderer";
}

INSTANTIATE_TEST_SUITE_P(ORVANE_TEST_BUILD, EveryMonitor,
                         ::testing::ValuesIn(Build::ORVANE_TEST_BUILD == Build::Linux
                                                 ? std::vector{"no_window_manager", "openbox"}
                                                 : std::vector{"wine"}),
                         [](const auto& info) { return std::string(info.param); });

}  // namespace
}  // namespace orvane::testing
