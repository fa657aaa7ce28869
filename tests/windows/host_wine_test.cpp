// The preview of the Windows Orvane.scr under Wine: /p <handle> embeds the preview form as a
// child filling the caller's window, and the host ends when the caller's window goes; a handle
// of no window ends it at once. (Wine does not draw a child window of another process into its
// parent's X window: no pixels here.)
#include <gtest/gtest.h>

#include "tests/support/programs.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;
using namespace orvane::testing;

TEST(HostWineTest, PreviewFillsTheCallersWindowAndEndsWithIt) {
  Xvfb xvfb;
  Programs programs{Build::Windows, xvfb};
  ASSERT_TRUE(xvfb.running() && programs.ready());
  const std::string host = programs.Path(programs.Built("Orvane.scr"));
  for (const auto& [width, height] : {std::pair{"200", "150"}, {"100", "80"}}) {
    auto caller = programs.Start(ORVANE_WINDOWS_TEST_PROGRAMS "/preview_caller.exe",
                                 {host, width, height, "4000"});
    EXPECT_EQ(caller->Wait(60s), 0);
    EXPECT_EQ(caller->Stdout(), std::string("child Preview Window 0,0 ") + width + "x" + height +
                                    " visible\r\nended 0\r\n");
  }
  for (const char* handle : {"/p 0", "/p 12345"}) {
    auto preview = programs.Start(programs.Built("Orvane.scr"), {handle});
    EXPECT_EQ(preview->Wait(30s), 0) << handle << " left a preview without a caller";
  }
}

}  // namespace
}  // namespace orvane
