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
using testing::WaitFor;

constexpr int kLoud = 3000;  // a tone at half scale peaks near 16000
constexpr int kSilent = 50;

class HeardOnTheSink : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server.running()) << "pulseaudio did not start";
    server.UseInThisProcess();
    recorder = std::make_unique<testing::PulseRecorder>(server);
    ASSERT_TRUE(recorder->running());
    mm = CreateSystemMultimedia();
  }

  bool SoundArrives(std::size_t from) {
    return WaitFor([&] { return recorder->PeakSince(from) > kLoud; }, 5000ms, 50ms);
  }

  // Nothing but silence in what arrives over most of a second, once the output has drained.
  bool StaysSilent() {
    std::this_thread::sleep_for(400ms);
    const std::size_t mark = recorder->Mark();
    std::this_thread::sleep_for(800ms);
    return recorder->PeakSince(mark) < kSilent;
  }

  testing::PulseServer server;
  std::unique_ptr<testing::PulseRecorder> recorder;
  std::unique_ptr<Multimedia> mm;
  testing::TempFolder folder;
};

TEST_F(HeardOnTheSink, AWavLoopsWithoutAGapUntilStopped) {
  const std::string file = folder / "loop.wav";
  testing::WriteWav(file, 0.5, 880);
  const std::size_t before = recorder->Mark();
  ASSERT_TRUE(mm->PlaySound(file.c_str(), SND_ASYNC | SND_LOOP));
  ASSERT_TRUE(SoundArrives(before));
  const std::size_t looping = recorder->Mark();
  std::this_thread::sleep_for(2000ms);  // four turns of the loop
  EXPECT_GT(recorder->Mark() - looping, 44100u) << "the sink kept receiving";
  EXPECT_GT(recorder->PeakSince(looping), kLoud);
  // A tone crosses zero in a sample or two; 5 ms of quiet would be a gap in the loop.
  EXPECT_LT(recorder->LongestQuietRun(looping, 1000), 220u);
  ASSERT_TRUE(mm->PlaySound(nullptr, 0));
  EXPECT_TRUE(StaysSilent());
}

// The tone of the left channel, from its rising zero crossings.
double Frequency(const std::vector<std::int16_t>& samples) {
  int crossings = 0;
  std::size_t first = 0;
  std::size_t last = 0;
  for (std::size_t i = 2; i < samples.size(); i += 2) {
    if (samples[i - 2] < 0 && samples[i] >= 0) {
      if (crossings++ == 0) first = i / 2;
      last = i / 2;
    }
  }
  return crossings < 2 ? 0 : 44100.0 * (crossings - 1) / static_cast<double>(last - first);
}

TEST_F(HeardOnTheSink, ADiscImageTrackIsHeardAsItsOwnTone) {
  // Track 1 is a 440 Hz tone, track 2 660 Hz: hearing 660 Hz proves the position, the
  // reading and the byte order of the samples.
  const std::string cue = testing::WriteDiscImage(folder.path(), {2.0, 3.0});
  mm = CreateSystemMultimedia({"", cue});
  ASSERT_EQ(mm->MciSendString("open cdaudio", nullptr, 0), 0u);
  ASSERT_EQ(mm->MciSendString("set cdaudio time format tmsf", nullptr, 0), 0u);
  const std::size_t before = recorder->Mark();
  ASSERT_EQ(mm->MciSendString("play cdaudio from 02:00:00:00", nullptr, 0), 0u);
  ASSERT_TRUE(SoundArrives(before));
  std::this_thread::sleep_for(500ms);
  const std::size_t heard = recorder->Mark();
  std::this_thread::sleep_for(800ms);
  EXPECT_NEAR(Frequency(recorder->Since(heard)), 660, 15);
  ASSERT_EQ(mm->MciSendString("stop cdaudio", nullptr, 0), 0u);
  EXPECT_TRUE(StaysSilent());
  ASSERT_EQ(mm->MciSendString("close cdaudio", nullptr, 0), 0u);
}

}  // namespace
}  // namespace orvane::platform
