#include "tests/support/dialog_driver.h"

// Xlib after the test framework, which its macros (None, Bool) would break.
#include <X11/Xlib.h>

#include <cctype>
#include <cstdio>
#include <thread>

namespace orvane::testing {

using namespace std::chrono_literals;

DialogDriver::DialogDriver(const Programs& programs, const Xvfb& xvfb, std::string folder)
    : programs_(programs), display_(xvfb.display()), folder_(std::move(folder)) {
  for (const char* name : {"Orvane.scr", "Orvane.dll", "Orvane.image"})
    std::filesystem::copy_file(programs_.Built(name), folder_ + "/" + name);
}

Child& DialogDriver::Start(const std::string& mode, std::vector<std::string> env) {
  // The GTK build's own theme and folders, whatever the machine's are.
  env.insert(env.end(), {"XDG_CONFIG_HOME=" + folder_ + "/config",
                         "XDG_DATA_HOME=" + folder_ + "/data", "GTK_THEME=Adwaita"});
  host_ = programs_.Start(folder_ + "/Orvane.scr", {mode}, env);
  return *host_;
}

bool DialogDriver::Open() {
  Start("/c");
  if ((window_ = Visible("<Orvane>", 60s)) == 0) return false;
  // Painted: the band's light middle at the right edge of the inside.
  return WaitFor(
      [&] {
        const Screenshot shot = Shot();
        return shot.valid() && Near(shot.at(shot.width - 6, shot.height / 2), {220, 220, 250}, 1);
      },
      30s, 100ms);
}

void MoveOver(const std::string& display, unsigned long window, DialogPoint at) {
  const std::string move = " mousemove --sync --window " + std::to_string(window) + " ";
  RunShell("DISPLAY=" + display + " xdotool" + move + std::to_string(at.X - 2) + " " +
           std::to_string(at.Y) + move + std::to_string(at.X) + " " + std::to_string(at.Y));
}

bool DialogDriver::ChooseFile(const std::string& path) {
  const unsigned long chooser = Visible("ﾌｧｲﾙを開く", 30s);
  if (chooser == 0) return false;
  // GTK's location box takes a file URI, escaped: xdotool can lose keys not on the keyboard.
  std::string typed = programs_.Path(path);
  if (!programs_.windows()) {
    const std::size_t slash = path.rfind('/');
    typed = "file://";
    for (unsigned char c : path.substr(0, slash + 1)) {
      char escaped[4];
      std::snprintf(escaped, sizeof escaped, "%%%02X", c);
      typed +=
          std::isalnum(c) || c == '/' || c == '.' || c == '-' ? std::string(1, char(c)) : escaped;
    }
    typed += path.substr(slash + 1);
  }
  for (int attempt = 0; attempt < 4; ++attempt) {
    Xdotool("windowfocus --sync " + std::to_string(chooser));
    if (!programs_.windows()) {
      // The location box slides in before it takes keys.
      Xdotool("key --clearmodifiers ctrl+l");
      std::this_thread::sleep_for(300ms);
    }
    Xdotool(programs_.windows() ? "key --clearmodifiers End shift+Home"
                                : "key --clearmodifiers ctrl+a");
    // Wine reads a key that is not on the keyboard only once it has seen the keyboard remapped.
    Xdotool(std::string("type --delay ") + (programs_.windows() ? "50" : "5") + " '" + typed + "'");
    Xdotool("key Return");
    if (WaitFor([&] { return Visible("ﾌｧｲﾙを開く", 0ms) == 0; }, 8s, 50ms)) return true;
  }
  return false;
}

void DialogDriver::PressCloseBox() const {
  Display* display = XOpenDisplay(display_.c_str());
  if (display == nullptr) return;
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window_;
  event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(display, window_, False, NoEventMask, &event);
  XCloseDisplay(display);
}

}  // namespace orvane::testing
