#pragma once

#include <sys/types.h>

#include <string>

#include "tests/support/temp_folder.h"

namespace orvane::testing {

// An Xorg server of the test's own with the dummy video driver and two monitors, as X11
// programs and Wine both see them: DUMMY0 1920 x 1080 at +0+0 (primary) and DUMMY1
// 1280 x 1024 at +1920+0, on a 3200 x 1080 screen, at depth 24. It takes the first free display
// number (-displayfd), reads only its own configuration and adds no input devices; the
// destructor ends exactly this server, by its process id.
class DummyXorg {
 public:
  DummyXorg();
  ~DummyXorg();
  DummyXorg(const DummyXorg&) = delete;
  DummyXorg& operator=(const DummyXorg&) = delete;

  // ":N", for DISPLAY.
  const std::string& display() const { return display_; }
  bool running() const { return pid_ > 0 && !display_.empty(); }
  // The server's log, for failure messages.
  std::string Log() const { return ReadBytes(folder_ / "Xorg.log"); }

 private:
  TempFolder folder_;
  pid_t pid_ = -1;
  std::string display_;
};

}  // namespace orvane::testing
