// Whole saver runs of either build (the Windows one under Wine) on an Xvfb of the test's own,
// from a program folder named outside the ANSI code page, as a user's own may be: the tunnel,
// the music heard on a PulseAudio null sink, the keys, the second start, the missing renderer.
#include <gtest/gtest.h>
#include <signal.h>

#include <filesystem>
#include <memory>

#include "tests/mci/media_files.h"
#include "tests/renderer/tunnel_pixels.h"
#include "tests/saver/saver_run.h"
#include "tests/support/programs.h"
#include "tests/support/pulse.h"
#include "tests/support/run_user.h"

namespace orvane::testing {
namespace {

using namespace std::chrono_literals;

struct Row {
  const char* locale;  // Wine takes its ANSI code page from it: 1252, or 932 for Japanese
  const char* folder;  // a name that code page cannot write
  const char* name;
};
void PrintTo(const Row& row, std::ostream* out) {
  *out << row.name;
}

class SaverRun : public ::testing::TestWithParam<Row> {
 protected:
  // The renderer's full-screen window once it shows the picture on every face; 0 if never.
  unsigned long Tunnel() {
    const unsigned long window = programs_.FindWindow("Orvane_VC", 60s);
    std::string why = "no window";
    const auto drawn = [&] {
      const Screenshot shot = TakeScreenshot(xvfb_.display(), window);
      return shot.width == 1024 && shot.height == 768 &&
             ShowsThePictureOnEveryFace(shot, 512, 384, why);
    };
    if (window != 0 && WaitFor(drawn, 30s, 50ms)) return window;
    ADD_FAILURE() << why;
    return 0;
  }

  Xvfb xvfb_;
  Programs programs_{Build::ORVANE_TEST_BUILD, xvfb_, GetParam().locale};
  PulseServer pulse_;
  PulseRecorder heard_{pulse_};
  TempFolder files_;
};

// /s copies the picture to the data directory, draws it in the tunnel and plays the chosen MP3
// (any case in its ending, the settings' keys in code page 932); a second /s ends at once;
// Escape ends the renderer and, within a watch, the host and the music. On Linux the host runs
// without XDG_RUNTIME_DIR, as mate-screensaver starts it, and finds the sound server in the
// user's runtime folder, /run/user/<uid>; there SIGTERM, twice, runs the close step, which
// leaves the tunnel to Escape. A missing renderer gets a box captioned "Orvane (ScreenSaver)"
// (its Japanese text read under Wine); dismissed, the host ends having copied nothing.
TEST_P(SaverRun, TheTunnelTheMusicASecondStartEscapeSigtermAndAMissingRenderer) {
  ASSERT_TRUE(xvfb_.running() && programs_.ready() && pulse_.running() && heard_.running());
  const std::string folder = files_ / GetParam().folder + "/Orvane";
  std::filesystem::create_directories(folder);
  for (const char* name : {"Orvane.scr", "Orvane.dll"})
    std::filesystem::copy_file(programs_.Built(name), folder + "/" + name);
  WriteBytes(folder + "/Orvane.image", RampsPicture());
  ASSERT_TRUE(WriteMp3(files_ / "Tune.Mp3", 3.0, 440));
  WriteBytes(folder + "/Orvane.ini",
             SaverInstall::SettingsText(2, programs_.Path(files_ / "Tune.Mp3")));
  std::vector<std::string> env = pulse_.env();
  std::unique_ptr<UsersRuntimeFolder> runtime;
  if (!programs_.windows()) {
    runtime = std::make_unique<UsersRuntimeFolder>(pulse_.socket());
    ASSERT_EQ(runtime->error(), "");
    env = {"XDG_RUNTIME_DIR", "PULSE_SERVER"};
  }
  const auto start = [&] { return programs_.Start(folder + "/Orvane.scr", {"/s"}, env); };

  std::size_t before = heard_.Mark();
  auto host = start();
  const unsigned long window = Tunnel();
  ASSERT_NE(window, 0u) << host->Stderr();
  EXPECT_EQ(ReadBytes(programs_.DataDirectory() + "/Orvane.image"), RampsPicture());
  EXPECT_TRUE(heard_.HeardSince(before, 20s)) << "the chosen MP3 plays";
  auto second = start();
  EXPECT_EQ(second->Wait(30s), 0);
  EXPECT_EQ(second->Stderr(), "");
  EXPECT_EQ(programs_.Xdotool("search --maxdepth 1 --name '^Orvane_VC$'"),
            std::to_string(window) + "\n")
      << "a second renderer";
  EXPECT_TRUE(host->Running());
  EXPECT_TRUE(programs_.EscapeUntilGone("Orvane_VC"));
  EXPECT_EQ(host->Wait(20s), 0) << "the host outlived its renderer";
  EXPECT_TRUE(heard_.StaysSilent()) << "the music stopped with the saver";

  if (!programs_.windows()) {
    before = heard_.Mark();
    host = start();
    ASSERT_NE(Tunnel(), 0u) << host->Stderr();
    EXPECT_TRUE(heard_.HeardSince(before, 10s));
    host->Signal(SIGTERM);
    host->Signal(SIGTERM);
    EXPECT_EQ(host->Wait(10s), 0) << "ended by its close step, not by the signal";
    EXPECT_TRUE(heard_.StaysSilent());
    EXPECT_EQ(ProcessesRunning(folder + "/Orvane.dll").size(), 1u) << "the tunnel stays";
    EXPECT_TRUE(programs_.EscapeUntilGone("Orvane_VC"));
    EXPECT_EQ(host->Stderr(), "");
  }

  std::filesystem::remove(folder + "/Orvane.dll");
  std::filesystem::remove(programs_.DataDirectory() + "/Orvane.image");
  host = start();
  const unsigned long box = programs_.FindWindow("Orvane \\(ScreenSaver\\)");
  ASSERT_NE(box, 0u) << host->Stderr();
  const std::string text = "Orvane.dll が同じﾌｫﾙﾀﾞに見つかりません！";
  EXPECT_EQ(programs_.MessageText("Orvane (ScreenSaver)").value_or(text), text);
  EXPECT_FALSE(host->Wait(300ms)) << "it waits for the user";
  programs_.Xdotool("windowfocus --sync " + std::to_string(box) + " key Return");
  EXPECT_EQ(host->Wait(20s), 0);
  EXPECT_FALSE(std::filesystem::exists(programs_.DataDirectory() + "/Orvane.image"));
}

INSTANTIATE_TEST_SUITE_P(ORVANE_TEST_BUILD, SaverRun,
                         ::testing::ValuesIn(Build::ORVANE_TEST_BUILD == Build::Linux
                                                 ? std::vector<Row>{{"C.UTF-8", "ゲーム", "utf8"}}
                                                 : std::vector<Row>{{"C.UTF-8", "ゲーム", "cp1252"},
                                                                    {"ja_JP.UTF-8", "Café",
                                                                     "cp932"}}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace orvane::testing
