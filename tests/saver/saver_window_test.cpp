// The saver window's logic against the fake platform and a multimedia system that writes
// every command into the same call list, so that the order of everything shows.
#include <gtest/gtest.h>

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

namespace orvane {
namespace {

using namespace std::chrono_literals;
using Strings = std::vector<std::string>;

// Writes "MCI <command>", "PlaySound <name> <flags>" (NULL for no name) into the call list
// and answers MCI commands from a script (unscripted ones succeed with an empty reply).
class LoggingMultimedia final : public platform::Multimedia {
 public:
  explicit LoggingMultimedia(Strings& calls) : calls_(calls) {}

  void Answer(const std::string& command, std::uint32_t result, std::string reply = "") {
    answers_[command] = {result, std::move(reply)};
  }

  std::uint32_t MciSendString(std::string_view command, char* reply,
                              std::uint32_t length) override {
    if (throws) throw std::runtime_error("multimedia failure");
    calls_.push_back("MCI " + std::string(command));
    const auto it = answers_.find(std::string(command));
    const std::uint32_t result = it == answers_.end() ? 0 : it->second.first;
    if (reply != nullptr && length > 0) {
      const std::string text = it == answers_.end() || result != 0 ? "" : it->second.second;
      std::strncpy(reply, text.c_str(), length - 1);
      reply[length - 1] = '\0';
    }
    return result;
  }
  bool MciGetErrorString(std::uint32_t code, char* text, std::uint32_t length) override {
    return platform::CopyMciErrorText(code, text, length);
  }
  bool PlaySound(const char* name, std::uint32_t flags) override {
    if (throws) throw std::runtime_error("multimedia failure");
    calls_.push_back("PlaySound " + std::string(name ? name : "NULL") + " " +
                     std::to_string(flags));
    return true;
  }
  std::uint32_t WaveOutGetNumDevs() override {
    if (throws) throw std::runtime_error("multimedia failure");
    return 1;
  }

  bool throws = false;

 private:
  Strings& calls_;
  std::map<std::string, std::pair<std::uint32_t, std::string>> answers_;
};

// What the music module talks to between tests: nothing.
class Silence final : public platform::Multimedia {
 public:
  std::uint32_t MciSendString(std::string_view, char*, std::uint32_t) override {
    return platform::MCIERR_CANNOT_LOAD_DRIVER;
  }
  bool MciGetErrorString(std::uint32_t, char*, std::uint32_t) override { return false; }
  bool PlaySound(const char*, std::uint32_t) override { return false; }
  std::uint32_t WaveOutGetNumDevs() override { return 0; }
};
Silence silence;

constexpr WindowHandle kRendererWindow = 0x600001;
const std::string kCopy = "CopyFile /opt/orvane/Orvane.image -> C:\\t_ovin\\Orvane.image";
const std::string kStart = "StartProgram /opt/orvane/Orvane.dll";

// The fake platform, the hidden windows and the music system of one saver run.
struct World {
  FakePlatform fake;
  FakeHiddenWindows windows{fake.calls, &fake.windowsByTitle};
  LoggingMultimedia mm{fake.calls};
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
  LoggingMultimedia& mm() { return world->mm; }

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
  Strings LastCalls(size_t count) {
    Strings all = Calls();
    return Strings(all.end() - static_cast<long>(std::min(count, all.size())), all.end());
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

TEST_F(SaverWindowTest, WithoutMusicTheLoadStepCopiesThenStartsTheRendererAndNothingMore) {
  for (std::int16_t kind : {0, 3, -1, 32767}) {
    SCOPED_TRACE(kind);
    Reset();
    BGM_Kind = kind;
    BGM_File = "/music/song.mp3";
    Start();
    EXPECT_EQ(Calls(), kLoad) << "any kind but 1 and 2 counts as no music";
    EXPECT_EQ(saver->rendererCommandLine(), "/opt/orvane/Orvane.dll");
    EXPECT_EQ(fake().windowsByTitle.count("Orvane_Main"), 1u) << "the window is findable";
  }
}

TEST_F(SaverWindowTest, CdOpensAfterTheRendererPollsEvery200msAndIsClosedAtTheEnd) {
  BGM_Kind = 1;
  PlayingDisc();
  Start();
  EXPECT_EQ(Calls(), LoadThen({"PrepareMusic", "MCI open cdaudio",
                               "MCI set cdaudio time format tmsf", "StartTimer 2 200"}));

  const size_t loaded = fake().calls.size();
  fake().Advance(400ms);
  EXPECT_EQ(CallsSince(loaded),
            (Strings{"MCI status cdaudio current track", "MCI status cdaudio number of tracks",
                     "MCI status cdaudio mode", "MCI status cdaudio current track",
                     "MCI status cdaudio number of tracks", "MCI status cdaudio mode"}))
      << "a successful poll keeps the timer as it is";

  RendererEnds();
  const size_t before = fake().calls.size();
  fake().Advance(100ms);  // the watch at 500 ms comes after the poll due at 400 ms
  EXPECT_EQ(CallsSince(before),
            (Strings{"FindWindow Orvane_VC", "StopTimer 1", "StopTimer 2", "MCI stop cdaudio",
                     "MCI close cdaudio", "ShowCursor 1", "EndProcess"}));
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
  EXPECT_FALSE(BGM_CDPollOn);
  EXPECT_EQ(CallsSince(ejected), (Strings{"MCI status cdaudio current track", "StopTimer 2"}));

  PlayingDisc();  // even a disc put back is not polled again
  const size_t stopped = fake().calls.size();
  fake().Advance(400ms);  // to 800 ms: two watches, no poll
  EXPECT_EQ(CallsSince(stopped), (Strings{"FindWindow Orvane_VC"}));

  RendererEnds();
  fake().Advance(500ms);
  const Strings all = Calls();
  EXPECT_EQ(std::count(all.begin(), all.end(), "MCI stop cdaudio"), 0);
  EXPECT_EQ(std::count(all.begin(), all.end(), "MCI close cdaudio"), 0);
  EXPECT_EQ(all.back(), "EndProcess");
}

TEST_F(SaverWindowTest, WavLoopsWithoutATimerAndStopsAtTheEnd) {
  for (const char* file : {"/music/song.wav", "/music/Song.WaV"}) {
    SCOPED_TRACE(file);
    Reset();
    BGM_Kind = 2;
    BGM_File = file;
    Start();
    EXPECT_EQ(Calls(), LoadThen({"PrepareMusic", "PlaySound " + std::string(file) + " 9"}));
    RendererEnds();
    fake().Advance(500ms);
    EXPECT_EQ(CallsSince(6), (Strings{"FindWindow Orvane_VC", "StopTimer 1", "PlaySound NULL 0",
                                      "ShowCursor 1", "EndProcess"}));
  }
}

TEST_F(SaverWindowTest, Mp3InAnyCaseIsOpenedKeptPlayingEverySecondAndClosed) {
  for (const char* file : {"/music/track.Mp3", "/music/TRACK.MP3", "/music/notamp3"}) {
    SCOPED_TRACE(file);
    Reset();
    BGM_Kind = 2;
    BGM_File = file;
    mm().Answer("status MP3Play mode", 0, "playing");
    Start();
    const std::string open = "MCI open \"" + std::string(file) + "\" type MPEGVideo Alias MP3Play";
    EXPECT_EQ(Calls(), LoadThen({"PrepareMusic", open, "MCI play MP3Play", "StartTimer 2 1000"}));

    // Playing: the keep tick only asks. At its end: restarted from the beginning.
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

    RendererEnds();
    const size_t before = fake().calls.size();
    fake().Advance(500ms);
    EXPECT_EQ(CallsSince(before),
              (Strings{"FindWindow Orvane_VC", "StopTimer 1", "StopTimer 2", "MCI stop MP3Play",
                       "MCI close MP3Play", "ShowCursor 1", "EndProcess"}));
  }
}

TEST_F(SaverWindowTest, AFileEndingInNeitherWavNorMp3PlaysNothingAndTheSaverRunsOn) {
  BGM_Kind = 2;
  BGM_File = "/music/tune.wma";
  Start();
  EXPECT_EQ(Calls(), kLoad) << "not even the music system is started";
  fake().Advance(2000ms);
  EXPECT_FALSE(fake().ended) << "the saver still watches the renderer";
  RendererEnds();
  fake().Advance(500ms);
  EXPECT_EQ(LastCalls(4),
            (Strings{"FindWindow Orvane_VC", "StopTimer 1", "ShowCursor 1", "EndProcess"}));
}

TEST_F(SaverWindowTest, MusicFileKindLooksAtTheLastThreeCharactersOnly) {
  const std::pair<const char*, MusicFileKind> cases[] = {
      {"a.wav", MusicFileKind::Wav},       {"A.WAV", MusicFileKind::Wav},
      {"x.Mp3", MusicFileKind::Mp3},       {"xmp3", MusicFileKind::Mp3},
      {"mp3", MusicFileKind::Mp3},         {"/曲/歌.mp3", MusicFileKind::Mp3},
      {"p3", MusicFileKind::Other},        {"", MusicFileKind::Other},
      {"tune.wma", MusicFileKind::Other},  {"song.wav ", MusicFileKind::Other},
      {"song.mp3/", MusicFileKind::Other}, {"a.mp4", MusicFileKind::Other},
  };
  for (const auto& [file, kind] : cases) {
    EXPECT_EQ(MusicFileKindOf(file), kind) << file;
  }
}

TEST_F(SaverWindowTest, TheWatchLooksEvery500msAndClosesAtTheFirstLookWithoutARenderer) {
  Start();
  fake().Advance(499ms);
  EXPECT_TRUE(fake().CallsStartingWith("FindWindow").empty()) << "no look before 500 ms";
  fake().Advance(1ms);
  EXPECT_EQ(fake().CallsStartingWith("FindWindow").size(), 1u);
  fake().Advance(1500ms);
  EXPECT_EQ(fake().CallsStartingWith("FindWindow").size(), 4u);
  EXPECT_FALSE(fake().ended);

  RendererEnds();
  fake().Advance(499ms);
  EXPECT_FALSE(fake().ended);
  fake().Advance(1ms);
  EXPECT_TRUE(fake().ended);
  EXPECT_EQ(fake().now, 2500ms);
}

TEST_F(SaverWindowTest, ARendererThatCannotStartEndsTheSaverAtTheFirstCheckWithoutAMessage) {
  fake().startProgramResult = false;
  fake().copyFileResult = false;  // a failed copy is skipped as well
  RendererEnds();                 // its window never comes
  BGM_Kind = 2;
  BGM_File = "/music/song.wav";
  Start();
  EXPECT_EQ(Calls(), LoadThen({"PrepareMusic", "PlaySound /music/song.wav 9"}))
      << "each step runs after a failed one";
  fake().Advance(500ms);
  EXPECT_TRUE(fake().ended);
  EXPECT_EQ(CallsSince(6), (Strings{"FindWindow Orvane_VC", "StopTimer 1", "PlaySound NULL 0",
                                    "ShowCursor 1", "EndProcess"}));
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
    EXPECT_EQ(fake().CallsStartingWith("ShowCursor").size(), shown ? 1u : 0u);
    EXPECT_TRUE(fake().CallsStartingWith("ShowCursor 0").empty()) << "the saver never hides";
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
  EXPECT_EQ(std::count(fake().calls.begin(), fake().calls.end(), "EndProcess"), 1);

  // Nothing ticks any more, and nothing is started, closed or signalled besides.
  const size_t ended = fake().calls.size();
  fake().Advance(5000ms);
  for (size_t i = ended; i < fake().calls.size(); ++i) {
    EXPECT_TRUE(fake().calls[i].rfind("StopTimer", 0) == 0 ||
                fake().calls[i].rfind("DestroyHiddenWindow", 0) == 0)
        << fake().calls[i];
  }
  EXPECT_EQ(fake().CallsStartingWith("StartProgram").size(), 1u);
  EXPECT_EQ(fake().windowsByTitle.count("Orvane_VC"), 1u);
}

TEST_F(SaverWindowTest, EveryStepRunsWhenTheMusicSystemFails) {
  for (std::int16_t kind : {1, 2}) {
    SCOPED_TRACE(kind);
    Reset();
    mm().throws = true;
    BGM_Kind = kind;
    BGM_File = "/music/track.mp3";
    Start();
    const Strings expected =
        LoadThen({"PrepareMusic", kind == 1 ? "StartTimer 2 200" : "StartTimer 2 1000"});
    EXPECT_EQ(Calls(), expected);
    fake().Advance(1000ms);
    windows().windows.begin()->second.onSystemClose();
    EXPECT_EQ(LastCalls(2), (Strings{"ShowCursor 1", "EndProcess"}));
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
