#include "tests/support/dummy_xorg.h"

#include <filesystem>

#include "tests/support/child.h"
#include "tests/support/xvfb.h"

namespace orvane::testing {
namespace {

// The modes are the standard 60 Hz timings; 1280 x 1024 is among the server's built-in ones.
constexpr char kConfig[] = R"(Section "ServerFlags"
  Option "AutoAddDevices" "false"
  Option "AutoAddGPU" "false"
EndSection
Section "Device"
  Identifier "dummy"
  Driver "dummy"
  VideoRam 131072
  Option "Monitor-DUMMY0" "left"
  Option "Monitor-DUMMY1" "right"
EndSection
Section "Monitor"
  Identifier "left"
  HorizSync 5.0 - 1000.0
  VertRefresh 5.0 - 200.0
  Modeline "1920x1080" 148.50 1920 2008 2052 2200 1080 1084 1089 1125 +hsync +vsync
  Option "PreferredMode" "1920x1080"
  Option "Primary" "true"
EndSection
Section "Monitor"
  Identifier "right"
  HorizSync 5.0 - 1000.0
  VertRefresh 5.0 - 200.0
  Option "PreferredMode" "1280x1024"
  Option "RightOf" "left"
  Option "Enable" "true"
EndSection
Section "Screen"
  Identifier "screen"
  Device "dummy"
  Monitor "left"
  SubSection "Display"
    Depth 24
    Virtual 3200 1080
  EndSubSection
EndSection
)";

}  // namespace

DummyXorg::DummyXorg() {
  WriteBytes(folder_ / "xorg.conf", kConfig);
  // An empty configuration folder, so that the system's snippets are not read.
  std::filesystem::create_directory(folder_ / "xorg.conf.d");
  display_ = StartDisplayServer(
      "Xorg",
      {"-config", folder_ / "xorg.conf", "-configdir", folder_ / "xorg.conf.d", "-noreset",
       "-nolisten", "tcp", "-logfile", folder_ / "Xorg.log", "-novtswitch", "-sharevts"},
      &pid_);
}

DummyXorg::~DummyXorg() {
  End(pid_);
}

}  // namespace orvane::testing
