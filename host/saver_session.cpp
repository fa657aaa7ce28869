// The choice of the saver's session, and the saver lock as the single-instance test sees it.
#include "host/saver_session.h"

#include "host/Orvane_B.h"
#include "host/command_line.h"

namespace orvane {

bool UsesWaylandSaver(std::string_view commandLine, const char* waylandDisplay,
                      const char* x11Setting, const std::function<bool()>& compositorAnswers) {
  if (!commandLine.empty() && ModeLetter(commandLine) != "S") return false;
  if (waylandDisplay == nullptr || waylandDisplay[0] == '\0') return false;
  if (x11Setting != nullptr && std::string_view(x11Setting) == "1") return false;
  return compositorAnswers && compositorAnswers();
}

std::string SaverLockPath(const char* runtimeFolder, const std::string& fallbackFolder) {
  const std::string folder =
      runtimeFolder != nullptr && runtimeFolder[0] == '/' ? runtimeFolder : fallbackFolder;
  return folder + "/orvane-saver.lock";
}

WindowHandle SaverLockFinder::FindWindow(std::string_view title) {
  if (title == SaverWindowTitle && lock_.HeldElsewhere()) return LockHolder;
  return windows_.FindWindow(title);
}

}  // namespace orvane
