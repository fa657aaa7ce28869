// What the Windows Orvane.scr alone does, under Wine in code pages 1252 and 932: the preview
// in a caller's window, and settings files passed between the Linux and the Windows builds.

#include <gtest/gtest.h>

#include <filesystem>

#include "host/Orvane_B.h"
#include "tests/support/hex.h"
#include "tests/support/programs.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;
using namespace orvane::testing;

const std::string kPrograms = ORVANE_WINDOWS_TEST_PROGRAMS;

class HostWineTest : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override { ASSERT_TRUE(xvfb_.running() && programs_.ready()); }
  // What the program's own profile functions do or answer, every text in hexadecimal.
  std::string Tool(const std::string& verb, const std::vector<std::string>& texts) {
    std::string line = "wine '" + kPrograms + "/profile_tool.exe' " + verb;
    for (const std::string& text : texts) line += " " + Hex(text);
    return programs_.Run(line).second;
  }

  Xvfb xvfb_;
  Programs programs_{Build::Windows, xvfb_, GetParam()};
  TempFolder files_;
};

// /p <handle> embeds the preview form as a child filling the caller's window, and the host ends
// when the caller's window goes; a handle of no window ends it at once. (Wine does not draw a
// child window of another process into its parent's X window: no pixels here.)
TEST_P(HostWineTest, PreviewFillsTheCallersWindowAndEndsWithIt) {
  const std::string host = programs_.Path(programs_.Built("Orvane.scr"));
  for (const auto& [width, height] : {std::pair{"200", "150"}, {"100", "80"}}) {
    auto caller = programs_.Start(kPrograms + "/preview_caller.exe", {host, width, height, "4000"});
    EXPECT_EQ(caller->Wait(60s), 0);
    EXPECT_EQ(caller->Stdout(), std::string("child Preview Window 0,0 ") + width + "x" + height +
                                    " visible\r\nended 0\r\n");
  }
  for (const char* handle : {"/p 0", "/p 12345"}) {
    auto preview = programs_.Start(programs_.Built("Orvane.scr"), {handle});
    EXPECT_EQ(preview->Wait(30s), 0) << handle << " left a preview without a caller";
  }
}

// The program's own profile functions take a path in any characters and write what Windows' A
// forms would (a value's high bytes as this code page reads them), which the Linux build reads.
TEST_P(HostWineTest, SettingsFilesPassBetweenTheLinuxAndTheWindowsBuilds) {
  const std::string kind = "BGM\x8B\xE6\x95\xAA", file = "BGM\xCC\xA7\xB2\xD9";
  // Wine reads file names in this machine's ja_JP.UTF-8 as ASCII: only 1252 gets a folder
  // named outside its code page.
  const std::string value = "C:\\\x89\xB9\x8A\x79\\a.mp3";
  const std::string ours =
      files_ / (std::string(GetParam()) == "C.UTF-8" ? "ゲーム" : "plain") + "/ours.ini";
  std::filesystem::create_directories(std::filesystem::path(ours).parent_path());
  for (const auto& [key, text] : {std::pair{kind, std::string("1")}, {file, value}}) {
    Tool("write", {programs_.Path(ours), "Section", key, text});
    EXPECT_EQ(Tool("read", {programs_.Path(ours), "Section", key}), Hex(text));
  }
  EXPECT_EQ(ReadBytes(ours), "[Section]\r\n" + kind + "=1\r\n" + file + "=" + value + "\r\n");
  EXPECT_EQ(ReadIni("Section", kind, ours), "1");
  EXPECT_EQ(ReadIni("Section", file, ours), value);
}

// Wine takes its ANSI code page from the locale: C.UTF-8 gives 1252, ja_JP.UTF-8 gives 932.
INSTANTIATE_TEST_SUITE_P(CodePages, HostWineTest, ::testing::Values("C.UTF-8", "ja_JP.UTF-8"),
                         [](const auto& info) {
                           return std::string(info.param) == "C.UTF-8" ? "cp1252" : "cp932";
                         });

}  // namespace
}  // namespace orvane
