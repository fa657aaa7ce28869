// The daemon mode of the installed programs under an Xvfb of the test's own.
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <filesystem>
#include <memory>

#include "tests/mci/media_files.h"
#include "tests/renderer/tunnel_pixels.h"
#include "tests/saver/saver_run.h"
#include "tests/support/nobody.h"
#include "tests/support/pulse.h"
#include "tests/support/screenshot.h"

// Xlib after the test framework, which its macros (None, Bool) would break.
#include <X11/Xlib.h>

namespace orvane::testing {
namespace {

using namespace std::chrono_literals;

// A screen locker's saver window, black and override-redirect, 640 × 480 at the top left corner,
// on a connection of its own, whose closing takes the window with it.
struct LockerWindow {
  explicit LockerWindow(const std::string& name)
      : display(XOpenDisplay(name.c_str()), XCloseDisplay) {
    if (!display) return;
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    id = XCreateWindow(display.get(), DefaultRootWindow(display.get()), 0, 0, 640, 480, 0,
                       CopyFromParent, InputOutput, CopyFromParent,
                       CWBackPixel | CWOverrideRedirect, &attributes);
    XMapWindow(display.get(), id);
    XSync(display.get(), False);
  }
  std::unique_ptr<Display, int (*)(Display*)> display;
  Window id = 0;
};

// A real xscreensaver daemon of the test's own, run as nobody with a throwaway HOME (and
// XDG_RUNTIME_DIR in it) whose .xscreensaver offers one program alone, with locking, fading and
// the splash off, and whose Orvane.ini holds settings. env: NAME=value pairs (DISPLAY...).
class XScreenSaver {
 public:
  XScreenSaver(const std::vector<std::string>& env, const std::string& program,
               const std::string& settings)
      : env_(env) {
    std::filesystem::create_directories(home_ / ".config/orvane");
    std::filesystem::create_directory(home_ / "run");
    WriteBytes(home_ / ".xscreensaver",
               "mode: one\nselected: 0\nlock: False\nsplash: False\nfade: False\n"
               "unfade: False\nprograms: GL: " +
                   program + " \\n\n");
    WriteBytes(home_ / ".config/orvane/Orvane.ini", settings);
    if (RunShell("chown -R nobody:nogroup '" + home_.path() + "'").first != 0) return;
    env_.insert(env_.end(), {"HOME=" + home_.path(), "XDG_RUNTIME_DIR=" + home_ / "run"});
    daemon_ = std::make_unique<Child>(AsNobody(env_, {"xscreensaver", "-no-splash"}));
  }
  bool running() { return daemon_ && daemon_->Running(); }
  // xscreensaver-command with the option ("-activate"...) as the daemon's user; its exit code.
  int Command(const std::string& option) {
    return Child(AsNobody(env_, {"xscreensaver-command", option}))
        .Wait(std::chrono::seconds(10))
        .value_or(-1);
  }
  std::string Log() const { return daemon_ ? daemon_->Stderr() : ""; }

 private:
  TempFolder home_;
  std::vector<std::string> env_;
  std::unique_ptr<Child> daemon_;
};

// XSecureLock's way first, the window in XSCREENSAVER_WINDOW; then the real xscreensaver, run as
// nobody, with the user's own settings (the programs' folder is not theirs to write).
TEST(DaemonRun, InALockersWindowThenUnderXscreensaverWithMusicAndNothingLeft) {
  SaverInstall install;
  TempFolder music;
  Xvfb xvfb;
  PulseServer pulse;
  PulseRecorder recorder{pulse};
  ASSERT_TRUE(xvfb.running() && pulse.running() && recorder.running());
  WriteBytes(install.Path("Orvane.image"), RampsPicture());
  WriteWav(music / "loop.wav", 0.5, 880);
  std::vector<std::string> env = pulse.env();
  env.push_back("DISPLAY=" + xvfb.display());
  const auto renderers = [&] { return ProcessesRunning(install.Path("Orvane.dll")); };
  const auto hosts = [&] { return ProcessesRunning(install.Path("Orvane.scr")); };
  // The tunnel at the screen's top left corner, width × height.
  const auto tunnelShows = [&](int width, int height) {
    Screenshot shot;
    std::string why;
    const bool shown = WaitFor(
        [&] {
          shot = TakeScreenshot(xvfb.display());
          return shot.valid() && Near(shot.at(width / 2, height / 2), {153, 153, 0}, 25) &&
                 WallsAtTheirDepths(shot, width / 2, height / 2, height, why);
        },
        20s, 50ms);
    if (!shown) shot.SavePpm(::testing::TempDir() + "/orvane-daemon-tunnel.ppm");
    return shown;
  };
  {
    install.WriteSettings(2, music / "loop.wav");
    LockerWindow window(xvfb.display());
    ASSERT_NE(window.id, 0u);
    const std::size_t before = recorder.Mark();
    std::vector<std::string> own = env;
    own.insert(own.end(),
               {"XDG_CACHE_HOME=" + install.cacheHome(), "XDG_RUNTIME_DIR=" + music.path(),
                "XSCREENSAVER_WINDOW=" + std::to_string(window.id)});
    Child saver({install.Path("Orvane.scr"), "--root"}, own);
    EXPECT_TRUE(tunnelShows(640, 480)) << saver.Stderr() << "see orvane-daemon-tunnel.ppm";
    EXPECT_TRUE(recorder.HeardSince(before, 20s));
    ASSERT_EQ(renderers().size(), 1u);
    const std::string renderer = "/proc/" + std::to_string(renderers()[0]);
    saver.Signal(SIGTERM);
    EXPECT_EQ(saver.Wait(20s), 0);
    EXPECT_TRUE(WaitFor([&] { return !std::filesystem::exists(renderer); }, 20s, 10ms))
        << "reaped, not a zombie";
    EXPECT_TRUE(recorder.StaysSilent());
    EXPECT_EQ(saver.Stdout() + saver.Stderr(), "");
  }

  install.WriteSettings(0, "");
  OpenToAll(install.Path("."));
  OpenToAll(music.path());
  const std::string pulseFolder = std::filesystem::path(pulse.socket()).parent_path();
  RunShell("chmod o+x '" + pulseFolder + "' && chmod a+rwx '" + pulse.socket() +
           "' && chmod o+r '" + pulseFolder + "/client.conf'");
  XScreenSaver daemon(env, install.Path("Orvane.scr") + " --root",
                      SaverInstall::SettingsText(2, music / "loop.wav"));
  ASSERT_TRUE(daemon.running()) << daemon.Log();
  const std::size_t before = recorder.Mark();
  // An -activate sent before the daemon is ready goes unheard: it is sent again.
  ASSERT_TRUE(WaitFor(
      [&] {
        return daemon.Command("-activate") == 0 &&
               WaitFor([&] { return renderers().size() == 1; }, 3s);
      },
      30s, 100ms))
      << daemon.Log();
  // (The daemon may end the first saver it starts and start another at once.)
  EXPECT_TRUE(WaitFor([&] { return hosts().size() == 1 && renderers().size() == 1; }, 10s));
  EXPECT_TRUE(tunnelShows(1024, 768)) << "see orvane-daemon-tunnel.ppm";
  EXPECT_TRUE(recorder.HeardSince(before, 20s));
  ASSERT_EQ(daemon.Command("-deactivate"), 0);
  EXPECT_TRUE(WaitFor([&] { return hosts().empty() && renderers().empty(); }, 20s, 10ms));
  EXPECT_TRUE(recorder.StaysSilent());
  EXPECT_TRUE(daemon.running());
}

}  // namespace
}  // namespace orvane::testing
