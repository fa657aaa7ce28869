#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tests/dialog/form_places.h"
#include "tests/support/programs.h"
#include "tests/support/screenshot.h"

namespace orvane::testing {

// Moves over a point of the window in two steps, so that the control sees the pointer move.
void MoveOver(const std::string& display, unsigned long window, DialogPoint at);

// Orvane.scr /c of either build as a user meets it: real pointer moves, clicks and keys
// (xdotool) at the places of the form, what the screen shows, and each system's file dialog.
class DialogDriver {
 public:
  DialogDriver(const Programs& programs, const Xvfb& xvfb, std::string folder);

  // Starts folder/Orvane.scr with mode ("/c", "/s"); env adds to the driver's own.
  Child& Start(const std::string& mode, std::vector<std::string> env = {});
  // Starts /c and waits until the dialog shows, painted; false if it never does.
  bool Open();
  Child& host() { return *host_; }
  unsigned long window() const { return window_; }
  Screenshot Shot() const { return TakeScreenshot(display_, window_); }
  // Whether the pixel at a point of the form comes to hold within the timeout.
  bool Shows(DialogPoint at, const std::function<bool(Rgb)>& holds,
             std::chrono::milliseconds timeout) const {
    const auto shown = [&] {
      const Screenshot shot = Shot();
      return shot.valid() && holds(shot.at(at.X, at.Y));
    };
    return WaitFor(shown, timeout, std::chrono::milliseconds(50));
  }
  bool Shows(DialogPoint at, Rgb expected) const {
    return Shows(
        at, [&](Rgb seen) { return Near(seen, expected, 2); }, std::chrono::seconds(5));
  }
  // Whether the mark of music kind index shows chosen (blue).
  bool Chosen(int index) const {
    const Rect mark = InForm("Img_BGM", index);
    return Shows(
        {mark.X + 6, mark.Y + 6}, [](Rgb c) { return c.b > c.r + 100; }, std::chrono::seconds(10));
  }
  void MoveOver(DialogPoint at) const { testing::MoveOver(display_, window_, at); }
  void Click(std::string_view name, int index = -1) {
    MoveOver(CentreInForm(name, index));
    Xdotool("click 1");
  }
  // Clicks until done() holds: a click that came before the dialog was ready is given again.
  bool ClickUntil(std::string_view name, const std::function<bool()>& done, int index = -1) {
    for (int attempt = 0; attempt < 4; ++attempt) {
      Click(name, index);
      if (WaitFor(done, std::chrono::seconds(8), std::chrono::milliseconds(50))) return true;
    }
    return false;
  }
  unsigned long Visible(const std::string& title, std::chrono::milliseconds timeout) const {
    return VisibleWindow(display_, title, timeout);
  }
  // Types path into the open file dialog ("ﾌｧｲﾙを開く") until it takes it and closes.
  bool ChooseFile(const std::string& path);
  // What a window manager sends when the title bar's close box is pressed.
  void PressCloseBox() const;
  std::optional<std::string> Settings() const {
    if (!std::filesystem::exists(folder_ + "/Orvane.ini")) return std::nullopt;
    return ReadBytes(folder_ + "/Orvane.ini");
  }
  std::string Xdotool(const std::string& arguments) const { return programs_.Xdotool(arguments); }

 private:
  const Programs& programs_;
  std::string display_;
  std::string folder_;
  std::unique_ptr<Child> host_;
  unsigned long window_ = 0;
};

}  // namespace orvane::testing
