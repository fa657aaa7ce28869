// The MCI engine and the CD audio device over a drive whose disc, position and end the test sets.
#include "platform/linux/mci/mci_engine.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>

#include "platform/linux/mci/cd_audio_device.h"
#include "platform/mci_errors.h"

namespace orvane::platform {
namespace {

using Plays = std::vector<std::pair<std::uint32_t, std::uint32_t>>;

struct FakeDrive final : CdDrive {
  bool ReadToc(CdToc& out) override {
    if (disc) out = *disc;
    return disc.has_value();
  }
  bool DiscChanged() override { return std::exchange(changed, false); }
  bool Play(std::uint32_t first, std::uint32_t end) override {
    plays.push_back({first, end});
    if (canPlay) playback = {CdPlayback::State::Playing, first};
    return canPlay;
  }
  void Pause() override { playback.state = CdPlayback::State::Paused; }
  bool Resume() override {
    playback.state = CdPlayback::State::Playing;
    return true;
  }
  void Stop() override { playback.state = CdPlayback::State::Idle; }
  CdPlayback Playback() override { return playback; }
  // Playback reaches the end of the range last asked for.
  void End() { playback = {CdPlayback::State::Ended, plays.back().second}; }

  // One minute, 40 seconds and 20 seconds: sectors 0, 4500 and 7500, lead-out at 9000.
  std::optional<CdToc> disc = CdToc{{{1, 0, true}, {2, 4500, true}, {3, 7500, true}}, 9000};
  bool changed = false;
  bool canPlay = true;
  CdPlayback playback;
  Plays plays;
};

// Every device the engine opens is a CD device over a fresh fake drive (the last one is `drive`).
class Mci : public ::testing::Test, public MciDeviceFactory {
 protected:
  std::uint32_t Open(MciDeviceType type, const std::string& element,
                     std::unique_ptr<MciDevice>& device) override {
    opened.push_back((type == MciDeviceType::CdAudio ? "cdaudio:" : "mpegvideo:") + element);
    if (fail.count(element)) return fail[element];
    auto fresh = std::make_unique<FakeDrive>();
    if (nextDisc) fresh->disc = *nextDisc;
    drive = fresh.get();
    device = std::make_unique<CdAudioDevice>(std::move(fresh));
    return 0;
  }
  // The reply to a command, or "#code" when it fails.
  std::string Ask(const std::string& command) {
    std::string reply;
    const std::uint32_t result = engine.Send(command, reply);
    return result == 0 ? reply : "#" + std::to_string(result);
  }

  std::vector<std::string> opened;
  std::map<std::string, std::uint32_t> fail;
  std::optional<std::optional<CdToc>> nextDisc;
  FakeDrive* drive = nullptr;
  MciEngine engine{*this};
};

TEST_F(Mci, OpenGivesTheLowestFreeIdAndRefusesNamesInUse) {
  EXPECT_EQ(Ask("open cdaudio"), "1");
  EXPECT_EQ(Ask("open \"/m/a b.mp3\" type MPEGVideo Alias MP3Play"), "2");
  EXPECT_EQ(Ask("STATUS mp3play MODE"), "stopped") << "aliases are case-blind";
  EXPECT_EQ(Ask("close MP3PLAY"), "");
  EXPECT_EQ(Ask("open x.wav alias again"), "2");
  EXPECT_EQ(Ask("open cdaudio"), "#265");
  EXPECT_EQ(opened,
            (std::vector<std::string>{"cdaudio:", "mpegvideo:/m/a b.mp3", "mpegvideo:x.wav"}));

  fail["/gone.mp3"] = 275u;
  EXPECT_EQ(Ask("open \"/gone.mp3\" alias g"), "#275");
  EXPECT_EQ(Ask("play g"), "#263");
  EXPECT_EQ(Ask("close all"), "");
  EXPECT_EQ(engine.OpenDevices(), 0u);
}

TEST_F(Mci, ADeviceTypeThatIsNotOpenOpensForOneCommand) {
  EXPECT_EQ(Ask("status cdaudio mode"), "stopped");
  EXPECT_EQ(engine.OpenDevices(), 0u) << "an idle auto-opened device closes again";
  EXPECT_EQ(Ask("play cdaudio"), "");
  EXPECT_EQ(engine.OpenDevices(), 1u) << "it stays open while it plays";
  EXPECT_EQ(Ask("open cdaudio"), "1") << "an open takes the playing device over";
  EXPECT_EQ(Ask("stop cdaudio"), "");
  EXPECT_EQ(engine.OpenDevices(), 1u);
}

TEST_F(Mci, ADriverThatCannotLoadFailsBeforeTheKeywordsAreRead) {
  EXPECT_EQ(Ask("play cdaudio from Error:282"), "#270") << "a drive: the bad number";
  EXPECT_EQ(Ask("status cdaudio"), "#273");
  fail[""] = 266u;
  for (const char* command : {"play cdaudio from Error:266", "status cdaudio", "stop cdaudio"})
    EXPECT_EQ(Ask(command), "#266") << command;
  EXPECT_EQ(Ask("close cdaudio x"), "#259") << "close opens nothing";
  EXPECT_EQ(Ask("play nothing from x"), "#270");
  EXPECT_EQ(engine.OpenDevices(), 0u);
}

TEST(MciErrorTexts, AreWindowsOwnForEachCode) {
  const std::pair<std::uint32_t, const char*> cases[] = {
      {263, "The specified device is not open or is not recognized by MCI."},
      {324, "Any compatible waveform playback device may be used."},
      {347, "Could not create or use window."}};
  for (auto [code, text] : cases) {
    const char* ours = MciErrorText(code);
    EXPECT_STREQ(ours ? ours : "(none)", text) << code;
  }
  for (std::uint32_t none : {0u, 255u, 258u, 283u, 313u, 330u, 350u})
    EXPECT_EQ(MciErrorText(none), nullptr) << none;
}

TEST_F(Mci, TheBufferGetsTheReplyOrIsClearedAndOverflowIsAnError) {
  char buffer[16];
  ASSERT_EQ(engine.Send("open cdaudio", buffer, sizeof buffer), 0u);
  EXPECT_STREQ(buffer, "1");
  ASSERT_EQ(engine.Send("set cdaudio time format tmsf", buffer, sizeof buffer), 0u);
  EXPECT_EQ(engine.Send("status cdaudio position track 30", buffer, sizeof buffer), 282u);
  EXPECT_STREQ(buffer, "");
  std::memset(buffer, 'z', sizeof buffer);
  EXPECT_EQ(engine.Send("status cdaudio position track 3", buffer, 11), 268u);
  EXPECT_EQ(buffer[0], '\0');
  EXPECT_EQ(buffer[1], 'z') << "nothing written past the given length";
  ASSERT_EQ(engine.Send("status cdaudio position track 3", buffer, 12), 0u);
  EXPECT_STREQ(buffer, "03:00:00:00") << "exactly fits with its NUL";
  EXPECT_EQ(engine.Send("status cdaudio mode", nullptr, 0), 0u) << "no buffer, no overflow";

  char small[8];
  ASSERT_TRUE(CopyMciErrorText(263, small, sizeof small));
  EXPECT_STREQ(small, "The spe");
  EXPECT_FALSE(CopyMciErrorText(999, buffer, sizeof buffer));
  EXPECT_STREQ(buffer, "");
}

TEST_F(Mci, CdPositionsInTmsf) {
  Ask("open cdaudio");
  ASSERT_EQ(Ask("set cdaudio time format tmsf"), "");
  EXPECT_EQ(Ask("status cdaudio position track 4"), "#282");
  // The reply of a position query is what play takes after "from".
  ASSERT_EQ(Ask("play cdaudio from " + Ask("status cdaudio position track 3")), "");
  ASSERT_EQ(Ask("play cdaudio from 2 to 3"), "");
  ASSERT_EQ(Ask("play cdaudio from 1:0:30:5"), "");
  drive->playback.sector = 4500 + 75 * 31 + 7;
  EXPECT_EQ(Ask("status cdaudio current track"), "2");
  EXPECT_EQ(Ask("status cdaudio position"), "02:00:31:07");
  for (const char* bad : {"0", "4", "1:0:60:0", "1:0:0:75", "3:2:0:0", "3 to 2"}) {
    EXPECT_EQ(Ask("play cdaudio from " + std::string(bad)), "#282") << bad;
  }
  EXPECT_EQ(drive->plays, (Plays{{7500, 9000}, {4500, 7500}, {2255, 9000}}));
}

TEST_F(Mci, CdWholeDiscPlayStartsAgainAfterTheEnd) {
  Ask("open cdaudio");
  ASSERT_EQ(Ask("play cdaudio"), "");
  drive->End();
  EXPECT_EQ(Ask("status cdaudio mode"), "stopped");
  EXPECT_EQ(Ask("status cdaudio current track"), "1");
  ASSERT_EQ(Ask("play cdaudio"), "");
  EXPECT_EQ(drive->plays, (Plays{{0, 9000}, {0, 9000}}));
}

TEST_F(Mci, CdWithoutADiscOrWithAChangedOneIsReadAgain) {
  Ask("open cdaudio");
  EXPECT_EQ(Ask("status cdaudio number of tracks"), "3");
  drive->disc = CdToc{{{5, 0, true}, {6, 100, false}}, 200};
  drive->changed = true;
  EXPECT_EQ(Ask("status cdaudio current track"), "5") << "numbers need not start at one";
  drive->disc.reset();
  drive->changed = true;
  EXPECT_EQ(Ask("status cdaudio mode"), "open");
  EXPECT_EQ(Ask("play cdaudio"), "#262");
  // A read failure while playing (the disc pulled out) ends the play and the old table.
  drive->disc = CdToc{{{1, 0, true}}, 100};
  drive->changed = true;
  ASSERT_EQ(Ask("play cdaudio"), "");
  drive->disc.reset();
  drive->playback.state = CdPlayback::State::Failed;
  EXPECT_EQ(Ask("status cdaudio current track"), "#262");
  EXPECT_EQ(Ask("close cdaudio"), "");

  for (CdToc bad : {CdToc{{}, 100}, CdToc{{{1, 0, true}, {2, 0, true}}, 100},
                    CdToc{{{2, 0, true}, {1, 50, true}}, 100}, CdToc{{{1, 200, true}}, 100}}) {
    nextDisc = bad;
    EXPECT_EQ(Ask("status cdaudio number of tracks"), "#262") << "a bad table is refused";
  }
}

}  // namespace
}  // namespace orvane::platform
