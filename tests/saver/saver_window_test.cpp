// The saver window's logic against fakes that write every call into one list, in order.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "host/Orvane_B.h"
#include "host/Orvane_S.h"
#include "host/music/Orvane_BGM.h"
#include "platform/fake/fake_hidden_windows.h"
#include "platform/fake/fake_platform.h"
#include "platform/mci_errors.h"
#include "tests/music/scripted_multimedia.h"
#include "tests/support/temp_folder.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;
using Strings = std::vector<std::string>;

// What the music module talks to between tests.
testing::ScriptedMultimedia silence;

// The host's folder and its companions, joined with the system's own separator.
#if defined(_WIN32)
const char kHostFolder[] = "C:\\Games\\Orvane";
const char kPicture[] = "C:\\Games\\Orvane\\Orvane.image";
const char kRenderer[] = "C:\\Games\\Orvane\\Orvane.dll";
#else
const char kHostFolder[] = "/opt/orvane";
const char kPicture[] = "/opt/orvane/Orvane.image";
const char kRenderer[] = "/opt/orvane/Orvane.dll";
#endif

const Strings kLoad = {"CreateHiddenWindow Orvane_Main", "StartTimer 1 500",
                       std::string("CopyFile ") + kPicture + " -> C:\\t_ovin\\Orvane.image",
                       std::string("StartProgram ") + kRenderer};

Strings LoadThen(Strings more) {
  Strings all = kLoad;
  all.insert(all.end(), more.begin(), more.end());
  return all;
}

// The fake platform, the hidden windows and the music system of one saver run.
struct World {
  FakePlatform fake;
  FakeHiddenWindows windows{fake.calls, &fake.windowsByTitle};
  testing::ScriptedMultimedia mm;
  World() { mm.log = &fake.calls; }
};

class SaverWindowTest : public ::testing::Test {
 protected:
  void SetUp() override { Reset(); }
  void TearDown() override {
    saver.reset();
    BGM_UseMultimedia(silence);
  }

  // A fresh run: settings with no music, the "/s" command line, a renderer window that exists.
  void Reset() {
    saver.reset();
    w = std::make_unique<World>();
    SetHostFolder(kHostFolder);
    SetCommandLine("/s");
    BGM_Kind = 0;
    BGM_RepeatTrack = 0;
    BGM_File.clear();
    BGM_CDPollOn = false;
    BGM_UseMultimedia(w->mm);
    w->fake.windowsByTitle["Orvane_VC"] = 0x600001;
  }

  void Start() {
    saver = std::make_unique<SaverWindow>(w->fake.platform(), w->windows,
                                          [this] { w->fake.calls.push_back("PrepareMusic"); });
  }

  // The calls from the first-th until (and with) the process's end.
  Strings CallsSince(size_t first = 0) {
    const auto& all = w->fake.calls;
    const auto end = std::find(all.begin(), all.end(), "EndProcess");
    const auto from = all.begin() + static_cast<long>(std::min(first, all.size()));
    return from < end ? Strings(from, end == all.end() ? end : end + 1) : Strings{};
  }

  // The renderer ends: its window is gone by the next watch.
  void RendererEnds() { w->fake.windowsByTitle.erase("Orvane_VC"); }

  // A disc that plays on, so that every poll succeeds.
  void PlayingDisc() {
    w->mm.Answer("status cdaudio current track", 0, "1");
    w->mm.Answer("status cdaudio number of tracks", 0, "12");
    w->mm.Answer("status cdaudio mode", 0, "playing");
  }

  std::unique_ptr<World> w;
  std::unique_ptr<SaverWindow> saver;
};

// Each kind of music: what the load step adds after the renderer's start, and the close step
// once the renderer has gone.
TEST_F(SaverWindowTest, EachKindOfMusicStartsAfterTheRendererAndStopsAtTheEnd) {
  const struct {
    std::int16_t kind;
    const char* file;
    Strings load;
    Strings close;
  } cases[] = {
      {-1, "/music/song.mp3", {}, {}},  // any kind but 1 and 2 counts as no music
      {2, "/music/tune.wma", {}, {}},   // not even the music system is started
      {2, "p3", {}, {}},                // the last three characters of a short name
      {1,
       "",
       {"PrepareMusic", "MCI open cdaudio", "MCI set cdaudio time format tmsf", "StartTimer 2 200"},
       {"StopTimer 2", "MCI stop cdaudio", "MCI close cdaudio"}},
      {2, "/music/Song.WaV", {"PrepareMusic", "PlaySound /music/Song.WaV 9"}, {"PlaySound NULL 0"}},
      {2,
       "/music/track.Mp3",
       {"PrepareMusic", "MCI open \"/music/track.Mp3\" type MPEGVideo Alias MP3Play",
        "MCI play MP3Play", "StartTimer 2 1000"},
       {"StopTimer 2", "MCI stop MP3Play", "MCI close MP3Play"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    Reset();
    BGM_Kind = c.kind;
    BGM_File = c.file;
    PlayingDisc();
    w->mm.Answer("status MP3Play mode", 0, "playing");
    Start();
    EXPECT_EQ(CallsSince(), LoadThen(c.load));
    w->fake.Advance(2000ms);
    EXPECT_FALSE(w->fake.ended) << "the saver watches the renderer";
    RendererEnds();
    w->fake.Advance(500ms);
    // From the watch that found no renderer on (a CD poll may come just before it).
    const Strings all = CallsSince();
    const auto watch = std::find(all.rbegin(), all.rend(), "FindWindow Orvane_VC").base() - 1;
    Strings close = {"FindWindow Orvane_VC", "StopTimer 1"};
    close.insert(close.end(), c.close.begin(), c.close.end());
    close.insert(close.end(), {"ShowCursor 1", "EndProcess"});
    EXPECT_EQ(Strings(watch, all.end()), close);
  }
}

TEST_F(SaverWindowTest, CdPollStoppedAfterAnErrorSendsNoStopOrCloseAtTheEnd) {
  BGM_Kind = 1;
  PlayingDisc();
  Start();
  w->fake.Advance(200ms);
  EXPECT_TRUE(BGM_CDPollOn);
  // The disc is taken out: the next poll fails, and polling stops for good.
  w->mm.Answer("status cdaudio current track", 262u);
  const size_t ejected = w->fake.calls.size();
  w->fake.Advance(200ms);
  EXPECT_EQ(CallsSince(ejected), (Strings{"MCI status cdaudio current track", "StopTimer 2"}));
  PlayingDisc();           // even a disc put back is not polled again
  w->fake.Advance(100ms);  // the first look finds the renderer's window
  RendererEnds();
  const size_t stopped = w->fake.calls.size();
  w->fake.Advance(500ms);
  EXPECT_EQ(CallsSince(stopped),
            (Strings{"FindWindow Orvane_VC", "StopTimer 1", "ShowCursor 1", "EndProcess"}));
}

// A renderer that cannot start, a failed copy, a music system that throws: each step still
// runs, and the first look ends the saver without a message (in "" mode, the cursor untouched).
TEST_F(SaverWindowTest, EveryStepRunsAfterAFailedOneAndTheFirstLookEndsTheSaver) {
  SetCommandLine("");
  w->fake.startedProgram = 0;
  w->fake.copyFileResult = false;
  w->mm.throws = true;
  BGM_Kind = 1;
  RendererEnds();  // its window never comes
  Start();
  EXPECT_EQ(CallsSince(), LoadThen({"PrepareMusic", "StartTimer 2 200"}));
  w->fake.Advance(499ms);
  EXPECT_TRUE(w->fake.CallsStartingWith("FindWindow").empty()) << "no look before 500 ms";
  w->fake.Advance(1ms);
  EXPECT_TRUE(w->fake.ended);
  EXPECT_TRUE(w->fake.CallsStartingWith("MessageBox").empty());
  EXPECT_TRUE(w->fake.CallsStartingWith("ShowCursor").empty());
}

// A busy machine may show the renderer's window seconds after its start. Until the window has
// been seen, only the end of the started process or ten seconds of waiting end the saver; once
// seen, its going ends it, whatever the process is doing.
TEST_F(SaverWindowTest, TheWatchWaitsForASlowRendererWhileItsProcessRuns) {
  constexpr int kNever = 1 << 30;
  const struct {
    const char* what;
    int windowFrom, windowUntil, processEnds;
    int saverEnds;  // the first look that ends the saver, in ms after the start
  } cases[] = {
      {"window shown at once, gone at 1 s", 0, 1000, kNever, 1000},
      {"window after 2.8 s, gone at 6 s", 2800, 6000, kNever, 6000},
      {"window after 2.8 s, gone at 6 s, process collected later", 2800, 6000, 8000, 6000},
      {"no window, process ends at 3.2 s", kNever, kNever, 3200, 3500},
      {"no window, process runs on", kNever, kNever, kNever, 10000},
      {"window after 9.9 s and kept: the bound is past", 9900, kNever, kNever, kNever},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Reset();
    RendererEnds();
    Start();
    int saverEnded = kNever;
    for (int t = 100; t <= 15000 && saverEnded == kNever; t += 100) {
      if (t >= c.windowFrom && t < c.windowUntil) {
        w->fake.windowsByTitle["Orvane_VC"] = 0x600001;
      } else {
        RendererEnds();
      }
      if (t >= c.processEnds) w->fake.endedPrograms.insert(4242);
      w->fake.Advance(100ms);
      if (w->fake.ended) saverEnded = t;
      // Until then a second start finds the saver window and is refused.
      if (!w->fake.ended) {
        ASSERT_EQ(w->fake.windowsByTitle.count("Orvane_Main"), 1u) << t;
      }
    }
    EXPECT_EQ(saverEnded, c.saverEnds);
  }
  // The process is only ever checked, never waited for or signalled: the fake's one id.
  for (const std::string& call : w->fake.CallsStartingWith("ProgramEnded"))
    EXPECT_EQ(call, "ProgramEnded 4242");
}

// A picture of the user's that is gone leaves the bundled one to be copied.
TEST_F(SaverWindowTest, AMissingPictureOfTheUsersFallsBackToTheBundledOne) {
  testing::TempFolder folder;
  SetUserPicturePath(folder / "Orvane.image");
  Start();
  EXPECT_EQ(CallsSince(), kLoad);
}

TEST_F(SaverWindowTest, TheSystemsCloseRunsTheCloseStepOnceAndLeavesTheRendererAlone) {
  BGM_Kind = 2;
  BGM_File = "/music/track.mp3";
  Start();
  w->fake.Advance(1200ms);
  const size_t before = w->fake.calls.size();
  w->windows.SystemClose();
  w->windows.SystemClose();  // a second signal
  saver->Close();            // and the window's own close, too late
  EXPECT_EQ(CallsSince(before), (Strings{"StopTimer 2", "MCI stop MP3Play", "MCI close MP3Play",
                                         "ShowCursor 1", "EndProcess"}));
  // Nothing ticks any more, and nothing is started, closed or signalled besides.
  const size_t ended = w->fake.calls.size();
  w->fake.Advance(5000ms);
  for (size_t i = ended; i < w->fake.calls.size(); ++i) {
    const std::string& c = w->fake.calls[i];
    EXPECT_TRUE(c.rfind("StopTimer", 0) == 0 || c.rfind("DestroyHiddenWindow", 0) == 0) << c;
  }
  EXPECT_EQ(w->fake.CallsStartingWith("StartProgram").size(), 1u);
}

}  // namespace
}  // namespace orvane
