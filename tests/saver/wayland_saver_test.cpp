// The saver on a Wayland session: when it is chosen, its lock, and its run against fakes.
#include "host/wayland_saver.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>

#include "host/Orvane_B.h"
#include "host/music/Orvane_BGM.h"
#include "host/saver_session.h"
#include "platform/fake/fake_platform.h"
#include "tests/music/scripted_multimedia.h"
#include "tests/support/fake_renderer.h"
#include "tests/support/temp_folder.h"

namespace orvane {
namespace {

using Strings = std::vector<std::string>;

TEST(SaverSession, TheSaverRunsOnWaylandOnlyWhenACompositorAnswersAndX11IsNotAskedFor) {
  const struct {
    const char* line;
    const char* waylandDisplay;
    const char* x11;
    bool answers;
    bool wayland;
    int asked;  // how often the compositor was asked
  } cases[] = {
      {"/s", "wayland-1", nullptr, true, true, 1},
      {"", "wayland-1", nullptr, true, true, 1},
      {"-S", "/run/user/1000/wayland-0", "0", true, true, 1},
      {"/s", "wayland-1", "1", true, false, 0},
      {"/s", "wayland-1", nullptr, false, false, 1},
      {"/s", nullptr, nullptr, true, false, 0},
      {"/s", "", nullptr, true, false, 0},
      {"/c", "wayland-1", nullptr, true, false, 0},
      {"/p 132", "wayland-1", nullptr, true, false, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string("[") + c.line + "] " + (c.waylandDisplay ? c.waylandDisplay : "-") +
                 " " + (c.x11 ? c.x11 : "-"));
    int asked = 0;
    EXPECT_EQ(UsesWaylandSaver(c.line, c.waylandDisplay, c.x11, [&] { return ++asked, c.answers; }),
              c.wayland);
    EXPECT_EQ(asked, c.asked);
  }
  EXPECT_EQ(SaverLockPath("/run/user/1000", "/home/u/.cache/t_ovin"),
            "/run/user/1000/orvane-saver.lock");
  EXPECT_EQ(SaverLockPath("run", "/home/u/.cache/t_ovin"),
            "/home/u/.cache/t_ovin/orvane-saver.lock");
}

// The real lock on a file: one saver at a time; the others see it held, and a look leaves no
// file behind where none was.
TEST(FlockSaverLock, OneSaverAtATimeAndALookLeavesNoFile) {
  testing::TempFolder folder;
  const std::string path = folder / "orvane-saver.lock";
  auto first = MakeFlockSaverLock(path);
  auto second = MakeFlockSaverLock(path);
  struct stat info {};
  EXPECT_FALSE(second->HeldElsewhere());
  EXPECT_NE(stat(path.c_str(), &info), 0) << "a look made the file";
  EXPECT_EQ(first->TryTake(), SaverLock::Take::Taken);
  EXPECT_EQ(first->TryTake(), SaverLock::Take::Taken) << "held already";
  EXPECT_FALSE(first->HeldElsewhere());
  EXPECT_TRUE(second->HeldElsewhere());
  EXPECT_EQ(second->TryTake(), SaverLock::Take::HeldElsewhere);
  EXPECT_TRUE(second->HeldElsewhere()) << "a refused take keeps nothing";
  ASSERT_EQ(stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  first.reset();  // the saver ends
  EXPECT_FALSE(second->HeldElsewhere());
  EXPECT_EQ(second->TryTake(), SaverLock::Take::Taken);
  EXPECT_EQ(MakeFlockSaverLock(folder / "missing/x.lock")->TryTake(), SaverLock::Take::Unavailable);
}

struct FakeSaverLock final : SaverLock {
  explicit FakeSaverLock(Strings& calls, Take answer) : calls(calls), answer(answer) {}
  Take TryTake() override {
    calls.push_back("TakeSaverLock");
    return answer;
  }
  bool HeldElsewhere() override { return answer == Take::HeldElsewhere; }
  Strings& calls;
  Take answer;
};

const std::string kCopy = "CopyFile /opt/orvane/Orvane.image -> C:\\t_ovin\\Orvane.image";
const std::string kRenderer = "StartRenderer /opt/orvane/Orvane.dll --wayland";

// Each run through its steps: "+N" lets N ms pass, "gone" ends the renderer (Escape), "close" is
// a signal's close, "running" and "ended" say whether the host has ended by then.
TEST(WaylandSaverTest, TheRendererEndsTheHostWithin500msAndASignalEndsTheRenderer) {
  const struct {
    const char* what;
    SaverLock::Take lock;
    const char* file;
    Strings steps, calls;
  } cases[] = {
      // clang-format off
      {"Escape at 1001 ms: the look at 1500 ms ends the host, and the music first",
       SaverLock::Take::Taken, "/music/Tune.mp3",
       {"+1001", "gone", "+498", "running", "+1", "ended", "+2000"},
       {"TakeSaverLock", kCopy, kRenderer, "TryTake",
        "MCI open \"/music/Tune.mp3\" type MPEGVideo Alias MP3Play", "MCI play MP3Play",
        "MCI status MP3Play mode", "MCI stop MP3Play", "MCI close MP3Play", "Release",
        "EndRenderer (not running)", "EndProcess"}},
      {"SIGTERM stops the music, then ends the renderer and the host, once",
       SaverLock::Take::Taken, "/music/loop.WAV", {"+700", "running", "close", "ended", "close"},
       {"TakeSaverLock", kCopy, kRenderer, "TryTake", "PlaySound /music/loop.WAV 9", "PlaySound NULL 0",
        "Release", "EndRenderer", "EndProcess"}},
      {"another saver holds the lock: this start ends at once",
       SaverLock::Take::HeldElsewhere, "/music/loop.wav", {"ended", "+1000"},
       {"TakeSaverLock", "EndProcess"}},
      {"a lock that cannot be opened lets the saver run",
       SaverLock::Take::Unavailable, "/music/loop.wav", {"+1000", "running"},
       {"TakeSaverLock", kCopy, kRenderer, "TryTake", "PlaySound /music/loop.wav 9"}},
      // clang-format on
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    FakePlatform fake;
    testing::ScriptedMultimedia mm;
    mm.log = &fake.calls;
    mm.Answer("status MP3Play mode", 0, "playing");
    BGM_UseMultimedia(mm);
    SetHostFolder("/opt/orvane");
    BGM_Kind = 2, BGM_File = c.file, BGM_RepeatTrack = 0;
    testing::FakeRendererAndLock parts{fake.calls};
    FakeSaverLock lock{fake.calls, c.lock};
    auto saver = std::make_unique<WaylandSaver>(fake.platform(),
                                                WaylandSaverParts{parts, parts, lock, [] {}});
    saver->Start();
    for (const std::string& step : c.steps) {
      if (step == "gone") parts.running = false;
      if (step == "close") saver->Close();
      if (step == "running") EXPECT_FALSE(fake.ended) << "at " << fake.now.count() << " ms";
      if (step == "ended") EXPECT_TRUE(fake.ended) << "at " << fake.now.count() << " ms";
      if (step[0] == '+') fake.Advance(std::chrono::milliseconds(std::stoi(step.substr(1))));
    }
    Strings calls = fake.calls;
    std::erase_if(calls,
                  [](const std::string& call) { return call.find("Timer ") != std::string::npos; });
    EXPECT_EQ(calls, c.calls);
    saver.reset();
    static testing::ScriptedMultimedia silence;
    BGM_UseMultimedia(silence);
  }
}

}  // namespace
}  // namespace orvane
