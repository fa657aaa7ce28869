// The multimedia stand-in's players, on GStreamer and libcdio, and the music module over them on
// the null sink of a PulseAudio daemon of the test's own. Error numbers are Windows' own.
#include <gst/gst.h>
#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <tuple>

#include "host/Orvane_B.h"
#include "host/music/Orvane_BGM.h"
#include "platform/multimedia.h"
#include "tests/mci/media_files.h"
#include "tests/support/pulse.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;
using namespace platform;
using testing::TempFolder;

using Strings = std::vector<std::string>;

// Sends each command in turn as the music module does, with a reply buffer: the replies, or "#"
// and the code.
Strings Replies(Multimedia& mm, const Strings& commands) {
  Strings replies;
  for (const std::string& command : commands) {
    char reply[512];
    const std::uint32_t result = mm.MciSendString(command, reply, sizeof reply);
    replies.push_back(result == 0 ? std::string(reply) : "#" + std::to_string(result));
  }
  return replies;
}

std::string ModeOnceEnded(Multimedia& mm, const std::string& device) {
  const auto end = std::chrono::steady_clock::now() + 3s;
  while (Replies(mm, {"status " + device + " mode"})[0] == "playing" &&
         std::chrono::steady_clock::now() < end)
    std::this_thread::sleep_for(20ms);
  return Replies(mm, {"status " + device + " mode"})[0];
}

std::string OpenMp3(const std::string& path) {
  return "open \"" + path + "\" type MPEGVideo Alias MP3Play";
}

// What cannot play fails with its number and without a word on standard error (GStreamer and
// GLib print there); the sound server is the only output tried, so a noisy output elsewhere on
// the machine is never opened. A command the module never sends, however near, fails with 261.
TEST(SystemMci, WhatCannotPlayFailsQuietlyAndTheDiscAnswersInTmsf) {
  TempFolder folder;
  auto mm = CreateSystemMultimedia({"fakesink sync=true", folder / "no-such-drive"});
  const auto Asks = [&](const Strings& commands) { return Replies(*mm, commands); };
  ASSERT_TRUE(gst_plugin_load_file(ORVANE_NOISY_PLUGIN, nullptr));
  ::testing::internal::CaptureStderr();
  testing::WriteBytes(folder / "noise.mp3", std::string(4000, '\x5A'));
  EXPECT_EQ(Asks({OpenMp3(folder / "gone.mp3"), OpenMp3(folder / "noise.mp3"),
                  OpenMp3(folder.path()), "open cdaudio", "status cdaudio current track"}),
            (Strings{"#275", "#296", "#296", "#266", "#263"}));
  ASSERT_TRUE(testing::WriteMp3(folder / "It's \"a b\".mp3", 0.5, 440));
  const std::string open = OpenMp3(folder / "It's \"\"a b\"\".mp3");
  EXPECT_EQ(Asks({open, "Play mp3play"}), (Strings{"", ""}));
  for (const std::string other :
       {"", "pause MP3Play", "play MP3Play from", "open \"a.mp3 type MPEGVideo Alias MP3Play"})
    EXPECT_EQ(Asks({other, "status MP3Play mode"}), (Strings{"#261", "playing"})) << other;
  EXPECT_EQ(ModeOnceEnded(*mm, "MP3Play"), "stopped");
  EXPECT_EQ(Asks({"stop MP3Play", "play MP3Play from 0", "status MP3Play mode", "close MP3Play",
                  "play MP3Play"}),
            (Strings{"", "", "playing", "", "#263"}));
  testing::WriteBytes(folder / "junk.wav", "RIFF\x10\0\0\0WAVEjunk junk junk");
  for (const char* notAWave : {"It's \"a b\".mp3", "gone.wav", "junk.wav"})
    EXPECT_FALSE(mm->PlaySound((folder / notAWave).c_str(), SND_ASYNC | SND_LOOP)) << notAWave;
  testing::WriteEmptyWav(folder / "empty.wav");
  EXPECT_TRUE(mm->PlaySound((folder / "empty.wav").c_str(), SND_ASYNC | SND_LOOP)) << "silence";
  char text[256];
  EXPECT_TRUE(mm->MciGetErrorString(261, text, sizeof text));
  EXPECT_STREQ(text, "The driver cannot recognize the specified command.");
  EXPECT_EQ(mm->WaveOutGetNumDevs(), 1u);
  // The disc in tmsf, as the CD poll reads it, in any case and spacing; played to its end it
  // stands at its start again, so the next play plays it whole once more.
  mm = CreateSystemMultimedia(
      {"fakesink sync=true", testing::WriteDiscImage(folder.path(), {0.4, 0.4})});
  EXPECT_EQ(Asks({"status cdaudio mode", "open cdaudio", "SET CDAudio Time Format TMSF",
                  " status\tcdaudio  NUMBER of tracks ", "status cdaudio position track 2",
                  "status cdaudio position track 3", "play cdaudio from Error:282",
                  "play cdaudio from 02:00:00:00", "status cdaudio current track",
                  "status cdaudio mode"}),
            (Strings{"#263", "", "", "2", "02:00:00:00", "#282", "#282", "", "2", "playing"}));
  EXPECT_EQ(ModeOnceEnded(*mm, "cdaudio"), "stopped");
  EXPECT_EQ(Asks({"status cdaudio current track", "play cdaudio", "status cdaudio mode",
                  "status cdaudio current track", std::string("stop cdaudio\0x", 14),
                  "status cdaudio mode", "close cdaudio", "stop cdaudio"}),
            (Strings{"1", "", "playing", "1", "", "stopped", "", "#263"}));

  setenv("PULSE_SERVER", ("unix:" + folder / "no-server").c_str(), 1);
  mm = CreateSystemMultimedia({"", testing::WriteDiscImage(folder.path(), {1.0})});
  EXPECT_EQ(mm->WaveOutGetNumDevs(), 0u) << "no sound server, no output";
  EXPECT_EQ(Asks({"open cdaudio", "play cdaudio", open, "play MP3Play"}),
            (Strings{"", "#262", "#296", "#263"}));
  testing::WriteWav(folder / "a.wav", 0.2, 440);
  EXPECT_FALSE(mm->PlaySound((folder / "a.wav").c_str(), SND_ASYNC | SND_LOOP));
  unsetenv("PULSE_SERVER");
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

// The tone of the left channel: its rising zero crossings a second, fewer with every gap.
double Frequency(const std::vector<std::int16_t>& samples) {
  int crossings = 0;
  for (std::size_t i = 2; i < samples.size(); i += 2)
    crossings += samples[i - 2] < 0 && samples[i] >= 0;
  return samples.empty() ? 0 : crossings * 88200.0 / static_cast<double>(samples.size());
}

// The music the module alone decides, heard with a tone of its own (the file, the disc's track,
// the byte order), then silence: WAVs loop without a gap, and a disc plays the repeat track.
TEST(HeardOnTheSink, EachKindOfMusicPlaysItsOwnToneUntilItStops) {
  testing::PulseServer server;
  ASSERT_TRUE(server.running()) << "pulseaudio did not start";
  server.UseInThisProcess();
  testing::PulseRecorder recorder(server);
  ASSERT_TRUE(recorder.running());
  TempFolder folder;
  // The tone over 1.5 s from half a second after the sound arrived; then, stopped, silence.
  const auto heard = [&](void (*start)(), void (*stop)()) {
    const std::size_t before = recorder.Mark();
    start();
    EXPECT_TRUE(recorder.HeardSince(before, 5000ms));
    std::this_thread::sleep_for(500ms);
    const std::size_t mark = recorder.Mark();
    std::this_thread::sleep_for(1500ms);
    const double tone = Frequency(recorder.Since(mark));
    stop();
    EXPECT_TRUE(recorder.StaysSilent(800ms, 400ms));
    return tone;
  };
  auto mm = CreateSystemMultimedia({"", testing::WriteDiscImage(folder.path(), {2, 3})});
  BGM_UseMultimedia(*mm);
  for (auto [name, seconds, tone] :
       {std::tuple("click ♪.wav", 0.02, 1000.0), std::tuple("tone.wav", 1.2, 880.0)}) {
    BGM_File = folder / name;
    testing::WriteWav(BGM_File, seconds, tone);
    // Over a restart: 15 ms of quiet a second would lower the tone by 15 Hz.
    EXPECT_NEAR(heard(BGM_WAVPlay, BGM_WAVStop), tone, 15) << name;
  }
  BGM_RepeatTrack = 2;
  EXPECT_NEAR(heard([] { BGM_CDOpen(), BGM_CDPoll(); }, BGM_CDClose), 660, 15);
}

}  // namespace
}  // namespace orvane
