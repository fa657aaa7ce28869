#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/child.h"
#include "tests/support/temp_folder.h"
#include "tests/support/xvfb.h"

namespace orvane::renderer {

// The real Orvane.dll on an Xvfb of the test's own, its data directory in a cache folder of the
// test's own so that no run sees another's picture.
class RendererFixture : public ::testing::Test {
 protected:
  explicit RendererFixture(int width = 1024, int height = 768) : xvfb_(width, height) {}
  void SetUp() override {
    ASSERT_TRUE(xvfb_.running());
    std::filesystem::create_directories(cache_ / "t_ovin");
  }
  std::unique_ptr<testing::Child> startRenderer() {
    return std::make_unique<testing::Child>(
        std::vector<std::string>{testing::ProgramPath("Orvane.dll")},
        std::vector<std::string>{"DISPLAY=" + xvfb_.display(), "XDG_CACHE_HOME=" + cache_.path()});
  }

  testing::Xvfb xvfb_;
  testing::TempFolder cache_;
  const std::string picturePath_ = cache_ / "t_ovin/Orvane.image";
};

}  // namespace orvane::renderer
