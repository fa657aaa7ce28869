#include "host/music/Orvane_BGM.h"

#include <gtest/gtest.h>

#include "host/Orvane_B.h"
#include "tests/music/scripted_multimedia.h"

namespace orvane {
namespace {

using Strings = std::vector<std::string>;

// The commands the module sends. A CD poll reads the track, the count and the mode, then plays
// only a stopped disc or a wrong track, and stops polling on an error. An MP3's name goes
// between quotes, a quote in it doubled; one that is not playing is started again from 0.
TEST(MusicModule, CdPollAndMp3Commands) {
  testing::ScriptedMultimedia mm;
  BGM_UseMultimedia(mm);
  const struct {
    std::int16_t repeat;
    const char* current;
    const char* mode;
    Strings then;
    bool pollOn = true;
  } polls[] = {
      {0, "1", "stopped", {"play cdaudio"}},
      {0, "7", "playing", {}},
      {3, "4", "playing", {"status cdaudio position track 3", "play cdaudio from 03:00:00:00"}},
      {0, "terror", "playing", {}, false},  // "ERR" anywhere, in any case, reads as an error
  };
  mm.Answer("status cdaudio position track 3", 0, "03:00:00:00");
  for (const auto& c : polls) {
    mm.commands.clear();
    BGM_RepeatTrack = c.repeat;
    mm.Answer("status cdaudio current track", 0, c.current);
    mm.Answer("status cdaudio mode", 0, c.mode);
    BGM_CDPoll();
    EXPECT_EQ(BGM_CDPollOn, c.pollOn) << c.current;
    const std::size_t queries = std::min<std::size_t>(mm.commands.size(), c.pollOn ? 3 : 1);
    mm.commands.erase(mm.commands.begin(), mm.commands.begin() + queries);
    EXPECT_EQ(mm.commands, c.then) << c.current;
  }

  mm.commands.clear();
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
