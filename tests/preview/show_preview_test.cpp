#include <gtest/gtest.h>

#include <stdexcept>

#include "host/Orvane_R.h"
#include "platform/fake_platform.h"

namespace orvane {
namespace {

using Strings = std::vector<std::string>;

constexpr WindowHandle kCaller = 132;
constexpr WindowHandle kForm = 900;

// A form that writes what is done with it into the fake platform's call list, so that its
// steps and the platform's interleave in one record.
class RecordingForm final : public PreviewForm {
 public:
  explicit RecordingForm(FakePlatform& fake) : fake_(fake) {}
  WindowHandle Window() const override { return kForm; }
  int PictureWidth() const override { return 152; }
  int PictureHeight() const override { return 112; }
  void Arrange(const PreviewLayout& layout) override {
    arranged = layout;
    fake_.calls.push_back(
        "Arrange " + std::to_string(layout.FormWidth) + "x" + std::to_string(layout.FormHeight) +
        " shown " + std::to_string(layout.ShownWidth) + "x" + std::to_string(layout.ShownHeight));
  }
  void Show() override { fake_.calls.push_back("Show"); }

  PreviewLayout arranged;

 private:
  FakePlatform& fake_;
};

class ShowPreviewTest : public ::testing::Test {
 protected:
  ShowPreviewTest() {
    fake.windowRects[kCaller] = Rect{300, 200, 452, 312};
    fake.windowRects[kForm] = Rect{0, 0, 1, 1};
  }

  std::unique_ptr<PreviewForm> Run(WindowHandle caller) {
    return ShowPreview(caller, fake, [this](std::function<void()> onUnload) {
      fake.calls.push_back("Load");
      ++loads;
      unload = std::move(onUnload);
      auto form = std::make_unique<RecordingForm>(fake);
      recording = form.get();
      return form;
    });
  }

  FakePlatform fake;
  std::function<void()> unload;
  RecordingForm* recording = nullptr;
  int loads = 0;
};

TEST_F(ShowPreviewTest, EmbedsTheFormBeforeItIsSizedOrShown) {
  auto form = Run(kCaller);
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(fake.calls, (Strings{"GetWindowRect 132", "Load", "SetParent 900 132",
                                 "Arrange 152x112 shown 152x112", "Show"}));
  EXPECT_FALSE(fake.ended) << "the process lives on while the form is loaded";
  EXPECT_EQ(recording->arranged.WidthTwips, 2280);
  EXPECT_EQ(recording->arranged.HeightTwips, 1680);
}

TEST_F(ShowPreviewTest, UsesTheScreensTwipsPerPixel) {
  fake.twipsPerPixelX = 12.0f;
  fake.twipsPerPixelY = 12.0f;
  fake.windowRects[kCaller] = Rect{0, 0, 100, 300};
  auto form = Run(kCaller);
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(recording->arranged.WidthTwips, 1200);
  EXPECT_EQ(recording->arranged.HeightTwips, 3600);
  EXPECT_EQ(fake.CallsStartingWith("Arrange"), Strings{"Arrange 100x300 shown 100x112"});
}

TEST_F(ShowPreviewTest, TheFormGoneEndsTheProcess) {
  auto form = Run(kCaller);
  ASSERT_TRUE(unload);
  EXPECT_FALSE(fake.ended);
  unload();
  EXPECT_TRUE(fake.ended);
}

TEST_F(ShowPreviewTest, NoCallersWindowEndsAtOnceHavingShownNothing) {
  // Handle 0, a window that no longer exists, and one that goes between the look-up and the
  // embedding: none may leave an invisible form that keeps the process alive.
  EXPECT_EQ(Run(0), nullptr);
  EXPECT_TRUE(fake.ended);
  EXPECT_EQ(loads, 0);
  EXPECT_TRUE(fake.CallsStartingWith("Show").empty());

  fake.ended = false;
  fake.calls.clear();
  EXPECT_EQ(Run(4711), nullptr);
  EXPECT_EQ(fake.calls, (Strings{"GetWindowRect 4711", "EndProcess"}));
  EXPECT_EQ(loads, 0);

  fake.ended = false;
  fake.calls.clear();
  fake.windowRects.erase(kForm);  // SetParent fails
  EXPECT_EQ(Run(kCaller), nullptr);
  EXPECT_EQ(fake.calls, (Strings{"GetWindowRect 132", "Load", "SetParent 900 132", "EndProcess"}));
}

TEST_F(ShowPreviewTest, AFormThatCannotBeMadeEndsTheProcess) {
  EXPECT_EQ(ShowPreview(kCaller, fake, [](std::function<void()>) { return nullptr; }), nullptr);
  EXPECT_TRUE(fake.ended);

  fake.ended = false;
  EXPECT_EQ(ShowPreview(kCaller, fake,
                        [](std::function<void()>) -> std::unique_ptr<PreviewForm> {
                          throw std::runtime_error("no display");
                        }),
            nullptr);
  EXPECT_TRUE(fake.ended);
}

TEST_F(ShowPreviewTest, AnOversizedCallerGivesAnInvisibleFormThatStillEndsWithIt) {
  fake.windowRects[kCaller] = Rect{0, 0, 2200, 1200};
  auto form = Run(kCaller);
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(fake.CallsStartingWith("Arrange"), Strings{"Arrange 0x1200 shown 0x112"});
  EXPECT_FALSE(fake.ended) << "embedded: the caller's window ending takes it along";
  unload();
  EXPECT_TRUE(fake.ended);
}

}  // namespace
}  // namespace orvane
