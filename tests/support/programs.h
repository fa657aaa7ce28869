#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/child.h"
#include "tests/support/screenshot.h"
#include "tests/support/temp_folder.h"
#include "tests/support/xvfb.h"

// One scenario, two builds: a scenario written once starts the programs of the Linux build
// directly, or those of the Windows build under Wine, in a prefix of the driver's own (its
// dialogs' fonts linked to IPA Gothic for Japanese), on the test's own Xvfb.
namespace orvane::testing {

// The top-level window on display titled exactly title (a regular expression), a visible one
// unless told otherwise; 0 if none shows before the timeout.
unsigned long VisibleWindow(const std::string& display, const std::string& title,
                            std::chrono::milliseconds timeout, bool visible = true);

enum class Build { Linux, Windows };
// ctest shows a scenario's parameter by its name, not its bytes.
inline void PrintTo(Build build, std::ostream* out) {
  *out << (build == Build::Linux ? "Linux" : "Windows");
}
inline std::string BuildName(const ::testing::TestParamInfo<Build>& info) {
  return info.param == Build::Linux ? "Linux" : "Windows";
}

class Programs {
 public:
  // locale is LANG and LC_ALL for a Windows program: Wine takes its ANSI code page from it.
  Programs(Build build, const Xvfb& xvfb, std::string locale = "C.UTF-8")
      : Programs(build, xvfb.display(), std::move(locale)) {}
  Programs(Build build, std::string display, std::string locale = "C.UTF-8");
  ~Programs() {
    if (windows()) Run("sh -c 'wineserver -k; wineserver -w'");
  }

  bool windows() const { return build_ == Build::Windows; }
  // False when the Wine prefix could not be made.
  bool ready() const { return ready_; }
  // A program of the build, "Orvane.scr" say.
  std::string Built(const std::string& name) const;
  // Starts program (a path on this machine) with arguments; env adds to the test's own.
  std::unique_ptr<Child> Start(const std::string& program,
                               const std::vector<std::string>& arguments,
                               std::vector<std::string> env = {}) const;
  // A path on this machine as the program names it: itself, or "Z:\…" under Wine.
  std::string Path(const std::string& path) const;
  // Where the programs keep the picture's copy: C:\t_ovin, or t_ovin in XDG_CACHE_HOME.
  std::string DataDirectory() const { return home_ / (windows() ? "drive_c/t_ovin" : "t_ovin"); }
  // The top-level window titled exactly title, visible or not.
  unsigned long FindWindow(const std::string& title,
                           std::chrono::milliseconds timeout = std::chrono::seconds(30)) const {
    return VisibleWindow(display_, title, timeout, false);
  }
  // Runs xdotool on the test's display; its output.
  std::string Xdotool(const std::string& arguments) const {
    return RunShell("DISPLAY=" + display_ + " xdotool " + arguments + " 2>&1").second;
  }
  // Presses Escape until the window titled title is gone (a key sent before it has the focus
  // is lost); false when it stays.
  bool EscapeUntilGone(const std::string& title) const;
  // The text of the message box captioned caption under Wine; nullopt on Linux, whose box
  // shows its text to no other program.
  std::optional<std::string> MessageText(const std::string& caption) const;
  // Runs a shell command with the programs' environment: its exit code and standard output.
  std::pair<int, std::string> Run(const std::string& command) const;
  // XDG_CACHE_HOME on Linux (XDG_CONFIG_HOME is its .config), the Wine prefix under Wine.
  const std::string& Home() const { return home_.path(); }

 private:
  std::vector<std::string> Environment() const;

  Build build_;
  std::string display_;
  std::string locale_;
  TempFolder home_;
  bool ready_ = true;
};

}  // namespace orvane::testing
