#include <gtest/gtest.h>

#include <string>

#include "platform/linux/mci/mci_command.h"
#include "platform/mci_errors.h"

namespace orvane::platform {
namespace {

std::uint32_t ErrorOf(std::string_view text) {
  MciCommand c;
  return ParseMciCommand(text, c);
}

TEST(MciParser, RejectsBadCommandsWithTheirCodes) {
  const struct {
    const char* text;
    std::uint32_t code;
  } cases[] = {
      {" \t ", MCIERR_MISSING_COMMAND_STRING},
      {"open \"\"", MCIERR_MISSING_DEVICE_NAME},
      {"\"open\" cdaudio", MCIERR_UNRECOGNIZED_COMMAND},
      {"open \"C:\\a b.mp3 type mpegvideo", MCIERR_NO_CLOSING_QUOTE},
      {"open \"a.mp3\"x type mpegvideo", MCIERR_EXTRA_CHARACTERS},
      {"open \"a\"\"", MCIERR_NO_CLOSING_QUOTE},  // the doubled quote is text, not the end
      {"open a.mp3 type", MCIERR_MISSING_STRING_ARGUMENT},
      {"open a.mp3 alias x alias y", MCIERR_DUPLICATE_FLAGS},
      {"stop x now", MCIERR_UNRECOGNIZED_KEYWORD},
      {"status cdaudio", MCIERR_MISSING_PARAMETER},
      {"status cdaudio position track", MCIERR_BAD_INTEGER},
      {"status cdaudio mode position", MCIERR_FLAGS_NOT_COMPATIBLE},
      {"status cdaudio \"mode\"", MCIERR_UNRECOGNIZED_KEYWORD},  // quoted: never a keyword
      {"play cdaudio from Error:282", MCIERR_BAD_INTEGER},
      {"set x time format fortnights", MCIERR_BAD_CONSTANT},
  };
  for (const auto& c : cases) EXPECT_EQ(ErrorOf(c.text), c.code) << c.text;
}

// A Linux file name may hold a double quote: doubled within a quoted word it is one quote.
// Windows fails every command where a closing quote meets another with 305.
TEST(MciParser, ADoubledQuoteInAQuotedWordIsOneQuote) {
  MciCommand c;
  ASSERT_EQ(
      ParseMciCommand("open \"/m/It's \"\"quoted\"\" ♪.mp3\" type MPEGVideo Alias MP3Play", c), 0u);
  EXPECT_EQ(c.device, "/m/It's \"quoted\" ♪.mp3");
  EXPECT_EQ(c.type, "MPEGVideo");
  EXPECT_EQ(c.alias, "MP3Play");
  ASSERT_EQ(ParseMciCommand("open \"a\"\"\" alias \"\"\"\"", c), 0u);
  EXPECT_EQ(c.device, "a\"");
  EXPECT_EQ(c.alias, "\"");
  ASSERT_EQ(ParseMciCommand("open \"\" \"b\"", c), MCIERR_MISSING_DEVICE_NAME)
      << "an empty quoted word stays empty";
}

TEST(MciParser, NumbersAreDecimalOrPackedColonFields) {
  EXPECT_EQ(ParseMciInteger("4294967295"), 0xFFFFFFFFu);
  EXPECT_EQ(ParseMciInteger("00:02:00"), 0x0200u);
  EXPECT_EQ(ParseMciInteger("1:2:3:4"), 0x04030201u);
  for (const char* bad : {"4294967296", "99999999999999999999999", "256:0", "1:2:3:4:5", "1::2",
                          ":1", "1:", "-1", "+1", "1e3", ""}) {
    EXPECT_FALSE(ParseMciInteger(bad)) << bad;
  }
}

TEST(MciParser, StopsAtTheFirstNulKeepsNamesWholeAndReadsLongInputInOnePass) {
  MciCommand c;
  ASSERT_EQ(ParseMciCommand(std::string_view("close x\0 garbage", 16), c), 0u);
  EXPECT_EQ(c.device, "x");
  ASSERT_EQ(ParseMciCommand("open it's\"odd.mp3 alias a", c), 0u) << "a quote inside a word";
  EXPECT_EQ(c.device, "it's\"odd.mp3");
  const std::string name(1 << 20, 'x');
  ASSERT_EQ(ParseMciCommand("open \"" + name + "\" alias a", c), 0u);
  EXPECT_EQ(c.device.size(), name.size());
  std::string many = "status x";
  for (int i = 0; i < 100000; ++i) many += " mode";
  EXPECT_EQ(ErrorOf(many), MCIERR_FLAGS_NOT_COMPATIBLE);
}

}  // namespace
}  // namespace orvane::platform
