// The MCI core: the command parser, and the looping of short sounds.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "platform/linux/mci/mci_command.h"
#include "platform/linux/mci/sound_loop.h"

namespace orvane::platform {
namespace {

using Parsed = std::tuple<MciDevice, MciAction, std::optional<std::string>>;

Parsed Parse(std::string_view text) {
  const MciCommand c = ParseMciCommand(text);
  return {c.device, c.action, c.argument};
}

// The commands the music module sends (the system's tests send each as the module writes it)
// read in any case and spacing, with their arguments; every other command, however near, is
// none of them.
TEST(MciParser, ReadsTheModulesCommandsAndNothingElse) {
  using D = MciDevice;
  using A = MciAction;
  const struct {
    const char* text;
    Parsed parsed;
  } known[] = {
      {"SET CDAudio Time Format TMSF", {D::Cd, A::SetTmsf, std::nullopt}},
      {" status\tcdaudio  NUMBER of tracks ", {D::Cd, A::TrackCount, std::nullopt}},
      {"status cdaudio position track 12", {D::Cd, A::TrackStart, "12"}},
      {"play cdaudio from Error:282", {D::Cd, A::Play, "Error:282"}},
      {"open \"/m/a b.mp3\" type mpegvideo alias mp3play", {D::File, A::Open, "/m/a b.mp3"}},
      {"Play mp3play From 0", {D::File, A::Play, "0"}},
  };
  for (const auto& c : known) EXPECT_EQ(Parse(c.text), c.parsed) << c.text;
  for (const char* other :
       {"", " \t ", "pause MP3Play", "play cdaudio wait", "play cdaudio from", "status cdaudio",
        "set cdaudio time format msf", "\"open\" cdaudio", "status cdaudio \"mode\"",
        "open a.mp3 type MPEGVideo Alias Other", "open a.mp3 type waveaudio alias MP3Play",
        "open \"a.mp3 type MPEGVideo Alias MP3Play", "open \"a.mp3\"x type MPEGVideo Alias MP3Play",
        "open \"a\"\" type MPEGVideo Alias MP3Play", "close MP3Play now"}) {
    EXPECT_EQ(ParseMciCommand(other).device, MciDevice::None) << other;
  }
}

// A Linux file name may hold a double quote: doubled within a quoted word it is one quote, and
// unquoted it is part of the word. The command ends at the first NUL.
TEST(MciParser, QuotesInNamesAndTheEndOfTheCommand) {
  const char* open = " type MPEGVideo Alias MP3Play";
  EXPECT_EQ(ParseMciCommand("open \"/m/It's \"\"quoted\"\" ♪.mp3\"" + std::string(open)).argument,
            "/m/It's \"quoted\" ♪.mp3");
  EXPECT_EQ(ParseMciCommand("open \"a\"\"\"" + std::string(open)).argument, "a\"");
  EXPECT_EQ(ParseMciCommand("open it's\"odd.mp3" + std::string(open)).argument, "it's\"odd.mp3");
  EXPECT_EQ(Parse(std::string_view("stop cdaudio\0 garbage", 21)),
            Parsed(MciDevice::Cd, MciAction::Stop, std::nullopt));
}

// Positions are decimal, or up to four colon-separated fields of at most 255, low byte first:
// track 3 in tmsf is "03:00:00:00", and the module's error marker is no number.
TEST(MciParser, NumbersAndPackedPositions) {
  EXPECT_EQ(ParseMciInteger("0"), 0u);
  EXPECT_EQ(ParseMciInteger("4294967295"), 4294967295u);
  EXPECT_EQ(ParseMciInteger("03:00:00:00"), 3u);
  EXPECT_EQ(ParseMciInteger("2:1:30:74"), 0x4A1E0102u);
  for (const char* bad : {"", "4294967296", "Error:282", "256:0", "1:2:3:4:5", "1::2", "-1", "+1"})
    EXPECT_EQ(ParseMciInteger(bad), std::nullopt) << bad;
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
