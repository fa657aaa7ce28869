// Whole saver runs of the installed programs under an Xvfb of the test's own: the real host,
// the real renderer, real key presses and signals.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <thread>

#include "tests/saver/cursor_requests.h"
#include "tests/saver/saver_run.h"
#include "tests/support/child.h"
#include "tests/support/xvfb.h"

namespace orvane::testing {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using Strings = std::vector<std::string>;

// The host looks for the renderer's window every 500 ms; a run under load gets some slack.
constexpr auto kWatchBound = 500ms + 500ms;

long Milliseconds(Clock::duration elapsed) {
  return static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

class SaverRun : public ::testing::Test {
 protected:
  void SetUp() override {
    xvfb = std::make_unique<Xvfb>(1024, 768);
    ASSERT_TRUE(xvfb->running());
    screen = std::make_unique<Screen>(xvfb->display());
    cursor = std::make_unique<CursorRequests>(xvfb->display());
    ASSERT_TRUE(cursor->ok()) << "the X server records no requests";
  }

  // argument "" starts the host with an empty command line.
  std::unique_ptr<Child> StartHost(const std::string& argument) {
    Strings argv{install.Path("Orvane.scr")};
    if (!argument.empty()) argv.push_back(argument);
    return std::make_unique<Child>(
        argv, Strings{"DISPLAY=" + xvfb->display(), "XDG_CACHE_HOME=" + install.cacheHome()});
  }

  // Waits until the renderer's window covers the screen, and guards its process.
  unsigned long WaitForRenderer() {
    unsigned long window = 0;
    WaitFor(
        [&] {
          window = screen->Find("Orvane_VC");
          // Mapped, so that a key press reaches it.
          return window != 0 && screen->Size(window) == std::pair{1024, 768} &&
                 screen->IsShown(window);
        },
        10s);
    if (window != 0 && !renderer) {
      // Found by its program file: the renderer's window carries no process id.
      const auto running = ProcessesRunning(install.Path("Orvane.dll"));
      EXPECT_EQ(running.size(), 1u);
      if (running.size() != 1) return 0;
      renderer = std::make_unique<RendererGuard>(running[0], install.Path("Orvane.dll"));
    }
    return window;
  }

  void PressEscape() {
    EXPECT_EQ(RunShell("DISPLAY=" + xvfb->display() + " xdotool key Escape").first, 0);
  }

  // The renderer ends on Escape and its window goes. (A key pressed while a busy machine has not
  // yet given the renderer its first turn may be lost; the key is pressed again then.)
  void EndRenderer() {
    for (int attempt = 0; attempt < 3 && screen->Find("Orvane_VC") != 0; ++attempt) {
      PressEscape();
      WaitFor([&] { return screen->Find("Orvane_VC") == 0; }, 2s);
    }
    EXPECT_EQ(screen->Find("Orvane_VC"), 0u);
    renderer.reset();
  }

  SaverInstall install;
  std::unique_ptr<Xvfb> xvfb;
  std::unique_ptr<Screen> screen;
  std::unique_ptr<CursorRequests> cursor;
  std::unique_ptr<RendererGuard> renderer;
};

TEST_F(SaverRun, TheSaverStartsTheTunnelWatchesItAndEndsWithinAWatchOfEscape) {
  auto host = StartHost("/s");
  const unsigned long tunnel = WaitForRenderer();
  ASSERT_NE(tunnel, 0u) << host->Stderr();

  // The saver window: a top-level window of the host's, titled, never shown.
  const unsigned long saver = screen->Find("Orvane_Main");
  ASSERT_NE(saver, 0u);
  EXPECT_TRUE(screen->IsTopLevel(saver));
  EXPECT_FALSE(screen->IsMapped(saver));
  EXPECT_EQ(screen->WindowPid(saver), host->pid());

  // The renderer: the host folder's Orvane.dll with no arguments, on its own, no zombie left.
  const pid_t rendererPid = renderer->pid();
  EXPECT_EQ(CommandLineOf(rendererPid), Strings{install.Path("Orvane.dll")});
  EXPECT_TRUE(ZombieChildren(host->pid()).empty());

  // The texture copy in the data directory is the host folder's picture.
  EXPECT_EQ(ReadWholeFile(install.TextureCopy()), ReadWholeFile(install.Path("Orvane.image")));
  EXPECT_EQ(cursor->Seen(), Strings{"hide"});

  // While the tunnel runs the host only watches.
  EXPECT_FALSE(host->Wait(700ms).has_value());
  EXPECT_EQ(screen->Find("Orvane_Main"), saver);

  PressEscape();
  const auto pressed = Clock::now();
  EXPECT_EQ(host->Wait(5s), 0);
  const auto elapsed = Clock::now() - pressed;
  EXPECT_LT(elapsed, kWatchBound) << Milliseconds(elapsed) << " ms from Escape to the host's end";
  RecordProperty("escape_to_host_end_ms", std::to_string(Milliseconds(elapsed)));
  // Its window goes first; the process itself may take a moment longer to end.
  EXPECT_TRUE(WaitFor([&] { return !renderer->Runs(); }, 3s));
  EXPECT_EQ(cursor->Seen(), (Strings{"hide", "show"}));
  EXPECT_EQ(screen->Find("Orvane_Main"), 0u);
  EXPECT_EQ(host->Stdout(), "");
  EXPECT_EQ(host->Stderr(), "");
}

TEST_F(SaverRun, ALinkPlantedAtTheTextureCopyIsReplacedNotFollowed) {
  TempFolder elsewhere;
  const std::string victim = elsewhere.path() + "/victim";
  WriteWholeFile(victim, "not to be overwritten");
  std::filesystem::create_directories(install.cacheHome() + "/t_ovin");
  std::filesystem::create_symlink(victim, install.TextureCopy());

  auto host = StartHost("/s");
  ASSERT_NE(WaitForRenderer(), 0u) << host->Stderr();
  EXPECT_FALSE(std::filesystem::is_symlink(install.TextureCopy()));
  EXPECT_EQ(ReadWholeFile(install.TextureCopy()), ReadWholeFile(install.Path("Orvane.image")));
  EXPECT_EQ(ReadWholeFile(victim), "not to be overwritten");
  // No temporary file is left beside the copy.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(install.cacheHome() + "/t_ovin"),
                          std::filesystem::directory_iterator()),
            1);
  EndRenderer();
  EXPECT_EQ(host->Wait(5s), 0);
}

TEST_F(SaverRun, AnEmptyCommandLineRunsTheSaverButNeverHidesTheCursor) {
  auto host = StartHost("");
  ASSERT_NE(WaitForRenderer(), 0u) << host->Stderr();
  EXPECT_NE(screen->Find("Orvane_Main"), 0u);
  EndRenderer();
  EXPECT_EQ(host->Wait(5s), 0);
  EXPECT_EQ(cursor->Seen(), Strings{});
}

TEST_F(SaverRun, ARendererThatCannotStartEndsTheSaverAtItsFirstCheckWithNoMessage) {
  // It is there and readable, so start-up's check passes, but it is no program.
  std::filesystem::remove(install.Path("Orvane.dll"));
  WriteWholeFile(install.Path("Orvane.dll"), "not a program\n");
  chmod(install.Path("Orvane.dll").c_str(), 0644);

  const auto started = Clock::now();
  auto host = StartHost("/s");
  bool message = false;
  WaitFor(
      [&] {
        message = message || screen->Find("Orvane (ScreenSaver)") != 0;
        return !ProcessRuns(host->pid());
      },
      5s);
  EXPECT_EQ(host->Wait(1s), 0);
  const auto elapsed = Clock::now() - started;
  EXPECT_FALSE(message);
  // The first look comes 500 ms after the window was made, and ends the saver.
  EXPECT_GE(elapsed, 450ms);
  EXPECT_LT(elapsed, 500ms + 1500ms) << Milliseconds(elapsed) << " ms";
  EXPECT_EQ(cursor->Seen(), (Strings{"hide", "show"}));
  EXPECT_EQ(host->Stdout(), "");
  EXPECT_EQ(host->Stderr(), "");
}

TEST_F(SaverRun, KillingTheRendererEndsTheHostWithinAWatch) {
  auto host = StartHost("/s");
  ASSERT_NE(WaitForRenderer(), 0u) << host->Stderr();
  ASSERT_TRUE(renderer->Signal(SIGKILL));
  const auto killed = Clock::now();
  EXPECT_EQ(host->Wait(5s), 0);
  const auto elapsed = Clock::now() - killed;
  EXPECT_LT(elapsed, kWatchBound) << Milliseconds(elapsed) << " ms from the kill to the host's end";
  EXPECT_EQ(cursor->Seen(), (Strings{"hide", "show"}));
}

TEST_F(SaverRun, TheSystemsCloseRunsTheCloseStepAndLeavesTheTunnelRunning) {
  for (int signal : {SIGTERM, SIGHUP, SIGINT}) {
    SCOPED_TRACE(strsignal(signal));
    const size_t before = cursor->Seen().size();
    auto host = StartHost("/s");
    ASSERT_NE(WaitForRenderer(), 0u) << host->Stderr();
    host->Signal(signal);
    host->Signal(signal);  // a second one changes nothing
    // Ended by its close step (exit code 0), not by the signal.
    EXPECT_EQ(host->Wait(5s), 0);
    const Strings seen = cursor->Seen();
    EXPECT_EQ(Strings(seen.begin() + static_cast<long>(before), seen.end()),
              (Strings{"hide", "show"}));
    EXPECT_EQ(screen->Find("Orvane_Main"), 0u);
    // The renderer is not touched: the tunnel stays until Escape.
    std::this_thread::sleep_for(600ms);
    EXPECT_TRUE(renderer->Runs());
    EXPECT_NE(screen->Find("Orvane_VC"), 0u);
    EndRenderer();
  }
}

TEST_F(SaverRun, LosingTheXConnectionRunsTheCloseStepAndEndsTheHost) {
  auto host = StartHost("/s");
  ASSERT_NE(WaitForRenderer(), 0u) << host->Stderr();
  // Our own connections go first: the server is about to vanish under them.
  cursor.reset();
  screen.reset();
  xvfb.reset();
  // The toolkit's own handler would end it with 1 and a message; the close step ends it with 0.
  // (What stands in its standard error is the renderer's, which shares it.)
  EXPECT_EQ(host->Wait(5s), 0);
}

TEST_F(SaverRun, ASecondStartIsRefusedWhileTheSaverRuns) {
  auto host = StartHost("/s");
  ASSERT_NE(WaitForRenderer(), 0u) << host->Stderr();
  for (const char* argument : {"/s", "/p 0", ""}) {
    SCOPED_TRACE(argument);
    auto second = StartHost(argument);
    EXPECT_EQ(second->Wait(5s), 0);
    EXPECT_EQ(second->Stderr(), "");
  }
  EXPECT_EQ(screen->Count("Orvane_VC"), 1);
  EXPECT_EQ(screen->Count("Orvane_Main"), 1);
  EXPECT_TRUE(ProcessRuns(host->pid()));
  EXPECT_EQ(cursor->Seen(), Strings{"hide"}) << "a refused start hides nothing";
  EndRenderer();
  EXPECT_EQ(host->Wait(5s), 0);
}

}  // namespace
}  // namespace orvane::testing
