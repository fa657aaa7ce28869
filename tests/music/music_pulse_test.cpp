// The music module on the real default output: the null sink of a PulseAudio daemon of its own.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <tuple>

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

// Each kind of music as the saver starts and stops it, heard with a tone of its own (the file,
// the disc's track, the byte order), then silence: a WAV of 20 ms and one of 1.2 s loop
// without a gap; an MP3 whose name holds quotes and non-ASCII letters is started again once it
// has ended; of a disc of 440 Hz and 660 Hz tracks, track 2 is the one heard.
TEST(HeardOnTheSink, EachKindOfMusicPlaysItsOwnToneUntilItStops) {
  testing::PulseServer server;
  ASSERT_TRUE(server.running()) << "pulseaudio did not start";
  server.UseInThisProcess();
  testing::PulseRecorder recorder(server);
  ASSERT_TRUE(recorder.running());
  testing::TempFolder folder;
  // What is heard over `listen`, `settle` after the sound arrived; then, stopped, silence.
  const auto heard = [&](std::size_t before, std::chrono::milliseconds settle,
                         std::chrono::milliseconds listen, void (*stop)()) {
    EXPECT_TRUE(recorder.HeardSince(before, 5000ms));
    std::this_thread::sleep_for(settle);
    const std::size_t mark = recorder.Mark();
    std::this_thread::sleep_for(listen);
    const auto tone =
        std::pair(Frequency(recorder.Since(mark)), recorder.LongestQuietRun(mark, 1000));
    stop();
    EXPECT_TRUE(recorder.StaysSilent(800ms, 400ms));
    return tone;
  };
  auto mm = platform::CreateSystemMultimedia({"", testing::WriteDiscImage(folder.path(), {2, 3})});
  BGM_UseMultimedia(*mm);
  for (auto [name, seconds, tone] :
       {std::tuple("click ♪.wav", 0.02, 1000.0), std::tuple("tone.wav", 1.2, 880.0)}) {
    BGM_File = folder / name;
    testing::WriteWav(BGM_File, seconds, tone);
    const std::size_t before = recorder.Mark();
    BGM_WAVPlay();
    // Long enough to span a restart; 5 ms of quiet would be a gap in the loop.
    const auto [frequency, quiet] = heard(before, 300ms, 2000ms, BGM_WAVStop);
    EXPECT_NEAR(frequency, tone, 15) << name;
    EXPECT_LT(quiet, 220u) << name;
  }
  BGM_File = folder / "It's \"quoted\" ♪ é.mp3";
  ASSERT_TRUE(testing::WriteMp3(BGM_File, 1.0, 250));
  BGM_MP3Open();
  ASSERT_TRUE(testing::WaitFor([] { return !BGM_MP3IsPlaying(); }, 10000ms, 20ms));
  std::this_thread::sleep_for(300ms);  // the end drains from the sink
  std::size_t before = recorder.Mark();
  BGM_MP3Keep();
  EXPECT_NEAR(heard(before, 100ms, 300ms, BGM_MP3Close).first, 250, 10);
  BGM_RepeatTrack = 2;
  before = recorder.Mark();
  BGM_CDOpen();
  BGM_CDPoll();
  EXPECT_NEAR(heard(before, 500ms, 800ms, BGM_CDClose).first, 660, 15);
}

}  // namespace
}  // namespace orvane
