// The saver window's logic against fakes that log every call into one list.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "host/Orvane_B.h"
#include "host/Orvane_S.h"
#include "host/music/Orvane_BGM.h"
#include "platform/fake/fake_hidden_windows.h"
#include "platform/fake/fake_platform.h"
#include "tests/music/scripted_multimedia.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;
using Strings = std::vector<std::string>;

// One saver run with the "/s" command line and the given music.
struct SaverRun {
  FakePlatform fake;
  FakeHiddenWindows windows{fake.calls, &fake.windowsByTitle};
  testing::ScriptedMultimedia mm;
  std::unique_ptr<SaverWindow> saver;

  SaverRun(std::int16_t kind, const char* file) {
    mm.log = &fake.calls;
    SetHostFolder("/opt/orvane");
    SetCommandLine("/s");
    BGM_Kind = kind;
    BGM_RepeatTrack = 0;
    BGM_File = file;
    BGM_CDPollOn = false;
    BGM_UseMultimedia(mm);
    // A disc and an MP3 that play on, so that every poll succeeds.
    mm.Answer("status cdaudio current track", 0, "1");
    mm.Answer("status cdaudio number of tracks", 0, "12");
    mm.Answer("status cdaudio mode", 0, "playing");
    mm.Answer("status MP3Play mode", 0, "playing");
    saver = std::make_unique<SaverWindow>(fake.platform(), windows, [] {});
  }
  ~SaverRun() {
    saver.reset();
    static testing::ScriptedMultimedia silence;
    BGM_UseMultimedia(silence);
  }
  // Runs the timers in steps of 100 ms, the renderer's window there from shown until gone, until
  // the saver ends (or 15 s): when it ended, in ms.
  int EndsAt(int shown, int gone, int processEnds = 1 << 30) {
    for (int t = 100; t <= 15000; t += 100) {
      fake.windowsByTitle.erase("Orvane_VC");
      if (t >= shown && t < gone) fake.windowsByTitle["Orvane_VC"] = 0x600001;
      if (t >= processEnds) fake.endedPrograms.insert(4242);
      fake.Advance(100ms);
      if (fake.ended) return t;
      // Until then a second start finds the saver window and is refused.
      EXPECT_EQ(fake.windowsByTitle.count("Orvane_Main"), 1u) << t;
    }
    return -1;
  }
};

// Until the renderer's window has been seen (late on a busy machine), only the end of its
// process or ten seconds end the saver; once seen, its going does. The watch looks every 500 ms.
// Then each kind of music stops.
TEST(SaverWindowTest, TheWatchWaitsForASlowRendererAndEachKindOfMusicStopsAtTheEnd) {
  constexpr int kNever = 1 << 30;
  const struct {
    const char* what;
    std::int16_t kind;
    const char* file;
    int shown, gone, processEnds, saverEnds;
    Strings music;
  } cases[] = {
      // clang-format off
      {"no music (any kind but 1 and 2), window shown at once, gone at 1 s", -1, "/music/song.mp3",
       0, 1000, kNever, 1000, {}},
      {"a disc, window after 2.8 s, gone at 6 s", 1, "", 2800, 6000, kNever, 6000,
       {"StopTimer 2", "MCI stop cdaudio", "MCI close cdaudio"}},
      {"a WAV, no window, process ends at 3.2 s", 2, "/music/Song.WaV", kNever, kNever, 3200, 3500,
       {"PlaySound NULL 0"}},
      {"an MP3, no window, process runs on", 2, "/music/track.Mp3", kNever, kNever, kNever, 10000,
       {"StopTimer 2", "MCI stop MP3Play", "MCI close MP3Play"}},
      {"window after 9.9 s and kept: the bound is past", 0, "", 9900, kNever, kNever, -1, {}},
      // clang-format on
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    SaverRun run(c.kind, c.file);
    EXPECT_EQ(run.EndsAt(c.shown, c.gone, c.processEnds), c.saverEnds);
    if (!run.fake.ended) continue;
    const Strings& all = run.fake.calls;
    const auto close = std::find(all.rbegin(), all.rend(), "StopTimer 1").base() - 1;
    Strings expected = {"StopTimer 1"};
    expected.insert(expected.end(), c.music.begin(), c.music.end());
    expected.insert(expected.end(), {"ShowCursor 1", "EndProcess"});
    EXPECT_EQ(Strings(close, std::find(close, all.end(), "EndProcess") + 1), expected);
  }
}

}  // namespace
}  // namespace orvane
