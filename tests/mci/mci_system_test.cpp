// The real devices on GStreamer and libcdio, with a sink that keeps time but plays nowhere.
#include <gst/gst.h>
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "platform/mci/multimedia.h"
#include "platform/mci/sound_player_gst.h"
#include "tests/mci/media_files.h"
#include "tests/support/child.h"

namespace orvane::platform {
namespace {

using namespace std::chrono_literals;
using testing::TempFolder;
using testing::WaitFor;

constexpr char kTestSink[] = "fakesink sync=true";

class SystemMci : public ::testing::Test {
 protected:
  std::string Ask(const std::string& command) {
    char reply[512];
    const std::uint32_t result = mm->MciSendString(command, reply, sizeof reply);
    return result == 0 ? std::string(reply) : "#" + std::to_string(result);
  }
  long Number(const std::string& command) { return std::strtol(Ask(command).c_str(), nullptr, 10); }
  bool ModeBecomes(const std::string& alias, const std::string& mode) {
    return WaitFor([&] { return Ask("status " + alias + " mode") == mode; }, 3000ms, 50ms);
  }
  TempFolder folder;
  std::unique_ptr<Multimedia> mm = CreateSystemMultimedia({kTestSink, ""});
};

TEST_F(SystemMci, Mp3PlaysToItsEndAndStartsAgainFromZero) {
  const std::string file = folder / "My Music ä.mp3";
  ASSERT_TRUE(testing::WriteMp3(file, 1.0, 440));
  ASSERT_EQ(Ask("open \"" + file + "\" type MPEGVideo Alias MP3Play"), "1");
  EXPECT_NEAR(Number("status MP3Play length"), 1000, 120);
  ASSERT_EQ(Ask("play MP3Play"), "");
  EXPECT_EQ(Ask("status MP3Play mode"), "playing");
  // No main loop runs here: the end of the stream is seen when the mode is asked.
  ASSERT_TRUE(ModeBecomes("MP3Play", "stopped"));
  ASSERT_EQ(Ask("stop MP3Play"), "");
  ASSERT_EQ(Ask("play MP3Play from 0"), "");
  EXPECT_LT(Number("status MP3Play position"), 400);
  // The bus watch takes the end-of-stream message while the loop runs.
  const auto deadline = std::chrono::steady_clock::now() + 1500ms;
  while (std::chrono::steady_clock::now() < deadline) g_main_context_iteration(nullptr, FALSE);
  EXPECT_EQ(Ask("status MP3Play mode"), "stopped") << "the second run ends as well";
  ASSERT_EQ(Ask("close MP3Play"), "");
  EXPECT_EQ(Ask("status MP3Play mode"), "#263");
}

TEST_F(SystemMci, WavPausesAndPlaysARange) {
  testing::WriteWav(folder / "tone.wav", 2.0, 440);
  ASSERT_EQ(Ask("open \"" + folder / "tone.wav" + "\" alias t"), "1");
  ASSERT_EQ(Ask("play t from 200"), "");
  std::this_thread::sleep_for(300ms);
  ASSERT_EQ(Ask("pause t"), "");
  EXPECT_EQ(Ask("status t mode"), "paused");
  const long paused = Number("status t position");
  EXPECT_GT(paused, 300);
  std::this_thread::sleep_for(300ms);
  EXPECT_NEAR(Number("status t position"), paused, 30) << "time stands while paused";
  ASSERT_EQ(Ask("play t from 1000 to 1300"), "");
  ASSERT_TRUE(ModeBecomes("t", "stopped"));
  EXPECT_NEAR(Number("status t position"), 1300, 60);
  EXPECT_EQ(Ask("play t from 3000"), "#282");
}

TEST_F(SystemMci, FilesThatCannotPlayFailWithTheirCodes) {
  EXPECT_EQ(Ask("open \"" + folder / "gone.mp3" + "\" type MPEGVideo Alias MP3Play"), "#275");
  std::string noise(20000, '\0');
  for (std::size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<char>(i * 7919 >> 3);
  testing::WriteBytes(folder / "noise.mp3", noise);
  testing::WriteBytes(folder / "empty.mp3", "");
  for (const std::string& file : {folder / "noise.mp3", folder / "empty.mp3", folder.path()}) {
    EXPECT_EQ(Ask("open \"" + file + "\" type MPEGVideo Alias a"), "#296") << file;
  }
  EXPECT_EQ(Ask("open \"" + folder / "a\"b.mp3" + "\" type MPEGVideo Alias a"), "#305");
  EXPECT_EQ(Ask("status MP3Play mode"), "#263");
}

TEST_F(SystemMci, ADiscImagePlaysFromATrackToTheEnd) {
  mm = CreateSystemMultimedia({kTestSink, testing::WriteDiscImage(folder.path(), {0.5, 1.0})});
  ASSERT_EQ(Ask("open cdaudio"), "1");
  ASSERT_EQ(Ask("set cdaudio time format tmsf"), "");
  EXPECT_EQ(Ask("status cdaudio number of tracks"), "2");
  EXPECT_EQ(Ask("status cdaudio length track 2"), "00:01:00");
  ASSERT_EQ(Ask("play cdaudio from " + Ask("status cdaudio position track 2")), "");
  std::this_thread::sleep_for(300ms);
  EXPECT_EQ(Ask("status cdaudio current track"), "2");
  const std::string at = Ask("status cdaudio position");
  EXPECT_TRUE(at >= "02:00:00:05" && at <= "02:00:01:00") << at;
  ASSERT_TRUE(ModeBecomes("cdaudio", "stopped"));
  EXPECT_EQ(Ask("status cdaudio position"), "01:00:00:00") << "the end of the disc leads back";
  ASSERT_EQ(Ask("close cdaudio"), "");
}

TEST_F(SystemMci, NoDriveOrAnUnreadableDiscFailsAsMciDoes) {
  mm = CreateSystemMultimedia({kTestSink, folder / "no-such-drive"});
  EXPECT_EQ(Ask("open cdaudio"), "#266");
  EXPECT_EQ(Ask("status cdaudio current track"), "#266");
  EXPECT_EQ(Ask("close cdaudio"), "#263");
  testing::WriteBytes(folder / "broken.cue", "FILE \"");
  mm = CreateSystemMultimedia({kTestSink, folder / "broken.cue"});
  ASSERT_EQ(Ask("open cdaudio"), "1") << "the drive opens, its disc is unreadable";
  EXPECT_EQ(Ask("status cdaudio mode"), "open");
  EXPECT_EQ(Ask("status cdaudio current track"), "#262");

  EXPECT_EQ(mm->WaveOutGetNumDevs(), 1u);
  EXPECT_EQ(CreateSystemMultimedia({"no-such-element", ""})->WaveOutGetNumDevs(), 0u);
  setenv("PULSE_SERVER", ("unix:" + folder / "no-server").c_str(), 1);
  EXPECT_EQ(CreateSystemMultimedia()->WaveOutGetNumDevs(), 0u) << "no sound server, no output";
}

TEST(Sounds, ALoopGoesOnUntilStoppedAndOnlyReadableWavesPlay) {
  TempFolder folder;
  SoundPlayer player{kTestSink};
  const std::string file = folder / "blip.wav";
  testing::WriteWav(file, 0.3, 880);
  ASSERT_TRUE(player.Play(file.c_str(), SND_ASYNC | SND_LOOP));
  std::this_thread::sleep_for(1200ms);
  EXPECT_TRUE(player.Playing()) << "four times its length and still going";
  EXPECT_FALSE(player.Play(file.c_str(), SND_ASYNC | SND_NOSTOP));
  ASSERT_TRUE(player.Play(nullptr, 0));
  EXPECT_FALSE(player.Playing());
  ASSERT_TRUE(player.Play((folder / "blip").c_str(), SND_ASYNC)) << ".wav is implied";
  EXPECT_TRUE(WaitFor([&] { return !player.Playing(); }, 2000ms, 50ms)) << "a one-shot ends";

  ASSERT_TRUE(testing::WriteMp3(folder / "song.wav", 0.3, 440));
  EXPECT_FALSE(player.Play((folder / "song.wav").c_str(), SND_ASYNC)) << "an MP3 is no wave";
  EXPECT_FALSE(player.Play((folder / "gone.wav").c_str(), SND_ASYNC));
  EXPECT_FALSE(player.Play(file.c_str(), SND_LOOP)) << "a loop must be asynchronous";
  EXPECT_FALSE(player.Play(folder.path().c_str(), SND_ASYNC));
}

TEST(QuietSystem, NothingIsPrintedOnAnyPath) {
  // No sound server and no drive: every failure stays silent.
  TempFolder folder;
  testing::Child probe({ORVANE_QUIET_PROBE}, {"PULSE_SERVER=unix:" + folder / "none", "GST_DEBUG"});
  ASSERT_EQ(probe.Wait(20000ms), 0);
  EXPECT_EQ(probe.Stdout(), "");
  EXPECT_EQ(probe.Stderr(), "");
}

}  // namespace
}  // namespace orvane::platform
