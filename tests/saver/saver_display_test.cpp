// Whole saver runs of either build (the Windows one under Wine) on an Xvfb of the test's own,
// from a program folder named outside the ANSI code page, as a user's own may be: the tunnel,
// the music heard on a PulseAudio null sink, the keys, the second start, the missing files.
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
  void SetUp() override {
    ASSERT_TRUE(xvfb_.running() && programs_.ready() && pulse_.running() && heard_.running());
  }
  // The built host, the renderer unless told, and the ramps picture in a folder of their own.
  std::string Install(bool renderer = true) {
    const std::string folder = files_ / GetParam().folder + "/Orvane";
    std::filesystem::create_directories(folder);
    std::filesystem::copy_file(programs_.Built("Orvane.scr"), folder + "/Orvane.scr");
    if (renderer) std::filesystem::copy_file(programs_.Built("Orvane.dll"), folder + "/Orvane.dll");
    WriteBytes(folder + "/Orvane.image", RampsPicture());
    return folder;
  }
  // Settings beside the host: an MP3 (of any case in its ending), its keys in code page 932.
  void ChooseMp3(const std::string& folder) {
    ASSERT_TRUE(WriteMp3(files_ / "Tune.Mp3", 3.0, 440));
    WriteBytes(folder + "/Orvane.ini",
               SaverInstall::SettingsText(2, programs_.Path(files_ / "Tune.Mp3")));
  }
  std::unique_ptr<Child> Saver(const std::string& folder) {
    return programs_.Start(folder + "/Orvane.scr", {"/s"}, pulse_.env());
  }
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

// /s copies the picture to the data directory, draws it in the tunnel and plays the chosen
// music; a second /s ends at once; Escape ends the renderer and, within a watch, the host and
// the music.
TEST_P(SaverRun, DrawsTheTunnelPlaysTheMusicRefusesASecondStartAndEndsOnEscape) {
  const std::string folder = Install();
  ChooseMp3(folder);
  const std::size_t before = heard_.Mark();
  auto saver = Saver(folder);
  const unsigned long window = Tunnel();
  ASSERT_NE(window, 0u) << saver->Stderr();
  EXPECT_EQ(ReadBytes(programs_.DataDirectory() + "/Orvane.image"), RampsPicture());
  EXPECT_TRUE(heard_.HeardSince(before, 20s)) << "the chosen MP3 plays";

  auto second = Saver(folder);
  EXPECT_EQ(second->Wait(30s), 0);
  EXPECT_EQ(second->Stderr(), "");
  EXPECT_EQ(programs_.Xdotool("search --maxdepth 1 --name '^Orvane_VC$'"),
            std::to_string(window) + "\n")
      << "a second renderer";
  EXPECT_TRUE(saver->Running());

  EXPECT_TRUE(programs_.EscapeUntilGone("Orvane_VC"));
  EXPECT_EQ(saver->Wait(20s), 0) << "the host outlived its renderer";
  EXPECT_TRUE(heard_.StaysSilent()) << "the music stopped with the saver";
}

// A missing renderer gets a box captioned "Orvane (ScreenSaver)" (its Japanese text read under
// Wine); dismissed, the host ends having copied nothing.
TEST_P(SaverRun, AMissingFileShowsItsJapaneseMessage) {
  auto host = Saver(Install(false));
  const unsigned long box = programs_.FindWindow("Orvane \\(ScreenSaver\\)");
  ASSERT_NE(box, 0u) << host->Stderr();
  const std::string text = "Orvane.dll が同じﾌｫﾙﾀﾞに見つかりません！";
  EXPECT_EQ(programs_.MessageText("Orvane (ScreenSaver)").value_or(text), text);
  EXPECT_FALSE(host->Wait(300ms)) << "it waits for the user";
  programs_.Xdotool("windowfocus --sync " + std::to_string(box) + " key Return");
  EXPECT_EQ(host->Wait(20s), 0);
  EXPECT_FALSE(std::filesystem::exists(programs_.DataDirectory() + "/Orvane.image"));
}

// Linux alone: run without XDG_RUNTIME_DIR, as mate-screensaver does, the host finds the sound
// server in the user's runtime folder, /run/user/<uid>; SIGTERM, twice, runs the close step,
// which leaves the tunnel to Escape.
class SaverRunOnLinux : public SaverRun {};

TEST_P(SaverRunOnLinux, WithoutXdgRuntimeDirTheMusicIsFoundAndSigtermRunsTheCloseStep) {
  const std::string folder = Install();
  ChooseMp3(folder);
  std::string socket;
  for (const std::string& pair : pulse_.env())
    if (pair.rfind("PULSE_SERVER=unix:", 0) == 0) socket = pair.substr(18);
  const UsersRuntimeFolder runtime(socket);
  ASSERT_EQ(runtime.error(), "");
  std::size_t before = heard_.Mark();
  auto host = programs_.Start(folder + "/Orvane.scr", {"/s"}, {"XDG_RUNTIME_DIR", "PULSE_SERVER"});
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

const std::vector<Row> kRows =
    Build::ORVANE_TEST_BUILD == Build::Linux
        ? std::vector<Row>{{"C.UTF-8", "ゲーム", "utf8"}}
        : std::vector<Row>{{"C.UTF-8", "ゲーム", "cp1252"}, {"ja_JP.UTF-8", "Café", "cp932"}};
std::string RowName(const ::testing::TestParamInfo<Row>& info) {
  return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(ORVANE_TEST_BUILD, SaverRun, ::testing::ValuesIn(kRows), RowName);
// Under Wine the Linux-only runs have no rows.
INSTANTIATE_TEST_SUITE_P(ORVANE_TEST_BUILD, SaverRunOnLinux,
                         ::testing::ValuesIn(Build::ORVANE_TEST_BUILD == Build::Linux
                                                 ? kRows
                                                 : std::vector<Row>{}),
                         RowName);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(SaverRunOnLinux);

}  // namespace
}  // namespace orvane::testing
