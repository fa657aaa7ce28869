#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>

#include "host/Orvane_R.h"
#include "platform/fake/fake_platform.h"

namespace orvane {
namespace {

using Strings = std::vector<std::string>;

// A form that writes what is done with it into the fake platform's call list, so that its
// steps and the platform's interleave in one record.
class RecordingForm final : public PreviewForm {
 public:
  RecordingForm(FakePlatform& fake, WindowHandle window) : fake_(fake), window_(window) {}
  WindowHandle Window() const override { return window_; }
  int PictureWidth() const override { return 152; }
  int PictureHeight() const override { return 112; }
  void Arrange(const PreviewLayout& l) override {
    fake_.calls.push_back("Arrange " + std::to_string(l.WidthTwips) + "x" +
                          std::to_string(l.HeightTwips) + " shown " + std::to_string(l.ShownWidth) +
                          "x" + std::to_string(l.ShownHeight));
  }
  void Show() override { fake_.calls.push_back("Show"); }

 private:
  FakePlatform& fake_;
  WindowHandle window_;
};

class ShowPreviewTest : public ::testing::Test {
 protected:
  // formWindow: the loaded form's window; none throws, as a loader without a display does.
  Strings Run(WindowHandle caller, std::optional<WindowHandle> formWindow = 900) {
    fake.calls.clear();
    fake.ended = false;
    form = ShowPreview(caller, fake, [&](std::function<void()> onUnload) {
      fake.calls.push_back("Load");
      if (!formWindow) throw std::runtime_error("no display");
      unload = std::move(onUnload);
      return std::make_unique<RecordingForm>(fake, *formWindow);
    });
    EXPECT_EQ(form == nullptr, fake.ended) << "the process lives on only with a form";
    return fake.calls;
  }
  FakePlatform fake;
  std::function<void()> unload;
  std::unique_ptr<PreviewForm> form;
};

TEST_F(ShowPreviewTest, EmbedsTheFormBeforeItIsSizedOrShownAndEndsWithIt) {
  fake.windowRects = {{132, Rect{300, 200, 452, 312}}, {900, Rect{}}};
  EXPECT_EQ(Run(132), (Strings{"GetWindowRect 132", "Load", "SetParent 900 132",
                               "Arrange 2280x1680 shown 152x112", "Show"}));
  unload();
  EXPECT_TRUE(fake.ended);
  fake.twipsPerPixelX = fake.twipsPerPixelY = 12.0f;
  fake.windowRects[132] = Rect{0, 0, 2800, 300};  // too wide: invisible, yet embedded
  EXPECT_EQ(Run(132).at(3), "Arrange 0x3600 shown 0x112");
}

TEST_F(ShowPreviewTest, NoCallersWindowOrNoFormEndsAtOnce) {
  // None of these may leave an invisible form that keeps the process alive.
  EXPECT_EQ(Run(0), Strings{"EndProcess"});
  EXPECT_EQ(Run(4711), (Strings{"GetWindowRect 4711", "EndProcess"}));
  fake.windowRects = {{132, Rect{0, 0, 10, 10}}};  // the form cannot be embedded
  EXPECT_EQ(Run(132), (Strings{"GetWindowRect 132", "Load", "SetParent 900 132", "EndProcess"}));
  EXPECT_EQ(Run(132, std::nullopt), (Strings{"GetWindowRect 132", "Load", "EndProcess"}));
  EXPECT_EQ(Run(132, 0), (Strings{"GetWindowRect 132", "Load", "EndProcess"}))
      << "a form whose window could not be made is no form";
}

}  // namespace
}  // namespace orvane
