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

// The file the settings are read from: chosen (ChooseSettingsPath's answer) once it exists;
// until then "Orvane.ini" beside the host when that exists, so that what the user had there
// is shown and the first save carries it over.
std::string ChooseSettingsSource(const std::string& chosen, const std::string& hostFolder,
                                 FileAccess& access);

}  // namespace orvane
