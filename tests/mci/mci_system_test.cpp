// The MCI engine over the real devices, GStreamer's and libcdio's, with a sink that keeps time
// but plays nowhere. Error numbers are Windows' own.
#include <gst/gst.h>
#include <gtest/gtest.h>

#include "platform/multimedia.h"
#include "tests/mci/media_files.h"

namespace orvane::platform {
namespace {

using testing::TempFolder;

constexpr char kTestSink[] = "fakesink sync=true";

// What cannot play fails with its number and without a word on standard error (GStreamer and
// GLib print there): the saver runs on silent. The sound server is the only output tried, so a
// noisy output elsewhere on the machine is never opened.
TEST(SystemMci, NoDriveNoDiscOrNoSoundServerFailQuietly) {
  TempFolder folder;
  std::unique_ptr<Multimedia> mm = CreateSystemMultimedia({kTestSink, ""});
  const auto Ask = [&](const std::string& command) {
    char reply[512];
    const std::uint32_t result = mm->MciSendString(command, reply, sizeof reply);
    return result == 0 ? std::string(reply) : "#" + std::to_string(result);
  };
  ASSERT_TRUE(gst_plugin_load_file(ORVANE_NOISY_PLUGIN, nullptr));
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(Ask("open \"" + folder / "gone.mp3" + "\" type MPEGVideo Alias MP3Play"), "#275");
  testing::WriteBytes(folder / "noise.mp3", std::string(4000, '\x5A'));
  testing::WriteBytes(folder / "empty.mp3", "");
  for (const std::string& file : {folder / "noise.mp3", folder / "empty.mp3", folder.path()})
    EXPECT_EQ(Ask("open \"" + file + "\" type MPEGVideo Alias a"), "#296") << file;
  ASSERT_TRUE(testing::WriteMp3(folder / "a.mp3", 0.5, 440));
  const std::string open = "open \"" + folder / "a.mp3" + "\" type MPEGVideo Alias MP3Play";
  EXPECT_EQ(Ask(open), "1");
  EXPECT_EQ(Ask(open), "#289");
  EXPECT_EQ(Ask("play MP3Play from 0"), "");
  EXPECT_EQ(Ask("close MP3Play"), "");
  EXPECT_EQ(Ask("play MP3Play"), "#263");
  EXPECT_EQ(Ask(""), "#267");
  testing::WriteBytes(folder / "junk.wav", "RIFF\x10\0\0\0WAVEjunk junk junk");
  for (const char* notAWave : {"a.mp3", "gone.wav", "junk.wav"})
    EXPECT_FALSE(mm->PlaySound((folder / notAWave).c_str(), SND_ASYNC | SND_LOOP)) << notAWave;
  testing::WriteEmptyWav(folder / "empty.wav");
  EXPECT_TRUE(mm->PlaySound((folder / "empty.wav").c_str(), SND_ASYNC | SND_LOOP)) << "silence";

  mm = CreateSystemMultimedia({kTestSink, folder / "no-such-drive"});
  EXPECT_EQ(Ask("open cdaudio"), "#266");
  EXPECT_EQ(Ask("status cdaudio current track"), "#266");
  testing::WriteBytes(folder / "broken.cue", "FILE \"");
  mm = CreateSystemMultimedia({kTestSink, folder / "broken.cue"});
  ASSERT_EQ(Ask("open cdaudio"), "1") << "the drive opens, its disc is unreadable";
  EXPECT_EQ(Ask("status cdaudio mode"), "open");
  EXPECT_EQ(Ask("status cdaudio current track"), "#262");

  EXPECT_EQ(mm->WaveOutGetNumDevs(), 1u);
  setenv("PULSE_SERVER", ("unix:" + folder / "no-server").c_str(), 1);
  mm = CreateSystemMultimedia({"", testing::WriteDiscImage(folder.path(), {1.0})});
  EXPECT_EQ(mm->WaveOutGetNumDevs(), 0u) << "no sound server, no output";
  testing::WriteWav(folder / "a.wav", 0.2, 440);
  ASSERT_EQ(Ask("open cdaudio"), "1");
  Ask("play cdaudio");
  for (const std::string& file : {folder / "a.mp3", folder / "a.wav"}) {
    Ask("open \"" + file + "\" type MPEGVideo alias b");
    Ask("play b");
    Ask("close b");
  }
  mm->PlaySound((folder / "a.wav").c_str(), SND_ASYNC | SND_LOOP);
  mm->PlaySound(nullptr, 0);
  unsetenv("PULSE_SERVER");
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

}  // namespace
}  // namespace orvane::platform
