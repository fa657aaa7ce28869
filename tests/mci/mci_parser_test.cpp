#include <gtest/gtest.h>

#include <string>

#include "platform/mci/mci_command.h"
#include "platform/mci/mci_errors.h"

namespace orvane::platform {
namespace {

std::uint32_t Parse(const std::string& text, MciCommand& c) {
  return ParseMciCommand(text, c);
}

std::uint32_t ErrorOf(const std::string& text) {
  MciCommand c;
  return ParseMciCommand(text, c);
}

TEST(MciParser, ReadsTheModulesOpenWithItsQuotedPathAndMixedCaseKeywords) {
  MciCommand c;
  ASSERT_EQ(Parse("open \"/home/u/My Music/ä b.mp3\" type MPEGVideo Alias MP3Play", c), 0u);
  EXPECT_EQ(c.verb, MciVerb::Open);
  EXPECT_EQ(c.device, "/home/u/My Music/ä b.mp3");
  EXPECT_EQ(c.type, "MPEGVideo");
  EXPECT_EQ(c.alias, "MP3Play");

  ASSERT_EQ(Parse("  OPEN\tcdaudio  SHAREABLE wait ", c), 0u);
  EXPECT_EQ(c.device, "cdaudio");
  EXPECT_TRUE(c.shareable);
  EXPECT_TRUE(c.wait);
  EXPECT_FALSE(c.notify);
}

TEST(MciParser, ReadsStatusItemsWithAndWithoutTracks) {
  MciCommand c;
  ASSERT_EQ(Parse("status cdaudio current track", c), 0u);
  EXPECT_EQ(c.item, MciStatusItem::CurrentTrack);
  ASSERT_EQ(Parse("Status CDAudio Number Of Tracks", c), 0u);
  EXPECT_EQ(c.item, MciStatusItem::NumberOfTracks);
  EXPECT_EQ(c.device, "CDAudio");
  ASSERT_EQ(Parse("status cdaudio position track 3", c), 0u);
  EXPECT_EQ(c.item, MciStatusItem::Position);
  EXPECT_EQ(c.track, 3u);
  ASSERT_EQ(Parse("status cdaudio position", c), 0u);
  EXPECT_FALSE(c.track);
  ASSERT_EQ(Parse("status x length track 12 notify", c), 0u);
  EXPECT_EQ(c.item, MciStatusItem::Length);
  EXPECT_TRUE(c.notify);
  ASSERT_EQ(Parse("status cdaudio type track 2", c), 0u);
  EXPECT_EQ(c.item, MciStatusItem::TypeTrack);
  ASSERT_EQ(Parse("status MP3Play mode", c), 0u);
  EXPECT_EQ(c.item, MciStatusItem::Mode);
  ASSERT_EQ(Parse("status a media present", c), 0u);
  ASSERT_EQ(Parse("status a time format", c), 0u);
  EXPECT_EQ(c.item, MciStatusItem::TimeFormat);
  ASSERT_EQ(Parse("status a start position", c), 0u);
  EXPECT_EQ(c.item, MciStatusItem::StartPosition);

  EXPECT_EQ(ErrorOf("status cdaudio"), MCIERR_MISSING_PARAMETER);
  EXPECT_EQ(ErrorOf("status cdaudio type"), MCIERR_MISSING_PARAMETER);
  EXPECT_EQ(ErrorOf("status cdaudio position track"), MCIERR_BAD_INTEGER);
  EXPECT_EQ(ErrorOf("status cdaudio position track x"), MCIERR_BAD_INTEGER);
  EXPECT_EQ(ErrorOf("status cdaudio mode position"), MCIERR_FLAGS_NOT_COMPATIBLE);
  EXPECT_EQ(ErrorOf("status cdaudio number of"), MCIERR_UNRECOGNIZED_KEYWORD);
  EXPECT_EQ(ErrorOf("status cdaudio volume"), MCIERR_UNRECOGNIZED_KEYWORD);
  EXPECT_EQ(ErrorOf("status cdaudio \"mode\""), MCIERR_UNRECOGNIZED_KEYWORD)
      << "a quoted word is never a keyword";
}

TEST(MciParser, ReadsPlaySeekAndSet) {
  MciCommand c;
  ASSERT_EQ(Parse("play MP3Play from 0", c), 0u);
  EXPECT_EQ(c.from, 0u);
  EXPECT_FALSE(c.to);
  ASSERT_EQ(Parse("play cdaudio from 03:00:00:00 to 4", c), 0u);
  EXPECT_EQ(c.from, 3u);
  EXPECT_EQ(c.to, 4u);
  ASSERT_EQ(Parse("play cdaudio to 1:2:3:4", c), 0u);
  EXPECT_EQ(c.to, 0x04030201u);
  EXPECT_EQ(ErrorOf("play cdaudio from"), MCIERR_BAD_INTEGER);
  EXPECT_EQ(ErrorOf("play cdaudio from Error:282"), MCIERR_BAD_INTEGER);
  EXPECT_EQ(ErrorOf("play cdaudio from 1 from 2"), MCIERR_DUPLICATE_FLAGS);
  EXPECT_EQ(ErrorOf("play cdaudio backwards"), MCIERR_UNRECOGNIZED_KEYWORD);

  ASSERT_EQ(Parse("seek x to start", c), 0u);
  EXPECT_EQ(c.seekTarget, MciSeekTarget::Start);
  ASSERT_EQ(Parse("seek x to 2500", c), 0u);
  EXPECT_EQ(c.seekTarget, MciSeekTarget::Position);
  EXPECT_EQ(c.seekPosition, 2500u);
  EXPECT_EQ(ErrorOf("seek x"), MCIERR_MISSING_PARAMETER);

  ASSERT_EQ(Parse("set cdaudio time format tmsf", c), 0u);
  EXPECT_EQ(c.timeFormat, MciTimeFormat::Tmsf);
  ASSERT_EQ(Parse("set x time format ms", c), 0u);
  EXPECT_EQ(c.timeFormat, MciTimeFormat::Milliseconds);
  ASSERT_EQ(Parse("set x time format smpte 30 drop", c), 0u);
  EXPECT_EQ(c.timeFormat, MciTimeFormat::Smpte30Drop);
  ASSERT_EQ(Parse("set cdaudio door open", c), 0u);
  EXPECT_EQ(c.doorOpen, true);
  EXPECT_EQ(ErrorOf("set x time format"), MCIERR_MISSING_PARAMETER);
  EXPECT_EQ(ErrorOf("set x time format fortnights"), MCIERR_BAD_CONSTANT);
  EXPECT_EQ(ErrorOf("set x"), MCIERR_MISSING_PARAMETER);
}

TEST(MciParser, NumbersAreDecimalOrPackedColonFields) {
  EXPECT_EQ(ParseMciInteger("0"), 0u);
  EXPECT_EQ(ParseMciInteger("4294967295"), 0xFFFFFFFFu);
  EXPECT_FALSE(ParseMciInteger("4294967296"));
  EXPECT_FALSE(ParseMciInteger("99999999999999999999999"));
  EXPECT_EQ(ParseMciInteger("03:00:00:00"), 3u);
  EXPECT_EQ(ParseMciInteger("00:02:00"), 0x0200u);
  EXPECT_EQ(ParseMciInteger("255:255:255:255"), 0xFFFFFFFFu);
  EXPECT_FALSE(ParseMciInteger("256:0"));
  EXPECT_FALSE(ParseMciInteger("1:2:3:4:5"));
  EXPECT_FALSE(ParseMciInteger("1::2"));
  EXPECT_FALSE(ParseMciInteger(":1"));
  EXPECT_FALSE(ParseMciInteger("1:"));
  EXPECT_FALSE(ParseMciInteger("-1"));
  EXPECT_FALSE(ParseMciInteger("+1"));
  EXPECT_FALSE(ParseMciInteger("1e3"));
  EXPECT_FALSE(ParseMciInteger(""));
}

TEST(MciParser, RejectsBadCommandsWithTheirCodes) {
  EXPECT_EQ(ErrorOf(""), MCIERR_MISSING_COMMAND_STRING);
  EXPECT_EQ(ErrorOf(" \t "), MCIERR_MISSING_COMMAND_STRING);
  EXPECT_EQ(ErrorOf("open"), MCIERR_MISSING_DEVICE_NAME);
  EXPECT_EQ(ErrorOf("open \"\""), MCIERR_MISSING_DEVICE_NAME);
  EXPECT_EQ(ErrorOf("dance cdaudio"), MCIERR_UNRECOGNIZED_COMMAND);
  EXPECT_EQ(ErrorOf("\"open\" cdaudio"), MCIERR_UNRECOGNIZED_COMMAND);
  EXPECT_EQ(ErrorOf("open \"C:\\a b.mp3 type mpegvideo"), MCIERR_NO_CLOSING_QUOTE);
  EXPECT_EQ(ErrorOf("open \"a.mp3\"x type mpegvideo"), MCIERR_EXTRA_CHARACTERS);
  EXPECT_EQ(ErrorOf("open a.mp3 type"), MCIERR_MISSING_STRING_ARGUMENT);
  EXPECT_EQ(ErrorOf("open a.mp3 alias"), MCIERR_MISSING_STRING_ARGUMENT);
  EXPECT_EQ(ErrorOf("open a.mp3 alias x alias y"), MCIERR_DUPLICATE_FLAGS);
  EXPECT_EQ(ErrorOf("open a.mp3 buffer 4"), MCIERR_UNRECOGNIZED_KEYWORD);
  EXPECT_EQ(ErrorOf("stop x now"), MCIERR_UNRECOGNIZED_KEYWORD);
  EXPECT_EQ(ErrorOf("close x wait wait"), MCIERR_DUPLICATE_FLAGS);
}

TEST(MciParser, StopsAtTheFirstNulAndKeepsQuotesAndBytesInsideNames) {
  MciCommand c;
  ASSERT_EQ(ParseMciCommand(std::string_view("close x\0 garbage", 16), c), 0u);
  EXPECT_EQ(c.device, "x");
  EXPECT_EQ(ParseMciCommand(std::string_view("\0open", 5), c), MCIERR_MISSING_COMMAND_STRING);

  ASSERT_EQ(Parse("open it's\"odd.mp3 alias a", c), 0u) << "a quote inside a word is a letter";
  EXPECT_EQ(c.device, "it's\"odd.mp3");
  ASSERT_EQ(Parse("open \"\xe6\x97\xa5\xe6\x9c\xac \xff\x80.mp3\" alias a", c), 0u);
  EXPECT_EQ(c.device, "\xe6\x97\xa5\xe6\x9c\xac \xff\x80.mp3");
  ASSERT_EQ(Parse("close all", c), 0u);
  EXPECT_TRUE(c.all);
  ASSERT_EQ(Parse("close \"all\"", c), 0u);
  EXPECT_FALSE(c.all) << "a quoted name is a name";
}

TEST(MciParser, HandlesOverlongInputInOnePass) {
  const std::string name(1 << 20, 'x');
  MciCommand c;
  ASSERT_EQ(Parse("open \"" + name + "\" alias a", c), 0u);
  EXPECT_EQ(c.device.size(), name.size());
  EXPECT_EQ(ErrorOf(name), MCIERR_UNRECOGNIZED_COMMAND);
  std::string many = "status x";
  for (int i = 0; i < 100000; ++i) many += " mode";
  EXPECT_EQ(ErrorOf(many), MCIERR_FLAGS_NOT_COMPATIBLE);
}

}  // namespace
}  // namespace orvane::platform
