// The Command button as a Win32 window under Wine: the face GDI paints, pixel for pixel against
// the face the core paints, for every look, both gradient directions and several sizes.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "host/controls/command_window_win32.h"

namespace orvane {
namespace {

TEST(CommandWin32, GdiPaintsTheSamePixelsAsTheCoreForEveryLookAndSize) {
  const HWND host = CreateWindowExW(0, L"STATIC", L"host", WS_POPUP | WS_VISIBLE, 0, 0, 400, 200,
                                    nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  const std::pair<double, double> sizes[] = {{1215, 375}, {615, 375}, {960, 375},
                                             {2010, 600}, {450, 180}, {3000, 240}};
  for (const auto& [width, height] : sizes) {
    CommandWindow button(host, 300, 300, width, height);
    Command& control = button.Control();
    PropertyBag design;
    design.Write("Caption", std::string("設定"), std::string("Command"));
    control.LoadFromBag(design);
    control.Initialize();
    const Surface& face = control.Face();
    ASSERT_EQ(face.Width(), static_cast<int>(width / 15));
    for (int direction = 0; direction < 2; ++direction) {
      // State 1 paints white on top, state 2 lavender grey on top.
      if (direction == 1) control.OnMouseMove();
      for (int look = 0; look < kLookCount; ++look) {
        control.PaintState(static_cast<Look>(look));
        int differing = 0;
        for (int y = 0; y < face.Height(); ++y) {
          for (int x = 0; x < face.Width(); ++x)
            differing += face.Pixel(x, y) != button.DrawnPixel(x, y);
        }
        EXPECT_EQ(differing, 0) << width << "x" << height << " "
                                << LookName(static_cast<Look>(look)) << " direction " << direction;
      }
    }
  }
  DestroyWindow(host);
}

}  // namespace
}  // namespace orvane
