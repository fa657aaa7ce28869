#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "tests/support/child.h"
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
  Programs(Build build, const Xvfb& xvfb, std::string locale = "C.UTF-8");
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

 private:
  std::vector<std::string> Environment() const;
  std::pair<int, std::string> Wine(const std::string& command) const;

  Build build_;
  std::string display_;
  std::string locale_;
  TempFolder home_;  // XDG_CACHE_HOME on Linux, WINEPREFIX under Wine
  bool ready_ = true;
};

}  // namespace orvane::testing
