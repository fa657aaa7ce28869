// The settings dialog's GTK window on an X server of the test's own: its title, border,
// size, every control at its place, what it paints, its link pointer and link, and closing
// by the title bar.
#include <gtest/gtest.h>

// Xlib after the test framework, which its macros (None, Bool) would break.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <gdk/gdkx.h>
#include <sys/stat.h>

#include <array>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "host/Orvane_B.h"
#include "host/dialog/background.h"
#include "host/dialog/dialog_layout.h"
#include "host/dialog/dialog_pictures.h"
#include "host/dialog/settings_dialog_gtk.h"
#include "platform/x11_platform.h"
#include "tests/support/child.h"
#include "tests/support/screenshot.h"
#include "tests/support/temp_folder.h"
#include "tests/support/xvfb.h"

namespace orvane {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using testing::Near;
using testing::Rgb;

// One X server and one GTK per test program; the desktop's link handler, a script that
// notes the address it was given, is set up before GIO first looks for it.
struct Desktop {
  Desktop() {
    opened = home + "/opened.txt";
    fs::create_directories(home + "/data/applications");
    fs::create_directories(home + "/config");
    const std::string script = home + "/open-link.sh";
    std::ofstream(script) << "#!/bin/sh\necho \"$1\" > '" << opened << "'\n";
    chmod(script.c_str(), 0755);
    std::ofstream(home + "/data/applications/orvane-test-browser.desktop")
        << "[Desktop Entry]\nType=Application\nName=Test browser\nExec=" << script
        << " %u\nMimeType=x-scheme-handler/https;\n";
    std::ofstream(home + "/config/mimeapps.list")
        << "[Default Applications]\nx-scheme-handler/https=orvane-test-browser.desktop\n";
    setenv("XDG_DATA_HOME", (home + "/data").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
    setenv("XDG_DATA_DIRS", (home + "/data:/usr/local/share:/usr/share").c_str(), 1);
    setenv("GTK_THEME", "Adwaita", 1);
    setenv("DISPLAY", xvfb.display().c_str(), 1);
    platform = X11Platform::Open();
  }
  testing::TempFolder temp;
  testing::Xvfb xvfb;
  std::string home = temp.path();
  std::string opened;
  std::unique_ptr<X11Platform> platform;
};

// Lives to the end of the program, as GTK holds on to its display; its X server ends then.
Desktop& TheDesktop() {
  static Desktop desktop;
  return desktop;
}

// Runs the main loop's work for a while, or until the condition holds.
template <typename Condition>
bool PumpUntil(Condition condition, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!condition()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    while (g_main_context_iteration(nullptr, FALSE)) {
    }
    g_usleep(5000);
  }
  return true;
}
void Pump(std::chrono::milliseconds time) {
  PumpUntil([] { return false; }, time);
}

class SettingsDialogWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(desktop.xvfb.running());
    ASSERT_NE(desktop.platform, nullptr);
    folder = desktop.home + "/host";
    fs::create_directories(folder);
    fs::remove(folder + "/Orvane.ini");
    SetHostFolder(folder);
    BGM_Kind = 2;
    BGM_RepeatTrack = 0;
    BGM_File = "/music/a folder with a long name/and another one within it/and the song.mp3";
    BGM_Folder = "/music";
    dialog = std::make_unique<SettingsDialogWindow>(desktop.platform->platform());
    dialog->Show();
    ASSERT_TRUE(PumpUntil([&] { return gtk_widget_get_mapped(GTK_WIDGET(dialog->Window())); }, 5s));
    Pump(300ms);
  }

  unsigned long Xid() const {
    return GDK_WINDOW_XID(gtk_widget_get_window(GTK_WIDGET(dialog->Window())));
  }
  // A rectangle of a control in the window's pixels.
  DialogRect InWindow(std::string_view name, int index = -1) const {
    const DialogControl& control = DialogControlNamed(name, index);
    DialogRect rect = ToPixels(control, TwipsScale{});
    if (control.Container == DialogContainer::Panel) {
      const DialogRect panel = ToPixels(DialogControlNamed("Pic_C"), TwipsScale{});
      rect.X += panel.X;
      rect.Y += panel.Y;
    }
    return rect;
  }
  static int CountPixels(const testing::Screenshot& shot, const DialogRect& r, bool (*match)(Rgb)) {
    int count = 0;
    for (int y = r.Y; y < r.Y + r.Height; ++y) {
      for (int x = r.X; x < r.X + r.Width; ++x) count += match(shot.at(x, y)) ? 1 : 0;
    }
    return count;
  }
  // Moves the pointer and clicks, as a user would.
  void ClickAt(int x, int y) {
    const std::string command = "DISPLAY=" + desktop.xvfb.display() + " xdotool mousemove " +
                                std::to_string(x) + " " + std::to_string(y) + " click 1";
    ASSERT_EQ(testing::RunShell(command).first, 0);
  }

  Desktop& desktop = TheDesktop();
  std::string folder;
  std::unique_ptr<SettingsDialogWindow> dialog;
};

TEST_F(SettingsDialogWindowTest, IsAFixedDialogOfTheDesignsSizeAndPlace) {
  EXPECT_STREQ(gtk_window_get_title(dialog->Window()), "<Orvane>");
  EXPECT_EQ(desktop.platform->platform().windowFinder.FindWindow("<Orvane>"), Xid());
  EXPECT_TRUE(gtk_window_get_modal(dialog->Window()));
  EXPECT_EQ(gtk_window_get_transient_for(dialog->Window()), nullptr) << "no owner";
  EXPECT_EQ(desktop.platform->platform().windowGeometry.GetWindowRect(Xid()),
            (Rect{266, 174, 758, 420}));

  Display* display = desktop.platform->display();
  XSizeHints hints{};
  long supplied = 0;
  ASSERT_TRUE(XGetWMNormalHints(display, Xid(), &hints, &supplied));
  EXPECT_EQ(hints.flags & (PMinSize | PMaxSize), PMinSize | PMaxSize);
  EXPECT_EQ((std::array{hints.min_width, hints.max_width, hints.min_height, hints.max_height}),
            (std::array{492, 492, 246, 246}));

  // What the window asks of a window manager: moving and closing only; border, title and
  // window menu, no minimise or maximise box.
  const Atom motif = XInternAtom(display, "_MOTIF_WM_HINTS", False);
  Atom type = 0;
  int format = 0;
  unsigned long items = 0, rest = 0;
  unsigned char* data = nullptr;
  ASSERT_EQ(XGetWindowProperty(display, Xid(), motif, 0, 5, False, AnyPropertyType, &type, &format,
                               &items, &rest, &data),
            Success);
  ASSERT_NE(data, nullptr);
  ASSERT_GE(items, 3u);
  const long* values = reinterpret_cast<const long*>(data);
  EXPECT_EQ(values[0] & 3, 3) << "functions and decorations given";
  EXPECT_EQ(values[1], 4 | 32) << "move, close";
  EXPECT_EQ(values[2], 2 | 8 | 16) << "border, title, menu";
  XFree(data);
}

TEST_F(SettingsDialogWindowTest, PaintsTheBandTheTilesTheMarksAndTheLabels) {
  const testing::Screenshot shot = testing::TakeScreenshot(desktop.xvfb.display(), Xid());
  ASSERT_EQ(shot.width, 492);
  ASSERT_EQ(shot.height, 246);
  // The band, beside the panel and the buttons.
  EXPECT_TRUE(Near(shot.at(486, 0), Rgb{0, 0, 30}, 1));
  EXPECT_TRUE(Near(shot.at(486, 123), Rgb{220, 220, 250}, 1));
  EXPECT_TRUE(Near(shot.at(486, 245), Rgb{0, 0, 30}, 4));

  // The panel's tile, copied 1:1 from its top-left corner.
  const DialogRect panel = InWindow("Pic_C");
  const Picture& tile = BackgroundTile();
  const std::uint32_t c = tile.At(300, 150 % tile.Height);
  EXPECT_EQ(shot.at(panel.X + 300, panel.Y + 150),
            (Rgb{std::uint8_t(c >> 16), std::uint8_t(c >> 8), std::uint8_t(c)}));
  // The heading's black frame.
  const DialogRect frame = InWindow("Shape3", 3);
  EXPECT_EQ(shot.at(frame.X, frame.Y + 5), (Rgb{0, 0, 0}));
  EXPECT_EQ(shot.at(frame.X + frame.Width - 1, frame.Y + 5), (Rgb{0, 0, 0}));

  // Kind 2 is chosen: its mark is blue, the others are light.
  auto centreOf = [&](int index) {
    const DialogRect mark = InWindow("Img_BGM", index);
    return shot.at(mark.X + 6, mark.Y + 6);
  };
  EXPECT_GT(centreOf(2).b, centreOf(2).r + 100);
  EXPECT_TRUE(Near(centreOf(0), Rgb{248, 248, 248}, 2));

  // Black text in the choices' labels and the file's path, white in the credit and link.
  auto dark = [](Rgb c) { return c.r < 60 && c.g < 60 && c.b < 60; };
  auto white = [](Rgb c) { return c.r > 240 && c.g > 240 && c.b > 240; };
  for (int index = 0; index < 3; ++index) {
    EXPECT_GT(CountPixels(shot, InWindow("lbl_BGM", index), dark), 15) << index;
  }
  const DialogRect path = InWindow("lbl_Fname");
  EXPECT_GT(CountPixels(shot, {path.X, path.Y, path.Width, 15}, dark), 100);
  EXPECT_GT(CountPixels(shot, {path.X, path.Y + 15, path.Width, 15}, dark), 20)
      << "a long path wraps onto a second line";
  EXPECT_GT(CountPixels(shot, InWindow("lbl", 7), white), 60);
  const DialogRect link = InWindow("lbl_URL");
  EXPECT_GT(CountPixels(shot, link, white), 60);
  // The underline: a row where the text's light colour runs on across the whole address.
  int longestRun = 0;
  for (int y = link.Y; y < link.Y + link.Height + 3; ++y) {
    const int band = BackgroundRowColour(y, 246).Red;
    int run = 0;
    for (int x = link.X; x < link.X + link.Width; ++x) {
      run = shot.at(x, y).r > band + 30 ? run + 1 : 0;
      longestRun = std::max(longestRun, run);
    }
  }
  EXPECT_GT(longestRun, 90) << "the address is underlined";
}

TEST_F(SettingsDialogWindowTest, TheLinkHasItsOwnPointerAndOpensTheHomePage) {
  GdkWindow* window = gtk_widget_get_window(GTK_WIDGET(dialog->Window()));
  const DialogRect link = InWindow("lbl_URL");
  ClickAt(266 + link.X + 20, 174 + link.Y + 6);
  ASSERT_TRUE(PumpUntil([&] { return fs::exists(desktop.opened); }, 10s))
      << "the desktop's handler was started for the address";
  std::ifstream in(desktop.opened);
  std::string address;
  std::getline(in, address);
  EXPECT_EQ(address, "https://orvane.org/");
  GdkCursor* pointer = gdk_window_get_cursor(window);
  ASSERT_NE(pointer, nullptr) << "the link's own pointer while over it";
  EXPECT_EQ(gdk_cursor_get_cursor_type(pointer), GDK_CURSOR_IS_PIXMAP);

  const std::string away = "DISPLAY=" + desktop.xvfb.display() + " xdotool mousemove 300 190";
  ASSERT_EQ(testing::RunShell(away).first, 0);
  EXPECT_TRUE(PumpUntil([&] { return gdk_window_get_cursor(window) == nullptr; }, 3s));
  EXPECT_FALSE(dialog->Closed());
}

// What the open-file dialog showed, noted by a timer inside its run, which then cancels it.
struct ChooserSeen {
  GtkWindow* owner = nullptr;
  std::string title, filter, folder;
  bool showsMp3 = false, showsOgg = true;
  bool found = false;
};

gboolean LookAtChooserAndCancel(gpointer data) {
  auto* seen = static_cast<ChooserSeen*>(data);
  GList* windows = gtk_window_list_toplevels();
  for (GList* item = windows; item != nullptr; item = item->next) {
    GtkWidget* window = GTK_WIDGET(item->data);
    if (!GTK_IS_FILE_CHOOSER_DIALOG(window) || !gtk_widget_get_visible(window)) continue;
    seen->found = true;
    seen->owner = gtk_window_get_transient_for(GTK_WINDOW(window));
    seen->title = gtk_window_get_title(GTK_WINDOW(window));
    GtkFileFilter* filter = gtk_file_chooser_get_filter(GTK_FILE_CHOOSER(window));
    if (filter != nullptr) {
      seen->filter = gtk_file_filter_get_name(filter);
      GtkFileFilterInfo info{};
      info.contains = GTK_FILE_FILTER_DISPLAY_NAME;
      info.display_name = "Loud.Mp3";
      seen->showsMp3 = gtk_file_filter_filter(filter, &info);
      info.display_name = "quiet.ogg";
      seen->showsOgg = gtk_file_filter_filter(filter, &info);
    }
    if (gchar* folder = gtk_file_chooser_get_current_folder(GTK_FILE_CHOOSER(window))) {
      seen->folder = folder;
      g_free(folder);
    }
    gtk_dialog_response(GTK_DIALOG(window), GTK_RESPONSE_CANCEL);
  }
  g_list_free(windows);
  return seen->found ? G_SOURCE_REMOVE : G_SOURCE_CONTINUE;
}

TEST_F(SettingsDialogWindowTest, TheFileDialogShowsMusicFromTheFolderAndCancelChangesNothing) {
  BGM_Folder = desktop.home + "/songs";
  fs::create_directories(BGM_Folder);
  const std::string before = BGM_File;
  ChooserSeen seen;
  g_timeout_add(200, LookAtChooserAndCancel, &seen);
  dialog->Form().ChooseFile();
  ASSERT_TRUE(seen.found);
  EXPECT_EQ(seen.owner, dialog->Window());
  EXPECT_EQ(seen.title, "ﾌｧｲﾙを開く");
  EXPECT_EQ(seen.filter, "BGMﾌｧｲﾙ (MP3 WAV)");
  EXPECT_TRUE(seen.showsMp3);
  EXPECT_FALSE(seen.showsOgg);
  EXPECT_EQ(seen.folder, BGM_Folder);
  EXPECT_EQ(BGM_File, before);
  EXPECT_EQ(BGM_Folder, desktop.home + "/songs");
}

TEST_F(SettingsDialogWindowTest, ClosingByTheTitleBarWritesNothing) {
  // What a window manager sends when the close box is pressed.
  Display* display = XOpenDisplay(desktop.xvfb.display().c_str());
  ASSERT_NE(display, nullptr);
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = Xid();
  event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(display, Xid(), False, NoEventMask, &event);
  XFlush(display);
  XCloseDisplay(display);
  EXPECT_TRUE(PumpUntil([&] { return dialog->Closed(); }, 5s));
  EXPECT_FALSE(gtk_widget_get_visible(GTK_WIDGET(dialog->Window())));
  EXPECT_FALSE(fs::exists(folder + "/Orvane.ini"));
}

}  // namespace
}  // namespace orvane
