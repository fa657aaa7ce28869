// The music module on the real default output: a PulseAudio daemon of the test's own, heard
// on its null sink.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "host/Orvane_B.h"
#include "host/music/Orvane_BGM.h"
#include "platform/multimedia.h"
#include "tests/mci/media_files.h"
#include "tests/support/child.h"
#include "tests/support/pulse.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;

// The tone of the left channel, from its rising zero crossings.
double Frequency(const std::vector<std::int16_t>& samples) {
  int crossings = 0;
  std::size_t first = 0, last = 0;
  for (std::size_t i = 2; i < samples.size(); i += 2) {
    if (samples[i - 2] < 0 && samples[i] >= 0 && crossings++ == 0) first = i / 2;
    if (samples[i - 2] < 0 && samples[i] >= 0) last = i / 2;
  }
  return crossings < 2 ? 0 : 44100.0 * (crossings - 1) / static_cast<double>(last - first);
}

// Each kind of music as the saver starts and stops it, each with a tone of its own: hearing
// that tone proves the file, or the disc position, the reading and the byte order. A WAV of
// 20 ms and one of 1.2 s loop without a gap; an MP3 whose name holds a double quote, an
// apostrophe, blanks and non-ASCII letters plays; track 2 of a disc image (440 Hz on track 1,
// 660 Hz on track 2) is heard. Silence follows each stop.
TEST(HeardOnTheSink, EachKindOfMusicPlaysItsOwnToneUntilItStops) {
  testing::PulseServer server;
  ASSERT_TRUE(server.running()) << "pulseaudio did not start";
  server.UseInThisProcess();
  testing::PulseRecorder recorder(server);
  ASSERT_TRUE(recorder.running());
  testing::TempFolder folder;
  // Waits for the sound, lets it play for `settle`, and gives the mark from where it is heard.
  const auto heardFrom = [&](std::size_t before, std::chrono::milliseconds settle) {
    EXPECT_TRUE(recorder.HeardSince(before, 5000ms));
    std::this_thread::sleep_for(settle);
    return recorder.Mark();
  };

  auto mm = platform::CreateSystemMultimedia();
  BGM_UseMultimedia(*mm);
  const struct {
    const char* name;
    double seconds;
    double tone;
    std::chrono::milliseconds listen;  // long enough to span at least one restart
  } wavs[] = {{"click ♪.wav", 0.02, 1000, 1500ms}, {"tone.wav", 1.2, 880, 2000ms}};
  for (const auto& wav : wavs) {
    SCOPED_TRACE(wav.name);
    BGM_File = folder / wav.name;
    testing::WriteWav(BGM_File, wav.seconds, wav.tone);
    const std::size_t before = recorder.Mark();
    BGM_WAVPlay();
    const std::size_t heard = heardFrom(before, 300ms);
    std::this_thread::sleep_for(wav.listen);
    // A tone crosses zero in a sample or two; 5 ms of quiet would be a gap in the loop.
    EXPECT_LT(recorder.LongestQuietRun(heard, 1000), 220u);
    EXPECT_NEAR(Frequency(recorder.Since(heard)), wav.tone, 15);
    BGM_WAVStop();
    EXPECT_TRUE(recorder.StaysSilent(800ms, 400ms));
  }

  // An MP3 is started again once it has ended, and heard again.
  BGM_File = folder / "It's \"quoted\" ♪ é.mp3";
  ASSERT_TRUE(testing::WriteMp3(BGM_File, 1.0, 250));
  std::size_t before = recorder.Mark();
  BGM_MP3Open();
  std::size_t heard = heardFrom(before, 100ms);
  std::this_thread::sleep_for(300ms);
  EXPECT_NEAR(Frequency(recorder.Since(heard)), 250, 10);
  ASSERT_TRUE(testing::WaitFor([] { return !BGM_MP3IsPlaying(); }, 10000ms, 20ms));
  std::this_thread::sleep_for(300ms);  // the end drains from the sink
  before = recorder.Mark();
  BGM_MP3Keep();
  EXPECT_TRUE(BGM_MP3IsPlaying());
  heard = heardFrom(before, 100ms);
  std::this_thread::sleep_for(300ms);
  EXPECT_NEAR(Frequency(recorder.Since(heard)), 250, 10);
  BGM_MP3Close();
  EXPECT_TRUE(recorder.StaysSilent(800ms, 400ms));

  mm = platform::CreateSystemMultimedia({"", testing::WriteDiscImage(folder.path(), {2.0, 3.0})});
  BGM_UseMultimedia(*mm);
  BGM_RepeatTrack = 2;
  before = recorder.Mark();
  BGM_CDOpen();
  BGM_CDPoll();
  EXPECT_TRUE(BGM_CDPollOn);
  heard = heardFrom(before, 500ms);
  std::this_thread::sleep_for(800ms);
  EXPECT_NEAR(Frequency(recorder.Since(heard)), 660, 15);
  BGM_CDClose();
  EXPECT_TRUE(recorder.StaysSilent(800ms, 400ms));
}

}  // namespace
}  // namespace orvane
