#include <gtest/gtest.h>
// After GoogleTest: Xlib's macros (None, Bool) would break its headers.
#include <X11/Xlib.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "platform/linux/x11_platform.h"
#include "tests/support/child.h"
#include "tests/support/xvfb.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;

// A window of another client than the part under test, as another process's window would be.
Window MakeWindow(Display* display, int x, int y, int width, int height) {
  const Window window =
      XCreateSimpleWindow(display, DefaultRootWindow(display), x, y, width, height, 0, 0, 0xFFFFFF);
  XSync(display, False);
  return window;
}

void SetWmName(Display* display, Window window, const std::string& title) {
  XStoreName(display, window, title.c_str());
  XSync(display, False);
}

int errorsSeen = 0;

// One connection for the parts under test, one for the others' windows; any X error is a fault.
class X11Test : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server.running() && ours && theirs);
    XSetErrorHandler([](Display*, XErrorEvent*) { return ++errorsSeen, 0; });
    errorsSeen = 0;
  }
  void TearDown() override {
    for (Display* display : {ours, theirs})
      if (display) XCloseDisplay(display);
  }
  testing::Xvfb server;
  Display* ours = XOpenDisplay(server.display().c_str());
  Display* theirs = XOpenDisplay(server.display().c_str());
};

// Windows are found by exact title, also inside a window manager's frame, without an X error.
TEST_F(X11Test, FindsWindowsByExactTitleWithAndWithoutAWindowManagerWithoutAnError) {
  auto finder = MakeX11WindowFinder(ours);
  const Window saver = MakeWindow(theirs, 0, 0, 10, 10);
  SetWmName(theirs, saver, "Orvane_Main");
  EXPECT_EQ(finder->FindWindow("Orvane_Main"), saver);
  for (const char* near : {"orvane_main", "Orvane_Mai", "Orvane_Main ", ""})
    EXPECT_EQ(finder->FindWindow(near), 0u) << "[" << near << "]";
  // A window that is gone has no rectangle and takes no child; XFixes answers a show without a
  // hide with an error, which would end the client: the cursor's count keeps that from happening.
  EXPECT_EQ(MakeX11WindowGeometry(ours)->GetWindowRect(0x7fffff0), std::nullopt);
  EXPECT_FALSE(MakeX11WindowGeometry(ours)->SetParent(MakeWindow(ours, 0, 0, 5, 5), 0x7fffff0));
  auto cursor = MakeX11Cursor(ours);
  for (const bool show : {true, false, false, false, true, true, true}) cursor->ShowCursor(show);
  XSync(ours, False);
  // Nor do windows that vanish during a search.
  std::atomic<bool> stop{false};
  std::thread churn([&, display = XOpenDisplay(server.display().c_str())] {
    while (!stop) XDestroyWindow(display, MakeWindow(display, 0, 0, 5, 5));
    XCloseDisplay(display);
  });
  for (int i = 0; i < 200; ++i) EXPECT_EQ(finder->FindWindow("nothing like it"), 0u);
  stop = true;
  churn.join();
  EXPECT_EQ(errorsSeen, 0);

  testing::Child wm({"openbox", "--sm-disable"}, {"DISPLAY=" + server.display()});
  const Window client = MakeWindow(theirs, 50, 60, 300, 200);
  SetWmName(theirs, client, "<Orvane>");
  // A window manager that is still starting may drop a map request: ask again until framed.
  // The rectangle then takes in the frame, as Windows' window rectangle does.
  const auto geometry = MakeX11WindowGeometry(ours);
  ASSERT_TRUE(testing::WaitFor(
      [&] {
        XMapWindow(theirs, client);
        XSync(theirs, False);
        return testing::WaitFor(
            [&] {
              auto r = geometry->GetWindowRect(client);
              return r && r->Width > 300 && r->Height > 200;
            },
            500ms);
      },
      10s, 0ms))
      << "openbox put the window into a frame";
  EXPECT_EQ(finder->FindWindow("<Orvane>"), client);
}

}  // namespace
}  // namespace orvane
