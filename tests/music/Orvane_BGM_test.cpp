#include "host/music/Orvane_BGM.h"

#include <gtest/gtest.h>

#include "host/Orvane_B.h"
#include "tests/music/scripted_multimedia.h"

namespace orvane {
namespace {

using namespace platform;
using testing::ScriptedMultimedia;
using Strings = std::vector<std::string>;

class MusicModule : public ::testing::Test {
 protected:
  void SetUp() override {
    BGM_UseMultimedia(mm);
    BGM_Kind = 0;
    BGM_RepeatTrack = 0;
    BGM_File.clear();
    BGM_CDPollOn = false;
  }

  // A disc that answers the poll's three status queries.
  void Disc(const std::string& current, const std::string& mode) {
    mm.Answer("status cdaudio current track", 0, current);
    mm.Answer("status cdaudio number of tracks", 0, "12");
    mm.Answer("status cdaudio mode", 0, mode);
  }

  ScriptedMultimedia mm;
};

const Strings kPollQueries = {"status cdaudio current track", "status cdaudio number of tracks",
                              "status cdaudio mode"};

TEST_F(MusicModule, MciSendGivesTheReplyTheErrorTextOrTheFallback) {
  std::string reply = "old";
  EXPECT_EQ(BGM_MciSend("", reply), -1);
  EXPECT_EQ(reply, "コマンド文字列が指定されていません");
  EXPECT_TRUE(mm.commands.empty()) << "an empty command is never sent";

  mm.Answer("status x mode", 0, "playing");
  EXPECT_EQ(BGM_MciSend("status x mode", reply), 0);
  EXPECT_EQ(reply, "playing");

  mm.Answer("play x", 263u);
  EXPECT_EQ(BGM_MciSend("play x", reply), 263);
  EXPECT_EQ(reply, "The specified device is not open or is not recognized by MCI.");

  mm.errorTexts = false;
  EXPECT_EQ(BGM_MciSend("play x", reply), 263);
  EXPECT_EQ(reply, "Error (文字列が取れません)");
}

TEST_F(MusicModule, MciPlayBuildsItsCommand) {
  BGM_MciPlay("cdaudio", "", "");
  BGM_MciPlay("cdaudio", "03:00:00:00", "");
  BGM_MciPlay("cdaudio", "2", "5");
  EXPECT_EQ(mm.commands,
            (Strings{"play cdaudio", "play cdaudio from 03:00:00:00", "play cdaudio from 2 to 5"}));
  mm.Answer("play cdaudio", 262u);
  EXPECT_EQ(BGM_MciPlay("cdaudio", "", ""), 262);
  mm.Answer("status cdaudio mode", 266u);
  EXPECT_EQ(BGM_MciQuery("status cdaudio mode"), "Error:266");
}

// One poll of a disc that answers its three status queries: what it sends after them, and
// whether polling goes on.
TEST_F(MusicModule, APollPlaysOnlyAStoppedDiscOrAWrongTrack) {
  const struct {
    std::int16_t repeat;
    const char* current;
    const char* mode;
    Strings then;
    bool pollOn = true;
  } cases[] = {
      {0, "1", "stopped", {"play cdaudio"}},
      {0, "7", "playing", {}},
      {0, "data", "stopped", {"play cdaudio"}},  // whole disc never reads the track as a number
      {0, "1", "stoppedish", {"play cdaudio"}},  // seven characters of the mode count
      {0, "1", "Stopped", {}},                   // and their case
      {3, "4", "playing", {"status cdaudio position track 3", "play cdaudio from 03:00:00:00"}},
      {3, "3", "stopped", {"status cdaudio position track 3", "play cdaudio from 03:00:00:00"}},
      {3, " 3", "playing", {}},
      {3, "3.0", "playing", {}},
      {3, "three", "stopped", {}, false},  // no number: a run-time failure
      {3, "3x", "stopped", {}, false},
      {0, "terror", "playing", {}, false},  // "ERR" anywhere, in any case, reads as an error
      // A failed position query puts its marker into the play command; polling goes on.
      {30, "1", "playing", {"status cdaudio position track 30", "play cdaudio from Error:282"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.current) + "/" + c.mode);
    mm.commands.clear();
    BGM_RepeatTrack = c.repeat;
    Disc(c.current, c.mode);
    mm.Answer("status cdaudio position track 3", 0, "03:00:00:00");
    mm.Answer("status cdaudio position track 30", 282u);
    BGM_CDPoll();
    EXPECT_EQ(BGM_CDPollOn, c.pollOn);
    Strings expected = kPollQueries;
    expected.insert(expected.end(), c.then.begin(), c.then.end());
    if (c.pollOn) {
      EXPECT_EQ(mm.commands, expected);
    }
  }
}

TEST_F(MusicModule, AFailedModeQueryCountsAsNotStopped) {
  Disc("1", "stopped");
  BGM_CDPoll();  // fills the mode buffer with "stopped"
  mm.commands.clear();
  mm.Answer("status cdaudio mode", 262u);
  BGM_CDPoll();
  EXPECT_TRUE(BGM_CDPollOn);
  EXPECT_EQ(mm.commands, kPollQueries) << "a failed status clears the buffer";
}

// The name goes between quotes, with a quote in it doubled; a Windows name is sent as it is.
TEST_F(MusicModule, Mp3PlaysOnlyWhenItOpenedAndWavOnlyWithAnOutput) {
  BGM_File = "/m/It's \"a b\".mp3";
  const std::string open = "open \"/m/It's \"\"a b\"\".mp3\" type MPEGVideo Alias MP3Play";
  mm.Answer(open, 275u);
  BGM_MP3Open();
  mm.outputs = 0;
  BGM_WAVPlay();
  EXPECT_EQ(mm.calls, (Strings{"MCI " + open}))
      << "no play after a failed open, no PlaySound without an output";
  mm.calls.clear();
  BGM_File = "C:\\My Music\\a.mp3";
  BGM_MP3Open();
  EXPECT_EQ(mm.calls, (Strings{"MCI open \"C:\\My Music\\a.mp3\" type MPEGVideo Alias MP3Play",
                               "MCI play MP3Play"}));
}

TEST_F(MusicModule, Mp3KeepRestartsAnythingThatIsNotPlaying) {
  for (const char* mode : {"playing", "stopped", "paused", "not ready"}) {
    mm.commands.clear();
    mm.Answer("status MP3Play mode", 0, mode);
    BGM_MP3Keep();
    Strings expected = {"status MP3Play mode", "stop MP3Play", "play MP3Play from 0"};
    if (std::string(mode) == "playing") expected.resize(1);
    EXPECT_EQ(mm.commands, expected) << mode;
  }
  // Never opened: the status fails, and the keep tick goes on trying.
  mm.commands.clear();
  mm.Answer("status MP3Play mode", 263u);
  BGM_MP3Keep();
  EXPECT_EQ(mm.commands.size(), 3u);
}

}  // namespace
}  // namespace orvane
