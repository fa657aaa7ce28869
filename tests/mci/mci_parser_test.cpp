#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "platform/linux/mci/mci_command.h"

namespace orvane::platform {
namespace {

// Windows' own numbers: 259 unrecognized keyword, 261 unrecognized command, 267 missing command
// string, 294 no closing quote, 305 extra characters, and so on.
TEST(MciParser, RejectsBadCommandsWithWindowsNumbers) {
  const struct {
    const char* text;
    std::uint32_t code;
  } cases[] = {
      {" \t ", 267u},
      {"open \"\"", 292u},
      {"\"open\" cdaudio", 261u},
      {"open \"C:\\a b.mp3 type mpegvideo", 294u},
      {"open \"a.mp3\"x type mpegvideo", 305u},
      {"open \"a\"\"", 294u},  // the doubled quote is text, not the end
      {"open a.mp3 alias x alias y", 295u},
      {"stop x now", 259u},
      {"close cdaudio x", 259u},
      {"status cdaudio", 273u},
      {"status cdaudio mode position", 284u},
      {"status cdaudio \"mode\"", 259u},  // quoted: never a keyword
      {"play cdaudio from Error:282", 270u},
  };
  for (const auto& c : cases) {
    MciCommand command;
    EXPECT_EQ(ParseMciCommand(c.text, command), c.code) << c.text;
  }
}

// A Linux file name may hold a double quote: doubled within a quoted word it is one quote, and
// unquoted it is part of the word. The command ends at the first NUL.
TEST(MciParser, QuotesInNamesAndTheEndOfTheCommand) {
  MciCommand c;
  ASSERT_EQ(
      ParseMciCommand("open \"/m/It's \"\"quoted\"\" ♪.mp3\" type MPEGVideo Alias MP3Play", c), 0u);
  EXPECT_EQ(std::tuple(c.device, c.type, c.alias),
            std::tuple("/m/It's \"quoted\" ♪.mp3", "MPEGVideo", "MP3Play"));
  ASSERT_EQ(ParseMciCommand("open \"a\"\"\" alias \"\"\"\"", c), 0u);
  EXPECT_EQ(std::tuple(c.device, c.alias), std::tuple("a\"", "\""));
  ASSERT_EQ(ParseMciCommand("open it's\"odd.mp3 alias a", c), 0u);
  EXPECT_EQ(c.device, "it's\"odd.mp3");
  ASSERT_EQ(ParseMciCommand(std::string_view("close x\0 garbage", 16), c), 0u);
  EXPECT_EQ(c.device, "x");
}

}  // namespace
}  // namespace orvane::platform
