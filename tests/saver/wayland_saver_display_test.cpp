// Whole saver runs on a headless sway with two outputs, run as a user of the test's own: the
// tunnel on every output, the music heard on a PulseAudio null sink, Escape, a second start, the
// settings dialog, a missing file, and SIGTERM to the saver swayidle started. (The renderer's
// own tests run it on weston.)
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <cstdio>
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

// The far end of the tunnel: the fog's colour.
bool Fogged(std::optional<Rgb> pixel) {
  return pixel && Near(*pixel, Rgb{153, 153, 0}, 25);
}

class WaylandSaverRun : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(pulse_.running() && heard_.running());
    // The host runs as the session's user: it reaches the test's sound server through its
    // socket, in a folder it may pass through but not read.
    for (const std::string& pair : pulse_.env()) {
      if (pair.rfind("PULSE_SERVER=unix:", 0) == 0) {
        const std::string folder = std::filesystem::path(pair.substr(18)).parent_path();
        ASSERT_EQ(chmod(folder.c_str(), 0711), 0);
      }
    }
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
  std::unique_ptr<Child> Saver(const WaylandSession& session) {
    return session.Start({install_.Path("Orvane.scr"), "/s"}, pulse_.env());
  }
  std::vector<pid_t> Renderers() { return ProcessesRunning(install_.Path("Orvane.dll")); }
  // Fog at the centre of each of the outputs of the layout, within 60 s.
  bool Tunnel(const WaylandSession& session, std::vector<std::pair<int, int>> centres) {
    return WaitFor(
        [&] {
          for (const auto& [x, y] : centres)
            if (!Fogged(session.Pixel(x, y))) return false;
          return true;
        },
        60s, 200ms);
  }

  PulseServer pulse_;
  PulseRecorder heard_{pulse_};
  SaverInstall install_;
};

const std::vector<std::pair<int, int>> kSwayCentres{{320, 240}, {960, 240}};

// /s draws the tunnel on both outputs and plays the MP3; a second /s, and /c, end at once and
// start nothing; Escape ends the renderer, the host with exit code 0, and the music. Then the
// settings dialog opens through XWayland, and a missing renderer gets its message box, a window
// of the compositor's own.
TEST_F(WaylandSaverRun, OnSwayTheTunnelTheMusicASecondStartTheSettingsAndAMissingFile) {
  WaylandSession sway;
  Install(sway);
  const std::size_t before = heard_.Mark();
  auto saver = Saver(sway);
  ASSERT_TRUE(Tunnel(sway, kSwayCentres)) << saver->Stderr() << sway.Log();
  EXPECT_TRUE(heard_.HeardSince(before, 30s)) << "the chosen MP3 plays";
  const std::vector<pid_t> renderers = Renderers();
  ASSERT_EQ(renderers.size(), 1u);
  std::string arguments = ReadBytes("/proc/" + std::to_string(renderers[0]) + "/cmdline");
  EXPECT_EQ(arguments.substr(arguments.find('\0') + 1), std::string("--wayland\0", 10));
  // In a group of its own, that a terminal's Ctrl-C reaches the host alone (the fifth field).
  const std::string stat = ReadBytes("/proc/" + std::to_string(renderers[0]) + "/stat");
  int group = 0;
  std::sscanf(stat.c_str() + stat.rfind(')') + 1, " %*c %*d %d", &group);
  EXPECT_EQ(group, renderers[0]);

  auto second = Saver(sway);
  EXPECT_EQ(second->Wait(30s), 0);
  EXPECT_EQ(second->Stderr(), "");
  EXPECT_EQ(Renderers().size(), 1u) << "a second renderer";
  // The settings dialog is refused as while a saver window exists.
  std::vector<std::string> env = pulse_.env();
  env.push_back("NO_AT_BRIDGE=1");
  auto refused = sway.Start({install_.Path("Orvane.scr"), "/c"}, env);
  EXPECT_EQ(refused->Wait(30s), 0) << "the dialog opened while the saver runs";
  EXPECT_TRUE(saver->Running());

  EXPECT_TRUE(WaitFor([&] { return sway.Type("Escape") && !saver->Running(); }, 30s, 500ms));
  EXPECT_EQ(saver->Wait(10s), 0);
  EXPECT_TRUE(heard_.StaysSilent()) << "the music stopped with the saver";
  EXPECT_EQ(saver->Stderr(), "");

  const auto dialog = [&] {
    return sway.Run({"xdotool", "search", "--name", "^<Orvane>$"}).first == 0;
  };
  auto settings = sway.Start({install_.Path("Orvane.scr"), "/c"}, env);
  EXPECT_TRUE(WaitFor(dialog, 30s, 200ms)) << settings->Stderr();
  EXPECT_TRUE(settings->Running());
  settings.reset();
  ASSERT_TRUE(WaitFor([&] { return !dialog(); }, 10s, 200ms));

  std::filesystem::remove(install_.Path("Orvane.dll"));
  auto host = sway.Start({install_.Path("Orvane.scr"), "/s"}, env);
  const auto shown = [&] {
    const std::string tree = sway.Run({"swaymsg", "-t", "get_tree"}).second;
    return tree.find("\"name\": \"Orvane (ScreenSaver)\"") != std::string::npos &&
           tree.find("\"shell\": \"xdg_shell\"") != std::string::npos;
  };
  ASSERT_TRUE(WaitFor(shown, 30s, 200ms)) << host->Stderr();
  EXPECT_TRUE(host->Running()) << "it waits for the user";
}

// swayidle starts the saver once the session has been idle for two seconds; SIGTERM, as its
// resume or the session's end sends it, runs the close step: the music stops, the renderer ends
// (the desktop shows again), the host ends with exit code 0.
TEST_F(WaylandSaverRun, OnSwaySigtermRunsTheCloseStepOfTheSaverSwayidleStarted) {
  WaylandSession sway;
  Install(sway);
  const std::size_t before = heard_.Mark();
  const std::string host = install_.Path("Orvane.scr"), code = install_.Path("exit-code");
  auto idle =
      sway.Start({"swayidle", "timeout", "2", host + " /s; echo $? >" + code}, pulse_.env());
  ASSERT_TRUE(Tunnel(sway, kSwayCentres)) << idle->Stderr();
  EXPECT_TRUE(heard_.HeardSince(before, 30s));
  ASSERT_EQ(Renderers().size(), 1u);
  const std::vector<pid_t> hosts = ProcessesRunning(host);
  ASSERT_EQ(hosts.size(), 1u);
  InstalledProcess saver(hosts[0], host);
  kill(saver.pid(), SIGTERM);
  EXPECT_TRUE(WaitFor([&] { return ReadBytes(code) == "0\n"; }, 10s))
      << "ended by its close step, not by the signal: " << ReadBytes(code);
  EXPECT_TRUE(WaitFor([&] { return Renderers().empty(); }, 5s));
  EXPECT_TRUE(heard_.StaysSilent());
  EXPECT_EQ(sway.Pixel(320, 240), (Rgb{0x3f, 0x3f, 0x3f})) << "the empty desktop";
}

}  // namespace
}  // namespace orvane::testing
