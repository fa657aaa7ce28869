// The real devices on GStreamer and libcdio, with a sink that keeps time but plays nowhere.
#include <gst/gst.h>
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "platform/linux/mci/sound_player_gst.h"
#include "platform/multimedia.h"
#include "tests/mci/media_files.h"
#include "tests/mci/noisy_sink.h"
#include "tests/support/child.h"

namespace orvane::platform {
namespace {

using namespace std::chrono_literals;
using namespace std::string_literals;
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

TEST_F(SystemMci, Mp3AndWavPlayToTheirEndAndStartAgainFromZero) {
  const std::string mp3 = folder / "My Music ä.mp3";
  ASSERT_TRUE(testing::WriteMp3(mp3, 1.0, 440));
  testing::WriteWav(folder / "tone.wav", 1.0, 660);
  for (const std::string& file : {mp3, folder / "tone.wav"}) {
    SCOPED_TRACE(file);
    ASSERT_EQ(Ask("open \"" + file + "\" type MPEGVideo Alias MP3Play"), "1");
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
    EXPECT_EQ(Ask("play MP3Play from 3000"), "#282");
    ASSERT_EQ(Ask("close MP3Play"), "");
    EXPECT_EQ(Ask("status MP3Play mode"), "#263");
  }
}

// GStreamer and GLib print on standard error: nothing may show there.
TEST_F(SystemMci, FilesThatCannotPlayFailWithTheirCodesAndPrintNothing) {
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(Ask("open \"" + folder / "gone.mp3" + "\" type MPEGVideo Alias MP3Play"), "#275");
  std::string noise(20000, '\0');
  for (std::size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<char>(i * 7919 >> 3);
  testing::WriteBytes(folder / "noise.mp3", noise);
  testing::WriteBytes(folder / "empty.mp3", "");
  for (const std::string& file : {folder / "noise.mp3", folder / "empty.mp3", folder.path()})
    EXPECT_EQ(Ask("open \"" + file + "\" type MPEGVideo Alias a"), "#296") << file;
  EXPECT_EQ(Ask("status MP3Play mode"), "#263");
  // Only a readable wave plays as a sound.
  ASSERT_TRUE(testing::WriteMp3(folder / "song.wav", 0.3, 440));
  EXPECT_FALSE(mm->PlaySound((folder / "song.wav").c_str(), SND_ASYNC)) << "an MP3 is no wave";
  EXPECT_FALSE(mm->PlaySound((folder / "gone.wav").c_str(), SND_ASYNC));
  testing::WriteBytes(folder / "junk.wav", "RIFF\x10\0\0\0WAVEjunk junk junk");
  EXPECT_FALSE(mm->PlaySound((folder / "junk.wav").c_str(), SND_ASYNC | SND_LOOP))
      << "a loop decodes its start first";
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

// Without a drive, a readable disc or a sound server, music fails without a word: the saver
// runs on silent. The sound server is the only output tried, so a noisy output elsewhere on the
// machine is never opened.
TEST_F(SystemMci, NoDriveNoDiscOrNoSoundServerFailQuietly) {
  ASSERT_TRUE(testing::RegisterNoisySink(nullptr));
  ::testing::internal::CaptureStderr();
  mm = CreateSystemMultimedia({kTestSink, folder / "no-such-drive"});
  EXPECT_EQ(Ask("open cdaudio"), "#266");
  EXPECT_EQ(Ask("status cdaudio current track"), "#266");
  testing::WriteBytes(folder / "broken.cue", "FILE \"");
  mm = CreateSystemMultimedia({kTestSink, folder / "broken.cue"});
  ASSERT_EQ(Ask("open cdaudio"), "1") << "the drive opens, its disc is unreadable";
  EXPECT_EQ(Ask("status cdaudio mode"), "open");
  EXPECT_EQ(Ask("status cdaudio current track"), "#262");

  EXPECT_EQ(mm->WaveOutGetNumDevs(), 1u);
  EXPECT_EQ(CreateSystemMultimedia({"no-such-element", ""})->WaveOutGetNumDevs(), 0u);
  setenv("PULSE_SERVER", ("unix:" + folder / "no-server").c_str(), 1);
  mm = CreateSystemMultimedia({"", testing::WriteDiscImage(folder.path(), {1.0})});
  EXPECT_EQ(mm->WaveOutGetNumDevs(), 0u) << "no sound server, no output";
  ASSERT_EQ(Ask("open cdaudio"), "1");
  Ask("play cdaudio");
  Ask("close cdaudio");
  testing::WriteWav(folder / "a.wav", 0.2, 440);
  ASSERT_TRUE(testing::WriteMp3(folder / "a.mp3", 0.5, 440));
  for (const char* file : {"a.wav", "a.mp3"}) {
    Ask("open \"" + folder / file + "\" type MPEGVideo alias a");
    Ask("play a");
    Ask("close a");
  }
  mm->PlaySound((folder / "a.wav").c_str(), SND_ASYNC | SND_LOOP);
  mm->PlaySound(nullptr, 0);
  unsetenv("PULSE_SERVER");
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

// A loop starts over at most about once a second, however short its sound: a sound under a
// second plays from memory in blocks of whole copies, a longer one from its file. An empty
// sound, or one whose header promises data that never comes, is silence and starts nothing.
TEST(LoopingSound, StartsOverAboutOnceASecondHoweverShortItIs) {
  TempFolder folder;
  testing::WriteEmptyWav(folder / "empty.wav");
  testing::WriteWav(folder / "unfinished.wav", 0, 440);  // the encoder never wrote its sizes
  testing::WriteWav(folder / "20ms.wav", 0.02, 1000);
  testing::WriteWav(folder / "long.wav", 1.2, 440);
  const char* names[] = {"empty.wav", "unfinished.wav", "20ms.wav", "long.wav"};
  std::vector<std::unique_ptr<SoundPlayer>> players;
  for (const char* name : names) {
    players.push_back(std::make_unique<SoundPlayer>(kTestSink));
    EXPECT_TRUE(players.back()->Play((folder / name).c_str(), SND_ASYNC | SND_LOOP)) << name;
  }
  // Counted against the long sound's own passes, so that a busy machine slows both alike.
  ASSERT_TRUE(WaitFor([&] { return players[3]->Passes() >= 3; }, 60s, 20ms));
  const std::uint64_t longPasses = players[3]->Passes();
  const std::uint64_t shortPasses = players[2]->Passes();
  EXPECT_GE(shortPasses, 1u);
  EXPECT_LE(shortPasses, 2 * longPasses + 2)
      << "a 20 ms sound starts over in blocks, not 50 a second";
  for (int i = 0; i < 2; ++i) {
    SCOPED_TRACE(names[i]);
    EXPECT_TRUE(players[i]->Playing());
    EXPECT_EQ(players[i]->Passes(), 0u);
  }
}

}  // namespace
}  // namespace orvane::platform
