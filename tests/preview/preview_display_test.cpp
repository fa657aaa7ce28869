// Real previews under Xvfb: the test makes the caller's window itself, starts Orvane.scr /p
// with its id, and looks at the window's pixels and at what became of the process.
// GoogleTest comes before Xlib, whose None and Bool macros it would otherwise meet.
#include <gtest/gtest.h>
// clang-format off
#include <X11/Xlib.h>
#include <gdk-pixbuf/gdk-pixbuf.h>
// clang-format on

#include <chrono>
#include <fstream>
#include <iterator>
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
constexpr unsigned long kCallerColour = 0xFF00FF;  // none of the picture's colours
constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kMagenta{0xFF, 0x00, 0xFF};

// Requests about windows that a preview process destroys meanwhile must not end the test.
int IgnoreXError(Display*, XErrorEvent*) {
  return 0;
}

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<Rgb> pixels;
  Rgb at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

Picture DecodePicture() {
  Picture picture;
  GdkPixbuf* pixbuf = gdk_pixbuf_new_from_file(kPicturePath.c_str(), nullptr);
  if (pixbuf == nullptr) return picture;
  picture.width = gdk_pixbuf_get_width(pixbuf);
  picture.height = gdk_pixbuf_get_height(pixbuf);
  const int stride = gdk_pixbuf_get_rowstride(pixbuf);
  const int channels = gdk_pixbuf_get_n_channels(pixbuf);
  const guchar* bytes = gdk_pixbuf_read_pixels(pixbuf);
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      const guchar* p = bytes + y * stride + x * channels;
      picture.pixels.push_back(Rgb{p[0], p[1], p[2]});
    }
  }
  g_object_unref(pixbuf);
  return picture;
}

class PreviewDisplay : public ::testing::Test {
 protected:
  explicit PreviewDisplay(int dpi = 96) : xvfb_(1024, 768, dpi) {}

  void SetUp() override {
    ASSERT_TRUE(xvfb_.running());
    XSetErrorHandler(IgnoreXError);
    display_ = XOpenDisplay(xvfb_.display().c_str());
    ASSERT_NE(display_, nullptr);
    root_ = DefaultRootWindow(display_);
    picture_ = DecodePicture();
    ASSERT_EQ(picture_.width, 152);
    ASSERT_EQ(picture_.height, 112);
  }

  void TearDown() override {
    if (display_ != nullptr) XCloseDisplay(display_);
  }

  Window MakeCaller(int width, int height, int x = 40, int y = 30) {
    const Window window = XCreateSimpleWindow(display_, root_, x, y, static_cast<unsigned>(width),
                                              static_cast<unsigned>(height), 0, 0, kCallerColour);
    XMapWindow(display_, window);
    XSync(display_, False);
    return window;
  }

  std::unique_ptr<Child> StartPreview(const std::string& handle) {
    return std::make_unique<Child>(
        std::vector<std::string>{ORVANE_BIN_DIR "/Orvane.scr", "/p", handle},
        std::vector<std::string>{"DISPLAY=" + xvfb_.display()});
  }
  std::unique_ptr<Child> StartPreview(Window caller) {
    return StartPreview(std::to_string(caller));
  }

  // The caller's shown child window (the preview form), or 0 when none shows in time.
  Window WaitForForm(Window caller, std::chrono::milliseconds timeout = 5s) {
    Window found = 0;
    WaitFor(
        [&] {
          for (Window child : Children(caller)) {
            XWindowAttributes attributes{};
            if (XGetWindowAttributes(display_, child, &attributes) &&
                attributes.map_state == IsViewable) {
              found = child;
            }
          }
          return found != 0;
        },
        timeout);
    return found;
  }

  std::vector<Window> Children(Window window) {
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    std::vector<Window> list;
    if (XQueryTree(display_, window, &root, &parent, &children, &count) && children) {
      list.assign(children, children + count);
    }
    if (children) XFree(children);
    return list;
  }

  // Pixels of the caller's window that differ from the picture drawn unscaled at the
  // top-left corner on black; the first few are described in report.
  int Mismatches(Window caller, std::string& report) {
    const Screenshot shot = TakeScreenshot(xvfb_.display(), caller);
    if (!shot.valid()) {
      report = "no screenshot";
      return -1;
    }
    int wrong = 0;
    for (int y = 0; y < shot.height; ++y) {
      for (int x = 0; x < shot.width; ++x) {
        const bool inPicture = x < picture_.width && y < picture_.height;
        const Rgb expected = inPicture ? picture_.at(x, y) : kBlack;
        const Rgb got = shot.at(x, y);
        if (!Near(got, expected, 2)) {
          if (++wrong <= 3) {
            report += "(" + std::to_string(x) + "," + std::to_string(y) + ") is " +
                      std::to_string(got.r) + "/" + std::to_string(got.g) + "/" +
                      std::to_string(got.b) + ", wanted " + std::to_string(expected.r) + "/" +
                      std::to_string(expected.g) + "/" + std::to_string(expected.b) + "; ";
          }
        }
      }
    }
    if (wrong > 0) shot.SavePpm(::testing::TempDir() + "preview-mismatch.ppm");
    return wrong;
  }

  // Every pixel of the window has the caller's own colour: nothing was drawn into it.
  bool ShowsOnlyItsOwnColour(Window caller) {
    const Screenshot shot = TakeScreenshot(xvfb_.display(), caller);
    if (!shot.valid()) return false;
    for (const Rgb& pixel : shot.pixels) {
      if (!(pixel == kMagenta)) return false;
    }
    return true;
  }

  // What became of a preview process, for failure messages.
  static std::string Describe(Child& preview) {
    const std::optional<int> status = preview.Wait(0ms);
    return (status ? "ended with " + std::to_string(*status) : std::string("still running")) +
           "; stderr: " + preview.Stderr();
  }

  XWindowAttributes Attributes(Window window) {
    XWindowAttributes attributes{};
    XGetWindowAttributes(display_, window, &attributes);
    return attributes;
  }

  // The windows mapped as children of the root since the last call (after the root's
  // SubstructureNotify was chosen).
  std::vector<Window> TopLevelMaps() {
    XSync(display_, False);
    std::vector<Window> mapped;
    while (XPending(display_)) {
      XEvent event;
      XNextEvent(display_, &event);
      if (event.type == MapNotify && event.xmap.event == root_) mapped.push_back(event.xmap.window);
    }
    return mapped;
  }

  void WatchTopLevelMaps() {
    XSelectInput(display_, root_, SubstructureNotifyMask);
    XSync(display_, False);
  }

  Xvfb xvfb_;
  Display* display_ = nullptr;
  Window root_ = 0;
  Picture picture_;
};

TEST(PreviewPicture, IsABaseline152By112Jpeg) {
  std::ifstream in(kPicturePath, std::ios::binary);
  const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)),
                                         std::istreambuf_iterator<char>());
  ASSERT_GE(bytes.size(), 4u);
  EXPECT_EQ(bytes[0], 0xFF);
  EXPECT_EQ(bytes[1], 0xD8);
  // The frame header: SOF0 (baseline) and no other; its height and width follow the length.
  int baseline = 0, other = 0;
  for (size_t i = 2; i + 8 < bytes.size(); ++i) {
    if (bytes[i] != 0xFF) continue;
    const unsigned char marker = bytes[i + 1];
    if (marker == 0xC0) {
      ++baseline;
      EXPECT_EQ(bytes[i + 5] << 8 | bytes[i + 6], 112);
      EXPECT_EQ(bytes[i + 7] << 8 | bytes[i + 8], 152);
    } else if (marker >= 0xC1 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 &&
               marker != 0xCC) {
      ++other;
    }
  }
  EXPECT_EQ(baseline, 1);
  EXPECT_EQ(other, 0);
}

TEST_F(PreviewDisplay, TheUsualPreviewAreaShowsTheWholePictureAndNeverATopLevelWindow) {
  const Window caller = MakeCaller(152, 112);
  WatchTopLevelMaps();
  auto preview = StartPreview(caller);
  const Window form = WaitForForm(caller);
  ASSERT_NE(form, 0u) << Describe(*preview);

  const XWindowAttributes attributes = Attributes(form);
  EXPECT_EQ(attributes.x, 0);
  EXPECT_EQ(attributes.y, 0);
  EXPECT_EQ(attributes.width, 152);
  EXPECT_EQ(attributes.height, 112);
  EXPECT_EQ(attributes.border_width, 0);
  std::string report;
  EXPECT_EQ(Mismatches(caller, report), 0) << report;
  EXPECT_TRUE(TopLevelMaps().empty()) << "the form was mapped as a top-level window";
  EXPECT_TRUE(preview->Running());
}

TEST_F(PreviewDisplay, ALargerWindowShowsThePictureTopLeftOnBlack) {
  const Window caller = MakeCaller(300, 200);
  auto preview = StartPreview(caller);
  const Window form = WaitForForm(caller);
  ASSERT_NE(form, 0u) << preview->Stderr();
  EXPECT_EQ(Attributes(form).width, 300);
  EXPECT_EQ(Attributes(form).height, 200);
  std::string report;
  EXPECT_EQ(Mismatches(caller, report), 0) << report;
}

TEST_F(PreviewDisplay, ASmallerWindowShowsOnlyThePicturesTopLeftPart) {
  const Window caller = MakeCaller(100, 60);
  auto preview = StartPreview(caller);
  const Window form = WaitForForm(caller);
  ASSERT_NE(form, 0u) << preview->Stderr();
  EXPECT_EQ(Attributes(form).width, 100);
  EXPECT_EQ(Attributes(form).height, 60);
  std::string report;
  EXPECT_EQ(Mismatches(caller, report), 0) << report;
}

TEST_F(PreviewDisplay, DestroyingTheCallersWindowEndsThePreviewWithinASecond) {
  const Window caller = MakeCaller(152, 112);
  auto preview = StartPreview(caller);
  ASSERT_NE(WaitForForm(caller), 0u) << preview->Stderr();

  XDestroyWindow(display_, caller);
  XSync(display_, False);
  const auto start = std::chrono::steady_clock::now();
  const std::optional<int> status = preview->Wait(1s);
  const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now() - start);
  ASSERT_TRUE(status.has_value()) << "the preview outlived its caller's window";
  EXPECT_EQ(*status, 0) << preview->Stderr();
  std::printf("preview ended %lld ms after its caller's window\n",
              static_cast<long long>(took.count()));
}

TEST_F(PreviewDisplay, ClosingTheFormEndsThePreview) {
  // Destroyed by another client.
  const Window first = MakeCaller(152, 112);
  auto destroyed = StartPreview(first);
  const Window firstForm = WaitForForm(first);
  ASSERT_NE(firstForm, 0u) << destroyed->Stderr();
  XDestroyWindow(display_, firstForm);
  XSync(display_, False);
  EXPECT_EQ(destroyed->Wait(2s), std::optional<int>(0));

  // Asked to close.
  const Window second = MakeCaller(152, 112, 300, 300);
  auto asked = StartPreview(second);
  const Window secondForm = WaitForForm(second);
  ASSERT_NE(secondForm, 0u) << asked->Stderr();
  XEvent close{};
  close.xclient.type = ClientMessage;
  close.xclient.window = secondForm;
  close.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
  close.xclient.format = 32;
  close.xclient.data.l[0] = static_cast<long>(XInternAtom(display_, "WM_DELETE_WINDOW", False));
  close.xclient.data.l[1] = CurrentTime;
  XSendEvent(display_, secondForm, False, NoEventMask, &close);
  XSync(display_, False);
  EXPECT_EQ(asked->Wait(2s), std::optional<int>(0));
  EXPECT_TRUE(Children(second).empty()) << "the form's window went with it";
}

TEST_F(PreviewDisplay, NoCallersWindowEndsAtOnceHavingShownNothing) {
  const Window gone = XCreateSimpleWindow(display_, root_, 0, 0, 10, 10, 0, 0, 0);
  XDestroyWindow(display_, gone);
  WatchTopLevelMaps();
  for (const std::string& handle : std::vector<std::string>{"0", "", std::to_string(gone)}) {
    auto preview = StartPreview(handle);
    EXPECT_EQ(preview->Wait(3s), std::optional<int>(0)) << "handle '" << handle << "'";
  }
  EXPECT_TRUE(TopLevelMaps().empty());
}

TEST_F(PreviewDisplay, APreviewWhileASaverOrTheSettingsDialogIsOpenIsRefused) {
  const Window caller = MakeCaller(152, 112);
  for (const char* title : {"Orvane_Main", "<Orvane>"}) {
    // Never shown, like the saver's window.
    const Window open = XCreateSimpleWindow(display_, root_, 0, 0, 10, 10, 0, 0, 0);
    XStoreName(display_, open, title);
    XSync(display_, False);
    auto preview = StartPreview(caller);
    EXPECT_EQ(preview->Wait(3s), std::optional<int>(0)) << title;
    EXPECT_TRUE(Children(caller).empty()) << title;
    EXPECT_TRUE(ShowsOnlyItsOwnColour(caller)) << title;
    XDestroyWindow(display_, open);
    XSync(display_, False);
  }
}

TEST_F(PreviewDisplay, SeveralPreviewsRunAtOnceEachInItsOwnWindow) {
  const Window left = MakeCaller(152, 112, 10, 10);
  const Window right = MakeCaller(200, 150, 400, 10);
  auto leftPreview = StartPreview(left);
  auto rightPreview = StartPreview(right);
  ASSERT_NE(WaitForForm(left), 0u) << leftPreview->Stderr();
  ASSERT_NE(WaitForForm(right), 0u) << rightPreview->Stderr();
  std::string report;
  EXPECT_EQ(Mismatches(left, report), 0) << report;
  EXPECT_EQ(Mismatches(right, report), 0) << report;

  XDestroyWindow(display_, left);
  XSync(display_, False);
  EXPECT_EQ(leftPreview->Wait(2s), std::optional<int>(0));
  EXPECT_FALSE(rightPreview->Wait(300ms).has_value()) << "the other preview lives on";
  EXPECT_EQ(Mismatches(right, report), 0) << report;

  XDestroyWindow(display_, right);
  XSync(display_, False);
  EXPECT_EQ(rightPreview->Wait(2s), std::optional<int>(0));
}

class PreviewDisplayAt120Dpi : public PreviewDisplay {
 protected:
  PreviewDisplayAt120Dpi() : PreviewDisplay(120) {}
};

TEST_F(PreviewDisplayAt120Dpi, TheFormStillFillsTheCallersWindowExactly) {
  // 152 x 112 pixels are 1824 x 1344 twips here; the form and its picture come back to the
  // caller's size only when the same twips per pixel are used both ways.
  const Window caller = MakeCaller(152, 112);
  auto preview = StartPreview(caller);
  const Window form = WaitForForm(caller);
  ASSERT_NE(form, 0u) << preview->Stderr();
  EXPECT_EQ(Attributes(form).width, 152);
  EXPECT_EQ(Attributes(form).height, 112);
  std::string report;
  EXPECT_EQ(Mismatches(caller, report), 0) << report;
}

}  // namespace
}  // namespace orvane::testing
