#include "host/music/Orvane_BGM.h"

#include <gtest/gtest.h>

#include "host/Orvane_B.h"
#include "tests/music/scripted_multimedia.h"

namespace orvane {
namespace {

using Strings = std::vector<std::string>;

class MusicModule : public ::testing::Test {
 protected:
  void SetUp() override {
    BGM_UseMultimedia(mm);
    BGM_RepeatTrack = 0;
    BGM_CDPollOn = false;
  }
  testing::ScriptedMultimedia mm;
};

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
      {3, "4", "playing", {"status cdaudio position track 3", "play cdaudio from 03:00:00:00"}},
      {0, "terror", "playing", {}, false},  // "ERR" anywhere, in any case, reads as an error
  };
  mm.Answer("status cdaudio number of tracks", 0, "12");
  mm.Answer("status cdaudio position track 3", 0, "03:00:00:00");
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.current) + "/" + c.mode);
    mm.commands.clear();
    BGM_RepeatTrack = c.repeat;
    mm.Answer("status cdaudio current track", 0, c.current);
    mm.Answer("status cdaudio mode", 0, c.mode);
    BGM_CDPoll();
    EXPECT_EQ(BGM_CDPollOn, c.pollOn);
    Strings expected = {"status cdaudio current track", "status cdaudio number of tracks",
                        "status cdaudio mode"};
    expected.insert(expected.end(), c.then.begin(), c.then.end());
    if (c.pollOn) {
      EXPECT_EQ(mm.commands, expected);
    }
  }
}

// The name goes between quotes, with a quote in it doubled. An MP3 that is not playing is
// started again from its start.
TEST_F(MusicModule, Mp3OpensItsFileAndStartsAgainFromZero) {
  BGM_File = "/m/It's \"a b\".mp3";
  BGM_MP3Open();
  EXPECT_EQ(mm.commands, (Strings{"open \"/m/It's \"\"a b\"\".mp3\" type MPEGVideo Alias MP3Play",
                                  "play MP3Play"}));
  for (const char* mode : {"playing", "stopped", "paused", "not ready"}) {
    mm.commands.clear();
    mm.Answer("status MP3Play mode", 0, mode);
    BGM_MP3Keep();
    Strings expected = {"status MP3Play mode", "stop MP3Play", "play MP3Play from 0"};
    if (std::string(mode) == "playing") expected.resize(1);
    EXPECT_EQ(mm.commands, expected) << mode;
  }
}

}  // namespace
}  // namespace orvane
