#pragma once

#include <string>

namespace orvane {

// Where the host keeps what a user chooses. The programs' own folder may be a system-wide
// installation the user cannot write, so each platform decides by its own rule whether the
// settings live beside the host or in a per-user folder (on Windows that would be
// %APPDATA%\Orvane when the host's folder is not writable).
class UserFiles {
 public:
  virtual ~UserFiles() = default;
  // The settings file to write, of a host in hostFolder.
  virtual std::string SettingsPath(const std::string& hostFolder) = 0;
  // The settings file to read: SettingsPath's once it exists; until then the one beside the
  // host when that exists, so that the rule never hides what the user had there and the first
  // save carries it over.
  virtual std::string SettingsSourcePath(const std::string& hostFolder) = 0;
  // The user's own tunnel picture, which takes the place of the one beside the host when it
  // exists.
  virtual std::string UserPicturePath() = 0;
  // The user's music folder (the desktop's, or Windows' Music known folder) when it exists
  // as a folder; "" otherwise.
  virtual std::string MusicFolder() = 0;
  // The user's home (profile) folder; "" when it cannot be told.
  virtual std::string HomeFolder() = 0;
};

}  // namespace orvane
