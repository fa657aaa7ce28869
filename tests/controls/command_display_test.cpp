// The Command button in a real window under Xvfb, with real pointer and key events from
// xdotool and pixels read back from the screen.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <sstream>
#include <string>
#include <thread>

#include "tests/support/child.h"
#include "tests/support/screenshot.h"
#include "tests/support/xvfb.h"

namespace orvane::testing {
namespace {

using namespace std::chrono_literals;

// The probe's layout in window pixels (15 twips a pixel).
constexpr int kSetX = 20, kSetY = 20, kSetW = 81, kSetH = 25;

class CommandDisplay : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(xvfb_.running());
    probe_ = std::make_unique<Child>(
        std::vector<std::string>{COMMAND_PROBE},
        std::vector<std::string>{"DISPLAY=" + xvfb_.display(), "GDK_BACKEND=x11", "NO_AT_BRIDGE=1",
                                 "GSETTINGS_BACKEND=memory", "GTK_CSD=0"});
    ASSERT_TRUE(WaitFor([&] { return Out().find("ready ") != std::string::npos; }, 15s))
        << probe_->Stderr();
    std::istringstream ready(Out().substr(Out().find("ready ") + 6));
    ready >> window_ >> originX_ >> originY_;
    ASSERT_NE(window_, 0u);
  }

  std::string Out() const { return probe_->Stdout(); }
  // How many times the probe has printed the line.
  int Count(const std::string& line) const {
    const std::string out = "\n" + Out(), whole = "\n" + line + "\n";
    int n = 0;
    for (size_t at = out.find(whole); at != std::string::npos; at = out.find(whole, at + 1)) ++n;
    return n;
  }
  bool WaitForLine(const std::string& line, int before = 0) {
    return WaitFor([&] { return Count(line) > before; }, 3s);
  }
  void Xdo(const std::string& args) {
    ASSERT_EQ(RunShell("DISPLAY=" + xvfb_.display() + " xdotool " + args).first, 0) << args;
  }
  void MoveTo(int x, int y) {  // a point of the probe's window
    Xdo("mousemove --sync " + std::to_string(originX_ + x) + " " + std::to_string(originY_ + y));
  }
  void HoverSet() {
    const int before = Count("paint set HighLight 2");
    MoveTo(kSetX + kSetW / 2 - 10, kSetY + kSetH / 2);
    MoveTo(kSetX + kSetW / 2, kSetY + kSetH / 2);  // over the caption
    ASSERT_TRUE(WaitForLine("paint set HighLight 2", before)) << Out();
  }
  // The face's left band, a different colour in every look.
  Rgb Face() {
    const Screenshot shot = TakeScreenshot(xvfb_.display(), window_);
    return shot.valid() ? shot.at(kSetX + 2, kSetY + 12) : Rgb{};
  }
  static void Settle() { std::this_thread::sleep_for(350ms); }  // several hover ticks

  Xvfb xvfb_;
  std::unique_ptr<Child> probe_;
  unsigned long window_ = 0;
  int originX_ = 0, originY_ = 0;
};

bool GreyOnTop(const Screenshot& s) {
  const int x = kSetX + kSetW / 2 - 30;
  return s.at(x, kSetY + 4).r < s.at(x, kSetY + kSetH - 5).r;
}

// One run: hover and leave, a right release, a left click, a press dragged off.
TEST_F(CommandDisplay, PointerGestures) {
  EXPECT_TRUE(Near(Face(), {0xF4, 0xF4, 0xF0}, 2));
  EXPECT_FALSE(GreyOnTop(TakeScreenshot(xvfb_.display(), window_)));
  const int normals = Count("paint set Normal 1");
  HoverSet();
  Settle();  // ticks with the pointer on the caption keep the highlight
  EXPECT_EQ(Count("paint set Normal 1"), normals) << Out();
  EXPECT_TRUE(Near(Face(), {0xFC, 0xCA, 0x69}, 2));
  EXPECT_TRUE(GreyOnTop(TakeScreenshot(xvfb_.display(), window_)));
  MoveTo(300, 150);  // the container's own window
  ASSERT_TRUE(WaitForLine("paint set Normal 1", normals)) << Out();

  HoverSet();
  Xdo("click 3");  // the right press is not handled, its release clicks
  ASSERT_TRUE(WaitForLine("click set")) << Out();
  EXPECT_EQ(Count("paint set Pressed 4"), 0);

  Xdo("click 1");
  ASSERT_TRUE(WaitForLine("click set", 1)) << Out();
  Settle();
  EXPECT_EQ(Count("click set"), 2);
  EXPECT_EQ(Count("paint set HighLightSelect 4"), 1);

  const int pressed = Count("paint set Pressed 4");
  Xdo("mousedown 1");
  ASSERT_TRUE(WaitForLine("paint set Pressed 4", pressed)) << Out();
  Xdo("mousemove --sync 700 600");  // the desktop, outside the probe's window
  ASSERT_TRUE(WaitForLine("paint set Selected 3")) << Out();
  MoveTo(kSetX + 10, kSetY + 10);  // back over it: still Selected
  Settle();
  Xdo("mouseup 1");
  Settle();
  EXPECT_EQ(Count("click set"), 2) << Out();
  EXPECT_EQ(Count("paint set HighLightSelect 4"), 1) << Out();
  EXPECT_TRUE(Near(Face(), {0xA9, 0xC5, 0xEF}, 2));
}

TEST_F(CommandDisplay, TabGivesSelectedAndKeysNeverClick) {
  Xdo("windowfocus --sync " + std::to_string(window_));
  Xdo("key Tab");  // from the entry onto "set"
  ASSERT_TRUE(WaitForLine("paint set Selected 3")) << Out();
  EXPECT_TRUE(WaitFor([&] { return Near(Face(), {0xA9, 0xC5, 0xEF}, 2); }, 2s));
  Xdo("key Return space KP_Enter");
  Settle();
  EXPECT_EQ(Count("click set"), 0);
  Xdo("key Tab");
  ASSERT_TRUE(WaitForLine("paint can Selected 3")) << Out();
}

}  // namespace
}  // namespace orvane::testing
