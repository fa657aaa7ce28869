// The music module built for Windows over Wine's multimedia functions, heard through Wine's
// PulseAudio driver on a null sink of the test's own: a WAV looping through PlaySoundA, an MP3
// through the MCI device type "MPEGVideo", and the CD with no drive.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "tests/mci/media_files.h"
#include "tests/support/pulse.h"
#include "tests/windows/wine_probe.h"

namespace orvane::testing {
namespace {

using namespace std::chrono_literals;

// The tone of the left channel, from the spacing of its rising zero crossings. Wine starts
// each round of a looping sound afresh, with a short gap between rounds, so spacings far from
// the typical one are left out.
double Frequency(const std::vector<std::int16_t>& samples) {
  std::vector<double> spacings;
  std::size_t last = 0;
  for (std::size_t i = 2; i < samples.size(); i += 2) {
    if (samples[i - 2] < 0 && samples[i] >= 0) {
      if (last != 0) spacings.push_back(static_cast<double>(i / 2 - last));
      last = i / 2;
    }
  }
  if (spacings.size() < 10) return 0;
  std::vector<double> sorted = spacings;
  std::nth_element(sorted.begin(), sorted.begin() + sorted.size() / 2, sorted.end());
  double sum = 0, count = 0, typical = sorted[sorted.size() / 2];
  for (double s : spacings)
    if (s > typical * 0.75 && s < typical * 1.25) sum += s, ++count;
  return 44100.0 * count / sum;
}

// One Wine start for the whole run: each source is started, heard with its own tone, and
// stopped into silence, as the saver's load step, timer ticks and close step drive them.
TEST(MusicUnderWine, WavAndMp3AreHeardAndTheCdWithoutADriveStopsPolling) {
  PulseServer server;
  ASSERT_TRUE(server.running()) << "pulseaudio did not start";
  PulseRecorder recorder(server);
  ASSERT_TRUE(recorder.running());
  TempFolder folder;
  const std::string wav = folder / "loop tone.wav";
  const std::string mp3 = folder / "a tone.mp3";
  WriteWav(wav, 0.6, 880);
  ASSERT_TRUE(WriteMp3(mp3, 1.5, 550));

  WineProbe probe(server.env());
  ASSERT_TRUE(probe.running());
  ASSERT_EQ(probe.Ask("devs"), "2") << "Wine sees no PulseAudio output\n" << probe.Errors();

  // Heard, then marked once the tone is steady.
  const auto heardFrom = [&](std::size_t before) {
    EXPECT_TRUE(recorder.HeardSince(before, 10s));
    std::this_thread::sleep_for(300ms);
    return recorder.Mark();
  };

  // The WAV, 0.6 s long, loops: after 1.5 s its tone is still there.
  std::size_t before = recorder.Mark();
  ASSERT_EQ(probe.AskEach({"file " + Hex(WindowsPath(wav)), "wavplay"}),
            (std::vector<std::string>{"ok", "ok"}));
  std::size_t heard = heardFrom(before);
  std::this_thread::sleep_for(1500ms);
  EXPECT_NEAR(Frequency(recorder.Since(recorder.Mark() - 22050)), 880, 15);
  EXPECT_NEAR(Frequency(recorder.Since(heard)), 880, 15);
  // Wine plays each round of the loop afresh, with some 25 ms of silence between rounds.
  EXPECT_LT(recorder.LongestQuietRun(heard, 1000), 4410u) << "more than 100 ms between rounds";
  EXPECT_EQ(probe.Ask("wavstop"), "ok");
  EXPECT_TRUE(recorder.StaysSilent(800ms, 500ms));

  // The MP3 plays, ends within its 1.5 s, and a keep tick starts it again from the start.
  before = recorder.Mark();
  ASSERT_EQ(probe.AskEach({"file " + Hex(WindowsPath(mp3)), "mp3open", "mp3playing"}),
            (std::vector<std::string>{"ok", "ok", "1"}));
  heard = heardFrom(before);
  std::this_thread::sleep_for(500ms);
  EXPECT_NEAR(Frequency(recorder.Since(heard)), 550, 15);
  EXPECT_TRUE(WaitFor([&] { return probe.Ask("mp3playing") == "0"; }, 5s, 200ms));
  EXPECT_TRUE(recorder.StaysSilent(800ms, 500ms)) << "an ended MP3 does not go on by itself";
  before = recorder.Mark();
  EXPECT_EQ(probe.AskEach({"mp3keep", "mp3playing"}), (std::vector<std::string>{"ok", "1"}));
  heard = heardFrom(before);
  std::this_thread::sleep_for(500ms);
  EXPECT_NEAR(Frequency(recorder.Since(heard)), 550, 15);
  const std::vector<std::string> closed =
      probe.AskEach({"mp3close", "query " + Hex("status MP3Play mode")});
  EXPECT_EQ(closed[0], "ok");
  EXPECT_EQ(Unhex(closed[1]).substr(0, 6), "Error:") << "the alias is gone";
  EXPECT_TRUE(recorder.StaysSilent(800ms, 500ms));

  // No CD drive here: the open fails with 266, and the first poll ends polling.
  EXPECT_EQ(probe.AskEach({"query " + Hex("open cdaudio"), "cdopen", "cdpoll", "cdclose"}),
            (std::vector<std::string>{Hex("Error:266"), "ok", "0", "ok"}));
}

}  // namespace
}  // namespace orvane::testing
