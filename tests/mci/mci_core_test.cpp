// The MCI core: the command parser, and the looping of short sounds.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "platform/linux/mci/mci_command.h"
#include "platform/linux/mci/sound_loop.h"

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
      {"close cdaudio x", 259u},
      {"status cdaudio", 273u},
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

using Bytes = std::vector<std::uint8_t>;

// A pass of a short sound is whole copies of it, at least a second long, so that a loop of a
// few samples starts over once a second rather than once per copy, whatever the machine's load.
TEST(LoopBlock, RepeatsAShortSoundWholeToFillAPassAndLeavesAnEmptyOneSilent) {
  const Bytes clip = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};  // three frames of 4 bytes
  EXPECT_EQ(LoopBlock(clip, 4, 6),
            (Bytes{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
  EXPECT_EQ(LoopBlock(Bytes{1, 2, 3, 4, 5, 6}, 4, 3), (Bytes{1, 2, 3, 4, 1, 2, 3, 4, 1, 2, 3, 4}))
      << "a partial last frame is dropped";
  // 20 ms at 44.1 kHz, 16-bit stereo: 50 copies make a second; a frame less needs 51.
  EXPECT_EQ(LoopBlock(Bytes(882 * 4, 7), 4, 44100).size(), 50u * 882 * 4);
  EXPECT_EQ(LoopBlock(Bytes(881 * 4, 7), 4, 44100).size(), 51u * 881 * 4);
  EXPECT_TRUE(LoopBlock(Bytes{1, 2, 3}, 4, 44100).empty()) << "no whole frame";
}

}  // namespace
}  // namespace orvane::platform
