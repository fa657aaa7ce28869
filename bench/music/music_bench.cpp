// CPU use of the music while an MP3 plays and the keep tick runs every second, as in a
// saver run, and the cost of one keep tick; CPU use of looping WAV files, empty, very short
// and long, and the UI thread's time to start one. Prints its figures.
#include <glib.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "host/Orvane_B.h"
#include "host/music/Orvane_BGM.h"
#include "platform/multimedia.h"
#include "tests/mci/media_files.h"
#include "tests/support/pulse.h"

namespace {

using Clock = std::chrono::steady_clock;

double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Runs a GLib main loop for `seconds`, with `tick` every 1000 ms; returns the share of one
// core used meanwhile.
double RunLoopFor(int seconds, void (*tick)()) {
  GMainLoop* loop = g_main_loop_new(nullptr, FALSE);
  const guint timer = g_timeout_add(
      1000,
      [](gpointer tick) -> gboolean {
        reinterpret_cast<void (*)()>(tick)();
        return G_SOURCE_CONTINUE;
      },
      reinterpret_cast<gpointer>(tick));
  g_timeout_add_seconds(
      static_cast<guint>(seconds),
      [](gpointer l) -> gboolean {
        g_main_loop_quit(static_cast<GMainLoop*>(l));
        return G_SOURCE_REMOVE;
      },
      loop);
  const double cpu0 = CpuSeconds();
  const auto t0 = Clock::now();
  g_main_loop_run(loop);
  const double cpu = CpuSeconds() - cpu0;
  const double wall = std::chrono::duration<double>(Clock::now() - t0).count();
  g_source_remove(timer);
  g_main_loop_unref(loop);
  return 100.0 * cpu / wall;
}

// Plays BGM_File for `seconds` with the MP3 keep tick, as the saver does.
double PlayFor(int seconds) {
  orvane::BGM_MP3Open();
  return RunLoopFor(seconds, &orvane::BGM_MP3Keep);
}

double MillisSince(Clock::time_point t0) {
  return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

// Loops each WAV file for 10 s as the saver does (BGM_WAVPlay, no tick), on the output of
// `options`, and prints the share of a core used. Before that, the UI thread's time for one
// BGM_WAVPlay and for its two parts, counting the outputs and starting the sound, each the
// median of 9 starts.
void LoopWavs(const char* label, const orvane::platform::MultimediaOptions& options,
              const orvane::testing::TempFolder& folder) {
  auto mm = orvane::platform::CreateSystemMultimedia(options);
  orvane::BGM_UseMultimedia(*mm);
  const auto median = [](std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
  };
  for (const char* name : {"empty.wav", "20ms.wav", "long.wav"}) {
    orvane::BGM_File = folder / name;
    std::vector<double> whole, count, sound;
    for (int i = 0; i < 9; ++i) {
      auto t0 = Clock::now();
      orvane::BGM_WAVPlay();
      whole.push_back(MillisSince(t0));
      orvane::BGM_WAVStop();
      t0 = Clock::now();
      mm->WaveOutGetNumDevs();
      count.push_back(MillisSince(t0));
      t0 = Clock::now();
      mm->PlaySound(orvane::BGM_File.c_str(), 9);
      sound.push_back(MillisSince(t0));
      orvane::BGM_WAVStop();
    }
    orvane::BGM_WAVPlay();
    const double share = RunLoopFor(10, [] {});
    orvane::BGM_WAVStop();
    std::printf(
        "%-28s WAV loop %-9s CPU over 10 s: %5.2f%% of one core; BGM_WAVPlay %5.2f ms "
        "(count %5.2f ms, PlaySound after it %5.2f ms)\n",
        label, name, share, median(whole), median(count), median(sound));
  }
}

// Mean time of `n` keep ticks, in microseconds.
double TickMicros(int n) {
  const auto t0 = Clock::now();
  for (int i = 0; i < n; ++i) orvane::BGM_MP3Keep();
  return std::chrono::duration<double, std::micro>(Clock::now() - t0).count() / n;
}

void Run(const char* label, const orvane::platform::MultimediaOptions& options) {
  auto mm = orvane::platform::CreateSystemMultimedia(options);
  orvane::BGM_UseMultimedia(*mm);
  const double share = PlayFor(20);
  const double playing = TickMicros(1000);
  orvane::BGM_MP3Close();
  std::printf("%-28s CPU over 20 s: %5.2f%% of one core; keep tick while playing: %6.1f us\n",
              label, share, playing);

  // The restart path: a tick that finds the file not playing stops it and plays it from 0.
  orvane::BGM_MP3Open();
  const auto t0 = Clock::now();
  for (int i = 0; i < 20; ++i) {
    mm->MciSendString("stop MP3Play", nullptr, 0);
    orvane::BGM_MP3Keep();
  }
  const double restart = std::chrono::duration<double, std::milli>(Clock::now() - t0).count() / 20;
  orvane::BGM_MP3Close();
  std::printf("%-28s keep tick that restarts:     %6.2f ms\n", label, restart);
}

}  // namespace

// With the argument "wav", only the WAV loops run.
int main(int argc, char** argv) {
  const bool wavOnly = argc > 1 && std::strcmp(argv[1], "wav") == 0;
  orvane::testing::TempFolder folder;
  orvane::testing::WriteEmptyWav(folder / "empty.wav");
  orvane::testing::WriteWav(folder / "20ms.wav", 0.02, 1000);
  orvane::testing::WriteWav(folder / "long.wav", 30, 440);
  orvane::BGM_File = folder / "bench.mp3";
  if (!orvane::testing::WriteMp3(orvane::BGM_File, 30, 440)) {
    std::fprintf(stderr, "music_bench: could not encode the MP3\n");
    return 1;
  }
  {
    orvane::testing::PulseServer pulse;
    if (pulse.running()) {
      pulse.UseInThisProcess();
      LoopWavs("PulseAudio null sink:", {}, folder);
      orvane::BGM_File = folder / "bench.mp3";
      if (!wavOnly) Run("PulseAudio null sink:", {});
    } else {
      std::printf("PulseAudio did not start; skipping the real output\n");
    }
  }
  if (!wavOnly) Run("clock-synced fakesink:", {"fakesink sync=true", ""});
  return 0;
}
