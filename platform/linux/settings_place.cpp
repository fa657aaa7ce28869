#include "platform/linux/settings_place.h"

#include <string_view>

namespace orvane {
namespace {

bool UnderUsr(std::string_view folder) {
  return folder == "/usr" || folder.starts_with("/usr/");
}

}  // namespace

std::string ChooseSettingsPath(const std::string& hostFolder, const std::string& userFolder,
                               FileAccess& access) {
  const std::string beside = hostFolder + "/Orvane.ini";
  if (!UnderUsr(hostFolder)) {
    const bool writable =
        access.Exists(beside) ? access.Writable(beside) : access.Writable(hostFolder);
    if (writable) return beside;
  }
  return userFolder + "/Orvane.ini";
}

std::string ChooseSettingsSource(const std::string& chosen, const std::string& hostFolder,
                                 FileAccess& access) {
  const std::string beside = hostFolder + "/Orvane.ini";
  if (chosen != beside && !access.Exists(chosen) && access.Exists(beside)) return beside;
  return chosen;
}

}  // namespace orvane
