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
  bool WaitForRenderer(std::chrono::milliseconds timeout = 10s) {
    const std::string program = install.Path("Orvane.dll");
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

  // The host ends after `event` (a key press, a kill) and the music stops with it.
  void HostEndsWithinAWatch(Child& host, const std::function<void()>& event) {
    event();
    EXPECT_EQ(host.Wait(20s), 0);
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

// An mp3 in any case of its ending plays; killing the renderer ends the host.
TEST_F(SaverRun, AnMp3SaverRunsTheTunnelRefusesASecondStartAndEndsWithinAWatchOfItsRenderer) {
  ASSERT_TRUE(WriteMp3(music / "Tune.Mp3", 3.0, 440));
  install.WriteSettings(2, music / "Tune.Mp3");
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
  EXPECT_TRUE(SoundArrives(before));

  for (const Strings& arguments : {Strings{"/s"}, Strings{"/p 0"}, Strings{}}) {
    auto second = StartHost(arguments);
    EXPECT_EQ(second->Wait(5s), 0) << arguments.size();
    EXPECT_EQ(second->Stderr(), "") << arguments.size();
  }
  EXPECT_EQ(Windows("Orvane_VC"), 1);
  EXPECT_EQ(Windows("Orvane_Main"), 1);
  EXPECT_EQ(cursor->Seen(), Strings{"hide"}) << "a refused start hides nothing";

  HostEndsWithinAWatch(*host, [&] { ASSERT_TRUE(renderer->Signal(SIGKILL)); });
  EXPECT_EQ(Windows("Orvane_Main"), 0);
  EXPECT_EQ(host->Stdout() + host->Stderr(), "");
}

TEST_F(SaverRun, AFileEndingInNeitherWavNorMp3PlaysNothingAndSigtermRunsTheCloseStep) {
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

  SystemCloseLeavesTheTunnel([&](int s) { host->Signal(s); }, SIGTERM,
                             [&] { return !host->Running(); });
  EXPECT_EQ(host->Wait(0ms), 0) << "ended by its close step, not by the signal";
  EXPECT_EQ(cursor->Seen(), (Strings{"hide", "show"}));
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

// Run as mate-screensaver runs its saver, without XDG_RUNTIME_DIR, the host finds the sound
// server in the user's own /run/user/<uid> (here a private /run in a namespace of the test's
// own, its server socket the test's daemon). With no server at all, the saver runs silent and
// prints nothing: no other audio output is tried, however noisy.
TEST_F(SaverRun, WithoutXdgRuntimeDirTheUsersServerIsFoundAndWithoutAServerNothingIsPrinted) {
  ASSERT_TRUE(WriteMp3(music / "tune.mp3", 3.0, 440));
  install.WriteSettings(2, music / "tune.mp3");
  std::string socket;
  for (const std::string& pair : pulse.env()) {
    if (pair.rfind("PULSE_SERVER=unix:", 0) == 0) socket = pair.substr(18);
  }
  Strings env = Env();
  env.insert(env.end(), {"XDG_RUNTIME_DIR", "PULSE_SERVER"});
  const std::string script =
      "mount -t tmpfs tmpfs /run && mkdir -p /run/user/0 && chmod 0700 /run/user/0 && "
      "mkdir -m 0700 /run/user/0/pulse && ln -s \"$1\" /run/user/0/pulse/native && "
      "exec \"$0\" /s";
  std::size_t before = recorder->Mark();
  auto host = std::make_unique<Child>(Strings{"unshare", "-Urm", "--propagation", "private", "sh",
                                              "-c", script, install.Path("Orvane.scr"), socket},
                                      env);
  ASSERT_TRUE(WaitForRenderer()) << host->Stderr();
  EXPECT_TRUE(SoundArrives(before));
  EndRenderer();
  EXPECT_EQ(host->Wait(5s), 0);
  EXPECT_EQ(host->Stderr(), "");

  // A noisy output on offer (in a plugin registry of the run's own) is never opened.
  env.insert(env.end(), {"PULSE_SERVER=unix:" + music / "no-server",
                         "GST_PLUGIN_PATH=" ORVANE_NOISY_PLUGIN_DIR,
                         "GST_REGISTRY=" + music / "registry.bin"});
  before = recorder->Mark();
  host = std::make_unique<Child>(Strings{install.Path("Orvane.scr"), "/s"}, env);
  ASSERT_TRUE(WaitForRenderer()) << host->Stderr();
  EXPECT_TRUE(recorder->StaysSilent(1500ms));
  EndRenderer();
  EXPECT_EQ(host->Wait(5s), 0);
  EXPECT_EQ(host->Stdout() + host->Stderr(), "");
}

}  // namespace
}  // namespace orvane::testing
