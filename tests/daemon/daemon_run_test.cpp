// The daemon mode's command line, its choice of window and music, and its run against fakes.
#include "host/daemon_run.h"

#include <gtest/gtest.h>

#include <map>

#include "host/Orvane_B.h"
#include "host/daemon_command_line.h"
#include "host/music/Orvane_BGM.h"
#include "host/window_place.h"
#include "platform/fake/fake_platform.h"
#include "platform/music_lock.h"
#include "tests/music/scripted_multimedia.h"
#include "tests/support/fake_renderer.h"
#include "tests/support/temp_folder.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;
using Strings = std::vector<std::string>;
using Tree = std::map<std::uint32_t, WindowNode>;
constexpr std::uint32_t kRoot = 0x50d;

Tree Screen(unsigned width, unsigned height, Tree windows) {
  windows[kRoot] = {0, 0, 0, width, height};
  return windows;
}

// Trees as XSecureLock, xscreensaver and xscreensaver-settings made them under Xvfb (xwininfo's
// ids and sizes), and a few made up beside them.
// clang-format off
const Tree kLocker = Screen(1280, 480, {{0x200009, {kRoot, 0, 0, 1280, 480}},
    {0x20000a, {0x200009, 0, 0, 1280, 480}}, {0x400002, {0x20000a, 640, 0, 640, 480}}});
const Tree kDaemon = Screen(1280, 480, {{0x600008, {kRoot, 640, 0, 640, 480}}});
const Tree kSettings = Screen(1024, 768, {{0xa00005, {kRoot, 0, 0, 1024, 768}},
    {0x400007, {0xa00005, 0, 20, 1024, 748}}, {0x400ee5, {0x400007, 402, 112, 565, 317}}});
// A window whose parent was destroyed, and a chain without end.
const Tree kBroken = Screen(1024, 768, {{0x400001, {0x20000a, 0, 0, 1024, 768}},
    {0x10, {0x20, 0, 0, 1024, 768}}, {0x20, {0x10, 0, 0, 1024, 768}}});
// clang-format on

// The window each command line names, its error for standard error, and whether the run there
// plays music (-1: the window is not found): saver windows do, preview panes stay quiet.
TEST(DaemonCommandLine, WindowErrorAndMusicOfEachDaemonsCommandLine) {
  const std::string kNeeds = " needs a window id such as 0x600008, not ";
  const struct {
    Strings arguments;
    const char* environment;  // XSCREENSAVER_WINDOW
    const Tree* tree;         // nullptr: the window place is not looked up
    std::optional<std::uint32_t> window;
    std::string error;
    int music;
  } cases[] = {
      // clang-format off
      {{"-root"}, "4194306", &kLocker, 0x400002, "", 1},
      {{"--root"}, "0x600008", &kDaemon, 0x600008, "", 1},
      {{"--root"}, nullptr, &kDaemon, {}, "", 1},
      {{"--root", "--window-id", "0x400EE5"}, "0x600008", &kSettings, 0x400ee5, "", 0},
      {{"-window-id=0X1F", "--root"}, nullptr, nullptr, 0x1f, "", 0},
      {{"--root"}, "0x400001", &kBroken, 0x400001, "", -1},
      {{"--root"}, "0x10", &kBroken, 0x10, "", -1},
      {{"--root"}, "0x60000g", nullptr, {}, "XSCREENSAVER_WINDOW" + kNeeds + "\"0x60000g\"", 0},
      {{"--root", "--window-id"}, nullptr, nullptr, {}, "--window-id" + kNeeds + "\"\"", 0},
      {{"--window-id", "0x100000000"}, nullptr, nullptr, {},
       "--window-id" + kNeeds + "\"0x100000000\"", 0},
      // clang-format on
  };
  for (const auto& c : cases) {
    std::vector<const char*> argv;
    for (const auto& a : c.arguments) argv.push_back(a.c_str());
    SCOPED_TRACE(c.arguments[0] + " " + (c.environment ? c.environment : "(unset)"));
    const auto request = ParseDaemonCommandLine(argv, c.environment);
    ASSERT_TRUE(request);
    EXPECT_EQ(request->error, c.error);
    EXPECT_EQ(request->window, c.window);
    if (!c.tree) continue;
    const auto lookUp = [&](std::uint32_t window) -> std::optional<WindowNode> {
      const auto found = c.tree->find(window);
      return found == c.tree->end() ? std::nullopt : std::optional(found->second);
    };
    const auto place = FindWindowPlace(request->window.value_or(kRoot), lookUp);
    EXPECT_EQ(place ? PlaysMusicIn(*place, request->windowFromSwitch) : -1, c.music);
  }
}

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

testing::ScriptedMultimedia silence;

// The music, the renderer and the lock of each run, through the steps: "+N" lets N ms pass,
// "free" frees the lock (the saver that played has ended), "gone" ends the renderer (killed, or
// its window went), "end" ends the run (SIGTERM, the window or the display gone).
TEST(DaemonRunTest, TheMusicPlaysUnderTheLockAndStopsBeforeTheRendererEnds) {
  const std::string kSaver = "StartRenderer /opt/orvane/Orvane.dll --window-id 0x600008";
  const struct {
    const char* what;
    std::uint32_t window;
    bool music, lockFree;
    const char* file;
    Strings steps, calls;
  } cases[] = {
      // clang-format off
      {"an MP3 kept playing by the 1000 ms timer of \"/s\"", 0x600008, true, true, "/music/Tune.Mp3",
       {"+1000", "end", "end", "+3000"},
       {kSaver, "TryTake", "MCI open \"/music/Tune.Mp3\" type MPEGVideo Alias MP3Play",
        "MCI play MP3Play", "MCI status MP3Play mode", "MCI stop MP3Play",
        "MCI play MP3Play from 0", "MCI stop MP3Play", "MCI close MP3Play", "Release",
        "EndRenderer"}},
      {"a preview pane", 0x2a0000f, false, true, "/music/loop.wav", {"+1000", "end"},
       {"StartRenderer /opt/orvane/Orvane.dll --window-id 0x2a0000f", "Release", "EndRenderer"}},
      {"a second monitor's saver takes over and ends with its renderer", 0x600008, true, false,
       "/music/loop.wav", {"+1000", "free", "+500", "gone", "+500"},
       {kSaver, "TryTake", "PlaySound /music/loop.wav 9", "PlaySound NULL 0", "Release",
        "EndRenderer (not running)"}},
      {"a run ended while it waits for the lock", 0x600008, true, false, "/music/loop.wav",
       {"end", "free", "+2000"}, {kSaver, "Release", "EndRenderer"}},
      // clang-format on
  };
  SetHostFolder("/opt/orvane");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    BGM_Kind = 2, BGM_File = c.file, BGM_RepeatTrack = 0;
    FakePlatform fake;
    testing::ScriptedMultimedia mm;
    mm.Answer("status MP3Play mode", 0, "stopped");
    BGM_UseMultimedia(mm);
    testing::FakeRendererAndLock parts{mm.calls};
    parts.free = c.lockFree;
    Platform& p = fake.platform();
    DaemonRun run({p.fileSystem, p.process, p.timers, parts, parts, [] {}}, c.window, c.music);
    run.Start();
    for (const std::string& step : c.steps) {
      if (step == "end") run.End();
      if (step == "free") parts.free = true;
      if (step == "gone") parts.running = false;
      if (step[0] == '+') fake.Advance(std::chrono::milliseconds(std::stoi(step.substr(1))));
    }
    EXPECT_EQ(mm.calls, c.calls);
    BGM_UseMultimedia(silence);
  }
}

}  // namespace
}  // namespace orvane
