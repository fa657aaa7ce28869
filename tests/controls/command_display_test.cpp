// The Command button in a real window under Xvfb, with real pointer and key events from
// xdotool and its looks read back from the screen.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "tests/support/child.h"
#include "tests/support/screenshot.h"
#include "tests/support/xvfb.h"

namespace orvane::testing {
namespace {

using namespace std::chrono_literals;

// The button on the screen, in pixels (15 twips a pixel), and its looks as its face's
// left band shows them.
constexpr int kSetX = 20, kSetY = 20, kSetW = 81, kSetH = 25;
constexpr Rgb kNormal{0xF4, 0xF4, 0xF0}, kHighLight{0xFC, 0xCA, 0x69}, kSelected{0xA9, 0xC5, 0xEF},
    kPressed{0x00, 0x3C, 0x74};

class CommandDisplay : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(xvfb_.running());
    probe_ = std::make_unique<Child>(
        std::vector<std::string>{COMMAND_PROBE},
        std::vector<std::string>{"DISPLAY=" + xvfb_.display(), "GDK_BACKEND=x11", "NO_AT_BRIDGE=1",
                                 "GSETTINGS_BACKEND=memory", "GTK_CSD=0"});
    ASSERT_TRUE(Shows(kNormal, 15s)) << probe_->Stderr();
  }

  // The probe prints a line for each Click.
  int Clicks() const { return static_cast<int>(std::ranges::count(probe_->Stdout(), '\n')); }
  void Xdo(const std::string& args) {
    ASSERT_EQ(RunShell("DISPLAY=" + xvfb_.display() + " xdotool " + args).first, 0) << args;
  }
  void MoveTo(int x, int y) {
    Xdo("mousemove --sync " + std::to_string(x) + " " + std::to_string(y));
  }
  Screenshot Shot() const { return TakeScreenshot(xvfb_.display()); }
  bool Shows(Rgb look, std::chrono::milliseconds timeout = 3s) {
    return WaitFor([&] { return Near(Shot().at(kSetX + 2, kSetY + 12), look, 2); }, timeout);
  }
  static void Settle() { std::this_thread::sleep_for(350ms); }  // several hover ticks

  Xvfb xvfb_;
  std::unique_ptr<Child> probe_;
};

// One run: the caption, hover and leave, a right release, a left click, a press dragged off.
TEST_F(CommandDisplay, PointerGestures) {
  const Screenshot normal = Shot();
  // The caption's ink lies in its label, 80 twips (5 pixels) down and 13 pixels high, centred.
  int ink = 0, sumX = 0;
  for (int y = 4; y < kSetH - 4; ++y) {
    for (int x = 4; x < kSetW - 4; ++x) {
      const Rgb p = normal.at(kSetX + x, kSetY + y);
      if (std::max({p.r, p.g, p.b}) >= 128) continue;
      EXPECT_TRUE(y >= 5 && y <= 17) << x << "," << y;
      ++ink;
      sumX += x;
    }
  }
  ASSERT_GT(ink, 20);
  EXPECT_NEAR(double(sumX) / ink, 40, 3);

  MoveTo(kSetX + kSetW / 2, kSetY + kSetH / 2);  // over the caption
  ASSERT_TRUE(Shows(kHighLight));
  Settle();  // ticks with the pointer on the caption keep the highlight
  EXPECT_TRUE(Shows(kHighLight));
  MoveTo(300, 150);  // the container's own window
  ASSERT_TRUE(Shows(kNormal));

  MoveTo(kSetX + kSetW / 2, kSetY + kSetH / 2);
  ASSERT_TRUE(Shows(kHighLight));
  Xdo("click 3");  // the right press is not handled, its release clicks
  ASSERT_TRUE(WaitFor([&] { return Clicks() == 1; }, 3s)) << probe_->Stdout();
  Xdo("click 1");
  ASSERT_TRUE(WaitFor([&] { return Clicks() == 2; }, 3s)) << probe_->Stdout();
  EXPECT_TRUE(Shows(kHighLight));  // HighLightSelect: focused and hovered

  MoveTo(kSetX + 10, kSetY + 10);  // far enough from the click not to make a double click
  Xdo("mousedown 1");
  ASSERT_TRUE(Shows(kPressed));
  MoveTo(700, 600);  // the desktop, outside the probe's window
  ASSERT_TRUE(Shows(kSelected));
  MoveTo(kSetX + 20, kSetY + 10);  // back over it: still Selected
  Settle();
  Xdo("mouseup 1");
  Settle();
  EXPECT_EQ(Clicks(), 2) << probe_->Stdout();
  EXPECT_TRUE(Shows(kSelected));
}

TEST_F(CommandDisplay, TabGivesSelectedAndKeysNeverClick) {
  Xdo("search --sync --name '^command probe$' windowfocus --sync");
  Xdo("key Tab");  // from the entry onto the button
  ASSERT_TRUE(Shows(kSelected));
  Xdo("key Return space KP_Enter");
  Settle();
  EXPECT_EQ(Clicks(), 0);
  Xdo("key Tab");  // and off it again
  EXPECT_TRUE(Shows(kNormal));
}

}  // namespace
}  // namespace orvane::testing
