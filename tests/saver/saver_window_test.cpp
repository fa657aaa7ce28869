// The saver window's logic against the fake platform and a scripted multimedia system that
// writes every call into the same call list, so that the order of everything shows.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <stdexcept>

#include "host/Orvane_B.h"
#include "host/Orvane_S.h"
#include "host/music/Orvane_BGM.h"
#include "platform/fake_hidden_windows.h"
#include "platform/fake_platform.h"
#include "platform/mci/mci_errors.h"
#include "platform/mci/multimedia.h"
#include "tests/music/scripted_multimedia.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;
using Strings = std::vector<std::string>;

// What the music module talks to between tests.
testing::ScriptedMultimedia silence;

constexpr WindowHandle kRendererWindow = 0x600001;
const std::string kCopy = "CopyFile /opt/orvane/Orvane.image -> C:\\t_ovin\\Orvane.image";
const std::string kStart = "StartProgram /opt/orvane/Orvane.dll";

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
    world = std::make_unique<World>();
    SetHostFolder("/opt/orvane");
    SetCommandLine("/s");
    BGM_Kind = 0;
    BGM_RepeatTrack = 0;
    BGM_File.clear();
    BGM_CDPollOn = false;
    BGM_UseMultimedia(world->mm);
    fake().windowsByTitle["Orvane_VC"] = kRendererWindow;
  }

  FakePlatform& fake() { return world->fake; }
  FakeHiddenWindows& windows() { return world->windows; }
  testing::ScriptedMultimedia& mm() { return world->mm; }

  void Start() {
    saver = std::make_unique<SaverWindow>(fake().platform(), windows(),
                                          [this] { fake().calls.push_back("PrepareMusic"); });
  }

  // The calls from the start of the load step until (and with) the process's end.
  Strings Calls() {
    Strings out;
    for (const auto& call : fake().calls) {
      out.push_back(call);
      if (call == "EndProcess") break;
    }
    return out;
  }
  Strings CallsSince(size_t first) {
    Strings all = Calls();
    return Strings(all.begin() + static_cast<long>(std::min(first, all.size())), all.end());
  }

  // The renderer ends: its window is gone by the next watch.
  void RendererEnds() { fake().windowsByTitle.erase("Orvane_VC"); }

  // A disc that plays on, so that every poll succeeds.
  void PlayingDisc() {
    mm().Answer("status cdaudio current track", 0, "1");
    mm().Answer("status cdaudio number of tracks", 0, "12");
    mm().Answer("status cdaudio mode", 0, "playing");
  }

  std::unique_ptr<World> world;
  std::unique_ptr<SaverWindow> saver;
};

const Strings kLoad = {"CreateHiddenWindow Orvane_Main", "StartTimer 1 500", kCopy, kStart};

Strings LoadThen(Strings more) {
  Strings all = kLoad;
  all.insert(all.end(), more.begin(), more.end());
  return all;
}

// Each kind of music: what the load step adds after the renderer's start, and the close step
// once the renderer has gone.
TEST_F(SaverWindowTest, EachKindOfMusicStartsAfterTheRendererAndStopsAtTheEnd) {
  const struct {
    std::int16_t kind;
    const char* file;
    Strings load;
    Strings close;
  } cases[] = {
      {0, "/music/song.mp3", {}, {}},
      {-1, "/music/song.mp3", {}, {}},  // any kind but 1 and 2 counts as no music
      {2, "/music/tune.wma", {}, {}},   // not even the music system is started
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
    mm().Answer("status MP3Play mode", 0, "playing");
    Start();
    EXPECT_EQ(Calls(), LoadThen(c.load));
    EXPECT_EQ(saver->rendererCommandLine(), "/opt/orvane/Orvane.dll");
    fake().Advance(2000ms);
    EXPECT_FALSE(fake().ended) << "the saver watches the renderer";
    RendererEnds();
    fake().Advance(500ms);
    // From the watch that found no renderer on (a CD poll may come just before it).
    const Strings all = Calls();
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
  fake().Advance(200ms);
  EXPECT_TRUE(BGM_CDPollOn);
  // The disc is taken out: the next poll fails, and polling stops for good.
  mm().Answer("status cdaudio current track", platform::MCIERR_HARDWARE);
  const size_t ejected = fake().calls.size();
  fake().Advance(200ms);
  EXPECT_EQ(CallsSince(ejected), (Strings{"MCI status cdaudio current track", "StopTimer 2"}));
  PlayingDisc();  // even a disc put back is not polled again
  RendererEnds();
  const size_t stopped = fake().calls.size();
  fake().Advance(500ms);
  EXPECT_EQ(CallsSince(stopped),
            (Strings{"FindWindow Orvane_VC", "StopTimer 1", "ShowCursor 1", "EndProcess"}));
}

TEST_F(SaverWindowTest, TheMp3KeepTickRestartsAFinishedSongFromTheBeginning) {
  BGM_Kind = 2;
  BGM_File = "/music/TRACK.MP3";
  mm().Answer("status MP3Play mode", 0, "playing");
  Start();
  const size_t loaded = fake().calls.size();
  fake().Advance(1000ms);
  mm().Answer("status MP3Play mode", 0, "stopped");
  fake().Advance(1000ms);
  Strings ticks;
  for (const auto& call : CallsSince(loaded)) {
    if (call.rfind("MCI", 0) == 0) ticks.push_back(call);
  }
  EXPECT_EQ(ticks, (Strings{"MCI status MP3Play mode", "MCI status MP3Play mode",
                            "MCI stop MP3Play", "MCI play MP3Play from 0"}));
}

TEST_F(SaverWindowTest, MusicFileKindLooksAtTheLastThreeCharactersOnly) {
  const std::pair<const char*, MusicFileKind> cases[] = {
      {"A.WAV", MusicFileKind::Wav},      {"xmp3", MusicFileKind::Mp3},
      {"/曲/歌.mp3", MusicFileKind::Mp3}, {"p3", MusicFileKind::Other},
      {"", MusicFileKind::Other},         {"song.wav ", MusicFileKind::Other},
      {"a.mp4", MusicFileKind::Other},
  };
  for (const auto& [file, kind] : cases) EXPECT_EQ(MusicFileKindOf(file), kind) << file;
}

TEST_F(SaverWindowTest, ARendererThatCannotStartEndsTheSaverAtTheFirstLookWithoutAMessage) {
  fake().startProgramResult = false;
  fake().copyFileResult = false;  // a failed copy is skipped as well
  RendererEnds();                 // its window never comes
  Start();
  EXPECT_EQ(Calls(), kLoad) << "each step runs after a failed one";
  fake().Advance(499ms);
  EXPECT_TRUE(fake().CallsStartingWith("FindWindow").empty()) << "no look before 500 ms";
  fake().Advance(1ms);
  EXPECT_TRUE(fake().ended);
  EXPECT_TRUE(fake().CallsStartingWith("MessageBox").empty());
}

TEST_F(SaverWindowTest, TheCursorIsShownAgainOnlyInSaverMode) {
  const std::pair<const char*, bool> cases[] = {
      {"/s", true}, {"-S", true}, {"xs", true}, {"", false}, {"/s extra", true}};
  for (const auto& [line, shown] : cases) {
    SCOPED_TRACE(line);
    Reset();
    SetCommandLine(line);
    Start();
    RendererEnds();
    fake().Advance(500ms);
    EXPECT_EQ(fake().CallsStartingWith("ShowCursor"), shown ? Strings{"ShowCursor 1"} : Strings{});
  }
}

TEST_F(SaverWindowTest, TheSystemsCloseRunsTheCloseStepOnceAndLeavesTheRendererAlone) {
  BGM_Kind = 2;
  BGM_File = "/music/track.mp3";
  Start();
  fake().Advance(1200ms);
  const size_t before = fake().calls.size();
  windows().SystemClose();
  windows().SystemClose();  // a second signal
  saver->Close();           // and the window's own close, too late
  EXPECT_EQ(CallsSince(before), (Strings{"StopTimer 2", "MCI stop MP3Play", "MCI close MP3Play",
                                         "ShowCursor 1", "EndProcess"}));
  // Nothing ticks any more, and nothing is started, closed or signalled besides.
  const size_t ended = fake().calls.size();
  fake().Advance(5000ms);
  for (size_t i = ended; i < fake().calls.size(); ++i) {
    EXPECT_TRUE(fake().calls[i].rfind("StopTimer", 0) == 0 ||
                fake().calls[i].rfind("DestroyHiddenWindow", 0) == 0)
        << fake().calls[i];
  }
  EXPECT_EQ(fake().CallsStartingWith("StartProgram").size(), 1u);
}

TEST_F(SaverWindowTest, EveryStepRunsWhenTheMusicSystemFails) {
  for (std::int16_t kind : {1, 2}) {
    SCOPED_TRACE(kind);
    Reset();
    mm().throws = true;
    BGM_Kind = kind;
    BGM_File = "/music/track.mp3";
    Start();
    EXPECT_EQ(Calls(),
              LoadThen({"PrepareMusic", kind == 1 ? "StartTimer 2 200" : "StartTimer 2 1000"}));
    fake().Advance(1000ms);
    windows().SystemClose();
    const Strings all = Calls();
    EXPECT_EQ(Strings(all.end() - 2, all.end()), (Strings{"ShowCursor 1", "EndProcess"}));
  }
}

TEST_F(SaverWindowTest, ATestWindowThatGoesStopsItsTimersAndItsTitle) {
  BGM_Kind = 1;
  PlayingDisc();
  Start();
  saver.reset();
  EXPECT_EQ(fake().windowsByTitle.count("Orvane_Main"), 0u);
  const size_t gone = fake().calls.size();
  fake().Advance(2000ms);
  EXPECT_EQ(fake().calls.size(), gone) << "no tick reaches a window that is gone";
}

}  // namespace
}  // namespace orvane
