#include "host/music/Orvane_BGM.h"

#include <gtest/gtest.h>

#include "host/Orvane_B.h"
#include "tests/music/scripted_multimedia.h"

namespace orvane {
namespace {

using platform::MCIERR_CANNOT_LOAD_DRIVER;
using platform::MCIERR_HARDWARE;
using platform::MCIERR_INVALID_DEVICE_NAME;
using platform::MCIERR_OUTOFRANGE;
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

Strings PollQueriesThen(Strings more) {
  Strings all = kPollQueries;
  all.insert(all.end(), more.begin(), more.end());
  return all;
}

TEST_F(MusicModule, MciSendGivesTheReplyTheErrorTextOrTheFallback) {
  std::string reply = "old";
  EXPECT_EQ(BGM_MciSend("", reply), -1);
  EXPECT_EQ(reply, "コマンド文字列が指定されていません");
  EXPECT_TRUE(mm.sent.empty()) << "an empty command is never sent";

  mm.Answer("status x mode", 0, "playing");
  EXPECT_EQ(BGM_MciSend("status x mode", reply), 0);
  EXPECT_EQ(reply, "playing");
  ASSERT_EQ(mm.sent.size(), 1u);
  EXPECT_EQ(mm.sent[0].replyLength, 512u);

  mm.Answer("play x", MCIERR_INVALID_DEVICE_NAME);
  EXPECT_EQ(BGM_MciSend("play x", reply), 263);
  EXPECT_EQ(reply, "The specified device is not open or is not recognized by MCI.");

  mm.errorTexts = false;
  EXPECT_EQ(BGM_MciSend("play x", reply), 263);
  EXPECT_EQ(reply, "Error (文字列が取れません)");
  EXPECT_EQ(mm.errorTextsAsked, (std::vector<std::uint32_t>{263, 263}));

  // A code the system has no text for takes the same fallback.
  mm.errorTexts = true;
  mm.Answer("seek x", 999);
  EXPECT_EQ(BGM_MciSend("seek x", reply), 999);
  EXPECT_EQ(reply, "Error (文字列が取れません)");
}

TEST_F(MusicModule, MciQueryMarksFailuresWithTheCode) {
  mm.Answer("status cdaudio current track", 0, "4");
  EXPECT_EQ(BGM_MciQuery("status cdaudio current track"), "4");
  mm.Answer("status cdaudio mode", MCIERR_CANNOT_LOAD_DRIVER);
  EXPECT_EQ(BGM_MciQuery("status cdaudio mode"), "Error:266");
}

TEST_F(MusicModule, MciPlayBuildsItsCommand) {
  BGM_MciPlay("cdaudio", "", "");
  BGM_MciPlay("cdaudio", "03:00:00:00", "");
  BGM_MciPlay("cdaudio", "2", "5");
  BGM_MciPlay("cdaudio", "", "5");
  EXPECT_EQ(mm.Commands(), (Strings{"play cdaudio", "play cdaudio from 03:00:00:00",
                                    "play cdaudio from 2 to 5", "play cdaudio to 5"}));
  mm.Answer("play cdaudio", MCIERR_HARDWARE);
  EXPECT_EQ(BGM_MciPlay("cdaudio", "", ""), 262);
}

TEST_F(MusicModule, CdOpenAndCloseSendTheirPairsWithoutBuffers) {
  BGM_CDOpen();
  BGM_CDClose();
  EXPECT_EQ(mm.Commands(), (Strings{"open cdaudio", "set cdaudio time format tmsf", "stop cdaudio",
                                    "close cdaudio"}));
  for (const auto& s : mm.sent) EXPECT_EQ(s.replyLength, 0u) << s.command;
}

TEST_F(MusicModule, WholeDiscPlaysAStoppedDiscWithNoPosition) {
  Disc("1", "stopped");
  BGM_CDPoll();
  EXPECT_TRUE(BGM_CDPollOn);
  EXPECT_EQ(mm.Commands(), PollQueriesThen({"play cdaudio"}));
  EXPECT_EQ(mm.sent[2].replyLength, 255u) << "the mode goes to the 255-character buffer";
}

TEST_F(MusicModule, WholeDiscLeavesAPlayingDiscAloneAndNeverAsksForAPosition) {
  Disc("7", "playing");
  BGM_CDPoll();
  EXPECT_TRUE(BGM_CDPollOn);
  EXPECT_EQ(mm.Commands(), kPollQueries);
  // Whole-disc mode does not read the current track as a number.
  mm.sent.clear();
  Disc("data", "stopped");
  BGM_CDPoll();
  EXPECT_TRUE(BGM_CDPollOn);
  EXPECT_EQ(mm.Commands(), PollQueriesThen({"play cdaudio"}));
}

TEST_F(MusicModule, RepeatTrackJumpsBackWhenTheNextTrackPlays) {
  BGM_RepeatTrack = 3;
  Disc("4", "playing");
  mm.Answer("status cdaudio position track 3", 0, "03:00:00:00");
  BGM_CDPoll();
  EXPECT_TRUE(BGM_CDPollOn);
  EXPECT_EQ(mm.Commands(),
            PollQueriesThen({"status cdaudio position track 3", "play cdaudio from 03:00:00:00"}));
}

TEST_F(MusicModule, RepeatTrackStartsAStoppedDiscAtItsTrack) {
  BGM_RepeatTrack = 12;
  Disc("12", "stopped");
  mm.Answer("status cdaudio position track 12", 0, "12:00:00:00");
  BGM_CDPoll();
  EXPECT_EQ(mm.Commands(),
            PollQueriesThen({"status cdaudio position track 12", "play cdaudio from 12:00:00:00"}));
}

TEST_F(MusicModule, RepeatTrackThatPlaysIsLeftAlone) {
  BGM_RepeatTrack = 3;
  Disc(" 3", "playing");
  BGM_CDPoll();
  EXPECT_TRUE(BGM_CDPollOn);
  EXPECT_EQ(mm.Commands(), kPollQueries);
}

TEST_F(MusicModule, OnlySevenCharactersOfTheModeCountAndCaseMatters) {
  Disc("1", "stoppedish");
  BGM_CDPoll();
  EXPECT_EQ(mm.Commands().back(), "play cdaudio");
  mm.sent.clear();
  Disc("1", "Stopped");
  BGM_CDPoll();
  EXPECT_EQ(mm.Commands(), kPollQueries);
  mm.sent.clear();
  Disc("1", "stoppe");
  BGM_CDPoll();
  EXPECT_EQ(mm.Commands(), kPollQueries);
}

TEST_F(MusicModule, AFailedModeQueryCountsAsNotStopped) {
  Disc("1", "stopped");
  BGM_CDPoll();  // fills the mode buffer with "stopped"
  mm.sent.clear();
  mm.Answer("status cdaudio mode", MCIERR_HARDWARE);
  BGM_CDPoll();
  EXPECT_TRUE(BGM_CDPollOn);
  EXPECT_EQ(mm.Commands(), kPollQueries) << "a failed status clears the buffer";
}

TEST_F(MusicModule, EjectedDiscStopsPollingAtTheFirstFailedQuery) {
  mm.Answer("status cdaudio current track", MCIERR_HARDWARE);
  BGM_CDPoll();
  EXPECT_FALSE(BGM_CDPollOn);
  EXPECT_EQ(mm.Commands(), (Strings{"status cdaudio current track"}));

  mm.sent.clear();
  mm.Answer("status cdaudio current track", 0, "2");
  mm.Answer("status cdaudio number of tracks", MCIERR_CANNOT_LOAD_DRIVER);
  BGM_CDPoll();
  EXPECT_FALSE(BGM_CDPollOn);
  EXPECT_EQ(mm.Commands(),
            (Strings{"status cdaudio current track", "status cdaudio number of tracks"}));
}

TEST_F(MusicModule, AReplyThatOnlyLooksLikeAnErrorStopsPollingToo) {
  // "ERR" anywhere, in any case, counts: the test is on the upper-cased reply.
  Disc("terror", "playing");
  BGM_CDPoll();
  EXPECT_FALSE(BGM_CDPollOn);
}

TEST_F(MusicModule, ACurrentTrackThatIsNoNumberIsARunTimeFailure) {
  BGM_RepeatTrack = 2;
  for (const char* bad : {"", "two", "2x", "-", "1 2"}) {
    mm.sent.clear();
    Disc(bad, "stopped");
    BGM_CDPoll();
    EXPECT_FALSE(BGM_CDPollOn) << "'" << bad << "'";
    EXPECT_EQ(mm.Commands(), kPollQueries) << "'" << bad << "'";
  }
  mm.sent.clear();
  Disc("2.0", "playing");
  BGM_CDPoll();
  EXPECT_TRUE(BGM_CDPollOn);
  EXPECT_EQ(mm.Commands(), kPollQueries) << "2.0 reads as the repeat track";
}

TEST_F(MusicModule, AFailedPositionQueryPutsTheMarkerIntoThePlayCommand) {
  BGM_RepeatTrack = 30;
  Disc("1", "playing");
  mm.Answer("status cdaudio position track 30", MCIERR_OUTOFRANGE);
  mm.Answer("play cdaudio from Error:282", platform::MCIERR_BAD_INTEGER);
  BGM_CDPoll();
  EXPECT_TRUE(BGM_CDPollOn) << "polling goes on";
  EXPECT_EQ(mm.Commands(),
            PollQueriesThen({"status cdaudio position track 30", "play cdaudio from Error:282"}));
}

TEST_F(MusicModule, Mp3OpensTheQuotedPathAndPlaysOnlyWhenItOpened) {
  BGM_File = "/home/u/My Music/a b.mp3";
  BGM_MP3Open();
  EXPECT_EQ(
      mm.Commands(),
      (Strings{"open \"/home/u/My Music/a b.mp3\" type MPEGVideo Alias MP3Play", "play MP3Play"}));
  for (const auto& s : mm.sent) EXPECT_EQ(s.replyLength, 0u);

  mm.sent.clear();
  mm.Answer("open \"/home/u/My Music/a b.mp3\" type MPEGVideo Alias MP3Play",
            platform::MCIERR_FILE_NOT_FOUND);
  BGM_MP3Open();
  EXPECT_EQ(mm.Commands().size(), 1u);
}

TEST_F(MusicModule, Mp3KeepRestartsAnythingThatIsNotPlaying) {
  mm.Answer("status MP3Play mode", 0, "playing");
  BGM_MP3Keep();
  EXPECT_EQ(mm.Commands(), (Strings{"status MP3Play mode"}));
  EXPECT_EQ(mm.sent[0].replyLength, 30u);
  EXPECT_TRUE(BGM_MP3IsPlaying());

  for (const char* mode : {"stopped", "paused", "not ready", "seeking"}) {
    mm.sent.clear();
    mm.Answer("status MP3Play mode", 0, mode);
    BGM_MP3Keep();
    EXPECT_EQ(mm.Commands(),
              (Strings{"status MP3Play mode", "stop MP3Play", "play MP3Play from 0"}))
        << mode;
  }
  // Never opened: the status fails, and the keep tick goes on trying.
  mm.sent.clear();
  mm.Answer("status MP3Play mode", MCIERR_INVALID_DEVICE_NAME);
  BGM_MP3Keep();
  EXPECT_EQ(mm.Commands().size(), 3u);
  EXPECT_FALSE(BGM_MP3IsPlaying());
}

TEST_F(MusicModule, Mp3CloseStopsThenCloses) {
  BGM_MP3Close();
  EXPECT_EQ(mm.Commands(), (Strings{"stop MP3Play", "close MP3Play"}));
}

TEST_F(MusicModule, WavLoopsWithFlagsNineOnlyWhenThereIsAnOutput) {
  BGM_File = "/tmp/a loop.wav";
  BGM_WAVPlay();
  ASSERT_EQ(mm.sounds.size(), 1u);
  EXPECT_FALSE(mm.sounds[0].stop);
  EXPECT_EQ(mm.sounds[0].name, "/tmp/a loop.wav");
  EXPECT_EQ(mm.sounds[0].flags, 9u);

  BGM_WAVStop();
  ASSERT_EQ(mm.sounds.size(), 2u);
  EXPECT_TRUE(mm.sounds[1].stop);
  EXPECT_EQ(mm.sounds[1].flags, 0u);

  mm.outputs = 0;
  BGM_WAVPlay();
  EXPECT_EQ(mm.sounds.size(), 2u);
  EXPECT_TRUE(mm.sent.empty()) << "WAV goes through PlaySound, never MCI";
}

}  // namespace
}  // namespace orvane
