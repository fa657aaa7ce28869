#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/child.h"
#include "tests/support/hex.h"
#include "tests/support/programs.h"
#include "tests/support/temp_folder.h"

// The Windows system probe (system_probe.exe of the Windows build) under Wine, driven one
// command line at a time through its standard input.
namespace orvane::testing {

class WineProbe {
 public:
  // Starts the probe with env on top of the test's environment. It runs in the Wine prefix
  // that WINEPREFIX names (scripts/windows.sh prepares one for its whole run), or else in a
  // prefix of its own, made first and removed at the end.
  explicit WineProbe(std::vector<std::string> env = {});
  ~WineProbe();
  WineProbe(const WineProbe&) = delete;
  WineProbe& operator=(const WineProbe&) = delete;

  bool running() const { return writer_ >= 0; }
  // Sends the command lines at once and waits for all their answers ("" for each one that
  // did not come before the timeout).
  std::vector<std::string> AskEach(const std::vector<std::string>& commands,
                                   std::chrono::milliseconds timeout = std::chrono::seconds(60));
  std::string Ask(const std::string& command) { return AskEach({command}).front(); }
  // What the probe wrote to standard error, for failure messages.
  std::string Errors() const { return child_ ? child_->Stderr() : std::string(); }

 private:
  std::unique_ptr<TempFolder> ownPrefix_;
  std::string prefix_;
  TempFolder folder_;
  std::unique_ptr<Child> child_;
  int writer_ = -1;
  std::size_t answered_ = 0;
};

}  // namespace orvane::testing
