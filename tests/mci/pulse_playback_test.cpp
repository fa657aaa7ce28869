// The real default output: a PulseAudio daemon of the test's own, heard on its null sink.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "platform/mci/multimedia.h"
#include "tests/mci/media_files.h"
#include "tests/support/child.h"
#include "tests/support/pulse.h"

namespace orvane::platform {
namespace {

using namespace std::chrono_literals;

constexpr int kLoud = 3000;  // a tone at half scale peaks near 16000

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

// A looping WAV, then track 2 of a disc image (440 Hz on track 1, 660 Hz on track 2: hearing
// 660 Hz proves the position, the reading and the byte order of the samples); silence after each
// stop.
TEST(HeardOnTheSink, AWavLoopsWithoutAGapAndADiscTrackIsHeardAsItsOwnTone) {
  testing::PulseServer server;
  ASSERT_TRUE(server.running()) << "pulseaudio did not start";
  server.UseInThisProcess();
  testing::PulseRecorder recorder(server);
  ASSERT_TRUE(recorder.running());
  testing::TempFolder folder;
  const auto soundArrives = [&](std::size_t from) {
    return testing::WaitFor([&] { return recorder.PeakSince(from) > kLoud; }, 5000ms, 50ms);
  };
  // Nothing but silence over most of a second, once the output has drained.
  const auto staysSilent = [&] {
    std::this_thread::sleep_for(400ms);
    const std::size_t mark = recorder.Mark();
    std::this_thread::sleep_for(800ms);
    return recorder.PeakSince(mark) < 50;
  };

  auto mm = CreateSystemMultimedia();
  const std::string file = folder / "loop.wav";
  testing::WriteWav(file, 0.5, 880);
  const std::size_t before = recorder.Mark();
  ASSERT_TRUE(mm->PlaySound(file.c_str(), SND_ASYNC | SND_LOOP));
  ASSERT_TRUE(soundArrives(before));
  const std::size_t looping = recorder.Mark();
  std::this_thread::sleep_for(2000ms);  // four turns of the loop
  EXPECT_GT(recorder.Mark() - looping, 44100u) << "the sink kept receiving";
  // A tone crosses zero in a sample or two; 5 ms of quiet would be a gap in the loop.
  EXPECT_LT(recorder.LongestQuietRun(looping, 1000), 220u);
  ASSERT_TRUE(mm->PlaySound(nullptr, 0));
  EXPECT_TRUE(staysSilent());

  mm = CreateSystemMultimedia({"", testing::WriteDiscImage(folder.path(), {2.0, 3.0})});
  ASSERT_EQ(mm->MciSendString("open cdaudio", nullptr, 0), 0u);
  ASSERT_EQ(mm->MciSendString("set cdaudio time format tmsf", nullptr, 0), 0u);
  const std::size_t disc = recorder.Mark();
  ASSERT_EQ(mm->MciSendString("play cdaudio from 02:00:00:00", nullptr, 0), 0u);
  ASSERT_TRUE(soundArrives(disc));
  std::this_thread::sleep_for(500ms);
  const std::size_t heard = recorder.Mark();
  std::this_thread::sleep_for(800ms);
  EXPECT_NEAR(Frequency(recorder.Since(heard)), 660, 15);
  ASSERT_EQ(mm->MciSendString("stop cdaudio", nullptr, 0), 0u);
  EXPECT_TRUE(staysSilent());
  ASSERT_EQ(mm->MciSendString("close cdaudio", nullptr, 0), 0u);
}

}  // namespace
}  // namespace orvane::platform
