// The real devices on GStreamer and libcdio, with a sink that keeps time but plays nowhere.
#include <gst/gst.h>
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "platform/mci/mci_errors.h"
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

std::string Ask(Multimedia& mm, const std::string& command) {
  char reply[512];
  const std::uint32_t result = mm.MciSendString(command, reply, sizeof reply);
  return result == 0 ? std::string(reply) : "#" + std::to_string(result);
}

long Number(const std::string& text) {
  return std::strtol(text.c_str(), nullptr, 10);
}

class SystemMci : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(folder.path().empty());
    mm = CreateSystemMultimedia({kTestSink, ""});
  }
  bool ModeBecomes(const std::string& alias, const std::string& mode, std::chrono::milliseconds t) {
    return WaitFor([&] { return Ask(*mm, "status " + alias + " mode") == mode; }, t, 50ms);
  }
  TempFolder folder;
  std::unique_ptr<Multimedia> mm;
};

TEST_F(SystemMci, Mp3PlaysToItsEndAndStartsAgainFromZero) {
  const std::string file = folder / "My Music ä.mp3";
  ASSERT_TRUE(testing::WriteMp3(file, 1.0, 440));
  ASSERT_EQ(Ask(*mm, "open \"" + file + "\" type MPEGVideo Alias MP3Play"), "1");
  EXPECT_EQ(Ask(*mm, "status MP3Play mode"), "stopped");
  EXPECT_EQ(Ask(*mm, "status MP3Play time format"), "milliseconds");
  EXPECT_NEAR(Number(Ask(*mm, "status MP3Play length")), 1000, 120);

  ASSERT_EQ(Ask(*mm, "play MP3Play"), "");
  EXPECT_EQ(Ask(*mm, "status MP3Play mode"), "playing");
  // No main loop runs here: the end of the stream is seen when the mode is asked.
  ASSERT_TRUE(ModeBecomes("MP3Play", "stopped", 3000ms));
  EXPECT_NEAR(Number(Ask(*mm, "status MP3Play position")), 1000, 120);

  ASSERT_EQ(Ask(*mm, "stop MP3Play"), "");
  ASSERT_EQ(Ask(*mm, "play MP3Play from 0"), "");
  EXPECT_EQ(Ask(*mm, "status MP3Play mode"), "playing");
  EXPECT_LT(Number(Ask(*mm, "status MP3Play position")), 400);
  ASSERT_TRUE(ModeBecomes("MP3Play", "stopped", 3000ms)) << "the second run ends as well";

  ASSERT_EQ(Ask(*mm, "close MP3Play"), "");
  EXPECT_EQ(Ask(*mm, "status MP3Play mode"), "#263");
}

TEST_F(SystemMci, TheMainLoopSeesTheEndToo) {
  const std::string file = folder / "short.wav";
  testing::WriteWav(file, 0.4, 660);
  ASSERT_EQ(Ask(*mm, "open \"" + file + "\" type MPEGVideo alias w"), "1");
  ASSERT_EQ(Ask(*mm, "play w"), "");
  // The bus watch takes the end-of-stream message while the loop runs.
  const auto deadline = std::chrono::steady_clock::now() + 1500ms;
  while (std::chrono::steady_clock::now() < deadline) g_main_context_iteration(nullptr, FALSE);
  EXPECT_EQ(Ask(*mm, "status w mode"), "stopped");
  EXPECT_EQ(Ask(*mm, "play w from 0"), "");
  EXPECT_EQ(Ask(*mm, "status w mode"), "playing");
}

TEST_F(SystemMci, WavPausesResumesAndPlaysARange) {
  const std::string file = folder / "tone.wav";
  testing::WriteWav(file, 2.0, 440);
  ASSERT_EQ(Ask(*mm, "open \"" + file + "\" alias t"), "1") << "the extension names the type";
  ASSERT_EQ(Ask(*mm, "play t from 200"), "");
  std::this_thread::sleep_for(300ms);
  ASSERT_EQ(Ask(*mm, "pause t"), "");
  EXPECT_EQ(Ask(*mm, "status t mode"), "paused");
  const long paused = Number(Ask(*mm, "status t position"));
  EXPECT_GT(paused, 300);
  std::this_thread::sleep_for(300ms);
  EXPECT_NEAR(Number(Ask(*mm, "status t position")), paused, 30) << "time stands while paused";
  ASSERT_EQ(Ask(*mm, "resume t"), "");
  EXPECT_EQ(Ask(*mm, "status t mode"), "playing");

  ASSERT_EQ(Ask(*mm, "play t from 1000 to 1300"), "");
  ASSERT_TRUE(ModeBecomes("t", "stopped", 2000ms));
  EXPECT_NEAR(Number(Ask(*mm, "status t position")), 1300, 60);
  EXPECT_EQ(Ask(*mm, "play t from 3000"), "#282");
  EXPECT_EQ(Ask(*mm, "play t from 900 to 800"), "#282");
  ASSERT_EQ(Ask(*mm, "seek t to start"), "");
  EXPECT_EQ(Ask(*mm, "status t mode"), "stopped");
  EXPECT_LT(Number(Ask(*mm, "status t position")), 30);
  EXPECT_EQ(Ask(*mm, "set t time format frames"), "#293");
}

TEST_F(SystemMci, FilesThatCannotPlayFailWithTheirCodes) {
  EXPECT_EQ(Ask(*mm, "open \"" + folder / "gone.mp3" + "\" type MPEGVideo Alias MP3Play"), "#275");
  EXPECT_EQ(Ask(*mm, "play MP3Play"), "#263");
  char text[256];
  ASSERT_TRUE(mm->MciGetErrorString(275, text, sizeof text));
  EXPECT_STREQ(text,
               "Cannot find the specified file. Make sure the path and filename are correct.");
  EXPECT_FALSE(mm->MciGetErrorString(12345, text, sizeof text));

  std::vector<std::uint8_t> noise(20000);
  for (std::size_t i = 0; i < noise.size(); ++i)
    noise[i] = static_cast<std::uint8_t>(i * 7919 >> 3);
  testing::WriteBytes(folder / "noise.mp3", noise);
  EXPECT_EQ(Ask(*mm, "open \"" + folder / "noise.mp3" + "\" type MPEGVideo Alias a"), "#296");
  testing::WriteBytes(folder / "empty.mp3", {});
  EXPECT_EQ(Ask(*mm, "open \"" + folder / "empty.mp3" + "\" type MPEGVideo Alias a"), "#296");
  EXPECT_EQ(Ask(*mm, "open \"" + folder.path() + "\" type MPEGVideo Alias a"), "#296");
  EXPECT_EQ(Ask(*mm, "open \"" + folder / "a\"b.mp3" + "\" type MPEGVideo Alias a"), "#305");
  EXPECT_EQ(Ask(*mm, "open \"" + folder / "unterminated.mp3 type MPEGVideo Alias a"), "#294");
  EXPECT_EQ(Ask(*mm, "status MP3Play mode"), "#263");
}

TEST_F(SystemMci, ADiscImagePlaysFromATrack) {
  const std::string cue = testing::WriteDiscImage(folder.path(), {2.0, 3.0, 2.0});
  mm = CreateSystemMultimedia({kTestSink, cue});
  ASSERT_EQ(Ask(*mm, "open cdaudio"), "1");
  ASSERT_EQ(Ask(*mm, "set cdaudio time format tmsf"), "");
  EXPECT_EQ(Ask(*mm, "status cdaudio number of tracks"), "3");
  EXPECT_EQ(Ask(*mm, "status cdaudio current track"), "1");
  EXPECT_EQ(Ask(*mm, "status cdaudio mode"), "stopped");
  const std::string track2 = Ask(*mm, "status cdaudio position track 2");
  EXPECT_EQ(track2, "02:00:00:00");
  EXPECT_EQ(Ask(*mm, "status cdaudio length track 2"), "00:03:00");
  EXPECT_EQ(Ask(*mm, "status cdaudio position track 4"), "#282");

  ASSERT_EQ(Ask(*mm, "play cdaudio from " + track2), "");
  EXPECT_EQ(Ask(*mm, "status cdaudio mode"), "playing");
  std::this_thread::sleep_for(600ms);
  EXPECT_EQ(Ask(*mm, "status cdaudio current track"), "2");
  const std::string at = Ask(*mm, "status cdaudio position");
  EXPECT_TRUE(at >= "02:00:00:20" && at <= "02:00:02:00") << at;
  ASSERT_EQ(Ask(*mm, "stop cdaudio"), "");
  EXPECT_EQ(Ask(*mm, "status cdaudio mode"), "stopped");
  ASSERT_EQ(Ask(*mm, "close cdaudio"), "");
  EXPECT_EQ(Ask(*mm, "status cdaudio time format"), "msf") << "a fresh auto-open after the close";
}

TEST_F(SystemMci, ADiscImagePlaysThroughToTheEnd) {
  const std::string cue = testing::WriteDiscImage(folder.path(), {0.5, 0.5});
  ASSERT_EQ(Ask(*mm, "open \"" + cue + "\" type cdaudio alias cd"), "1");
  ASSERT_EQ(Ask(*mm, "set cd time format tmsf"), "");
  ASSERT_EQ(Ask(*mm, "play cd from 2"), "");
  std::this_thread::sleep_for(150ms);
  EXPECT_EQ(Ask(*mm, "status cd current track"), "2");
  ASSERT_TRUE(ModeBecomes("cd", "stopped", 2000ms));
  EXPECT_EQ(Ask(*mm, "status cd position"), "01:00:00:00") << "the end of the disc leads back";
}

TEST_F(SystemMci, NoDriveFailsAsMciDoes) {
  mm = CreateSystemMultimedia({kTestSink, folder / "no-such-drive"});
  EXPECT_EQ(Ask(*mm, "open cdaudio"), "#266");
  EXPECT_EQ(Ask(*mm, "set cdaudio time format tmsf"), "#266");
  EXPECT_EQ(Ask(*mm, "status cdaudio current track"), "#266");
  EXPECT_EQ(Ask(*mm, "stop cdaudio"), "#266");
  EXPECT_EQ(Ask(*mm, "close cdaudio"), "#263");

  testing::WriteBytes(folder / "broken.cue", {'F', 'I', 'L', 'E', ' ', '"'});
  mm = CreateSystemMultimedia({kTestSink, folder / "broken.cue"});
  ASSERT_EQ(Ask(*mm, "open cdaudio"), "1") << "the drive opens, its disc is unreadable";
  EXPECT_EQ(Ask(*mm, "status cdaudio mode"), "open");
  EXPECT_EQ(Ask(*mm, "status cdaudio current track"), "#262");
}

TEST_F(SystemMci, WaveOutputsCountWhatCanBeOpened) {
  EXPECT_EQ(mm->WaveOutGetNumDevs(), 1u);
  EXPECT_EQ(CreateSystemMultimedia({"no-such-element", ""})->WaveOutGetNumDevs(), 0u);
  setenv("PULSE_SERVER", ("unix:" + folder / "no-server").c_str(), 1);
  EXPECT_EQ(CreateSystemMultimedia()->WaveOutGetNumDevs(), 0u) << "no sound server, no output";
}

class Sounds : public ::testing::Test {
 protected:
  TempFolder folder;
  SoundPlayer player{kTestSink};
};

TEST_F(Sounds, ALoopGoesOnUntilStoppedAndAOneShotEnds) {
  const std::string file = folder / "blip.wav";
  testing::WriteWav(file, 0.3, 880);
  ASSERT_TRUE(player.Play(file.c_str(), SND_ASYNC | SND_LOOP));
  std::this_thread::sleep_for(1200ms);
  EXPECT_TRUE(player.Playing()) << "four times its length and still going";
  EXPECT_FALSE(player.Play(file.c_str(), SND_ASYNC | SND_NOSTOP));
  ASSERT_TRUE(player.Play(nullptr, 0));
  EXPECT_FALSE(player.Playing());

  ASSERT_TRUE(player.Play(file.c_str(), SND_ASYNC));
  EXPECT_TRUE(WaitFor([&] { return !player.Playing(); }, 2000ms, 50ms));

  const auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(player.Play(file.c_str(), SND_SYNC));
  EXPECT_GE(std::chrono::steady_clock::now() - start, 250ms) << "sync returns at the end";
}

TEST_F(Sounds, OnlyReadableWaveFilesPlay) {
  EXPECT_FALSE(player.Play((folder / "gone.wav").c_str(), SND_ASYNC | SND_LOOP));
  const std::string mp3 = folder / "song.wav";
  ASSERT_TRUE(testing::WriteMp3(mp3, 0.3, 440));
  EXPECT_FALSE(player.Play(mp3.c_str(), SND_ASYNC)) << "an MP3 by any name is not a wave";
  const std::string wav = folder / "bare.wav";
  testing::WriteWav(wav, 0.2, 440);
  EXPECT_TRUE(player.Play((folder / "bare").c_str(), SND_ASYNC)) << ".wav is implied";
  EXPECT_FALSE(player.Play(wav.c_str(), SND_LOOP)) << "a loop must be asynchronous";
  EXPECT_FALSE(player.Play(wav.c_str(), SND_ASYNC | SND_MEMORY));
  EXPECT_FALSE(player.Play(folder.path().c_str(), SND_ASYNC));
  EXPECT_FALSE(player.Play("", SND_ASYNC));
}

}  // namespace
}  // namespace orvane::platform

namespace orvane::platform {
namespace {

TEST(QuietSystem, NothingIsPrintedOnAnyPath) {
  // No sound server and no drive: every failure stays silent.
  testing::TempFolder folder;
  testing::Child probe({ORVANE_QUIET_PROBE}, {"PULSE_SERVER=unix:" + folder / "none", "GST_DEBUG"});
  ASSERT_EQ(probe.Wait(20000ms), 0);
  EXPECT_EQ(probe.Stdout(), "");
  EXPECT_EQ(probe.Stderr(), "");
}

}  // namespace
}  // namespace orvane::platform
