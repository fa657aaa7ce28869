// The daemon mode's command line, its choice of window and music, and its run against fakes
// that write every call into one list, in order.
#include "host/daemon_run.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>

#include "host/Orvane_B.h"
#include "host/daemon_command_line.h"
#include "host/music/Orvane_BGM.h"
#include "host/window_place.h"
#include "platform/fake/fake_platform.h"
#include "platform/music_lock.h"
#include "renderer/window_argument.h"
#include "tests/music/scripted_multimedia.h"
#include "tests/support/temp_folder.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;
using Strings = std::vector<std::string>;

TEST(DaemonCommandLine, SwitchesWindowsAndTheirErrors) {
  const std::string kNeeds = " needs a window id such as 0x600008, not ";
  const struct {
    Strings arguments;
    const char* environment;  // XSCREENSAVER_WINDOW
    bool daemon;
    std::optional<std::uint32_t> window;  // nullopt: the root window
    std::string error;
  } cases[] = {
      // clang-format off
      // Windows-style command lines stay Main's.
      {{"/s"}, "0x600008", false, {}, ""},
      {{"/p", "132"}, nullptr, false, {}, ""},
      // xscreensaver, mate-screensaver, XSecureLock: the window in the environment.
      {{"--root"}, "0x600008", true, 0x600008, ""},
      {{"-root"}, "6291464", true, 0x600008, ""},
      {{"--root"}, nullptr, true, {}, ""},
      {{"--root"}, "", true, {}, ""},
      // xscreensaver-settings' preview pane: the switch wins over the environment.
      {{"--root", "--window-id", "0x2a0000f"}, "0x600008", true, 0x2a0000f, ""},
      {{"-window-id=0X1F", "--root"}, nullptr, true, 0x1f, ""},
      {{"--window-id", "0x10", "--window-id", "0x20"}, nullptr, true, 0x10, ""},
      // Bad ids are named, not guessed.
      {{"--root"}, "0x60000g", true, {}, "XSCREENSAVER_WINDOW" + kNeeds + "\"0x60000g\""},
      {{"--root", "--window-id"}, nullptr, true, {}, "--window-id" + kNeeds + "\"\""},
      {{"--window-id", "0"}, nullptr, true, {}, "--window-id" + kNeeds + "\"0\""},
      {{"--window-id", "-5"}, nullptr, true, {}, "--window-id" + kNeeds + "\"-5\""},
      {{"--window-id", "0x100000000"}, nullptr, true, {},
       "--window-id" + kNeeds + "\"0x100000000\""},
      // clang-format on
  };
  for (const auto& c : cases) {
    std::vector<const char*> argv;
    std::string trace;
    for (const auto& a : c.arguments) argv.push_back(a.c_str()), trace += a + " ";
    SCOPED_TRACE(trace + (c.environment ? c.environment : "(unset)"));
    const auto request = ParseDaemonCommandLine(argv, c.environment);
    ASSERT_EQ(request.has_value(), c.daemon);
    if (!request) continue;
    EXPECT_EQ(request->error, c.error);
    if (c.error.empty()) {
      EXPECT_EQ(request->window, c.window);
    }
  }
}

// Window trees as XSecureLock and xscreensaver-settings made them under Xvfb (ids and sizes as
// xwininfo showed them), a few made up beside them, and the music each run gets.
using Tree = std::map<std::uint32_t, WindowNode>;
constexpr std::uint32_t kRoot = 0x50d;

Tree Screen(unsigned width, unsigned height, Tree windows) {
  windows[kRoot] = {0, 0, 0, width, height};
  return windows;
}

WindowLookUp LookUpIn(const Tree& tree) {
  return [&tree](std::uint32_t window) -> std::optional<WindowNode> {
    const auto found = tree.find(window);
    if (found == tree.end()) return std::nullopt;
    return found->second;
  };
}

TEST(DaemonMusic, SaverWindowsPlayAndPreviewPanesStayQuiet) {
  // clang-format off
  // XSecureLock: saver_multiplex's window in its "saver" and "background" windows, in the
  // composite overlay window when the server has one; on two monitors, one window each.
  const Tree lockerComposite = Screen(1024, 768, {{0x3f, {kRoot, 0, 0, 1024, 768}},
      {0x20000a, {0x3f, 0, 0, 1024, 768}}, {0x20000b, {0x20000a, 0, 0, 1024, 768}},
      {0x400001, {0x20000b, 0, 0, 1024, 768}}});
  const Tree lockerTwoMonitors = Screen(1280, 480, {{0x200009, {kRoot, 0, 0, 1280, 480}},
      {0x20000a, {0x200009, 0, 0, 1280, 480}}, {0x400001, {0x20000a, 0, 0, 640, 480}},
      {0x400002, {0x20000a, 640, 0, 640, 480}}});
  // xscreensaver: an override-redirect child of the root per monitor.
  const Tree daemon = Screen(1280, 480, {{0x600008, {kRoot, 640, 0, 640, 480}}});
  // xscreensaver-settings' preview pane in its dialog, short of the screen or maximised by a
  // window manager whose frame fills the screen.
  const Tree settings = Screen(1024, 768, {{0x400007, {kRoot, 0, 0, 1018, 656}},
      {0x400ee5, {0x400007, 402, 112, 565, 317}}});
  const Tree settingsMaximised = Screen(1024, 768, {{0xa00005, {kRoot, 0, 0, 1024, 768}},
      {0x400007, {0xa00005, 0, 20, 1024, 748}}, {0x400ee5, {0x400007, 402, 112, 565, 317}}});
  // A locker's top level one pixel short of a corner of the screen.
  const Tree offset = Screen(1024, 768, {{0x200009, {kRoot, 1, 1, 1023, 767}},
      {0x400001, {0x200009, 0, 0, 1023, 767}}});
  // clang-format on
  const struct {
    const char* what;
    const Tree& tree;
    Strings arguments;
    const char* environment;  // XSCREENSAVER_WINDOW
    bool music;
  } cases[] = {
      {"XSecureLock with a compositor", lockerComposite, {"-root"}, "4194305", true},
      {"XSecureLock, right monitor", lockerTwoMonitors, {"-root"}, "0x400002", true},
      {"xscreensaver", daemon, {"--root"}, "0x600008", true},
      {"the root window", daemon, {"--root"}, nullptr, true},
      {"a daemon window by id", daemon, {"--root", "--window-id", "0x600008"}, nullptr, true},
      {"xscreensaver-settings", settings, {"--root", "--window-id", "0x400EE5"}, "0x400EE5", false},
      {"a pane named in the environment alone", settings, {"--root"}, "0x400ee5", false},
      // clang-format off
      {"a pane in a maximised dialog", settingsMaximised, {"--root", "--window-id", "0x400ee5"},
       "0x400ee5", false},
      // clang-format on
      {"a top level short of the screen", offset, {"--root"}, "0x400001", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<const char*> argv;
    for (const auto& a : c.arguments) argv.push_back(a.c_str());
    const auto request = ParseDaemonCommandLine(argv, c.environment);
    ASSERT_TRUE(request && request->error.empty());
    const auto place = FindWindowPlace(request->window.value_or(kRoot), LookUpIn(c.tree));
    ASSERT_TRUE(place);
    EXPECT_EQ(PlaysMusicIn(*place, request->windowFromSwitch), c.music);
  }
}

TEST(DaemonMusic, AWindowMissingFromTheChainOrAChainWithoutEndIsNotFound) {
  const Tree gone = Screen(1024, 768, {{0x400001, {0x20000a, 0, 0, 1024, 768}}});
  EXPECT_FALSE(FindWindowPlace(0x400001, LookUpIn(gone))) << "its parent was destroyed";
  EXPECT_FALSE(FindWindowPlace(0x123, LookUpIn(gone)));
  const Tree loop =
      Screen(1024, 768, {{0x10, {0x20, 0, 0, 1024, 768}}, {0x20, {0x10, 0, 0, 1024, 768}}});
  EXPECT_FALSE(FindWindowPlace(0x10, LookUpIn(loop)));
  Tree deep = Screen(1024, 768, {{1, {kRoot, 0, 0, 1024, 768}}});
  for (std::uint32_t w = 2; w <= 40; ++w) deep[w] = {w - 1, 0, 0, 1024, 768};
  const auto place = FindWindowPlace(40, LookUpIn(deep));
  ASSERT_TRUE(place) << "40 levels are still a tree";
  EXPECT_TRUE(place->topLevelCoversScreen);
  EXPECT_FALSE(place->parentIsRoot);
}

TEST(RendererWindowArgument, OnlyTheWindowIdOptionLeavesTheGlutWindow) {
  const char* plain[] = {"Orvane.dll"};
  EXPECT_FALSE(renderer::findWindowArgument(1, plain).given);
  const char* glut[] = {"Orvane.dll", "-display", ":1"};
  EXPECT_FALSE(renderer::findWindowArgument(3, glut).given);
  const char* good[] = {"Orvane.dll", "--window-id", "0x50d"};
  EXPECT_EQ(renderer::findWindowArgument(3, good).window, 0x50du);
  const char* bad[] = {"Orvane.dll", "--window-id", "root"};
  EXPECT_TRUE(renderer::findWindowArgument(3, bad).given);
  EXPECT_FALSE(renderer::findWindowArgument(3, bad).window);
  EXPECT_FALSE(renderer::findWindowArgument(2, bad).window) << "no value";
}

// The real lock on a file: one holder at a time, the next one takes it once released.
TEST(FlockMusicLock, OneHolderAtATime) {
  testing::TempFolder folder;
  const std::string path = folder / "orvane-music.lock";
  auto first = MakeFlockMusicLock(path);
  auto second = MakeFlockMusicLock(path);
  EXPECT_TRUE(first->TryTake());
  EXPECT_TRUE(first->TryTake()) << "held already";
  EXPECT_FALSE(second->TryTake());
  first->Release();
  EXPECT_TRUE(second->TryTake());
  EXPECT_FALSE(MakeFlockMusicLock(folder / "missing/x.lock")->TryTake());
}

// The renderer and the lock as the run sees them; both write their calls into the fake's list.
struct FakeRenderer final : OwnedProgram {
  explicit FakeRenderer(Strings& calls) : calls(calls) {}
  bool Start(const std::string& program, const std::vector<std::string>& arguments) override {
    calls.push_back("StartRenderer " + program);
    for (const auto& a : arguments) calls.back() += " " + a;
    return running = true;
  }
  bool Running() override { return running; }
  void End() override {
    calls.push_back(running ? "EndRenderer" : "EndRenderer (not running)");
    running = false;
  }
  Strings& calls;
  bool running = false;
};

struct FakeLock final : MusicLock {
  explicit FakeLock(Strings& calls) : calls(calls) {}
  bool TryTake() override {
    held = held || free;
    calls.push_back(std::string("TryTake ") + (held ? "taken" : "held elsewhere"));
    return held;
  }
  void Release() override { calls.push_back("Release"), held = false; }
  Strings& calls;
  bool free = true, held = false;
};

testing::ScriptedMultimedia silence;

class DaemonRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetHostFolder("/opt/orvane");
    BGM_Kind = 2;
    BGM_File = "/music/loop.wav";
    BGM_RepeatTrack = 0;
    mm.log = &fake.calls;
    BGM_UseMultimedia(mm);
  }
  void TearDown() override {
    run.reset();
    BGM_UseMultimedia(silence);
  }
  void Start(bool music, std::uint32_t window = 0x600008) {
    run = std::make_unique<DaemonRun>(
        DaemonParts{fake.platform().fileSystem, fake.platform().process, fake.platform().timers,
                    renderer, lock, [this] { fake.calls.push_back("PrepareMusic"); }},
        window, music);
    run->Start();
  }
  Strings CallsSince(size_t first) {
    return Strings(fake.calls.begin() + static_cast<long>(first), fake.calls.end());
  }

  FakePlatform fake;
  testing::ScriptedMultimedia mm;
  FakeRenderer renderer{fake.calls};
  FakeLock lock{fake.calls};
  std::unique_ptr<DaemonRun> run;
};

const Strings kStart = {"CopyFile /opt/orvane/Orvane.image -> C:\\t_ovin\\Orvane.image",
                        "StartRenderer /opt/orvane/Orvane.dll --window-id 0x600008",
                        "StartTimer 1 500"};

Strings StartThen(Strings more) {
  Strings all = kStart;
  all.insert(all.end(), more.begin(), more.end());
  return all;
}

TEST_F(DaemonRunTest, TheSaversMusicPlaysUnderTheLockAndAnEndStopsItThenEndsTheRenderer) {
  BGM_File = "/music/Tune.Mp3";
  mm.Answer("status MP3Play mode", 0, "stopped");
  Start(true);
  EXPECT_EQ(fake.calls, StartThen({"TryTake taken", "PrepareMusic",
                                   "MCI open \"/music/Tune.Mp3\" type MPEGVideo Alias MP3Play",
                                   "MCI play MP3Play", "StartTimer 2 1000"}));
  // The same 1000 ms keep-playing timer as "/s".
  const size_t ticking = fake.calls.size();
  fake.Advance(1000ms);
  EXPECT_EQ(CallsSince(ticking),
            (Strings{"MCI status MP3Play mode", "MCI stop MP3Play", "MCI play MP3Play from 0"}));
  EXPECT_EQ(fake.CallsStartingWith("TryTake").size(), 1u) << "no retries while it plays";

  // SIGTERM, the window or the display gone: the music stops before the renderer is ended.
  const size_t ending = fake.calls.size();
  run->End();
  run->End();
  EXPECT_EQ(CallsSince(ending),
            (Strings{"StopTimer 1", "StopTimer 2", "MCI stop MP3Play", "MCI close MP3Play",
                     "Release", "EndRenderer", "EndProcess"}));
  const size_t ended = fake.calls.size();
  fake.Advance(3000ms);
  EXPECT_EQ(CallsSince(ended), Strings{});
}

TEST_F(DaemonRunTest, APreviewPaneOrNoMusicSettingNeverTouchesTheLockOrTheMusic) {
  // A pane gets the settings' music refused; a saver window gets a file it cannot play.
  for (bool music : {false, true}) {
    SCOPED_TRACE(music);
    fake.calls.clear();
    BGM_File = music ? "/music/tune.wma" : "/music/loop.wav";
    Start(music, 0x2a0000f);
    const std::string watch = music ? "2" : "1";  // the fake numbers timers on
    EXPECT_EQ(fake.calls,
              (Strings{kStart[0], "StartRenderer /opt/orvane/Orvane.dll --window-id 0x2a0000f",
                       "StartTimer " + watch + " 500"}));
    fake.Advance(1000ms);
    const size_t ending = fake.calls.size();
    run->End();
    EXPECT_EQ(CallsSince(ending),
              (Strings{"StopTimer " + watch, "Release", "EndRenderer", "EndProcess"}));
    run.reset();
  }
}

// A second monitor's saver waits for the lock every 500 ms, takes over when the first has
// ended, and its renderer's end ends it within a watch.
TEST_F(DaemonRunTest, TheSecondSaverTakesTheMusicOverAndEndsWithItsRenderer) {
  lock.free = false;
  Start(true);
  EXPECT_EQ(fake.calls, StartThen({"TryTake held elsewhere", "StartTimer 2 500"}));
  fake.Advance(1000ms);
  EXPECT_EQ(fake.CallsStartingWith("TryTake").size(), 3u);
  EXPECT_FALSE(run->playing());

  lock.free = true;  // the first saver has ended
  const size_t freed = fake.calls.size();
  fake.Advance(500ms);
  EXPECT_EQ(CallsSince(freed), (Strings{"TryTake taken", "StopTimer 2", "PrepareMusic",
                                        "PlaySound /music/loop.wav 9"}));
  EXPECT_TRUE(run->playing());

  renderer.running = false;  // killed, or its window went first
  const size_t gone = fake.calls.size();
  fake.Advance(500ms);
  EXPECT_EQ(CallsSince(gone), (Strings{"StopTimer 1", "PlaySound NULL 0", "Release",
                                       "EndRenderer (not running)", "EndProcess"}));
}

TEST_F(DaemonRunTest, ARunEndedWhileWaitingForTheLockNeverPlays) {
  lock.free = false;
  Start(true);
  run->End();
  lock.free = true;
  fake.Advance(2000ms);
  EXPECT_TRUE(fake.CallsStartingWith("PrepareMusic").empty());
}

// The settings and the picture come from where the user keeps them, as in "/s": on a
// system-wide installation, the user's own folder.
TEST_F(DaemonRunTest, StartUpMakesTheDataDirectoryLoadsTheUsersSettingsAndNamesAMissingFile) {
  testing::TempFolder folder;
  SetHostFolder(folder.path());
  testing::WriteBytes(folder / "Orvane.ini", "[Section]\r\n" + std::string(IniKeyKind) + "=2\r\n");
  testing::WriteBytes(folder / "user.ini", "[Section]\r\n" + std::string(IniKeyKind) + "=1\r\n");
  fake.settingsPath = folder / "user.ini";
  fake.userPicturePath = folder / "mine.image";
  testing::WriteBytes(folder / "mine.image", "mine");
  FileSystem& fs = fake.platform().fileSystem;
  UserFiles& userFiles = fake.platform().userFiles;
  EXPECT_EQ(PrepareDaemonRun(fs, userFiles), "Orvane.image が同じﾌｫﾙﾀﾞに見つかりません！");
  EXPECT_EQ(BGM_Kind, 1);
  EXPECT_EQ(PicturePath(), folder / "mine.image");
  EXPECT_EQ(fake.calls, Strings{"CreateDirectory C:\\t_ovin"});
  testing::WriteBytes(folder / "Orvane.image", "x");
  EXPECT_EQ(PrepareDaemonRun(fs, userFiles), "Orvane.dll が同じﾌｫﾙﾀﾞに見つかりません！");
  testing::WriteBytes(folder / "Orvane.dll", "x");
  EXPECT_EQ(PrepareDaemonRun(fs, userFiles), "");
}

}  // namespace
}  // namespace orvane
