// Real previews under Xvfb: the test makes the caller's window, starts Orvane.scr /p with its
// id, and looks at the window's pixels and the process. GoogleTest comes before Xlib's macros.
#include <gtest/gtest.h>
// clang-format off
#include <X11/Xlib.h>
#include <gdk-pixbuf/gdk-pixbuf.h>
// clang-format on

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/child.h"
#include "tests/support/screenshot.h"
#include "tests/support/xvfb.h"

namespace orvane::testing {
namespace {

using namespace std::chrono_literals;

const std::string kPicturePath = ORVANE_SOURCE_DIR "/assets/preview/Img_Prev.jpg";
constexpr Rgb kCallerColour{0xFF, 0x00, 0xFF};  // none of the picture's colours

class PreviewDisplay : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(xvfb.running() && display);
    // Requests about windows that a preview destroys meanwhile must not end the test.
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    picture = gdk_pixbuf_new_from_file(kPicturePath.c_str(), nullptr);
    ASSERT_TRUE(picture && gdk_pixbuf_get_width(picture) == 152 &&
                gdk_pixbuf_get_height(picture) == 112);
  }
  void TearDown() override {
    if (picture) g_object_unref(picture);
    if (display) XCloseDisplay(display);
  }
  Window MakeCaller(int width, int height, int x = 40, int y = 30) {
    const Window window = XCreateSimpleWindow(display, root, x, y, width, height, 0, 0, 0xFF00FF);
    XMapWindow(display, window);
    XSync(display, False);
    return window;
  }
  std::unique_ptr<Child> StartPreview(const std::string& handle) {
    return std::make_unique<Child>(
        std::vector<std::string>{ProgramPath("Orvane.scr"), "/p", handle},
        std::vector<std::string>{"DISPLAY=" + xvfb.display()});
  }
  std::vector<Window> Children(Window window) {
    Window rootOut = 0, parent = 0, *children = nullptr;
    unsigned int count = 0;
    XQueryTree(display, window, &rootOut, &parent, &children, &count);
    std::vector<Window> list(children, children + count);
    if (children) XFree(children);
    return list;
  }
  // The caller's shown child window (the preview form) once it covers the caller exactly.
  Window WaitForForm(Window caller) {
    XWindowAttributes want{}, got{};
    XGetWindowAttributes(display, caller, &want);
    Window found = 0;
    WaitFor(
        [&] {
          for (Window child : Children(caller)) {
            if (XGetWindowAttributes(display, child, &got) && got.map_state == IsViewable &&
                got.x == 0 && got.y == 0 && got.width == want.width && got.height == want.height &&
                got.border_width == 0) {
              found = child;
            }
          }
          return found != 0;
        },
        5s);
    return found;
  }
  // Pixels of the caller's window that differ from the picture drawn unscaled at the
  // top-left corner on black; a failed comparison leaves the screenshot in the temp folder.
  int Mismatches(Window caller) {
    const Screenshot shot = TakeScreenshot(xvfb.display(), caller);
    const guchar* bytes = gdk_pixbuf_read_pixels(picture);
    const int stride = gdk_pixbuf_get_rowstride(picture);
    const int channels = gdk_pixbuf_get_n_channels(picture);
    int wrong = shot.valid() ? 0 : 1;
    for (int y = 0; y < shot.height; ++y) {
      for (int x = 0; x < shot.width; ++x) {
        const guchar* p = x < 152 && y < 112 ? bytes + y * stride + x * channels : nullptr;
        const Rgb expected = p ? Rgb{p[0], p[1], p[2]} : Rgb{};
        wrong += !Near(shot.at(x, y), expected, 2);
      }
    }
    if (wrong > 0) shot.SavePpm(::testing::TempDir() + "preview-mismatch.ppm");
    return wrong;
  }

  Xvfb xvfb;
  Display* display = XOpenDisplay(xvfb.display().c_str());
  Window root = display ? DefaultRootWindow(display) : 0;
  GdkPixbuf* picture = nullptr;
};

TEST_F(PreviewDisplay, PreviewsOfEachSizeRunAtOnceAndEndWithTheirWindows) {
  const Window callers[] = {MakeCaller(152, 112), MakeCaller(300, 200, 300, 30),
                            MakeCaller(100, 60, 40, 400)};
  std::unique_ptr<Child> previews[3];
  Window forms[3];
  for (int i = 0; i < 3; ++i) previews[i] = StartPreview(std::to_string(callers[i]));
  for (int i = 0; i < 3; ++i) {
    ASSERT_NE(forms[i] = WaitForForm(callers[i]), 0u) << i << ": " << previews[i]->Stderr();
    EXPECT_EQ(Mismatches(callers[i]), 0) << i;
  }
  // The caller destroys its window: that preview ends within a second, the others live on.
  XDestroyWindow(display, callers[0]);
  XSync(display, False);
  EXPECT_EQ(previews[0]->Wait(1s), std::optional<int>(0)) << previews[0]->Stderr();
  EXPECT_TRUE(previews[1]->Running() && previews[2]->Running());
  // Another client destroys the form: that preview ends too.
  XDestroyWindow(display, forms[2]);
  XSync(display, False);
  EXPECT_EQ(previews[2]->Wait(2s), std::optional<int>(0));
}

TEST_F(PreviewDisplay, NoCallersWindowOrAnOpenSaverOrDialogEndsAtOnceHavingShownNothing) {
  const Window caller = MakeCaller(152, 112);
  const Window gone = XCreateSimpleWindow(display, root, 0, 0, 10, 10, 0, 0, 0);
  XDestroyWindow(display, gone);
  for (const std::string& handle : {std::string("0"), std::string(), std::to_string(gone)})
    EXPECT_EQ(StartPreview(handle)->Wait(3s), std::optional<int>(0)) << "[" << handle << "]";
  for (const char* title : {"Orvane_Main", "<Orvane>"}) {
    const Window open = XCreateSimpleWindow(display, root, 0, 0, 10, 10, 0, 0,
                                            0);  // unmapped
    XStoreName(display, open, title);
    XSync(display, False);
    EXPECT_EQ(StartPreview(std::to_string(caller))->Wait(3s), std::optional<int>(0)) << title;
    XDestroyWindow(display, open);
  }
  EXPECT_TRUE(Children(caller).empty());
  const Screenshot shot = TakeScreenshot(xvfb.display(), caller);
  EXPECT_TRUE(shot.valid() && std::count(shot.pixels.begin(), shot.pixels.end(), kCallerColour) ==
                                  std::ssize(shot.pixels))
      << "nothing was drawn into the caller's window";
}

}  // namespace
}  // namespace orvane::testing
