// Whole saver runs on a headless sway with two outputs and on weston, run as a user of the
// test's own, and the renderer without a compositor.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <memory>

#include "tests/mci/media_files.h"
#include "tests/renderer/tunnel_pixels.h"
#include "tests/saver/saver_run.h"
#include "tests/support/pulse.h"
#include "tests/support/wayland_session.h"

namespace orvane::testing {
namespace {

using namespace std::chrono_literals;

constexpr Rgb kFog{153, 153, 0};  // the far end of the tunnel

class WaylandSaverRun : public ::testing::Test {
 protected:
  // The host runs as the session's user: it reaches the test's sound server through its socket,
  // in a folder it may pass through but not read.
  void SetUp() override {
    ASSERT_TRUE(pulse_.running() && heard_.running());
    ASSERT_EQ(chmod(std::filesystem::path(pulse_.socket()).parent_path().c_str(), 0711), 0);
  }
  // The installed programs given to the session's user, with an MP3 chosen beside the host.
  void Install(const WaylandSession& session) {
    ASSERT_TRUE(session.running()) << session.Log();
    ASSERT_TRUE(WriteMp3(install_.Path("Tune.mp3"), 3.0, 440));
    install_.WriteSettings(2, install_.Path("Tune.mp3"));
    WriteBytes(install_.Path("Orvane.image"), RampsPicture());
    const std::string folder = std::filesystem::path(install_.Path("x")).parent_path();
    ASSERT_TRUE(session.GiveToUser(folder));
    chmod(folder.c_str(), 0755);
  }
  std::unique_ptr<Child> Start(const WaylandSession& session, const char* mode) {
    std::vector<std::string> env = pulse_.env();
    env.push_back("NO_AT_BRIDGE=1");
    return session.Start({install_.Path("Orvane.scr"), mode}, env);
  }
  std::vector<pid_t> Renderers() { return ProcessesRunning(install_.Path("Orvane.dll")); }
  static bool Fog(const WaylandSession& session, std::vector<std::pair<int, int>> points,
                  std::chrono::milliseconds timeout = 60s) {
    return WaitFor(
        [&] {
          for (const auto& [x, y] : points)
            if (const auto pixel = session.Pixel(x, y); !pixel || !Near(*pixel, kFog, 25))
              return false;
          return true;
        },
        timeout, 50ms);
  }

  PulseServer pulse_;
  PulseRecorder heard_{pulse_};
  SaverInstall install_;
};

// swayidle starts the saver once the session has been idle for two seconds; SIGTERM, as its
// resume or the session's end sends it, runs the close step. The settings dialog opens through
// XWayland; the missing renderer's message box is a window of the compositor's own.
TEST_F(WaylandSaverRun, OnSwayTheSaverSwayidleTheSettingsTheRendererAloneAndAMissingFile) {
  WaylandSession sway;
  Install(sway);
  std::size_t before = heard_.Mark();
  auto saver = Start(sway, "/s");
  ASSERT_TRUE(Fog(sway, {{320, 240}, {960, 240}})) << saver->Stderr() << sway.Log();
  EXPECT_TRUE(heard_.HeardSince(before, 30s)) << "the chosen MP3 plays";
  const std::vector<pid_t> renderers = Renderers();
  ASSERT_EQ(renderers.size(), 1u);
  std::string arguments = ReadBytes("/proc/" + std::to_string(renderers[0]) + "/cmdline");
  EXPECT_EQ(arguments.substr(arguments.find('\0') + 1), std::string("--wayland\0", 10));
  // In a group of its own, that a terminal's Ctrl-C reaches the host alone.
  EXPECT_EQ(getpgid(renderers[0]), renderers[0]);
  auto second = Start(sway, "/s");
  EXPECT_EQ(second->Wait(30s), 0);
  EXPECT_EQ(second->Stderr(), "");
  EXPECT_EQ(Renderers().size(), 1u) << "a second renderer";
  EXPECT_EQ(Start(sway, "/c")->Wait(30s), 0) << "the dialog opened while the saver runs";
  EXPECT_TRUE(saver->Running());
  EXPECT_TRUE(WaitFor([&] { return sway.Type("Escape") && !saver->Running(); }, 30s, 500ms));
  EXPECT_EQ(saver->Wait(10s), 0);
  EXPECT_TRUE(heard_.StaysSilent()) << "the music stopped with the saver";
  EXPECT_EQ(saver->Stderr(), "");

  before = heard_.Mark();
  const std::string host = install_.Path("Orvane.scr"), code = install_.Path("exit-code");
  auto idle =
      sway.Start({"swayidle", "timeout", "2", host + " /s; echo $? >" + code}, pulse_.env());
  ASSERT_TRUE(Fog(sway, {{320, 240}, {960, 240}})) << idle->Stderr();
  EXPECT_TRUE(heard_.HeardSince(before, 30s));
  ASSERT_EQ(Renderers().size(), 1u);
  const std::vector<pid_t> hosts = ProcessesRunning(host);
  ASSERT_EQ(hosts.size(), 1u);
  InstalledProcess idleSaver(hosts[0], host);
  kill(idleSaver.pid(), SIGTERM);
  EXPECT_TRUE(WaitFor([&] { return ReadBytes(code) == "0\n"; }, 10s))
      << "ended by its close step, not by the signal: " << ReadBytes(code);
  EXPECT_TRUE(WaitFor([&] { return Renderers().empty(); }, 5s));
  EXPECT_TRUE(heard_.StaysSilent());
  EXPECT_EQ(sway.Pixel(320, 240), (Rgb{0x3f, 0x3f, 0x3f})) << "the empty desktop";
  idle.reset();  // so that no later idle moment starts a saver

  const auto dialog = [&] {
    return sway.Run({"xdotool", "search", "--name", "^<Orvane>$"}).first == 0;
  };
  auto settings = Start(sway, "/c");
  EXPECT_TRUE(WaitFor(dialog, 30s, 200ms)) << settings->Stderr();
  EXPECT_TRUE(settings->Running());
  settings.reset();
  ASSERT_TRUE(WaitFor([&] { return !dialog(); }, 10s, 200ms));

  // The saver runs left the picture in the user's data directory.
  auto renderer = sway.Start({install_.Path("Orvane.dll"), "--wayland"});
  ASSERT_TRUE(Fog(sway, {{320, 240}, {960, 240}}, 30s)) << renderer->Stderr();
  const Screenshot both = sway.Shot(0, 0, 1280, 480);
  std::string why;
  EXPECT_TRUE(WallsAtTheirDepths(both, 320, 240, 480, why)) << why;
  EXPECT_TRUE(WallsAtTheirDepths(both, 960, 240, 480, why)) << why;
  EXPECT_EQ(sway.Run({"swaymsg", "-t", "get_tree"}).second.find("Orvane_VC"), std::string::npos)
      << "a window, not a layer surface";
  for (const char* key : {"space", "Return", "a", "F1", "Tab"}) EXPECT_TRUE(sway.Type(key));
  EXPECT_TRUE(renderer->Running()) << "ended by a key other than Escape";
  ASSERT_EQ(sway.Run({"swaymsg", "create_output"}).first, 0);
  EXPECT_TRUE(Fog(sway, {{1600, 240}}, 10s)) << "on the output plugged in, HEADLESS-3";
  ASSERT_EQ(sway.Run({"swaymsg", "output", "HEADLESS-3", "disable"}).first, 0);
  const Screenshot first = sway.Shot(0, 0, 640, 480);
  EXPECT_TRUE(WaitFor([&] { return sway.Shot(0, 0, 640, 480).pixels != first.pixels; }, 10s))
      << "the first output's picture stopped when the third went";
  EXPECT_TRUE(renderer->Running()) << renderer->Stderr();
  // At scale 2 the output is 320 × 240 in the layout and 640 × 480 pixels, each of its own:
  // a picture drawn at 320 × 240 and doubled would repeat every pixel of a row once.
  ASSERT_EQ(sway.Run({"swaymsg", "output", "HEADLESS-2", "scale", "2"}).first, 0);
  Screenshot sharp;
  int differingPairs = 0;
  const bool drawnAtRealPixels = WaitFor(
      [&] {
        sharp = sway.Shot(640, 0, 320, 240, 2);
        if (sharp.width != 640 || sharp.height != 480 || !Near(sharp.at(320, 240), kFog, 25))
          return false;
        differingPairs = 0;
        for (int y = 20; y < 480; y += 40)
          for (int x = 0; x < 640; x += 2)
            differingPairs += !(sharp.at(x, y) == sharp.at(x + 1, y));
        return differingPairs > 1000;  // of 3840
      },
      10s, 50ms);
  EXPECT_TRUE(drawnAtRealPixels) << differingPairs << " of 3840 pixel pairs differ";
  EXPECT_TRUE(WallsAtTheirDepths(sharp, 320, 240, 480, why)) << why;
  EXPECT_TRUE(sway.Type("Escape"));
  EXPECT_EQ(renderer->Wait(10s), 0) << renderer->Stderr();

  std::filesystem::remove(install_.Path("Orvane.dll"));
  auto missing = Start(sway, "/s");
  const auto shown = [&] {
    const std::string tree = sway.Run({"swaymsg", "-t", "get_tree"}).second;
    return tree.find("\"name\": \"Orvane (ScreenSaver)\"") != std::string::npos &&
           tree.find("\"shell\": \"xdg_shell\"") != std::string::npos;
  };
  ASSERT_TRUE(WaitFor(shown, 30s, 200ms)) << missing->Stderr();
  EXPECT_TRUE(missing->Running()) << "it waits for the user";
}

// Weston has no layer shell: the renderer takes a full-screen window.
TEST_F(WaylandSaverRun, OnWestonAFullScreenWindowShowsTheTunnelUntilSigterm) {
  WaylandSession weston(Compositor::Weston);
  Install(weston);
  auto saver = Start(weston, "/s");
  ASSERT_TRUE(Fog(weston, {{320, 240}})) << saver->Stderr() << weston.Log();
  std::string why;
  EXPECT_TRUE(WallsAtTheirDepths(weston.Shot(0, 0, 640, 480), 320, 240, 480, why)) << why;
  saver->Signal(SIGTERM);
  EXPECT_EQ(saver->Wait(10s), 0);
  EXPECT_TRUE(WaitFor([&] { return Renderers().empty(); }, 5s));
}

TEST(WaylandRenderer, WithoutACompositorEndsWithOneAndOneLine) {
  TempFolder runtime;
  Child renderer({ProgramPath("Orvane.dll"), "--wayland"},
                 {"XDG_RUNTIME_DIR=" + runtime.path(), "WAYLAND_DISPLAY=orvane-no-compositor"});
  EXPECT_EQ(renderer.Wait(30s), 1);
  EXPECT_EQ(renderer.Stderr(),
            "Orvane.dll: cannot connect to a Wayland compositor (is WAYLAND_DISPLAY set?)\n");
}

}  // namespace
}  // namespace orvane::testing
