// The program Orvane.scr on Windows: Main on the argument text, then the message loop.
#include <windows.h>

#include <string>
#include <string_view>

#include "host/Orvane_B.h"
#include "host/Orvane_R.h"
#include "host/Orvane_S.h"
#include "host/dialog/Orvane_P.h"
#include "platform/win32/win32_platform.h"

namespace {

// The windows of the three modes: the preview, the settings dialog and the saver.
const orvane::ModeHandlers kModeHandlers{orvane::StartPreview, orvane::ShowSettingsDialog,
                                         orvane::CreateSaverWindow};

// The text after the program's own name and the blanks that follow it, as Windows passed it.
std::string ArgumentText(std::string_view line) {
  size_t at = 0;
  if (!line.empty() && line[0] == '"') {
    const size_t close = line.find('"', 1);
    at = close == std::string_view::npos ? line.size() : close + 1;
  } else {
    while (at < line.size() && line[at] != ' ' && line[at] != '\t') ++at;
  }
  while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) ++at;
  return std::string(line.substr(at));
}

}  // namespace

int main() {
  auto platform = orvane::Win32Platform::Open();
  if (!platform) return 1;
  orvane::Main(ArgumentText(GetCommandLineA()), platform->platform(), kModeHandlers);
  platform->RunMessageLoop();
  return 0;
}
