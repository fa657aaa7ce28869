// GoogleTest first: Xlib's macros (None, Bool) would break its headers.
#include <gtest/gtest.h>
// clang-format off
#include <X11/Xatom.h>
#include <X11/Xlib.h>
// clang-format on

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include "platform/x11_platform.h"
#include "tests/platform/x11_test_window.h"
#include "tests/support/child.h"
#include "tests/support/screenshot.h"
#include "tests/support/xvfb.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;
using testing::MakeWindow;
using testing::ParentOf;
using testing::SetNetWmName;
using testing::SetWmName;

struct DisplayCloser {
  void operator()(Display* d) const { XCloseDisplay(d); }
};
using DisplayPtr = std::unique_ptr<Display, DisplayCloser>;

int errorsSeen = 0;
int CountError(Display*, XErrorEvent*) {
  ++errorsSeen;
  return 0;
}

// One Xvfb for the tests of a program run; two connections to it: one for the parts under
// test, one standing for the other processes' windows.
class X11Test : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { server = new testing::Xvfb(1024, 768, 96); }
  static void TearDownTestSuite() {
    delete server;
    server = nullptr;
  }
  void SetUp() override {
    ASSERT_TRUE(server->running());
    ours.reset(XOpenDisplay(server->display().c_str()));
    theirs.reset(XOpenDisplay(server->display().c_str()));
    ASSERT_TRUE(ours && theirs);
    XSetErrorHandler(CountError);
    errorsSeen = 0;
  }

  static testing::Xvfb* server;
  DisplayPtr ours;
  DisplayPtr theirs;
};
testing::Xvfb* X11Test::server = nullptr;

TEST_F(X11Test, FindsUnmappedWindowsByExactTitle) {
  auto finder = MakeX11WindowFinder(ours.get());
  EXPECT_EQ(finder->FindWindow("Orvane_Main"), 0u);
  const Window saver = MakeWindow(theirs.get(), 0, 0, 10, 10);
  SetWmName(theirs.get(), saver, "Orvane_Main");
  const Window dialog = MakeWindow(theirs.get(), 0, 0, 10, 10);
  SetNetWmName(theirs.get(), dialog, "<Orvane>");  // _NET_WM_NAME alone is enough
  EXPECT_EQ(finder->FindWindow("Orvane_Main"), saver);
  EXPECT_EQ(finder->FindWindow("<Orvane>"), dialog);
  EXPECT_EQ(finder->FindWindow("orvane_main"), 0u) << "exact, case included";
  EXPECT_EQ(finder->FindWindow("Orvane_Mai"), 0u);
  EXPECT_EQ(finder->FindWindow("Orvane_Main "), 0u);
  EXPECT_EQ(finder->FindWindow(""), 0u);
  XDestroyWindow(theirs.get(), saver);
  XSync(theirs.get(), False);
  EXPECT_EQ(finder->FindWindow("Orvane_Main"), 0u);
  EXPECT_EQ(errorsSeen, 0);
}

TEST_F(X11Test, FindsNestedWindowsAndUtf8Titles) {
  auto finder = MakeX11WindowFinder(ours.get());
  const Window frame = MakeWindow(theirs.get(), 0, 0, 50, 50);
  const Window inner = MakeWindow(theirs.get(), 5, 5, 10, 10, frame);
  SetNetWmName(theirs.get(), inner, "設定 Orvane_VC");
  EXPECT_EQ(finder->FindWindow("設定 Orvane_VC"), inner);
  // A Latin-1 WM_NAME compares as the same text in UTF-8.
  SetWmName(theirs.get(), frame, "caf\xE9");
  EXPECT_EQ(finder->FindWindow("café"), frame);
}

TEST_F(X11Test, WindowsThatVanishDuringTheWalkDoNotHurt) {
  auto finder = MakeX11WindowFinder(ours.get());
  std::atomic<bool> stop{false};
  std::thread churn([&, display = server->display()] {
    Display* d = XOpenDisplay(display.c_str());
    while (!stop) {
      Window w = MakeWindow(d, 0, 0, 5, 5);
      XDestroyWindow(d, w);
      XSync(d, False);
    }
    XCloseDisplay(d);
  });
  for (int i = 0; i < 200; ++i) EXPECT_EQ(finder->FindWindow("nothing like it"), 0u);
  stop = true;
  churn.join();
  EXPECT_EQ(errorsSeen, 0) << "errors stay inside the finder";
}

TEST_F(X11Test, WindowRectangleInScreenPixels) {
  auto geometry = MakeX11WindowGeometry(ours.get());
  const Window outer = MakeWindow(theirs.get(), 30, 40, 200, 100);
  const Window inner = MakeWindow(theirs.get(), 10, 20, 152, 112, outer);
  EXPECT_EQ(geometry->GetWindowRect(outer), (Rect{30, 40, 230, 140}));
  EXPECT_EQ(geometry->GetWindowRect(inner), (Rect{40, 60, 192, 172}));
  EXPECT_EQ(geometry->GetWindowRect(0), std::nullopt);
  EXPECT_EQ(geometry->GetWindowRect(0x7fffff0), std::nullopt);
  EXPECT_EQ(errorsSeen, 0);
}

TEST_F(X11Test, SetParentEmbedsAndReleases) {
  auto geometry = MakeX11WindowGeometry(ours.get());
  const Window host = MakeWindow(theirs.get(), 100, 100, 152, 112);
  const Window form = MakeWindow(ours.get(), 500, 500, 20, 20);
  EXPECT_TRUE(geometry->SetParent(form, host));
  EXPECT_EQ(ParentOf(theirs.get(), form), host);
  EXPECT_EQ(geometry->GetWindowRect(form), (Rect{100, 100, 120, 120}));
  EXPECT_TRUE(geometry->SetParent(form, 0));
  EXPECT_EQ(ParentOf(theirs.get(), form), DefaultRootWindow(theirs.get()));
  EXPECT_FALSE(geometry->SetParent(form, 0x7fffff0));
  EXPECT_FALSE(geometry->SetParent(0x7fffff0, host));
  EXPECT_EQ(errorsSeen, 0);
}

TEST_F(X11Test, PointerPosition) {
  auto pointer = MakeX11Pointer(ours.get());
  XWarpPointer(theirs.get(), None, DefaultRootWindow(theirs.get()), 0, 0, 0, 0, 123, 45);
  XSync(theirs.get(), False);
  EXPECT_EQ(pointer->GetCursorPos(), (Point{123, 45}));
}

// XFixes does not nest hides and answers a show without a hide with an error, which by
// default ends the client; the counter keeps that from happening.
TEST_F(X11Test, CursorCountsLikeWindows) {
  auto cursor = MakeX11Cursor(ours.get());
  cursor->ShowCursor(true);  // 1: nothing to undo
  cursor->ShowCursor(false);
  cursor->ShowCursor(false);  // -1: hidden
  cursor->ShowCursor(false);  // -2
  cursor->ShowCursor(true);
  cursor->ShowCursor(true);  // 0: shown
  cursor->ShowCursor(true);
  XSync(ours.get(), False);
  EXPECT_EQ(errorsSeen, 0);
}

TEST_F(X11Test, TwipsPerPixelFromTheServer) {
  auto metrics = MakeX11ScreenMetrics(ours.get());
  EXPECT_EQ(metrics->TwipsPerPixelX(), 15.0f);
  EXPECT_EQ(metrics->TwipsPerPixelY(), 15.0f);
  EXPECT_EQ(metrics->ScreenWidth(), 1024);
  EXPECT_EQ(metrics->ScreenHeight(), 768);
  // Xft.dpi wins once it is set; a connection reads the resources when it opens.
  const std::string resources = "Xft.dpi:\t120\n";
  XChangeProperty(theirs.get(), DefaultRootWindow(theirs.get()), XA_RESOURCE_MANAGER, XA_STRING, 8,
                  PropModeReplace, reinterpret_cast<const unsigned char*>(resources.data()),
                  static_cast<int>(resources.size()));
  XSync(theirs.get(), False);
  DisplayPtr fresh(XOpenDisplay(server->display().c_str()));
  auto freshMetrics = MakeX11ScreenMetrics(fresh.get());
  EXPECT_EQ(freshMetrics->TwipsPerPixelX(), 12.0f);
  EXPECT_EQ(freshMetrics->TwipsPerPixelY(), 12.0f);
  XDeleteProperty(theirs.get(), DefaultRootWindow(theirs.get()), XA_RESOURCE_MANAGER);
  XSync(theirs.get(), False);
}

TEST(X11Dpi, At120DotsPerInch) {
  testing::Xvfb server(1280, 1024, 120);
  ASSERT_TRUE(server.running());
  DisplayPtr display(XOpenDisplay(server.display().c_str()));
  auto metrics = MakeX11ScreenMetrics(display.get());
  EXPECT_EQ(metrics->TwipsPerPixelX(), 12.0f);
  EXPECT_EQ(metrics->TwipsPerPixelY(), 12.0f);
}

std::size_t CountRootChildren(Display* display) {
  Window root = 0, parent = 0;
  Window* children = nullptr;
  unsigned int count = 0;
  XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count);
  if (children) XFree(children);
  return count;
}

TEST_F(X11Test, AnimatedOutlineIsShortVisibleAndLeavesNothing) {
  const std::size_t before = CountRootChildren(theirs.get());
  const Rect steady{100, 100, 400, 300};
  std::chrono::steady_clock::duration took{};
  std::thread animation([&] {
    auto animator = MakeX11RectAnimation(ours.get());
    const auto start = std::chrono::steady_clock::now();
    animator->DrawAnimatedRects(0, steady, steady);
    took = std::chrono::steady_clock::now() - start;
  });
  // While it runs, the outline shows on the screen.
  const bool seen = testing::WaitFor(
      [&] {
        const auto shot = testing::TakeScreenshot(server->display());
        return shot.valid() && testing::Near(shot.at(250, 100), {0x80, 0x80, 0x80}, 8) &&
               testing::Near(shot.at(100, 200), {0x80, 0x80, 0x80}, 8);
      },
      400ms, 10ms);
  animation.join();
  EXPECT_TRUE(seen);
  EXPECT_GE(took, 150ms);
  EXPECT_LT(took, 600ms) << "generous: about 200 ms are meant";
  EXPECT_EQ(CountRootChildren(theirs.get()), before);
  // A zero rectangle to a zero rectangle draws nothing and returns at once.
  auto animator = MakeX11RectAnimation(ours.get());
  const auto start = std::chrono::steady_clock::now();
  animator->DrawAnimatedRects(0, Rect{}, Rect{});
  EXPECT_LT(std::chrono::steady_clock::now() - start, 100ms);
}

// With a window manager, client windows live inside its frames.
class X11WithWindowManager : public X11Test {
 protected:
  void SetUp() override {
    X11Test::SetUp();
    wm = std::make_unique<testing::Child>(std::vector<std::string>{"openbox", "--sm-disable"},
                                          std::vector<std::string>{"DISPLAY=" + server->display()});
    // The window manager is ready once it redirects the root's children: then no other
    // client may select that.
    ASSERT_TRUE(testing::WaitFor([&] { return RedirectTaken(server->display()); }, 10s));
    errorsSeen = 0;
  }
  static bool RedirectTaken(const std::string& name) {
    Display* probe = XOpenDisplay(name.c_str());
    if (probe == nullptr) return false;
    errorsSeen = 0;
    XSelectInput(probe, DefaultRootWindow(probe), SubstructureRedirectMask);
    XSync(probe, False);
    const bool taken = errorsSeen > 0;
    XCloseDisplay(probe);  // gives the redirect back if the probe got it
    return taken;
  }
  void TearDown() override {
    wm.reset();
    // The next test must not find this one's window manager still holding the redirect.
    testing::WaitFor([&] { return !RedirectTaken(server->display()); }, 5s);
  }
  std::unique_ptr<testing::Child> wm;
};

TEST_F(X11WithWindowManager, FindsReparentedClientWindows) {
  auto finder = MakeX11WindowFinder(ours.get());
  auto geometry = MakeX11WindowGeometry(ours.get());
  const Window client = MakeWindow(theirs.get(), 50, 60, 300, 200);
  SetWmName(theirs.get(), client, "<Orvane>");
  // A window manager that is still starting may drop a map request; ask again until it has
  // put the window into a frame.
  bool framed = false;
  for (int attempt = 0; attempt < 20 && !framed; ++attempt) {
    XMapWindow(theirs.get(), client);
    XSync(theirs.get(), False);
    framed = testing::WaitFor(
        [&] { return ParentOf(theirs.get(), client) != DefaultRootWindow(theirs.get()); }, 500ms);
  }
  ASSERT_TRUE(framed) << "openbox put the window into a frame";
  EXPECT_EQ(finder->FindWindow("<Orvane>"), client);
  // The rectangle takes in the frame, as Windows' window rectangle does.
  ASSERT_TRUE(testing::WaitFor(
      [&] {
        auto r = geometry->GetWindowRect(client);
        return r && r->right - r->left > 300 && r->bottom - r->top > 200;
      },
      5s));
  // An unmapped window beside it is found too.
  const Window hidden = MakeWindow(theirs.get(), 0, 0, 10, 10);
  SetNetWmName(theirs.get(), hidden, "Orvane_Main");
  EXPECT_EQ(finder->FindWindow("Orvane_Main"), hidden);
  EXPECT_EQ(errorsSeen, 0);
}

}  // namespace
}  // namespace orvane
