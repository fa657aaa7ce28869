// The Windows Orvane.scr /c under Wine as a user meets it, on an Xvfb and in a Wine prefix of
// each test's own: the dialog's window, the Command button's looks under real pointer moves,
// presses and Tab, the real file dialog, the settings file it leaves, and the saver that then
// plays the chosen WAV, heard on a PulseAudio null sink of the test's own.

#include <gtest/gtest.h>

// Xlib after the test framework, which its macros (None, Bool) would break.
#include <X11/Xlib.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sstream>
#include <thread>

#include "tests/dialog/form_places.h"
#include "tests/mci/media_files.h"
#include "tests/support/another_user.h"
#include "tests/support/child.h"
#include "tests/support/pulse.h"
#include "tests/support/screenshot.h"
#include "tests/support/temp_folder.h"
#include "tests/support/xscreensaver.h"
#include "tests/support/xvfb.h"
#include "tests/windows/wine_probe.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;
using namespace orvane::testing;

const std::string kBin = ORVANE_WINDOWS_BIN_DIR;
const std::string kPrograms = ORVANE_WINDOWS_TEST_PROGRAMS;

// The keys as a Japanese Windows wrote them: code page 932 bytes.
const std::string kKindKey = "BGM\x8B\xE6\x95\xAA";
const std::string kRepeatKey = "BGM\xD8\xCB\xDF\xB0\xC4";
const std::string kFileKey = "BGM\xCC\xA7\xB2\xD9";

// The face's left band at the middle row, column 2: a different colour in every look.
const Rgb kNormal{0xF4, 0xF4, 0xF0};
const Rgb kHighLight{0xFC, 0xCA, 0x69};
const Rgb kSelected{0xA9, 0xC5, 0xEF};
const Rgb kPressed{0x00, 0x3C, 0x74};
const Rgb kDisable{0xF5, 0xF4, 0xEA};

std::string Text(Rgb c) {
  char text[16];
  std::snprintf(text, sizeof text, "%02X%02X%02X", c.r, c.g, c.b);
  return text;
}

class DialogWineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(xvfb_.running());
    for (const char* name : {"Orvane.scr", "Orvane.dll", "Orvane.image"}) {
      ASSERT_TRUE(std::filesystem::exists(kBin + "/" + name)) << "scripts/windows.sh builds it";
      std::filesystem::copy_file(kBin + "/" + name, folder_ / name);
    }
    if (asNobody_) {
      // The prefix and the home are the user's; the programs' folder stays root's.
      ASSERT_TRUE(GiveToAnotherUser(prefix_.path()) && GiveToAnotherUser(home_.path()));
      OpenToAll(folder_.path());
    }
    ASSERT_EQ(Shell("wineboot -i >/dev/null 2>&1").first, 0);
    for (const std::string& command : JapaneseFontLinkCommands())
      ASSERT_EQ(Shell(command).first, 0) << command;
    ASSERT_EQ(Shell("wineserver -w").first, 0);
    display_ = XOpenDisplay(xvfb_.display().c_str());
    ASSERT_NE(display_, nullptr);
  }
  void TearDown() override {
    host_.reset();
    // Each call in this prefix: a bare second command would ask the caller's own server.
    Shell("wineserver -k");
    Shell("wineserver -w");
    if (display_ != nullptr) XCloseDisplay(display_);
  }

  std::vector<std::string> Environment() const {
    std::vector<std::string> environment{"DISPLAY=" + xvfb_.display(),
                                         "WINEPREFIX=" + prefix_.path(), "WINEDEBUG=-all",
                                         "LANG=C.UTF-8", "LC_ALL=C.UTF-8"};
    if (asNobody_) environment.push_back("HOME=" + home_.path());
    return environment;
  }
  // argv run in this prefix, as nobody when the test asks for it.
  std::vector<std::string> AsUser(std::vector<std::string> argv) const {
    return asNobody_ ? AsNobody(Environment(), argv) : argv;
  }
  std::pair<int, std::string> Shell(const std::string& command) {
    std::string environment;
    for (const std::string& pair : Environment()) environment += "'" + pair + "' ";
    const std::string user = asNobody_ ? "setpriv --reuid=nobody --regid=nogroup --clear-groups "
                                         "env -i PATH=/usr/bin:/bin "
                                       : "env ";
    return RunShell(user + environment + command + " 2>/dev/null");
  }
  // Windows sets no DISPLAY, and freeglut in the renderer would take one for a device name.
  void StartHost(const std::string& mode, std::vector<std::string> env = {}) {
    std::vector<std::string> all = Environment();
    all.insert(all.end(), env.begin(), env.end());
    const std::vector<std::string> argv{
        "wine", "cmd", "/c",
        "set DISPLAY=&& " + (hostPath_.empty() ? WindowsPath(folder_ / "Orvane.scr") : hostPath_) +
            " " + mode};
    host_ = asNobody_ ? std::make_unique<Child>(AsNobody(all, argv))
                      : std::make_unique<Child>(argv, all);
    ASSERT_TRUE(host_->started());
  }
  std::string Xdotool(const std::string& arguments) {
    return RunShell("DISPLAY=" + xvfb_.display() + " xdotool " + arguments + " 2>/dev/null").second;
  }
  unsigned long FindWindow(const std::string& title, std::chrono::milliseconds timeout = 30s) {
    unsigned long window = 0;
    WaitFor(
        [&] {
          const std::string found =
              Xdotool("search --onlyvisible --maxdepth 1 --name '^" + title + "$'");
          return (window = std::strtoul(found.c_str(), nullptr, 10)) != 0;
        },
        timeout, 100ms);
    return window;
  }

  // Opens the dialog and keeps its window, whose X window is the client area.
  void StartDialog() {
    StartHost("/c");
    dialog_ = FindWindow("<Orvane>", 60s);
    ASSERT_NE(dialog_, 0u) << host_->Stderr();
    std::istringstream geometry(Xdotool("getwindowgeometry --shell " + std::to_string(dialog_)));
    for (std::string line; std::getline(geometry, line);) {
      const auto at = line.find('=');
      if (at == std::string::npos) continue;
      const int value = std::atoi(line.c_str() + at + 1);
      const std::string name = line.substr(0, at);
      if (name == "X") origin_.X = value;
      if (name == "Y") origin_.Y = value;
      if (name == "WIDTH") size_.X = value;
      if (name == "HEIGHT") size_.Y = value;
    }
    std::this_thread::sleep_for(300ms);
  }
  void MoveTo(int x, int y) { Xdotool("mousemove " + std::to_string(x) + " " + std::to_string(y)); }
  // Moves over a point of the form in two steps, so that the control sees the pointer move.
  void MoveOver(DialogPoint at) {
    MoveTo(origin_.X + at.X - 2, origin_.Y + at.Y);
    std::this_thread::sleep_for(50ms);
    MoveTo(origin_.X + at.X, origin_.Y + at.Y);
    std::this_thread::sleep_for(150ms);
  }
  void Click(std::string_view name, int index = -1) {
    MoveOver(CentreInForm(name, index));
    Xdotool("click 1");
    std::this_thread::sleep_for(200ms);
  }
  // Off every window of the dialog: the desktop's corner.
  void MoveOff() { MoveTo(5, 5); }

  // The file button's look, as the screen shows it, once it is the expected one (or the last
  // one seen).
  Rgb FileButtonLook(Rgb expected) {
    const DialogRect button = InForm("Cmd_File");
    Rgb seen;
    WaitFor(
        [&] {
          const Screenshot shot = TakeScreenshot(xvfb_.display(), dialog_);
          if (!shot.valid()) return false;
          seen = shot.at(button.X + 2, button.Y + 12);
          return Near(seen, expected, 2);
        },
        2s, 50ms);
    return seen;
  }

  // "MP3、WAV", then "..." and the file's path typed into Wine's file dialog, which takes it.
  void ChooseMusicFile(const std::string& path) {
    Click("lbl_BGM", 2);  // "MP3、WAV"
    Click("Cmd_File");    // "..."
    const unsigned long chooser = FindWindow("ﾌｧｲﾙを開く");
    ASSERT_NE(chooser, 0u) << "the file dialog opens";
    std::this_thread::sleep_for(500ms);
    // Its file name box has the focus.
    Xdotool("windowfocus " + std::to_string(chooser));
    std::this_thread::sleep_for(200ms);
    Xdotool("type --delay 20 '" + WindowsPath(path) + "'");
    std::this_thread::sleep_for(200ms);
    Xdotool("key Return");
    ASSERT_TRUE(WaitFor([&] { return FindWindow("ﾌｧｲﾙを開く", 0ms) == 0; }, 10s))
        << "the file dialog takes the typed path";
    std::this_thread::sleep_for(300ms);
  }
  std::optional<std::string> Settings() const {
    if (!std::filesystem::exists(folder_ / "Orvane.ini")) return std::nullopt;
    return ReadBytes(folder_ / "Orvane.ini");
  }

  // What a window manager sends when the title bar's close box is pressed.
  void PressCloseBox() {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = dialog_;
    event.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display_, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display_, dialog_, False, NoEventMask, &event);
    XFlush(display_);
  }

  // Set by a fixture before SetUp: Wine then runs as nobody, for whom read-only files and
  // folders hold (Wine run as root passes them).
  bool asNobody_ = false;
  Xvfb xvfb_;
  TempFolder home_;
  TempFolder prefix_;
  TempFolder folder_;
  // The Windows path Orvane.scr is run from, when not the one in folder_.
  std::string hostPath_;
  Display* display_ = nullptr;
  std::unique_ptr<Child> host_;
  unsigned long dialog_ = 0;
  DialogPoint origin_;
  DialogPoint size_;
};

// /c opens "<Orvane>" with a 492 x 246 client area at 96 dpi. The file button shows Disable
// until "MP3、WAV" is chosen, then Normal; HighLight under the pointer and Normal when it
// leaves; Selected by Tab; Pressed while held; a press dragged off and released outside shows
// Selected and opens no file dialog. "ｷｬﾝｾﾙ", and in a second run the close box, end the host
// and write nothing.
TEST_F(DialogWineTest, TheButtonsLooksFollowThePointerAndTabAndClosingWritesNothing) {
  StartDialog();
  EXPECT_EQ(size_, (DialogPoint{492, 246}));
  const Screenshot shot = TakeScreenshot(xvfb_.display(), dialog_);
  ASSERT_EQ(shot.width, 492);
  ASSERT_EQ(shot.height, 246);
  EXPECT_TRUE(Near(shot.at(486, 123), {220, 220, 250}, 1)) << "the band's light middle";

  EXPECT_TRUE(Near(FileButtonLook(kDisable), kDisable, 2)) << "no music chosen: disabled";
  Click("lbl_BGM", 2);  // "MP3、WAV"
  MoveOff();
  EXPECT_TRUE(Near(FileButtonLook(kNormal), kNormal, 2)) << Text(FileButtonLook(kNormal));
  MoveOver(CentreInForm("Cmd_File"));
  EXPECT_TRUE(Near(FileButtonLook(kHighLight), kHighLight, 2)) << Text(FileButtonLook(kHighLight));
  MoveOff();
  EXPECT_TRUE(Near(FileButtonLook(kNormal), kNormal, 2)) << "the hover tick saw the pointer go";

  // The keyboard goes where the X focus is: on the dialog, as a click on its title would put it.
  Xdotool("windowfocus " + std::to_string(dialog_));
  Xdotool("key Tab");
  EXPECT_TRUE(Near(FileButtonLook(kSelected), kSelected, 2)) << Text(FileButtonLook(kSelected));
  Xdotool("key Return");
  Xdotool("key space");
  std::this_thread::sleep_for(700ms);
  EXPECT_EQ(FindWindow("ﾌｧｲﾙを開く", 0ms), 0u) << "Enter and space click nothing";

  MoveOver(CentreInForm("Cmd_File"));
  Xdotool("mousedown 1");
  EXPECT_TRUE(Near(FileButtonLook(kPressed), kPressed, 2)) << Text(FileButtonLook(kPressed));
  MoveOff();
  EXPECT_TRUE(Near(FileButtonLook(kSelected), kSelected, 2)) << "held and left: Selected";
  Xdotool("mouseup 1");
  std::this_thread::sleep_for(1s);
  EXPECT_EQ(FindWindow("ﾌｧｲﾙを開く", 0ms), 0u) << "released off the button: no file dialog";
  EXPECT_TRUE(host_->Running());

  Click("Cmd_Can");  // "ｷｬﾝｾﾙ"
  EXPECT_EQ(host_->Wait(20s), 0);
  EXPECT_FALSE(Settings());

  StartDialog();
  Click("lbl_BGM", 1);  // "音楽CD"
  PressCloseBox();
  EXPECT_EQ(host_->Wait(20s), 0);
  EXPECT_FALSE(Settings());
}

// "MP3、WAV", a WAV picked in the real file dialog by typing its path, then "設定": the three
// keys in code page 932 bytes and the path. The saver started next plays it until Escape.
TEST_F(DialogWineTest, AFileChosenAndSetIsWrittenAndTheSaverPlaysIt) {
  const std::string wav = folder_ / "music/a tone.wav";
  std::filesystem::create_directories(folder_ / "music");
  WriteWav(wav, 1.0, 880);

  StartDialog();
  ChooseMusicFile(wav);
  ASSERT_FALSE(HasFatalFailure());
  EXPECT_FALSE(Settings()) << "nothing is written before 設定";
  Click("Cmd_Set");  // "設定"
  EXPECT_EQ(host_->Wait(20s), 0) << "the host ends when the dialog has closed";
  EXPECT_EQ(Settings(), "[Section]\r\n" + kKindKey + "=2\r\n" + kRepeatKey + "=0\r\n" + kFileKey +
                            "=" + WindowsPath(wav) + "\r\n");

  PulseServer sound;
  ASSERT_TRUE(sound.running()) << "pulseaudio did not start";
  PulseRecorder heard(sound);
  ASSERT_TRUE(heard.running());
  const std::size_t before = heard.Mark();
  StartHost("/s", sound.env());
  ASSERT_NE(FindWindow("Orvane_VC", 60s), 0u) << host_->Stderr();
  EXPECT_TRUE(heard.HeardSince(before, 20s)) << "the tone of the chosen file arrives";
  Xdotool("key Escape");
  EXPECT_EQ(host_->Wait(20s), 0);
}

// A WAV named outside the ANSI code page (1252 here), picked in the real file dialog: the
// settings keep its short name, plain ASCII with a "~", rather than a best-fit look-alike.
TEST_F(DialogWineTest, AFileNamedOutsideTheCodePageIsKeptByItsShortName) {
  std::filesystem::create_directories(folder_ / "music");
  WriteWav(folder_ / "music/ゲーム.wav", 1.0, 880);
  StartDialog();
  ChooseMusicFile(folder_ / "music/ゲーム.wav");
  ASSERT_FALSE(HasFatalFailure());
  EXPECT_EQ(FindWindow("Orvane \\(ScreenSaver\\)", 0ms), 0u) << "no message: it fits";
  Click("Cmd_Set");  // "設定"
  EXPECT_EQ(host_->Wait(20s), 0);
  const std::string prefix =
      "[Section]\r\n" + kKindKey + "=2\r\n" + kRepeatKey + "=0\r\n" + kFileKey + "=";
  const std::string settings = Settings().value_or("");
  ASSERT_EQ(settings.substr(0, prefix.size()), prefix) << settings;
  // Every folder of the path may be shortened too.
  const std::string name = settings.substr(prefix.size());
  EXPECT_EQ(name.substr(0, 3), "Z:\\") << name;
  EXPECT_NE(name.find('~'), std::string::npos) << name;
  EXPECT_EQ(name.substr(name.size() - 6), ".WAV\r\n") << name;
  for (const char c : name) EXPECT_LT(static_cast<unsigned char>(c), 0x80) << name;
}

// The repeat box reads the whole text typed, however narrow it is: "12345" is kept, "40000"
// does not fit 16 bits and saves 0, "7.5" rounds to 8.
TEST_F(DialogWineTest, TheRepeatBoxReadsTheWholeTextTyped) {
  for (const auto& [typed, saved] :
       {std::pair{"12345", "12345"}, std::pair{"40000", "0"}, std::pair{"7.5", "8"}}) {
    SCOPED_TRACE(typed);
    std::filesystem::remove(folder_ / "Orvane.ini");
    StartDialog();
    Click("lbl_BGM", 1);  // "音楽CD"
    Xdotool("windowfocus " + std::to_string(dialog_));
    const DialogRect box = InForm("BGM_Repeat");
    MoveOver(DialogPoint{box.X + 8, box.Y + box.Height / 2});  // its edit, left of the arrow
    Xdotool("click 1");
    std::this_thread::sleep_for(200ms);
    Xdotool("type --delay 50 '" + std::string(typed) + "'");
    std::this_thread::sleep_for(200ms);
    Click("Cmd_Set");  // "設定"
    EXPECT_EQ(host_->Wait(20s), 0);
    EXPECT_EQ(Settings(), "[Section]\r\n" + kKindKey + "=1\r\n" + kRepeatKey + "=" + saved +
                              "\r\n" + kFileKey + "=\r\n");
  }
}

// The pixels of a rectangle of the 96 dpi form (shot96) that differ from the same place of the
// form drawn f times as large (shot), each taken at its centre.
int UnlikeScaled(const Screenshot& shot96, const Screenshot& shot, double f,
                 const DialogRect& at96) {
  int differing = 0;
  for (int y = at96.Y; y < at96.Y + at96.Height; ++y) {
    for (int x = at96.X; x < at96.X + at96.Width; ++x) {
      const Rgb scaled = shot.at(static_cast<int>((x + 0.5) * f), static_cast<int>((y + 0.5) * f));
      if (!Near(scaled, shot96.at(x, y), 2)) ++differing;
    }
  }
  return differing;
}

// At 120 and 144 dpi the whole form grows by the same factor: the panel's background tile (no
// seam where a second 556-pixel column would start) and the choice marks beside their labels.
TEST_F(DialogWineTest, ThePanelsTileAndMarksGrowWithTheScreensDensity) {
  const auto shotAt = [&](int dpi) {
    EXPECT_EQ(Shell("wine reg add 'HKCU\\Control Panel\\Desktop' /v LogPixels /t REG_DWORD /d " +
                    std::to_string(dpi) + " /f >/dev/null")
                  .first,
              0);
    Shell("wineserver -w");
    StartDialog();
    Screenshot shot = TakeScreenshot(xvfb_.display(), dialog_);
    PressCloseBox();
    EXPECT_EQ(host_->Wait(20s), 0);
    return shot;
  };
  const Screenshot shot96 = shotAt(96);
  ASSERT_EQ(std::pair(shot96.width, shot96.height), std::pair(492, 246));
  // The panel starts at (12, 16); its right part holds nothing but the tile, and the three
  // marks are 12 x 12 at (28, 56), (28, 76) and (28, 96) in it.
  const DialogRect tile96{12 + 300, 16 + 2, 150, 48};
  for (const auto& [dpi, size] :
       {std::pair{120, std::pair(615, 308)}, std::pair{144, std::pair(738, 369)}}) {
    SCOPED_TRACE(dpi);
    const Screenshot shot = shotAt(dpi);
    ASSERT_EQ(std::pair(shot.width, shot.height), size);
    const double f = dpi / 96.0;
    EXPECT_EQ(UnlikeScaled(shot96, shot, f, tile96), 0) << "tile pixels";
    for (int top : {56, 76, 96}) {
      EXPECT_EQ(UnlikeScaled(shot96, shot, f, DialogRect{12 + 28, 16 + top, 12, 12}), 0)
          << "pixels of the mark at " << top;
    }
    if (::testing::Test::HasFailure()) {
      shot96.SavePpm(::testing::TempDir() + "/orvane-wine-96dpi.ppm");
      shot.SavePpm(::testing::TempDir() + "/orvane-wine-" + std::to_string(dpi) + "dpi.ppm");
    }
  }
}

class DialogWineAsUserTest : public DialogWineTest {
 protected:
  DialogWineAsUserTest() { asNobody_ = true; }

  // The mark of choice index is the chosen one's: blue.
  bool Chosen(int index) {
    const Screenshot shot = TakeScreenshot(xvfb_.display(), dialog_);
    const DialogRect mark = InForm("Img_BGM", index);
    const Rgb centre = shot.at(mark.X + 6, mark.Y + 6);
    return shot.valid() && centre.b > centre.r + 100;
  }
};

// As a user who cannot write the programs' folder: the settings there show until the user's
// own exist, and nothing is made in %APPDATA% before "設定", which writes them to
// %APPDATA%\Orvane\Orvane.ini. With that file read-only, "設定" says so, naming the file and the
// system's reason, and the dialog stays open with the choice.
TEST_F(DialogWineAsUserTest, SettingsBesideTheProgramsCarryOverAndAFailedSaveIsTold) {
  // Installed by an administrator (root) in C:\Orvane.
  const std::filesystem::path programs_ = prefix_ / "drive_c/Orvane";
  hostPath_ = "C:\\Orvane\\Orvane.scr";
  std::filesystem::create_directories(programs_);
  for (const char* name : {"Orvane.scr", "Orvane.dll", "Orvane.image"})
    std::filesystem::copy_file(folder_ / name, programs_ / name);
  const std::string beside = "[Section]\r\n" + kKindKey + "=1\r\n" + kRepeatKey + "=7\r\n";
  WriteBytes(programs_ / "Orvane.ini", beside);
  OpenToAll(programs_);
  const std::filesystem::path own = prefix_ / "drive_c/users/nobody/AppData/Roaming/Orvane";
  StartDialog();
  EXPECT_TRUE(Chosen(1)) << "音楽CD, from the file beside the programs";
  Click("Cmd_Can");  // "ｷｬﾝｾﾙ"
  EXPECT_EQ(host_->Wait(20s), 0);
  EXPECT_FALSE(std::filesystem::exists(own)) << "nothing is made before 設定";

  StartDialog();
  Click("Cmd_Set");  // "設定"
  EXPECT_EQ(host_->Wait(20s), 0);
  const std::string carried = beside + kFileKey + "=\r\n";
  EXPECT_EQ(ReadBytes(own / "Orvane.ini"), carried);
  EXPECT_EQ(ReadBytes(programs_ / "Orvane.ini"), beside);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(programs_), {}), 4)
      << "no probe left beside the programs";

  std::filesystem::permissions(own / "Orvane.ini", std::filesystem::perms(0444));
  StartDialog();
  Click("lbl_BGM", 0);  // "なし"
  Click("Cmd_Set");
  const unsigned long box = FindWindow("Orvane \\(ScreenSaver\\)");
  ASSERT_NE(box, 0u) << host_->Stderr();
  // The box shows the line break as Windows keeps it in a static control: CR LF.
  auto reader = std::make_unique<Child>(AsNobody(
      Environment(), {"wine", kPrograms + "/message_box_text.exe", "Orvane (ScreenSaver)"}));
  EXPECT_EQ(reader->Wait(30s), 0);
  EXPECT_EQ(
      reader->Stdout(),
      "設定ﾌｧｲﾙに書き込めません！\r\nC:\\users\\nobody\\AppData\\Roaming\\Orvane\\Orvane.ini: "
      "Access denied.");
  Xdotool("key Return");
  ASSERT_TRUE(WaitFor([&] { return FindWindow("Orvane \\(ScreenSaver\\)", 0ms) == 0; }, 10s));
  std::this_thread::sleep_for(500ms);
  EXPECT_TRUE(host_->Running()) << "the dialog stays open";
  EXPECT_TRUE(Chosen(0)) << "with なし chosen";
  Click("Cmd_Can");
  EXPECT_EQ(host_->Wait(20s), 0);
  EXPECT_EQ(ReadBytes(own / "Orvane.ini"), carried);
}

}  // namespace
}  // namespace orvane
