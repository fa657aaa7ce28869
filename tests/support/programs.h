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

enum class Build { Linux, Windows };
// "Linux" or "Windows", to name a scenario's instance and to print its parameter.
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
  // On another X server of the test's own (an Xorg with several monitors).
  Programs(Build build, std::string display, std::string locale = "C.UTF-8");
  ~Programs();
  Programs(const Programs&) = delete;
  Programs& operator=(const Programs&) = delete;

  Build build() const { return build_; }
  bool windows() const { return build_ == Build::Windows; }
  // False when the Wine prefix could not be made.
  bool ready() const { return ready_; }
  // A program of the build on this machine: "Orvane.scr", "Orvane.dll", "Orvane.image"; from
  // ORVANE_TEST_BIN_DIR or ORVANE_TEST_WINDOWS_BIN_DIR when set, else from the build trees.
  std::string Built(const std::string& name) const;
  // Starts program (a path on this machine) with arguments; env adds to the test's own.
  std::unique_ptr<Child> Start(const std::string& program,
                               const std::vector<std::string>& arguments,
                               std::vector<std::string> env = {}) const;
  // A path on this machine as the program names it: itself, or "Z:\…" under Wine.
  std::string Path(const std::string& path) const;
  // The folder, on this machine, where the programs keep the picture's copy ("C:\t_ovin" on
  // Windows; "t_ovin" in XDG_CACHE_HOME, the driver's own, on Linux).
  std::string DataDirectory() const;
  // How the C library ends a line the program prints.
  std::string LineEnd() const { return windows() ? "\r\n" : "\n"; }
  // The id of the top-level window titled exactly title; 0 if none shows before timeout.
  unsigned long FindWindow(const std::string& title,
                           std::chrono::milliseconds timeout = std::chrono::seconds(30)) const;
  // Runs xdotool on the test's display; its output.
  std::string Xdotool(const std::string& arguments) const;
  // Presses Escape until the window titled title is gone: a key pressed before the window has
  // the focus (under Wine above all) is lost. False when the window stays.
  bool EscapeUntilGone(const std::string& title) const;
  // The text of the message box captioned caption, read by a Windows test program; nullopt on
  // Linux, whose GTK box shows its text to no other program.
  std::optional<std::string> MessageText(const std::string& caption) const;
  // Runs a shell command with the programs' environment (in Wine's prefix): its exit code and
  // standard output.
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

// The Windows name of a file on this machine, through Wine's drive Z:.
std::string WindowsPath(const std::string& unixPath);
// The `wine reg add` commands that link the IPA Gothic font behind the fonts Wine's dialogs and
// message boxes draw in, which have no Japanese glyphs; one command each, run in the prefix.
std::vector<std::string> JapaneseFontLinkCommands();
// The dark pixels of a screenshot's first line of text, cut into glyphs at empty columns: the
// number of different shapes. Missing-glyph boxes all look alike.
size_t DistinctGlyphs(const Screenshot& shot);

}  // namespace orvane::testing
