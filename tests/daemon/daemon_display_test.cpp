// The daemon mode of the installed programs under an Xvfb of the test's own: the real xscreensaver
// daemon, two savers on two monitors' windows, and a settings program's
// preview pane, with the music heard on the null sink of a PulseAudio daemon of the test's own.
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <thread>

#include "renderer/sgi_writer.h"
#include "tests/mci/media_files.h"
#include "tests/saver/saver_run.h"
#include "tests/support/pulse.h"
#include "tests/support/screenshot.h"
#include "tests/support/test_window.h"
#include "tests/support/xscreensaver.h"

namespace orvane::testing {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using Strings = std::vector<std::string>;

// The tunnel at its place on a screenshot: the far end deep in the yellow-olive fog, the near
// walls showing the blue picture halfway along each side.
bool ShowsTunnel(const Screenshot& shot, int left, int top, int width, int height) {
  if (!shot.valid() || left + width > shot.width || top + height > shot.height) return false;
  const int cx = left + width / 2, cy = top + height / 2;
  bool tunnel = Near(shot.at(cx, cy), Rgb{153, 153, 0}, 25);
  for (auto [x, y] : {std::pair{left + 10, cy},
                      {left + width - 11, cy},
                      {cx, top + 10},
                      {cx, top + height - 11}}) {
    const Rgb p = shot.at(x, y);
    tunnel = tunnel && p.b > 150 && p.r < 100 && p.r == p.g;
  }
  return tunnel;
}

std::string Hex(unsigned long window) {
  char text[32];
  std::snprintf(text, sizeof text, "0x%lx", window);
  return text;
}

bool Gone(pid_t pid) {
  return !std::filesystem::exists("/proc/" + std::to_string(pid));
}

class DaemonRun : public ::testing::Test {
 protected:
  void Begin(int width, int height) {
    xvfb = std::make_unique<Xvfb>(width, height);
    ASSERT_TRUE(xvfb->running());
    ASSERT_TRUE(pulse.running()) << "pulseaudio did not start";
    recorder = std::make_unique<PulseRecorder>(pulse);
    ASSERT_TRUE(recorder->running());
    // Two shades of blue, so that the turning tunnel changes the picture.
    std::vector<std::uint8_t> stripes;
    for (int i = 0; i < 64 * 64; ++i)
      stripes.insert(stripes.end(), {0, 0, std::uint8_t(i / 8 % 2 ? 255 : 235)});
    const auto picture =
        renderer::encodeSgi(stripes.data(), 64, 64, 3, renderer::SgiStorage::runLength);
    std::filesystem::remove(install.Path("Orvane.image"));
    WriteBytes(install.Path("Orvane.image"), std::string(picture.begin(), picture.end()));
    WriteWav(music / "loop.wav", 0.5, 880);
    install.WriteSettings(2, music / "loop.wav");
  }

  Strings Env() {
    Strings env = pulse.env();
    env.push_back("DISPLAY=" + xvfb->display());
    return env;
  }
  // A saver started as a daemon starts one: "--root", and the window in the environment.
  std::unique_ptr<Child> StartSaver(Strings arguments, const std::string& environmentWindow) {
    arguments.insert(arguments.begin(), install.Path("Orvane.scr"));
    Strings env = Env();
    env.insert(env.end(),
               {"XDG_CACHE_HOME=" + install.cacheHome(), "XDG_RUNTIME_DIR=" + runtime.path(),
                environmentWindow.empty() ? "XSCREENSAVER_WINDOW"
                                          : "XSCREENSAVER_WINDOW=" + environmentWindow});
    return std::make_unique<Child>(arguments, env);
  }
  std::vector<pid_t> Renderers() { return ProcessesRunning(install.Path("Orvane.dll")); }
  std::vector<pid_t> Hosts() { return ProcessesRunning(install.Path("Orvane.scr")); }

  bool TunnelShows(unsigned long window, int left, int top, int width, int height) {
    Screenshot shot;
    const bool shown = WaitFor(
        [&] {
          return ShowsTunnel(shot = TakeScreenshot(xvfb->display(), window), left, top, width,
                             height);
        },
        20s, 50ms);
    if (!shown) shot.SavePpm(::testing::TempDir() + "/orvane-daemon-tunnel.ppm");
    return shown;
  }
  bool SoundArrives(std::size_t from) { return recorder->HeardSince(from, 20s); }
  // The most players connected to the sink at once over a while (a looping player may leave
  // the sink for a moment between two rounds).
  int MostStreams(std::chrono::milliseconds listen = 1500ms) {
    std::string prefix;
    for (const std::string& pair : pulse.env()) prefix += pair + " ";
    int most = 0;
    for (auto end = Clock::now() + listen; Clock::now() < end; std::this_thread::sleep_for(100ms)) {
      const std::string out = RunShell("env " + prefix + "pactl list short sink-inputs").second;
      most = std::max(most, static_cast<int>(std::count(out.begin(), out.end(), '\n')));
    }
    return most;
  }

  SaverInstall install;
  TempFolder music;
  TempFolder runtime;
  std::unique_ptr<Xvfb> xvfb;
  PulseServer pulse;
  std::unique_ptr<PulseRecorder> recorder;
};

// The real xscreensaver daemon, run as nobody, starts the installed saver on its window and ends
// it.
TEST_F(DaemonRun, XscreensaverShowsTheTunnelWithMusicAndItsDeactivationLeavesNothing) {
  Begin(1024, 768);
  for (const std::string& folder :
       {std::filesystem::path(install.Path("Orvane.scr")).parent_path().string(), music.path()}) {
    OpenToAll(folder);
  }
  OpenToAll(pulse);
  XScreenSaver daemon(Env(), install.Path("Orvane.scr") + " --root");
  ASSERT_TRUE(daemon.running()) << daemon.Log();
  // The programs' folder is not the daemon's user's to write, so its settings are its own.
  ASSERT_TRUE(daemon.GiveFile(".config/orvane/Orvane.ini",
                              SaverInstall::SettingsText(2, music / "loop.wav")));
  const std::size_t before = recorder->Mark();
  // An -activate sent before the daemon is ready goes unheard: it is sent again.
  ASSERT_TRUE(WaitFor(
      [&] {
        return daemon.Command("-activate") == 0 &&
               WaitFor([&] { return Renderers().size() == 1; }, 3s);
      },
      30s, 100ms))
      << daemon.Log();
  // (The daemon may end the first saver it starts and start another at once.)
  EXPECT_TRUE(WaitFor([&] { return Hosts().size() == 1 && Renderers().size() == 1; }, 10s));
  EXPECT_TRUE(TunnelShows(0, 0, 0, 1024, 768)) << "see orvane-daemon-tunnel.ppm";
  EXPECT_TRUE(SoundArrives(before));

  ASSERT_EQ(daemon.Command("-deactivate"), 0);
  EXPECT_TRUE(WaitFor([&] { return Hosts().empty() && Renderers().empty(); }, 20s, 10ms));
  EXPECT_TRUE(recorder->StaysSilent());
  EXPECT_TRUE(daemon.running());
}

// Two monitors: the daemons' way, one override-redirect child of the root per monitor.
TEST_F(DaemonRun, TwoMonitorsShowTwoTunnelsAndOneMusicWhichGoesOnWhenTheFirstSaverIsKilled) {
  Begin(1280, 480);
  TestWindow left(xvfb->display(), 0, 0, 640, 480, 0, 0, true);
  TestWindow right(xvfb->display(), 640, 0, 640, 480, 0, 0, true);
  ASSERT_TRUE(left.ok() && right.ok());

  const std::size_t before = recorder->Mark();
  auto first = StartSaver({"--root"}, Hex(left.id()));
  ASSERT_TRUE(SoundArrives(before)) << first->Stderr();
  ASSERT_EQ(Renderers().size(), 1u);
  const pid_t firstRenderer = Renderers()[0];
  auto second = StartSaver({"--root"}, Hex(right.id()));
  EXPECT_TRUE(WaitFor([&] { return Renderers().size() == 2; }, 10s)) << second->Stderr();
  EXPECT_TRUE(TunnelShows(0, 0, 0, 640, 480));
  EXPECT_TRUE(TunnelShows(0, 640, 0, 640, 480));
  EXPECT_EQ(MostStreams(), 1) << "the music plays once, over three tries of the lock";

  // Killed outright: its renderer dies with it, and the other saver takes the music over.
  first->Signal(SIGKILL);
  EXPECT_TRUE(
      WaitFor([&] { return Gone(firstRenderer) || !ProcessRuns(firstRenderer); }, 20s, 10ms));
  const std::size_t takeOver = recorder->Mark();
  EXPECT_TRUE(SoundArrives(takeOver)) << second->Stderr();
  EXPECT_EQ(MostStreams(), 1);
  EXPECT_TRUE(TunnelShows(0, 640, 0, 640, 480));

  // The daemon destroys the other saver's window: that saver ends, and nothing is left.
  right.Destroy();
  EXPECT_EQ(second->Wait(5s), 0);
  EXPECT_TRUE(WaitFor([&] { return Renderers().empty(); }, 1s, 10ms));
  EXPECT_TRUE(recorder->StaysSilent());
}

// xscreensaver-settings' way: "--root --window-id" on a small child of its dialog.
TEST_F(DaemonRun, APreviewPaneGetsTheTunnelAtItsSizeWithoutMusicAndSigtermEndsEverything) {
  Begin(1024, 768);
  TestWindow dialog(xvfb->display(), 0, 0, 800, 500, 0xffffff);
  TestWindow pane(xvfb->display(), 100, 80, 565, 317, 0x000000, dialog.id());
  ASSERT_TRUE(dialog.ok() && pane.ok());
  const unsigned topLevels = TopLevelWindows(xvfb->display());

  const std::size_t before = recorder->Mark();
  auto saver = StartSaver({"--root", "--window-id", Hex(pane.id())}, Hex(dialog.id()));
  EXPECT_TRUE(TunnelShows(dialog.id(), 100, 80, 565, 317)) << saver->Stderr();
  ASSERT_EQ(Renderers().size(), 1u);
  const pid_t renderer = Renderers()[0];
  const Screenshot shot = TakeScreenshot(xvfb->display(), dialog.id());
  EXPECT_EQ(shot.at(95, 200), (Rgb{255, 255, 255})) << "nothing drawn beside the pane";
  EXPECT_EQ(shot.at(670, 200), (Rgb{255, 255, 255}));
  EXPECT_EQ(TopLevelWindows(xvfb->display()), topLevels) << "no top-level window of its own";

  // The pane follows the dialog's size.
  pane.Resize(400, 300);
  EXPECT_TRUE(TunnelShows(dialog.id(), 100, 80, 400, 300));

  EXPECT_LT(recorder->PeakSince(before), 50) << "a preview plays no music";
  EXPECT_EQ(MostStreams(), 0);

  saver->Signal(SIGTERM);
  EXPECT_EQ(saver->Wait(20s), 0);
  EXPECT_TRUE(WaitFor([&] { return Gone(renderer); }, 20s, 10ms)) << "reaped, not a zombie";
  EXPECT_EQ(saver->Stdout() + saver->Stderr(), "");
}

}  // namespace
}  // namespace orvane::testing
