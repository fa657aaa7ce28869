// The settings dialog as a user meets it: Orvane.scr /c on an X server of the test's own,
// driven with real pointer moves, clicks and key presses (xdotool), the settings file it
// leaves behind, and the saver that then plays the chosen file.
#include <gtest/gtest.h>

// Xlib after the test framework, which its macros (None, Bool) would break.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <array>
#include <atomic>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <thread>

#include "platform/linux/x11_platform.h"
#include "tests/dialog/form_places.h"
#include "tests/mci/media_files.h"
#include "tests/support/another_user.h"
#include "tests/support/child.h"
#include "tests/support/pulse.h"
#include "tests/support/screenshot.h"
#include "tests/support/xscreensaver.h"
#include "tests/support/xvfb.h"

namespace orvane {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// The part of a window manager that tells the frame it will put around a window before the
// window is shown (_NET_REQUEST_FRAME_EXTENTS): this one a border of 5 pixels with a title bar
// of 25. It frames and moves nothing.
class FrameTeller {
 public:
  explicit FrameTeller(const std::string& display) : display_(XOpenDisplay(display.c_str())) {
    if (display_ == nullptr) return;
    Atom request = XInternAtom(display_, "_NET_REQUEST_FRAME_EXTENTS", False);
    const Window root = DefaultRootWindow(display_);
    XChangeProperty(display_, root, XInternAtom(display_, "_NET_SUPPORTED", False), XA_ATOM, 32,
                    PropModeReplace, reinterpret_cast<unsigned char*>(&request), 1);
    XSelectInput(display_, root, SubstructureNotifyMask);
    XSync(display_, False);
    thread_ = std::thread([this, request] {
      const Atom extents = XInternAtom(display_, "_NET_FRAME_EXTENTS", False);
      long frame[4] = {5, 5, 25, 5};  // left, right, top, bottom
      while (!stop_) {
        while (XPending(display_) > 0) {
          XEvent event{};
          XNextEvent(display_, &event);
          if (event.type != ClientMessage || event.xclient.message_type != request) continue;
          XChangeProperty(display_, event.xclient.window, extents, XA_CARDINAL, 32, PropModeReplace,
                          reinterpret_cast<unsigned char*>(frame), 4);
          XFlush(display_);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
      }
    });
  }
  ~FrameTeller() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    if (display_ != nullptr) XCloseDisplay(display_);
  }
  FrameTeller(const FrameTeller&) = delete;
  FrameTeller& operator=(const FrameTeller&) = delete;

 private:
  Display* display_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

class SettingsDialogEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(xvfb.running());
    // The host in a folder of its own, with its two companions beside it.
    const fs::path bin = fs::path(testing::ProgramPath("Orvane.scr")).parent_path();
    fs::copy_file(bin / "Orvane.scr", folder + "/Orvane.scr");
    for (const char* companion : {"Orvane.image", "Orvane.dll"}) {
      fs::copy_file(bin / companion, folder + "/" + companion);
    }
    // A path well over the 255 bytes a Windows profile read would give back.
    const std::string shelf = folder +
                              "/music/音楽の棚のいちばん奥にしまってある古いアルバム/"
                              "もう聴かなくなった曲ばかりを集めた箱";
    fs::create_directories(shelf);
    // The file's own name is plain ASCII, so that it can be typed as it is (see below).
    song = shelf + "/朝にもう一度だけ聴きたくなる静かな歌の長い名前の二枚目の最後に入っている";
    fs::create_directories(song);
    song += "/Morning Song.MP3";
    ASSERT_GT(song.size(), 268u);
    ASSERT_TRUE(testing::WriteMp3(song, 3.0, 440));
    display = XOpenDisplay(xvfb.display().c_str());
    ASSERT_NE(display, nullptr);
    finder = MakeX11WindowFinder(display);
    geometry = MakeX11WindowGeometry(display);
  }
  void TearDown() override {
    host.reset();
    if (display != nullptr) XCloseDisplay(display);
  }

  // Starts the dialog and waits until it shows where `placed` says: the rectangle of the window
  // and the frame it was told of.
  void StartDialog(Rect placed = Rect{266, 174, 758, 420}) {
    StartHost("/c");
    ASSERT_TRUE(testing::WaitFor([&] { return finder->FindWindow("<Orvane>") != 0; }, 10s));
    const WindowHandle dialog = finder->FindWindow("<Orvane>");
    std::optional<Rect> rect;
    // The window is mapped once the opening effect is over.
    ASSERT_TRUE(testing::WaitFor(
        [&] {
          XWindowAttributes attributes{};
          if (!XGetWindowAttributes(display, dialog, &attributes)) return false;
          rect = geometry->GetWindowRect(dialog);
          return attributes.map_state == IsViewable && rect.has_value();
        },
        10s));
    origin = {rect->left, rect->top};
    EXPECT_EQ(*rect, placed) << "centred, a third of the way down";
    std::this_thread::sleep_for(300ms);
  }

  void Xdotool(const std::string& arguments) {
    const std::string command = "DISPLAY=" + xvfb.display() + " xdotool " + arguments;
    ASSERT_EQ(testing::RunShell(command).first, 0) << command;
  }
  // Points at a control, moves over it, then clicks: a Command button answers a click only
  // when the pointer has moved over it first.
  void Click(std::string_view name, int index = -1) { ClickAt(testing::CentreInForm(name, index)); }
  void ClickAt(DialogPoint at) {
    MoveOver(at);
    Xdotool("click 1");
  }
  void MoveOver(DialogPoint at) {
    Xdotool("mousemove " + std::to_string(origin.X + at.X - 2) + " " +
            std::to_string(origin.Y + at.Y));
    std::this_thread::sleep_for(50ms);
    Xdotool("mousemove " + std::to_string(origin.X + at.X) + " " + std::to_string(origin.Y + at.Y));
    std::this_thread::sleep_for(150ms);
  }

  // What a window manager sends when the dialog's close box is pressed.
  void PressCloseBox() {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = finder->FindWindow("<Orvane>");
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    XSendEvent(display, event.xclient.window, False, NoEventMask, &event);
    XFlush(display);
  }

  std::optional<int> WaitForExit() { return host->Wait(30s); }
  // Clicks until done() holds: a click that came before the dialog was ready to take it
  // (on a busy machine) is given again.
  bool ClickUntil(std::string_view name, const std::function<bool()>& done) {
    for (int attempt = 0; attempt < 4; ++attempt) {
      Click(name);
      if (testing::WaitFor(done, 8s, 50ms)) return true;
    }
    return false;
  }
  void StartHost(const std::string& mode, std::vector<std::string> env = {}) {
    env.push_back("DISPLAY=" + xvfb.display());
    env.push_back("XDG_CACHE_HOME=" + folder + "/cache");
    env.push_back("XDG_CONFIG_HOME=" + folder + "/config");
    env.push_back("XDG_DATA_HOME=" + folder + "/data");
    env.push_back("GTK_THEME=Adwaita");
    std::vector<std::string> argv{folder + "/Orvane.scr", mode};
    if (asNobody) {
      env.push_back("HOME=" + folder + "/home");
      argv = testing::AsNobody(env, argv);
      env.clear();
    }
    host = std::make_unique<testing::Child>(argv, env);
    ASSERT_TRUE(host->started());
  }

  std::optional<std::string> Settings() const {
    if (!fs::exists(folder + "/Orvane.ini")) return std::nullopt;
    return testing::ReadBytes(folder + "/Orvane.ini");
  }

  bool asNobody = false;
  testing::Xvfb xvfb;
  testing::TempFolder temp;
  std::string folder = temp.path();
  std::string song;
  Display* display = nullptr;
  std::unique_ptr<WindowFinder> finder;
  std::unique_ptr<WindowGeometry> geometry;
  std::unique_ptr<testing::Child> host;
  DialogPoint origin;
};

TEST_F(SettingsDialogEndToEnd, ChoosingAFileAndSettingWritesTheSettingsFile) {
  StartDialog();
  Click("lbl_BGM", 2);  // "MP3、WAV"
  // enabled only now
  ASSERT_TRUE(ClickUntil("Cmd_File", [&] { return finder->FindWindow("ﾌｧｲﾙを開く") != 0; }))
      << "the file dialog opens";
  // The chooser's window once it shows (another window of that title is never mapped).
  std::string chooser;
  ASSERT_TRUE(testing::WaitFor(
      [&] {
        chooser = testing::RunShell("DISPLAY=" + xvfb.display() +
                                    " xdotool search --onlyvisible --name '^ﾌｧｲﾙを開く$'")
                      .second;
        return !chooser.empty();
      },
      30s, 100ms));
  chooser = chooser.substr(0, chooser.find('\n'));
  // The folder goes into the location box as a file URI, every byte but plain ASCII escaped
  // (xdotool can lose characters that are not on the keyboard when the machine is busy), the
  // file's name as it is. It is typed again until the chooser takes it.
  const std::size_t slash = song.rfind('/');
  std::string uri = "file://";
  for (unsigned char c : song.substr(0, slash + 1)) {
    char escaped[4];
    std::snprintf(escaped, sizeof escaped, "%%%02X", c);
    uri += std::isalnum(c) || c == '/' || c == '.' || c == '-' ? std::string(1, char(c)) : escaped;
  }
  uri += song.substr(slash + 1);
  bool taken = false;
  for (int attempt = 0; attempt < 4 && !taken; ++attempt) {
    Xdotool("windowfocus --sync " + chooser);
    Xdotool("key --clearmodifiers ctrl+l");
    std::this_thread::sleep_for(300ms);
    Xdotool("key --clearmodifiers ctrl+a");
    Xdotool("type --delay 5 '" + uri + "'");
    Xdotool("key Return");
    taken = testing::WaitFor([&] { return finder->FindWindow("ﾌｧｲﾙを開く") == 0; }, 8s, 50ms);
  }
  ASSERT_TRUE(taken) << "the file dialog takes the typed path";
  EXPECT_FALSE(Settings()) << "nothing is written before 設定";
  EXPECT_TRUE(ClickUntil("Cmd_Set", [&] { return !host->Running(); }));  // "設定"
  EXPECT_EQ(WaitForExit(), 0) << "the host ends when the dialog has closed";
  ASSERT_EQ(Settings(),
            "[Section]\r\nBGM\x8B\xE6\x95\xAA=2\r\nBGM\xD8\xCB\xDF\xB0\xC4=0\r\n"
            "BGM\xCC\xA7\xB2\xD9=" +
                song + "\r\n");

  // The saver started next plays that file, heard on a sound server of the test's own.
  testing::PulseServer sound;
  ASSERT_TRUE(sound.running());
  testing::PulseRecorder heard(sound);
  ASSERT_TRUE(heard.running());
  const std::size_t before = heard.Mark();
  StartHost("/s", sound.env());
  EXPECT_TRUE(testing::WaitFor([&] { return heard.PeakSince(before) > 3000; }, 30s, 50ms))
      << "the tone of the chosen file arrives";
  // Escape ends the tunnel, and the saver with it (pressed again if the first came too early).
  for (int attempt = 0; attempt < 5 && host->Running(); ++attempt) {
    if (finder->FindWindow("Orvane_VC") != 0) Xdotool("key Escape");
    host->Wait(2s);
  }
  EXPECT_EQ(WaitForExit(), 0);
}

// No control has the focus when the dialog opens, so a press on the file button that is
// dragged off it shows Selected and opens nothing; then a track typed into the repeat box is
// what gets saved.
TEST_F(SettingsDialogEndToEnd, APressDraggedOffClicksNothingAndTheTypedTrackIsSaved) {
  StartDialog();
  Click("lbl_BGM", 2);  // "MP3、WAV"
  MoveOver(testing::CentreInForm("Cmd_File"));
  Xdotool("mousedown 1");
  std::this_thread::sleep_for(150ms);
  Xdotool("mousemove 5 5");  // the desktop, off the dialog
  const DialogRect button = testing::InForm("Cmd_File");
  const WindowHandle dialog = finder->FindWindow("<Orvane>");
  EXPECT_TRUE(testing::WaitFor(
      [&] {
        const testing::Screenshot shot = testing::TakeScreenshot(xvfb.display(), dialog);
        return testing::Near(shot.at(button.X + 2, button.Y + 12), {0xA9, 0xC5, 0xEF}, 2);
      },
      3s))
      << "the button held and left shows Selected";
  Xdotool("mouseup 1");
  std::this_thread::sleep_for(700ms);
  EXPECT_EQ(finder->FindWindow("ﾌｧｲﾙを開く"), 0u) << "released off the button: no file dialog";

  Click("lbl_BGM", 1);  // "音楽CD"
  const DialogRect repeat = testing::InForm("BGM_Repeat");
  ClickAt({repeat.X + 6, repeat.Y + repeat.Height / 2});  // the box's text, not its arrow
  Xdotool("key --clearmodifiers ctrl+a");
  Xdotool("type --delay 20 '12'");
  EXPECT_TRUE(ClickUntil("Cmd_Set", [&] { return !host->Running(); }));
  EXPECT_EQ(WaitForExit(), 0);
  EXPECT_EQ(Settings(),
            "[Section]\r\nBGM\x8B\xE6\x95\xAA=1\r\nBGM\xD8\xCB\xDF\xB0\xC4=12\r\n"
            "BGM\xCC\xA7\xB2\xD9=\r\n");
}

// A user whose settings cannot be written is told so when pressing "設定", and the dialog stays
// open with the choice made: first with the settings folder read-only, then with a read-only
// settings file in it. Run as another user, since root may write into any folder.
TEST_F(SettingsDialogEndToEnd, AFailedSaveIsToldAndTheDialogStaysOpenWithTheChoice) {
  asNobody = true;
  testing::OpenToAll(folder);  // the host's folder stays root's: the settings go to the user's
  const std::string own = folder + "/config/orvane";
  for (const std::string& made : {own, folder + "/cache", folder + "/data", folder + "/home"}) {
    fs::create_directories(made);
    ASSERT_TRUE(testing::GiveToAnotherUser(made)) << made;
  }
  ASSERT_TRUE(testing::GiveToAnotherUser(folder + "/config"));
  const std::string settings = own + "/Orvane.ini";
  const std::string before = "[Section]\r\nBGM\x8B\xE6\x95\xAA=0\r\n";
  for (const bool readOnlyFile : {false, true}) {
    SCOPED_TRACE(readOnlyFile ? "a read-only file" : "a read-only folder");
    if (readOnlyFile) {
      fs::permissions(own, fs::perms(0755));
      testing::WriteBytes(settings, before);
      ASSERT_TRUE(testing::GiveToAnotherUser(settings));
      fs::permissions(settings, fs::perms(0444));
    } else {
      fs::permissions(own, fs::perms(0555));
    }
    StartDialog();
    Click("lbl_BGM", 1);  // "音楽CD"
    Click("Cmd_Set");     // "設定"
    WindowHandle box = 0;
    ASSERT_TRUE(testing::WaitFor(
        [&] { return (box = finder->FindWindow("Orvane (ScreenSaver)")) != 0; }, 10s))
        << host->Stderr();
    EXPECT_FALSE(host->Wait(300ms).has_value()) << "it waits for the user";
    Xdotool("windowfocus --sync " + std::to_string(box) + " key Return");
    ASSERT_TRUE(
        testing::WaitFor([&] { return finder->FindWindow("Orvane (ScreenSaver)") == 0; }, 10s));
    std::this_thread::sleep_for(300ms);
    const WindowHandle dialog = finder->FindWindow("<Orvane>");
    ASSERT_NE(dialog, 0u) << "the dialog stays open";
    EXPECT_TRUE(host->Running());
    // "音楽CD" is still the one chosen: its mark is blue.
    const testing::Screenshot shot = testing::TakeScreenshot(xvfb.display(), dialog);
    const DialogRect mark = testing::InForm("Img_BGM", 1);
    const testing::Rgb chosen = shot.at(mark.X + 6, mark.Y + 6);
    EXPECT_GT(chosen.b, chosen.r + 100);
    Click("Cmd_Can");  // "ｷｬﾝｾﾙ"
    EXPECT_EQ(WaitForExit(), 0);
    if (readOnlyFile) {
      EXPECT_EQ(testing::ReadBytes(settings), before);
    } else {
      EXPECT_FALSE(fs::exists(settings));
    }
  }
}

// The fixed dialog as drawn, then "ｷｬﾝｾﾙ"; opened again, the title bar's close box. Neither
// writes anything.
TEST_F(SettingsDialogEndToEnd, TheDialogsLookAndClosingWithoutSettingWritesNothing) {
  StartDialog();
  const WindowHandle dialog = finder->FindWindow("<Orvane>");
  testing::Screenshot shot;
  const auto markCentre = [&](int index) {
    const DialogRect mark = testing::InForm("Img_BGM", index);
    return shot.at(mark.X + 6, mark.Y + 6);
  };
  // Once painted: the band's light middle; no music chosen yet, so the first mark is blue and
  // the others light.
  EXPECT_TRUE(testing::WaitFor(
      [&] {
        shot = testing::TakeScreenshot(xvfb.display(), dialog);
        return shot.width == 492 && shot.height == 246 &&
               testing::Near(shot.at(486, 123), {220, 220, 250}, 1) &&
               markCentre(0).b > markCentre(0).r + 100 &&
               testing::Near(markCentre(2), {248, 248, 248}, 2);
      },
      20s, 100ms));
  XSizeHints hints{};  // a fixed size
  long supplied = 0;
  ASSERT_TRUE(XGetWMNormalHints(display, dialog, &hints, &supplied));
  EXPECT_EQ((std::array{hints.min_width, hints.max_width, hints.min_height, hints.max_height}),
            (std::array{492, 492, 246, 246}));
  Click("lbl_BGM", 1);  // "音楽CD"
  // The repeat box, usable now, has a white field.
  const DialogRect box = testing::InForm("BGM_Repeat");
  const testing::Rgb field =
      testing::TakeScreenshot(xvfb.display(), dialog).at(box.X + 10, box.Y + box.Height / 2);
  EXPECT_TRUE(testing::Near(field, {255, 255, 255}, 2));
  EXPECT_TRUE(ClickUntil("Cmd_Can", [&] { return !host->Running(); }));  // "ｷｬﾝｾﾙ"
  EXPECT_EQ(WaitForExit(), 0);

  StartDialog();
  Click("lbl_BGM", 2);
  PressCloseBox();
  EXPECT_EQ(WaitForExit(), 0);
  EXPECT_FALSE(Settings());
}

// Resting the pointer on the music file's label shows its whole path as a tooltip; on another
// label of the panel, no tooltip.
TEST_F(SettingsDialogEndToEnd, TheMusicFilesLabelHasTheWholePathAsItsTooltip) {
  testing::WriteBytes(folder + "/Orvane.ini",
                      "[Section]\r\nBGM\x8B\xE6\x95\xAA=2\r\nBGM\xCC\xA7\xB2\xD9=" + song + "\r\n");
  StartDialog();
  const Atom type = XInternAtom(display, "_NET_WM_WINDOW_TYPE", False);
  const Atom tooltip = XInternAtom(display, "_NET_WM_WINDOW_TYPE_TOOLTIP", False);
  const auto tooltipShown = [&] {
    Window root = 0, parent = 0, *children = nullptr;
    unsigned int count = 0;
    bool shown = false;
    if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count))
      return false;
    for (unsigned int i = 0; i < count && !shown; ++i) {
      XWindowAttributes attributes{};
      if (!XGetWindowAttributes(display, children[i], &attributes) ||
          attributes.map_state != IsViewable)
        continue;
      Atom got = 0;
      int format = 0;
      unsigned long items = 0, remaining = 0;
      unsigned char* data = nullptr;
      if (XGetWindowProperty(display, children[i], type, 0, 1, False, XA_ATOM, &got, &format,
                             &items, &remaining, &data) == Success &&
          data != nullptr && items == 1) {
        shown = *reinterpret_cast<const Atom*>(data) == tooltip;
      }
      if (data != nullptr) XFree(data);
    }
    if (children != nullptr) XFree(children);
    return shown;
  };
  MoveOver(testing::CentreInForm("lbl_BGM", 0));
  EXPECT_FALSE(testing::WaitFor(tooltipShown, 1500ms)) << "no tooltip over \"なし\"";
  const DialogRect file = testing::InForm("lbl_Fname");
  MoveOver({file.X + 20, file.Y + 8});
  EXPECT_TRUE(testing::WaitFor(tooltipShown, 5s)) << "the whole path shows over lbl_Fname";
  Click("Cmd_Can");
  EXPECT_EQ(WaitForExit(), 0);
}

// Told of a frame before it shows, the dialog is centred by its whole size, 502 x 276: the frame's
// top-left corner goes to ((1024 - 502) / 2, (768 - 276) / 3), where this window manager, which
// frames nothing, leaves the window itself.
TEST_F(SettingsDialogEndToEnd, ItIsCentredByItsFrameWhenTheWindowManagerTellsIt) {
  FrameTeller frames(xvfb.display());
  StartDialog(Rect{261 - 5, 164 - 25, 261 + 492 + 5, 164 + 246 + 5});
  PressCloseBox();
  EXPECT_EQ(WaitForExit(), 0);
}

}  // namespace
}  // namespace orvane
