// Whole saver runs of the installed programs under an Xvfb of the test's own: real key presses
// and signals, and the music heard on the null sink of a PulseAudio daemon of the test's own.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <thread>

#include "tests/mci/media_files.h"
#include "tests/saver/cursor_requests.h"
#include "tests/saver/saver_run.h"
#include "tests/support/another_user.h"
#include "tests/support/pulse.h"

namespace orvane::testing {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using Strings = std::vector<std::string>;

// The host looks for the renderer's window every 500 ms; a run under load gets some slack.
constexpr auto kWatchBound = 500ms + 500ms;

class SaverRun : public ::testing::Test {
 protected:
  void SetUp() override {
    xvfb = std::make_unique<Xvfb>(1024, 768);
    ASSERT_TRUE(xvfb->running());
    cursor = std::make_unique<CursorRequests>(xvfb->display());
    ASSERT_TRUE(cursor->ok()) << "the X server records no requests";
    ASSERT_TRUE(pulse.running()) << "pulseaudio did not start";
    recorder = std::make_unique<PulseRecorder>(pulse);
    ASSERT_TRUE(recorder->running());
  }

  Strings Env() {
    Strings env = pulse.env();
    env.push_back("DISPLAY=" + xvfb->display());
    env.push_back("XDG_CACHE_HOME=" + install.cacheHome());
    return env;
  }
  std::unique_ptr<Child> StartHost(Strings arguments) {
    arguments.insert(arguments.begin(), install.Path("Orvane.scr"));
    return std::make_unique<Child>(arguments, Env());
  }

  std::string Xdotool(const std::string& arguments) {
    return RunShell("DISPLAY=" + xvfb->display() + " xdotool " + arguments + " 2>/dev/null").second;
  }
  // How many windows have exactly this title (a pattern to xdotool); viewable ones alone if asked.
  long Windows(const std::string& title, bool viewable = false) {
    const std::string ids = Xdotool(std::string("search ") + (viewable ? "--onlyvisible" : "") +
                                    " --name '^" + title + "$'");
    return std::count(ids.begin(), ids.end(), '\n');
  }

  // Waits until the renderer's window covers the screen (viewable, so that a key press reaches
  // it), and guards its process, found by its program file.
  bool WaitForRenderer(std::chrono::milliseconds timeout = 10s, std::string program = "") {
    if (program.empty()) program = install.Path("Orvane.dll");
    const bool shown = WaitFor(
        [&] {
          return Xdotool("search --onlyvisible --name '^Orvane_VC$' getwindowgeometry --shell %1")
                     .find("WIDTH=1024\nHEIGHT=768\n") != std::string::npos;
        },
        timeout, 100ms);
    const auto running = ProcessesRunning(program);
    if (!shown || running.size() != 1) return false;
    renderer = std::make_unique<InstalledProcess>(running[0], program);
    return true;
  }

  // The renderer ends on Escape and its window goes. (A key pressed while a busy machine has not
  // yet given the renderer its first turn may be lost; the key is pressed again then.)
  void EndRenderer() {
    for (int attempt = 0; attempt < 3 && Windows("Orvane_VC") != 0; ++attempt) {
      Xdotool("key Escape");
      WaitFor([&] { return Windows("Orvane_VC") == 0; }, 2s, 100ms);
    }
    EXPECT_EQ(Windows("Orvane_VC"), 0);
    renderer.reset();
  }

  // The host ends within a watch of `event` (a key press, a kill) and the music stops with it.
  void HostEndsWithinAWatch(Child& host, const std::function<void()>& event) {
    event();
    const auto start = Clock::now();
    EXPECT_EQ(host.Wait(5s), 0);
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
    EXPECT_LT(ms, kWatchBound) << ms.count() << " ms to the host's end";
    EXPECT_TRUE(recorder->StaysSilent()) << "the music stopped with the saver";
    EXPECT_EQ(cursor->Seen(), (Strings{"hide", "show"}));
  }

  // A close by the system (a signal, sent twice) ends the host; the tunnel stays until Escape.
  void SystemCloseLeavesTheTunnel(const std::function<void(int)>& signal, int number,
                                  const std::function<bool()>& hostEnded) {
    signal(number);
    signal(number);  // a second one changes nothing
    EXPECT_TRUE(WaitFor(hostEnded, 10s));
    EXPECT_EQ(Windows("Orvane_Main"), 0);
    EXPECT_FALSE(WaitFor([&] { return !renderer->Runs(); }, 300ms)) << "the tunnel stays";
    EndRenderer();
  }

  bool SoundArrives(std::size_t from) { return recorder->HeardSince(from, 8s); }

  SaverInstall install;
  TempFolder music;
  std::unique_ptr<Xvfb> xvfb;
  std::unique_ptr<CursorRequests> cursor;
  PulseServer pulse;
  std::unique_ptr<PulseRecorder> recorder;
  std::unique_ptr<InstalledProcess> renderer;
};

TEST_F(SaverRun, AWavSaverRunsTheTunnelRefusesASecondStartAndEndsWithinAWatchOfEscape) {
  WriteWav(music / "loop.wav", 0.5, 880);
  install.WriteSettings(2, music / "loop.wav");
  const std::size_t before = recorder->Mark();
  auto host = StartHost({"/s"});
  ASSERT_TRUE(WaitForRenderer()) << host->Stderr();

  // The saver window is there for the title search, never shown.
  EXPECT_EQ(Windows("Orvane_Main"), 1);
  EXPECT_EQ(Windows("Orvane_Main", true), 0);
  // The renderer: the host folder's Orvane.dll with no arguments, on its own, no zombie left.
  EXPECT_EQ(ReadBytes("/proc/" + std::to_string(renderer->pid()) + "/cmdline"),
            install.Path("Orvane.dll") + '\0');
  EXPECT_TRUE(ZombieChildren(host->pid()).empty());
  EXPECT_EQ(ReadBytes(install.TextureCopy()), ReadBytes(install.Path("Orvane.image")));
  EXPECT_TRUE(SoundArrives(before));

  for (const Strings& arguments : {Strings{"/s"}, Strings{"/p 0"}, Strings{}}) {
    auto second = StartHost(arguments);
    EXPECT_EQ(second->Wait(5s), 0) << arguments.size();
    EXPECT_EQ(second->Stderr(), "") << arguments.size();
  }
  EXPECT_EQ(Windows("Orvane_VC"), 1);
  EXPECT_EQ(Windows("Orvane_Main"), 1);
  EXPECT_EQ(cursor->Seen(), Strings{"hide"}) << "a refused start hides nothing";

  HostEndsWithinAWatch(*host, [&] { Xdotool("key Escape"); });
  EXPECT_TRUE(WaitFor([&] { return !renderer->Runs(); }, 3s));
  EXPECT_EQ(Windows("Orvane_Main"), 0);
  EXPECT_EQ(host->Stdout() + host->Stderr(), "");
}

TEST_F(SaverRun, AnMp3InAnyCaseOfItsEndingPlaysAndKillingTheRendererEndsTheHost) {
  ASSERT_TRUE(WriteMp3(music / "Tune.Mp3", 3.0, 440));
  install.WriteSettings(2, music / "Tune.Mp3");
  const std::size_t before = recorder->Mark();
  auto host = StartHost({"/s"});
  ASSERT_TRUE(WaitForRenderer()) << host->Stderr();
  EXPECT_TRUE(SoundArrives(before));
  HostEndsWithinAWatch(*host, [&] { ASSERT_TRUE(renderer->Signal(SIGKILL)); });
}

TEST_F(SaverRun, AFileEndingInNeitherWavNorMp3PlaysNothingAndSighupRunsTheCloseStep) {
  // A sound the player could play, were it not for its name.
  WriteWav(music / "tune.wma", 2.0, 660);
  install.WriteSettings(2, music / "tune.wma");
  // A link planted at the texture copy is replaced, not followed.
  const std::string victim = music / "victim";
  WriteBytes(victim, "not to be overwritten");
  std::filesystem::create_directories(install.cacheHome() + "/t_ovin");
  std::filesystem::create_symlink(victim, install.TextureCopy());

  auto host = StartHost({"/s"});
  ASSERT_TRUE(WaitForRenderer()) << host->Stderr();
  EXPECT_EQ(ReadBytes(install.TextureCopy()), ReadBytes(install.Path("Orvane.image")));
  EXPECT_EQ(ReadBytes(victim), "not to be overwritten");
  EXPECT_EQ(RunShell("ls -A " + install.cacheHome() + "/t_ovin").second, "Orvane.image\n")
      << "no temporary file is left beside the copy";
  EXPECT_TRUE(recorder->StaysSilent(1500ms));
  EXPECT_TRUE(host->Running()) << "the saver runs on without music";

  SystemCloseLeavesTheTunnel([&](int s) { host->Signal(s); }, SIGHUP,
                             [&] { return !host->Running(); });
  EXPECT_EQ(host->Wait(0ms), 0) << "ended by its close step, not by the signal";
  EXPECT_EQ(cursor->Seen(), (Strings{"hide", "show"}));
}

TEST_F(SaverRun, ARendererThatCannotStartEndsTheSaverAtItsFirstCheckWithNoMessage) {
  // It is there and readable, so start-up's check passes, but it is no program.
  std::filesystem::remove(install.Path("Orvane.dll"));
  WriteBytes(install.Path("Orvane.dll"), "not a program\n");

  const auto started = Clock::now();
  auto host = StartHost({"/s"});
  EXPECT_EQ(host->Wait(5s), 0);
  const auto elapsed = Clock::now() - started;
  // The first look comes 500 ms after the window was made, and ends the saver.
  EXPECT_GE(elapsed, 450ms);
  EXPECT_LT(elapsed, 500ms + 1500ms);
  EXPECT_EQ(cursor->Seen(), (Strings{"hide", "show"}));
  EXPECT_EQ(host->Stderr(), "") << "no message";
}

// A busy machine may show the renderer's window seconds after its start: the saver waits for it,
// with its music and its window, refuses a second start meanwhile, and ends with it as ever.
TEST_F(SaverRun, ARendererSlowToShowItsWindowKeepsTheSaverRunning) {
  const std::string program = install.Path("renderer");
  std::filesystem::rename(install.Path("Orvane.dll"), program);
  WriteBytes(install.Path("Orvane.dll"), "#!/bin/sh\nsleep 2.5\nexec " + program + "\n");
  std::filesystem::permissions(install.Path("Orvane.dll"), std::filesystem::perms::owner_all);
  WriteWav(music / "loop.wav", 0.5, 880);
  install.WriteSettings(2, music / "loop.wav");
  const std::size_t before = recorder->Mark();
  auto host = StartHost({"/s"});

  std::this_thread::sleep_for(1500ms);
  ASSERT_TRUE(host->Running()) << "ended before the renderer showed its window";
  EXPECT_EQ(Windows("Orvane_VC"), 0) << "the renderer is still asleep";
  EXPECT_EQ(Windows("Orvane_Main"), 1);
  auto second = StartHost({"/s"});
  EXPECT_EQ(second->Wait(5s), 0) << "a second saver is refused";
  EXPECT_TRUE(SoundArrives(before));

  ASSERT_TRUE(WaitForRenderer(10s, program)) << host->Stderr();
  EXPECT_EQ(Windows("Orvane_Main"), 1);
  HostEndsWithinAWatch(*host, [&] { Xdotool("key Escape"); });
  EXPECT_EQ(host->Stderr(), "");
}

// Another user's data directory: the host copies nothing into it, the renderer reads nothing
// from it, each says so in one line, and the saver ends with the renderer.
TEST_F(SaverRun, AnotherUsersDataDirectoryIsNeitherFilledNorRead) {
  const std::string data = install.cacheHome() + "/t_ovin";
  std::filesystem::create_directories(data);
  WriteBytes(data + "/Orvane.image", "another user's picture");
  chmod(data.c_str(), 0777);
  ASSERT_TRUE(GiveToAnotherUser(data)) << "giving a folder to another user takes root";

  auto host = StartHost({"/s"});
  EXPECT_EQ(host->Wait(10s), 0);
  const std::string line =
      " the data directory " + data + " belongs to another user (owner nobody); it is not used\n";
  EXPECT_EQ(host->Stderr(), "Orvane.scr:" + line + "Orvane.dll:" + line);
  EXPECT_TRUE(ReadBytes(data + "/Orvane.image") == "another user's picture") << "copied over";
  EXPECT_EQ(Windows("Orvane_VC"), 0);
  EXPECT_EQ(cursor->Seen(), (Strings{"hide", "show"}));
}

TEST_F(SaverRun, AnEmptyCommandLineNeverHidesTheCursorAndLosingTheXConnectionEndsTheHost) {
  auto host = StartHost({});
  ASSERT_TRUE(WaitForRenderer()) << host->Stderr();
  EXPECT_EQ(Windows("Orvane_Main"), 1);
  EXPECT_EQ(cursor->Seen(), Strings{});
  // Our own connection goes first: the server is about to vanish under it.
  cursor.reset();
  xvfb.reset();
  // The toolkit's own handler would end it with 1 and a message; the close step ends it with 0.
  EXPECT_EQ(host->Wait(5s), 0);
}

// The desktop's idle timer starts the saver as the README tells: xautolock with the installed
// "Orvane.scr /s" as its locker. A program that ends the host with SIGTERM gets the close step,
// and the tunnel stays until Escape.
TEST_F(SaverRun, XautolockStartsTheInstalledSaver) {
  Child idle({"xautolock", "-time", "1", "-locker", install.Path("Orvane.scr") + " /s"}, Env());
  // A -locknow sent before the idle timer is ready goes unheard: it is sent again until
  // xautolock has started its locker, and never after, so that a slow start cannot bring a
  // second locker once the first has ended. Bounds are wide: a loaded machine is slow.
  const std::string lockNow = "DISPLAY=" + xvfb->display() + " xautolock -locknow 2>/dev/null";
  ASSERT_TRUE(WaitFor(
      [&] {
        RunShell(lockNow);
        return WaitFor([&] { return !Children(idle.pid()).empty(); }, 2s);
      },
      60s, 100ms));
  ASSERT_TRUE(WaitFor([&] { return !ProcessesRunning(install.Path("Orvane.scr")).empty(); }, 60s));
  ASSERT_TRUE(WaitForRenderer(60s)) << idle.Stderr();
  const auto hosts = ProcessesRunning(install.Path("Orvane.scr"));
  ASSERT_EQ(hosts.size(), 1u);
  InstalledProcess host(hosts[0], install.Path("Orvane.scr"));
  EXPECT_EQ(cursor->Seen(), Strings{"hide"});
  SystemCloseLeavesTheTunnel([&](int s) { host.Signal(s); }, SIGTERM, [&] { return !host.Runs(); });
  EXPECT_EQ(cursor->Seen(), (Strings{"hide", "show"}));
  EXPECT_TRUE(idle.Running()) << "the idle timer waits for the next idle time";
}

}  // namespace
}  // namespace orvane::testing
