// Real previews under Xvfb: the test makes the caller's window, starts Orvane.scr /p with its
// id, and looks at the window's pixels and the process. GoogleTest comes before Xlib's macros.
#include <gtest/gtest.h>
// clang-format off
#include <X11/Xlib.h>
#include <gdk-pixbuf/gdk-pixbuf.h>
// clang-format on

#include <memory>

#include "tests/support/child.h"
#include "tests/support/screenshot.h"
#include "tests/support/xvfb.h"

namespace orvane::testing {
namespace {

using namespace std::chrono_literals;

// The preview fills the caller's window with the picture unscaled at its top-left corner on
// black, and ends when the caller's window goes; with no caller's window it ends at once.
TEST(PreviewDisplay, FillsTheCallersWindowUnscaledAndEndsWithIt) {
  Xvfb xvfb;
  Display* display = XOpenDisplay(xvfb.display().c_str());
  ASSERT_TRUE(xvfb.running() && display);
  GdkPixbuf* picture =
      gdk_pixbuf_new_from_file(ORVANE_SOURCE_DIR "/assets/preview/Img_Prev.jpg", nullptr);
  ASSERT_TRUE(picture && gdk_pixbuf_get_width(picture) == 152 &&
              gdk_pixbuf_get_height(picture) == 112);
  const auto preview = [&](const std::string& handle) {
    return std::make_unique<Child>(
        std::vector<std::string>{ProgramPath("Orvane.scr"), "/p", handle},
        std::vector<std::string>{"DISPLAY=" + xvfb.display()});
  };
  EXPECT_EQ(preview("0")->Wait(5s), 0);
  for (const auto& [width, height] : {std::pair{152, 112}, {300, 200}}) {
    SCOPED_TRACE(width);
    const Window caller = XCreateSimpleWindow(display, DefaultRootWindow(display), 40, 30, width,
                                              height, 0, 0, 0xFF00FF);
    XMapWindow(display, caller);
    XSync(display, False);
    auto child = preview(std::to_string(caller));
    const guchar* bytes = gdk_pixbuf_read_pixels(picture);
    const int stride = gdk_pixbuf_get_rowstride(picture),
              channels = gdk_pixbuf_get_n_channels(picture);
    int wrong = 0;
    Screenshot shot;
    // The caller's magenta goes once the form covers the whole window.
    EXPECT_TRUE(WaitFor(
        [&] {
          shot = TakeScreenshot(xvfb.display(), caller);
          wrong = shot.valid() ? 0 : 1;
          for (int y = 0; y < shot.height; ++y)
            for (int x = 0; x < shot.width; ++x) {
              const guchar* p = x < 152 && y < 112 ? bytes + y * stride + x * channels : nullptr;
              wrong += !Near(shot.at(x, y), p ? Rgb{p[0], p[1], p[2]} : Rgb{}, 2);
            }
          return wrong == 0;
        },
        10s, 100ms))
        << wrong << " pixels differ\n"
        << child->Stderr();
    XDestroyWindow(display, caller);
    XSync(display, False);
    EXPECT_EQ(child->Wait(5s), 0);
  }
  g_object_unref(picture);
  XCloseDisplay(display);
}

}  // namespace
}  // namespace orvane::testing
