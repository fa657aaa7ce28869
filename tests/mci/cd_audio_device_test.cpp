#include "platform/mci/cd_audio_device.h"

#include <gtest/gtest.h>

#include "platform/mci/mci_engine.h"
#include "platform/mci/mci_errors.h"

namespace orvane::platform {
namespace {

// A drive whose disc, playback position and end the test sets by hand.
struct FakeDrive final : CdDrive {
  bool ReadToc(CdToc& out) override {
    ++tocReads;
    if (!disc) return false;
    out = *disc;
    return true;
  }
  bool DiscChanged() override { return std::exchange(changed, false); }
  bool Play(std::uint32_t first, std::uint32_t end) override {
    plays.push_back({first, end});
    if (!canPlay) return false;
    playback = {CdPlayback::State::Playing, first};
    return true;
  }
  void Pause() override { playback.state = CdPlayback::State::Paused; }
  bool Resume() override {
    playback.state = CdPlayback::State::Playing;
    return true;
  }
  void Stop() override {
    ++stops;
    playback.state = CdPlayback::State::Idle;
  }
  CdPlayback Playback() override { return playback; }

  // Playback reaches the end of the range last asked for.
  void End() { playback = {CdPlayback::State::Ended, plays.back().second}; }

  std::optional<CdToc> disc;
  bool changed = false;
  bool canPlay = true;
  int tocReads = 0;
  int stops = 0;
  CdPlayback playback;
  std::vector<std::pair<std::uint32_t, std::uint32_t>> plays;
};

// One minute, 40 seconds and 20 seconds: sectors 0, 4500 and 7500, lead-out at 9000.
CdToc ThreeTracks() {
  return {{{1, 0, true}, {2, 4500, true}, {3, 7500, true}}, 9000};
}

class CdAudio : public ::testing::Test, public MciDeviceFactory {
 protected:
  CdAudio() { drive->disc = ThreeTracks(); }

  std::uint32_t Open(MciDeviceType, const std::string&,
                     std::unique_ptr<MciDevice>& device) override {
    device = std::make_unique<CdAudioDevice>(std::move(owned));
    return 0;
  }

  // The reply to a command, or "#code" when it fails.
  std::string Ask(const std::string& command) {
    std::string reply;
    const std::uint32_t result = engine.Send(command, reply);
    return result == 0 ? reply : "#" + std::to_string(result);
  }

  std::unique_ptr<FakeDrive> owned = std::make_unique<FakeDrive>();
  FakeDrive* drive = owned.get();
  MciEngine engine{*this};
};

using Plays = std::vector<std::pair<std::uint32_t, std::uint32_t>>;

TEST_F(CdAudio, MsfIsTheDefaultAndCountsTheTwoSecondLeadIn) {
  ASSERT_EQ(Ask("open cdaudio"), "1");
  EXPECT_EQ(Ask("status cdaudio time format"), "msf");
  EXPECT_EQ(Ask("status cdaudio position"), "00:02:00");
  EXPECT_EQ(Ask("status cdaudio start position"), "00:02:00");
  EXPECT_EQ(Ask("status cdaudio position track 2"), "01:02:00");
  EXPECT_EQ(Ask("status cdaudio length"), "02:00:00");
  EXPECT_EQ(Ask("status cdaudio length track 2"), "00:40:00");
  EXPECT_EQ(Ask("status cdaudio number of tracks"), "3");
  EXPECT_EQ(Ask("status cdaudio current track"), "1");
  EXPECT_EQ(Ask("status cdaudio mode"), "stopped");
  EXPECT_EQ(Ask("status cdaudio media present"), "true");
  EXPECT_EQ(Ask("status cdaudio type track 3"), "audio");
  EXPECT_EQ(Ask("play cdaudio from 00:01:74"), "#282") << "before the first track";
  EXPECT_EQ(Ask("play cdaudio from 01:02:00"), "");
  EXPECT_EQ(drive->plays, (Plays{{4500, 9000}}));
}

TEST_F(CdAudio, TmsfPositionsAreTrackRelativeAndLengthsStayMsf) {
  Ask("open cdaudio");
  ASSERT_EQ(Ask("set cdaudio time format tmsf"), "");
  EXPECT_EQ(Ask("status cdaudio time format"), "tmsf");
  EXPECT_EQ(Ask("status cdaudio position track 3"), "03:00:00:00");
  EXPECT_EQ(Ask("status cdaudio position track 1"), "01:00:00:00");
  EXPECT_EQ(Ask("status cdaudio position"), "01:00:00:00");
  EXPECT_EQ(Ask("status cdaudio length"), "02:00:00");
  EXPECT_EQ(Ask("status cdaudio length track 3"), "00:20:00");
  EXPECT_EQ(Ask("status cdaudio position track 4"), "#282");
  EXPECT_EQ(Ask("status cdaudio position track 0"), "#282");

  // The reply of a position query is what play takes after "from".
  ASSERT_EQ(Ask("play cdaudio from " + Ask("status cdaudio position track 3")), "");
  ASSERT_EQ(Ask("play cdaudio from 2 to 3"), "");
  ASSERT_EQ(Ask("play cdaudio from 1:0:30:5"), "");
  EXPECT_EQ(drive->plays, (Plays{{7500, 9000}, {4500, 7500}, {30 * 75 + 5, 9000}}));
  drive->playback.sector = 4500 + 75 * 31 + 7;
  EXPECT_EQ(Ask("status cdaudio current track"), "2");
  EXPECT_EQ(Ask("status cdaudio position"), "02:00:31:07");
  EXPECT_EQ(Ask("status cdaudio mode"), "playing");

  EXPECT_EQ(Ask("play cdaudio from 0"), "#282") << "there is no track 0";
  EXPECT_EQ(Ask("play cdaudio from 4"), "#282");
  EXPECT_EQ(Ask("play cdaudio from 1:0:60:0"), "#282");
  EXPECT_EQ(Ask("play cdaudio from 1:0:0:75"), "#282");
  EXPECT_EQ(Ask("play cdaudio from 3:2:0:0"), "#282") << "past the lead-out";
  EXPECT_EQ(Ask("play cdaudio from 3 to 2"), "#282");
  EXPECT_EQ(drive->plays.size(), 3u);
}

TEST_F(CdAudio, MillisecondsCountFromAbsoluteZero) {
  Ask("open cdaudio");
  Ask("set cdaudio time format milliseconds");
  EXPECT_EQ(Ask("status cdaudio position track 2"), "62000");
  EXPECT_EQ(Ask("status cdaudio length track 1"), "60000");
  ASSERT_EQ(Ask("play cdaudio from 62000"), "");
  EXPECT_EQ(drive->plays.back().first, 4500u);
  EXPECT_EQ(Ask("set cdaudio time format frames"), "#293");
  EXPECT_EQ(Ask("status cdaudio time format"), "milliseconds");
}

TEST_F(CdAudio, WholeDiscPlayStartsAgainAfterTheEndButARangeStaysAtItsEnd) {
  Ask("open cdaudio");
  ASSERT_EQ(Ask("play cdaudio"), "");
  EXPECT_EQ(drive->plays, (Plays{{0, 9000}}));
  drive->End();
  EXPECT_EQ(Ask("status cdaudio mode"), "stopped");
  EXPECT_EQ(Ask("status cdaudio current track"), "1");
  ASSERT_EQ(Ask("play cdaudio"), "");
  EXPECT_EQ(drive->plays.back(), (std::pair<std::uint32_t, std::uint32_t>{0, 9000}));

  Ask("set cdaudio time format tmsf");
  ASSERT_EQ(Ask("play cdaudio from 1 to 2"), "");
  drive->End();
  EXPECT_EQ(Ask("status cdaudio mode"), "stopped");
  EXPECT_EQ(Ask("status cdaudio position"), "02:00:00:00");
  ASSERT_EQ(Ask("play cdaudio"), "");
  EXPECT_EQ(drive->plays.back(), (std::pair<std::uint32_t, std::uint32_t>{4500, 9000}))
      << "play with no position goes on from where it stands";
}

TEST_F(CdAudio, StopPauseResumeAndSeek) {
  Ask("open cdaudio");
  Ask("set cdaudio time format tmsf");
  ASSERT_EQ(Ask("play cdaudio from 2"), "");
  drive->playback.sector = 4600;
  ASSERT_EQ(Ask("pause cdaudio"), "");
  EXPECT_EQ(Ask("status cdaudio mode"), "stopped") << "a paused drive reports stopped";
  ASSERT_EQ(Ask("resume cdaudio"), "");
  EXPECT_EQ(Ask("status cdaudio mode"), "playing");
  ASSERT_EQ(Ask("stop cdaudio"), "");
  EXPECT_EQ(Ask("status cdaudio mode"), "stopped");
  EXPECT_EQ(Ask("status cdaudio position"), "02:00:01:25");
  ASSERT_EQ(Ask("seek cdaudio to 3"), "");
  EXPECT_EQ(Ask("status cdaudio current track"), "3");
  ASSERT_EQ(Ask("seek cdaudio to end"), "");
  ASSERT_EQ(Ask("play cdaudio"), "");
  EXPECT_EQ(drive->plays.back().first, 0u) << "from the end, play starts the disc again";
  ASSERT_EQ(Ask("seek cdaudio to start"), "");
  EXPECT_EQ(Ask("status cdaudio mode"), "stopped");
  EXPECT_EQ(Ask("seek cdaudio to 9"), "#282");
}

TEST_F(CdAudio, NoDiscAnswersOpenAndFailsTheQueriesTheModuleRelysOn) {
  drive->disc.reset();
  ASSERT_EQ(Ask("open cdaudio"), "1");
  ASSERT_EQ(Ask("set cdaudio time format tmsf"), "");
  EXPECT_EQ(Ask("status cdaudio mode"), "open");
  EXPECT_EQ(Ask("status cdaudio media present"), "false");
  EXPECT_EQ(Ask("status cdaudio current track"), "#262");
  EXPECT_EQ(Ask("status cdaudio number of tracks"), "#262");
  EXPECT_EQ(Ask("status cdaudio position track 1"), "#262");
  EXPECT_EQ(Ask("play cdaudio"), "#262");
  EXPECT_EQ(Ask("stop cdaudio"), "");
  EXPECT_TRUE(drive->plays.empty());
  EXPECT_EQ(Ask("close cdaudio"), "");
}

TEST_F(CdAudio, AChangedOrEjectedDiscIsReadAgain) {
  Ask("open cdaudio");
  EXPECT_EQ(Ask("status cdaudio number of tracks"), "3");
  EXPECT_EQ(Ask("status cdaudio number of tracks"), "3");
  EXPECT_EQ(drive->tocReads, 1) << "the table is read once per disc";
  drive->disc = CdToc{{{1, 0, true}, {2, 100, true}}, 200};
  drive->changed = true;
  EXPECT_EQ(Ask("status cdaudio number of tracks"), "2");
  drive->disc.reset();
  drive->changed = true;
  EXPECT_EQ(Ask("status cdaudio current track"), "#262");

  // A read failure while playing (the disc pulled out) ends the play and the old table.
  drive->disc = ThreeTracks();
  ASSERT_EQ(Ask("play cdaudio"), "");
  drive->disc.reset();
  drive->playback.state = CdPlayback::State::Failed;
  EXPECT_EQ(Ask("status cdaudio mode"), "open");
  EXPECT_EQ(Ask("status cdaudio current track"), "#262");
}

TEST_F(CdAudio, DataTracksAreSkippedAndTheDriveErrorsReported) {
  drive->disc = CdToc{{{1, 0, false}, {2, 1000, true}, {3, 2000, true}, {4, 3000, false}}, 5000};
  Ask("open cdaudio");
  Ask("set cdaudio time format tmsf");
  EXPECT_EQ(Ask("status cdaudio type track 1"), "other");
  ASSERT_EQ(Ask("play cdaudio from 1"), "");
  EXPECT_EQ(drive->plays.back(), (std::pair<std::uint32_t, std::uint32_t>{1000, 3000}));
  EXPECT_EQ(Ask("play cdaudio from 4"), "#282") << "nothing to play after the data track";
  drive->canPlay = false;
  EXPECT_EQ(Ask("play cdaudio from 2"), "#262");
  EXPECT_EQ(Ask("status cdaudio mode"), "stopped");
}

TEST_F(CdAudio, TrackNumbersNeedNotStartAtOneAndBadTablesAreRefused) {
  drive->disc = CdToc{{{5, 0, true}, {6, 750, true}}, 1500};
  Ask("open cdaudio");
  Ask("set cdaudio time format tmsf");
  EXPECT_EQ(Ask("status cdaudio current track"), "5");
  EXPECT_EQ(Ask("status cdaudio position track 6"), "06:00:00:00");
  EXPECT_EQ(Ask("status cdaudio position track 1"), "#282");
  EXPECT_EQ(Ask("close cdaudio"), "");

  for (CdToc bad : {CdToc{{}, 100}, CdToc{{{1, 0, true}, {2, 0, true}}, 100},
                    CdToc{{{2, 0, true}, {1, 50, true}}, 100}, CdToc{{{1, 0, true}}, 0},
                    CdToc{{{0, 0, true}}, 100}, CdToc{{{1, 200, true}}, 100}}) {
    auto d = std::make_unique<FakeDrive>();
    d->disc = bad;
    CdAudioDevice device(std::move(d));
    MciReply reply;
    EXPECT_EQ(device.Status(MciStatusItem::NumberOfTracks, std::nullopt, reply), MCIERR_HARDWARE);
  }
}

TEST(CdTime, PositionsRoundTripThroughTheirReplies) {
  const CdToc toc{{{1, 0, true}, {2, 4500, true}, {3, 7500, true}}, 9000};
  for (MciTimeFormat f : {MciTimeFormat::Msf, MciTimeFormat::Tmsf}) {
    for (std::uint32_t sector : {0u, 1u, 74u, 75u, 4499u, 4500u, 8999u}) {
      const MciReply r = cd::PositionReply(toc, f, sector);
      const std::uint32_t packed =
          r.fields[0] | r.fields[1] << 8 | r.fields[2] << 16 | r.fields[3] << 24;
      EXPECT_EQ(cd::SectorOf(toc, f, packed), sector) << FormatMciReply(r);
    }
  }
  EXPECT_EQ(cd::SectorOf(toc, MciTimeFormat::Milliseconds, 2000), 0u);
  EXPECT_FALSE(cd::SectorOf(toc, MciTimeFormat::Milliseconds, 1999));
  EXPECT_EQ(cd::SectorOf(toc, MciTimeFormat::Milliseconds, 122000), 9000u);
  EXPECT_FALSE(cd::SectorOf(toc, MciTimeFormat::Milliseconds, 0xFFFFFFFFu));
  EXPECT_FALSE(cd::SectorOf(toc, MciTimeFormat::Bytes, 0));
  EXPECT_EQ(FormatMciReply(cd::LengthReply(MciTimeFormat::Tmsf, 75 * 60 * 123)), "123:00:00");
}

}  // namespace
}  // namespace orvane::platform
