// Whole runs of either build (the Windows one under Wine) on an Xorg of the test's own with two
// monitors, 1920 × 1080 and 1280 × 1024 right of it, from a program folder named outside the
// ANSI code page, as a user's own may be.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>

#include "tests/mci/media_files.h"
#include "tests/renderer/tunnel_pixels.h"
#include "tests/saver/saver_run.h"
#include "tests/support/programs.h"
#include "tests/support/pulse.h"

namespace orvane::testing {
namespace {

using namespace std::chrono_literals;

// /run/user/<uid>, the folder a login manager makes for a session and the host takes when it is
// started without XDG_RUNTIME_DIR, with the test's sound server linked in as pulse/native. What
// is missing is made (that takes root, which the tests have) and removed at the end; what was
// there stays. The name is the machine's, so one test at a time holds it (a lock on /run).
class UsersRuntimeFolder {
 public:
  explicit UsersRuntimeFolder(const std::string& soundSocket) : error(Make(soundSocket)) {}
  // What the programs left in a folder made here goes with it; another user's folder may have
  // come into /run/user meanwhile.
  ~UsersRuntimeFolder() {
    std::error_code ignored;
    for (auto made = made_.rbegin(); made != made_.rend(); ++made)
      *made == "/run/user" ? (void)rmdir(made->c_str())
                           : (void)std::filesystem::remove_all(*made, ignored);
    if (lock_ >= 0) close(lock_);
  }

 private:
  // Why the folder is not ready; "" when it is.
  std::string Make(const std::string& soundSocket) {
    lock_ = open("/run", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (!WaitFor([&] { return lock_ >= 0 && flock(lock_, LOCK_EX | LOCK_NB) == 0; }, 60s, 100ms))
      return "/run cannot be opened, or another test has held it for a minute";
    const std::string folder = "/run/user/" + std::to_string(getuid());
    for (const std::string& made : {std::string("/run/user"), folder, folder + "/pulse"}) {
      if (mkdir(made.c_str(), made == "/run/user" ? 0755 : 0700) == 0)
        made_.push_back(made);
      else if (errno != EEXIST)
        return "cannot make " + made + ": " + std::strerror(errno);
      struct stat info {};
      if (made == folder && (lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) ||
                             info.st_uid != getuid() || (info.st_mode & 07777) != 0700))
        return folder + " is there but not a private folder of the user's own";
    }
    if (symlink(soundSocket.c_str(), (folder + "/pulse/native").c_str()) != 0)
      return folder + "/pulse/native: " + std::strerror(errno);
    made_.push_back(folder + "/pulse/native");
    return "";
  }
  int lock_ = -1;
  std::vector<std::string> made_;  // in the order made

 public:
  const std::string error;  // declared last: Make fills the members above
};

// The monitors' centres on the desktop.
struct Monitor {
  int centreX, centreY;
} constexpr kLeft{960, 540}, kRight{1920 + 640, 512};

// The corner edges' directions round each centre: eight, 45° apart, the same on both monitors
// (one moment of the tunnel). A monitor drawn with another's aspect ratio would squeeze them.
bool RingsAreRegularAndAlike(const Screenshot& shot, std::string& why) {
  const auto left = CornerAngles(shot, kLeft.centreX, kLeft.centreY, 300);
  const auto right = CornerAngles(shot, kRight.centreX, kRight.centreY, 300);
  why = "corner edges: " + std::to_string(left.size()) + " left, " + std::to_string(right.size());
  if (left.size() != 8 || right.size() != 8) return false;
  const auto apart = [](double a, double b) { return std::fmod(a - b + 720.0, 360.0); };
  for (std::size_t i = 0; i < 8; ++i) {
    why += "; " + std::to_string(left[i]) + "/" + std::to_string(right[i]);
    const double shift = apart(left[i], right[i]);
    if (std::abs(apart(left[(i + 1) % 8], left[i]) - 45) > 4 ||
        std::abs(apart(right[(i + 1) % 8], right[i]) - 45) > 4 || std::min(shift, 360 - shift) > 3)
      return false;
  }
  return true;
}

bool ShowsATunnelOnEachMonitor(const Screenshot& shot, std::string& why) {
  if (shot.width != 3200 || shot.height != 1080) return why = "no 3200 x 1080 shot", false;
  for (const Monitor& m : {kLeft, kRight}) {
    if (!ShowsThePictureOnEveryFace(shot, m.centreX, m.centreY, why)) {
      why = "at " + std::to_string(m.centreX) + "," + std::to_string(m.centreY) + ": " + why;
      return false;
    }
  }
  // Below the smaller monitor no monitor shows: the window's black.
  for (const auto& [x, y] : {std::pair{1920, 1024}, {2560, 1050}, {3199, 1079}}) {
    if (!(shot.at(x, y) == Rgb{0, 0, 0})) return why = "not black below the right monitor", false;
  }
  if (shot.at(2560, 1023) == Rgb{0, 0, 0}) return why = "the right monitor ends early", false;
  return RingsAreRegularAndAlike(shot, why);
}

struct Row {
  const char* locale;  // Wine takes its ANSI code page from it: 1252, or 932 for Japanese
  const char* folder;  // a name that code page cannot write
  const char* name;
};
// ctest's test name holds the printed row: its name, not its pointers' bytes, keeps it stable.
void PrintTo(const Row& row, std::ostream* out) {
  *out << row.name;
}

class SaverRun : public ::testing::TestWithParam<Row> {
 protected:
  // The renderer's window once the screen shows what shows() looks for; 0 if it never does.
  unsigned long Drawn(const std::function<bool(const Screenshot&)>& shows, Screenshot& shot) {
    const unsigned long window = programs_.FindWindow("Orvane_VC", 60s);
    const auto drawn = [&] { return shows(shot = TakeScreenshot(xorg_.display())); };
    return window != 0 && WaitFor(drawn, 30s, 100ms) ? window : 0;
  }
  // The first frames may be black or not yet in place: look until the tunnels show.
  unsigned long Tunnels(Screenshot& shot, std::string& why) {
    why = "no window";
    return Drawn([&](const Screenshot& s) { return ShowsATunnelOnEachMonitor(s, why); }, shot);
  }

  // An Xorg reading only its own configuration (an empty folder of snippets).
  TempFolder files_;
  bool configured_ =
      std::filesystem::copy_file(ORVANE_SOURCE_DIR "/tests/saver/two_monitors.xorg.conf",
                                 files_ / "xorg.conf") &&
      std::filesystem::create_directory(files_ / "xorg.conf.d");
  XServer xorg_{"Xorg",
                {"-config", files_ / "xorg.conf", "-configdir", files_ / "xorg.conf.d", "-noreset",
                 "-nolisten", "tcp", "-logfile", files_ / "Xorg.log", "-novtswitch", "-sharevts"}};
  Programs programs_{Build::ORVANE_TEST_BUILD, xorg_.display(), GetParam().locale};
  PulseServer pulse_;
  PulseRecorder heard_{pulse_};
};

// On Linux the host runs without XDG_RUNTIME_DIR, as mate-screensaver starts it, and finds the
// sound server in /run/user/<uid>; openbox gives its window no keyboard: it takes it.
TEST_P(SaverRun, TheRendererAloneTheSaverOnEveryMonitorTheMusicSigtermAndAMissingRenderer) {
  ASSERT_TRUE(configured_ && xorg_.running()) << ReadBytes(files_ / "Xorg.log");
  ASSERT_TRUE(programs_.ready() && pulse_.running() && heard_.running());
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
    ASSERT_EQ(runtime->error, "");
    env = {"XDG_RUNTIME_DIR", "PULSE_SERVER"};
  }
  const auto saver = [&] { return programs_.Start(folder + "/Orvane.scr", {"/s"}, env); };
  const auto renderer = [&] { return programs_.Start(folder + "/Orvane.dll", {}); };
  const std::string picture = programs_.DataDirectory() + "/Orvane.image";

  const std::string printed = programs_.windows() ? "c:\\t_ovin\\Orvane.image" : picture;
  for (const auto& [bytes, error] :  // nothing, then an RLE header of 60000 × 60000 × 3
       {std::pair<std::string, std::string>{"", ": No such file or directory"},
        {std::string("\x01\xda\x01\x01\x00\x03\xea\x60\xea\x60\x00\x03", 12) + std::string(500, 0),
         ": picture of 60000 x 60000 pixels in 3 channels is too large to read"}}) {
    if (!bytes.empty()) WriteBytes(picture, bytes);
    auto refused = renderer();
    EXPECT_EQ(refused->Wait(90s), 1);
    EXPECT_EQ(refused->Stderr(), printed + error + (programs_.windows() ? "\r\n" : "\n"));
  }

  std::size_t before = heard_.Mark();
  auto host = saver();
  Screenshot shot;
  std::string why;
  const unsigned long window = Tunnels(shot, why);
  if (window == 0) shot.SavePpm(::testing::TempDir() + "/orvane-saver-tunnels.ppm");
  ASSERT_NE(window, 0u) << why << "; see orvane-saver-tunnels.ppm in " << ::testing::TempDir()
                        << "\n"
                        << host->Stderr();
  EXPECT_TRUE(WallsAtTheirDepths(shot, kLeft.centreX, kLeft.centreY, 1080, why)) << why;
  EXPECT_EQ(ReadBytes(picture), RampsPicture());
  EXPECT_TRUE(heard_.HeardSince(before, 20s)) << "the chosen MP3 plays";
  if (!programs_.windows()) {
    EXPECT_NE(programs_.Run("xwininfo -id " + std::to_string(window))
                  .second.find("Override Redirect State: yes"),
              std::string::npos);
  }
  auto second = saver();
  EXPECT_EQ(second->Wait(30s), 0);
  EXPECT_EQ(second->Stderr(), "");
  const std::string renderers = programs_.Xdotool("search --maxdepth 1 --name '^Orvane_VC$'");
  if (programs_.windows())  // Wine may give a window a new X window when its style changes
    EXPECT_EQ(std::count(renderers.begin(), renderers.end(), '\n'), 1) << "a second renderer";
  else
    EXPECT_EQ(renderers, std::to_string(window) + "\n") << "a second renderer";
  EXPECT_TRUE(host->Running());
  EXPECT_TRUE(programs_.EscapeUntilGone("Orvane_VC"));
  EXPECT_EQ(host->Wait(20s), 0) << "the host outlived its renderer";
  EXPECT_TRUE(heard_.StaysSilent()) << "the music stopped with the saver";

  if (!programs_.windows()) {
    auto manager = programs_.Start("openbox", {"--sm-disable"});
    // Ready once it names its check window on the root window.
    ASSERT_TRUE(WaitFor(
        [&] {
          return programs_.Run("xprop -root _NET_SUPPORTING_WM_CHECK").second.find("window id") !=
                 std::string::npos;
        },
        20s, 100ms));
    before = heard_.Mark();
    host = saver();
    ASSERT_NE(Tunnels(shot, why), 0u) << why << host->Stderr();
    EXPECT_TRUE(heard_.HeardSince(before, 10s));
    host->Signal(SIGTERM);
    host->Signal(SIGTERM);
    EXPECT_EQ(host->Wait(10s), 0) << "ended by its close step, not by the signal";
    EXPECT_TRUE(heard_.StaysSilent());
    EXPECT_EQ(ProcessesRunning(folder + "/Orvane.dll").size(), 1u) << "the tunnel stays";
    EXPECT_TRUE(programs_.EscapeUntilGone("Orvane_VC"));
    EXPECT_EQ(host->Stderr(), "");
  }

  auto alone = renderer();
  const unsigned long own = Tunnels(shot, why);
  ASSERT_NE(own, 0u) << why << alone->Stderr();
  // Wine's own window handling would close the window on Alt+F4, as Windows does.
  EXPECT_EQ(programs_.Xdotool("mousemove --sync 500 400 key space Return a Z 7 Tab BackSpace Left "
                              "Right Up Down F1 F11 Home Page_Down click 1 click 3 mousemove "
                              "--sync 40 700" +
                              std::string(programs_.windows() ? "" : " key ctrl+c alt+F4")),
            "");
  // Two new frames after the input show that the renderer has read it and runs on.
  int frames = 0;
  EXPECT_TRUE(WaitFor(
      [&] {
        Screenshot now = TakeScreenshot(xorg_.display(), own);
        if (now.valid() && now.pixels != shot.pixels) ++frames, shot = std::move(now);
        return frames == 2;
      },
      30s, 10ms))
      << "ended by input other than Escape";
  EXPECT_TRUE(alone->Running());
  programs_.Xdotool("key Escape");
  EXPECT_EQ(alone->Wait(30s), 0);

  // Each row holds a byte, a 64-byte packet, whose white bytes follow: it ends where its bytes do.
  std::string rows("\x01\xda\x01\x01\x00\x03\x00\x40\x00\x40\x00\x03", 12);
  rows.resize(512, '\0');
  for (int row = 0; row < 3 * 64; ++row) rows += std::string("\x00\x00\x08\x00", 4);
  for (int row = 0; row < 3 * 64; ++row) rows += std::string("\x00\x00\x00\x01", 4);
  WriteBytes(picture, rows + '\xc0' + std::string(64, '\xff'));
  auto cut = renderer();
  // The last tunnel's pixels may stay on the screen a moment: wait for the dark walls too.
  const auto walls = {std::pair{10, 540}, {1909, 540}, {960, 10}, {960, 1069}};
  const auto fogged = [&](const Screenshot& s) {
    if (!s.valid() || !Near(s.at(kLeft.centreX, kLeft.centreY), {153, 153, 0}, 25)) return false;
    for (const auto& [x, y] : walls)
      if (const Rgb wall = s.at(x, y); wall.r >= 80 || wall.g >= 80 || wall.b >= 40) return false;
    return true;
  };
  EXPECT_NE(Drawn(fogged, shot), 0u) << "no fog with dark walls near the edges" << cut->Stderr();
  programs_.Xdotool("key Escape");
  EXPECT_EQ(cut->Wait(30s), 0);

  std::filesystem::remove(folder + "/Orvane.dll");
  std::filesystem::remove(picture);
  host = saver();
  const unsigned long box = programs_.FindWindow("Orvane \\(ScreenSaver\\)");
  ASSERT_NE(box, 0u) << host->Stderr();
  const std::string text = "Orvane.dll が同じﾌｫﾙﾀﾞに見つかりません！";
  EXPECT_EQ(programs_.MessageText("Orvane (ScreenSaver)").value_or(text), text);
  EXPECT_FALSE(host->Wait(300ms)) << "it waits for the user";
  programs_.Xdotool("windowfocus --sync " + std::to_string(box) + " key Return");
  EXPECT_EQ(host->Wait(20s), 0);
  EXPECT_FALSE(std::filesystem::exists(picture));
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
