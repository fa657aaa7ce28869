#pragma once

#include <string>

namespace orvane {

// What the settings rule asks of the file system; a fake answers in tests.
class FileAccess {
 public:
  virtual ~FileAccess() = default;
  virtual bool Exists(const std::string& path) = 0;
  // True when this user may write the file or, for a folder, create files in it.
  virtual bool Writable(const std::string& path) = 0;
};

// The Linux rule for the settings file: "Orvane.ini" beside the host when the host is not
// under /usr and that file (or, where it is missing, its folder) is writable by the user;
// otherwise "Orvane.ini" in userFolder. The /usr clause keeps root (who may write anywhere)
// out of a package's folder.
std::string ChooseSettingsPath(const std::string& hostFolder, const std::string& userFolder,
                               FileAccess& access);

}  // namespace orvane
