// The program Orvane.scr: opens the display, then runs Main and, when a window of the host
// lives on, the main loop.
#include <glib.h>

#include <cstdio>
#include <span>
#include <string>

#include "host/Orvane_B.h"
#include "host/command_line.h"
#include "platform/x11_platform.h"

namespace {

// The host keeps no log: messages of the libraries it uses go nowhere.
GLogWriterOutput DropLogMessage(GLogLevelFlags, const GLogField*, gsize, gpointer) {
  return G_LOG_WRITER_HANDLED;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string commandLine = orvane::JoinArguments(
      std::span<const char* const>(argv + 1, argc > 1 ? static_cast<size_t>(argc - 1) : 0));
  g_log_set_writer_func(DropLogMessage, nullptr, nullptr);

  auto platform = orvane::X11Platform::Open();
  if (!platform) {
    // One of the two times the host writes to standard error (the other: a refused data
    // directory).
    std::fputs("Orvane: cannot open the X display (is DISPLAY set and the X server running?)\n",
               stderr);
    return 1;
  }
  orvane::Main(commandLine, platform->platform());
  platform->RunMainLoop();
  return 0;
}
