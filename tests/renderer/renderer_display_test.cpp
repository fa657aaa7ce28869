// The real Orvane.dll under an Xvfb of the test's own: its window, its input, its exit codes
// and what it draws.

#include <gtest/gtest.h>

#include <csignal>
#include <memory>
#include <sstream>
#include <string>
#include <thread>

#include "renderer/sgi_writer.h"
#include "tests/renderer/sgi_bytes.h"
#include "tests/support/child.h"
#include "tests/support/screenshot.h"
#include "tests/support/xvfb.h"

namespace orvane::renderer {
namespace {

using namespace std::chrono_literals;
using orvane::testing::Child;
using orvane::testing::Rgb;
using orvane::testing::RunShell;
using orvane::testing::WaitFor;
using testing::Bytes;

const Rgb kFog{153, 153, 0};

class RendererDisplayTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { xvfb_ = std::make_unique<orvane::testing::Xvfb>(1024, 768); }
  static void TearDownTestSuite() { xvfb_.reset(); }

  void SetUp() override { ASSERT_TRUE(xvfb_->running()); }

  // Puts a picture where the renderer looks for it: the data directory under our cache home.
  void placePicture(const Bytes& bytes) {
    std::filesystem::create_directories(cache_ / "t_ovin");
    testing::writeBytes(picturePath(), bytes);
  }
  void placeSolidPicture(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    Bytes pixels;
    for (int i = 0; i < 64 * 64; ++i) pixels.insert(pixels.end(), {r, g, b});
    placePicture(encodeSgi(pixels.data(), 64, 64, 3, SgiStorage::runLength));
  }
  std::string picturePath() const { return (cache_ / "t_ovin" / "Orvane.image").string(); }

  std::unique_ptr<Child> startRenderer() {
    return std::make_unique<Child>(
        std::vector<std::string>{std::string(ORVANE_BIN_DIR) + "/Orvane.dll"},
        std::vector<std::string>{"DISPLAY=" + xvfb_->display(),
                                 "XDG_CACHE_HOME=" + cache_.path().string()});
  }

  std::pair<int, std::string> xdotool(const std::string& arguments) {
    return RunShell("DISPLAY=" + xvfb_->display() + " xdotool " + arguments + " 2>&1");
  }

  // The top-level windows titled exactly "Orvane_VC".
  std::vector<unsigned long> rendererWindows() {
    const auto [code, out] = xdotool("search --maxdepth 1 --name '^Orvane_VC$'");
    std::vector<unsigned long> ids;
    std::istringstream lines(out);
    for (unsigned long id; lines >> id;) ids.push_back(id);
    return ids;
  }

  // Waits for the renderer's window to cover the screen, and gives its id.
  unsigned long waitForFullScreenWindow(Child& renderer) {
    unsigned long window = 0;
    WaitFor(
        [&] {
          const auto ids = rendererWindows();
          if (ids.size() != 1 || !renderer.Running()) return false;
          const auto shot = orvane::testing::TakeScreenshot(xvfb_->display(), ids[0]);
          if (shot.width != 1024 || shot.height != 768) return false;
          window = ids[0];
          return true;
        },
        10s, 50ms);
    return window;
  }

  static std::unique_ptr<orvane::testing::Xvfb> xvfb_;
  testing::TempFolder cache_;
};

std::unique_ptr<orvane::testing::Xvfb> RendererDisplayTest::xvfb_;

TEST_F(RendererDisplayTest, OnlyEscapeEndsTheTunnel) {
  placePicture(testing::readBytes(std::string(ORVANE_BIN_DIR) + "/Orvane.image"));
  auto renderer = startRenderer();
  const unsigned long window = waitForFullScreenWindow(*renderer);
  ASSERT_NE(window, 0u) << renderer->Stderr();

  for (const char* input : {"mousemove --sync 500 400", "key space Return a Z 7 Tab BackSpace",
                            "key Left Right Up Down", "key F1 F11 Home Page_Down", "click 1",
                            "click 3", "mousemove --sync 40 700", "key ctrl+c alt+F4"}) {
    EXPECT_EQ(xdotool(input).first, 0) << input;
  }
  EXPECT_FALSE(renderer->Wait(600ms).has_value()) << "ended by input other than Escape";
  EXPECT_EQ(rendererWindows().size(), 1u);

  // The bundled picture on the walls: far from the fog colour, and not one flat colour.
  const auto shot = orvane::testing::TakeScreenshot(xvfb_->display(), window);
  ASSERT_TRUE(shot.valid());
  EXPECT_TRUE(Near(shot.at(512, 384), kFog, 40));
  int unlike = 0;
  for (auto [x, y] : {std::pair{20, 384}, {1004, 384}, {512, 20}, {512, 748}, {60, 60}, {964, 708}})
    unlike += !Near(shot.at(x, y), kFog, 60);
  EXPECT_GE(unlike, 4);

  EXPECT_EQ(xdotool("key Escape").first, 0);
  EXPECT_EQ(renderer->Wait(5s), 0);
  EXPECT_TRUE(WaitFor([&] { return rendererWindows().empty(); }, 2s));
  EXPECT_EQ(renderer->Stdout(), "");
}

TEST_F(RendererDisplayTest, FogInTheMiddleAndThePictureOnTheWalls) {
  placeSolidPicture(0, 0, 255);
  auto renderer = startRenderer();
  const unsigned long window = waitForFullScreenWindow(*renderer);
  ASSERT_NE(window, 0u) << renderer->Stderr();
  std::this_thread::sleep_for(300ms);
  const auto shot = orvane::testing::TakeScreenshot(xvfb_->display(), window);
  ASSERT_TRUE(shot.valid());
  // The far end lies deep in the fog; the near walls show the blue picture through little fog.
  EXPECT_TRUE(Near(shot.at(512, 384), kFog, 25));
  for (auto [x, y] : {std::pair{10, 384}, {1013, 384}, {512, 10}, {512, 757}}) {
    const Rgb p = shot.at(x, y);
    EXPECT_GT(p.b, 150) << x << "," << y;
    EXPECT_LT(p.r, 100) << x << "," << y;
    EXPECT_EQ(p.r, p.g) << x << "," << y;
  }
  if (HasFailure()) shot.SavePpm(::testing::TempDir() + "/orvane-renderer-walls.ppm");
  renderer->Signal(SIGTERM);
  renderer->Wait(5s);
}

TEST_F(RendererDisplayTest, MissingOrOversizedPictureEndsWithOneAndOneLine) {
  auto missing = startRenderer();
  EXPECT_EQ(missing->Wait(10s), 1);
  EXPECT_EQ(missing->Stderr(), picturePath() + ": No such file or directory\n");

  placePicture(testing::sgiHeader(1, 60000, 60000, 3));
  auto oversized = startRenderer();
  EXPECT_EQ(oversized->Wait(10s), 1);
  EXPECT_EQ(
      oversized->Stderr(),
      picturePath() + ": picture of 60000 x 60000 pixels in 3 channels is too large to read\n");
}

}  // namespace
}  // namespace orvane::renderer
