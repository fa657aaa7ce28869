#pragma once

#include <optional>
#include <string>

// The settings file holds the music path as the profile functions write it: in the ANSI code
// page on Windows, as bytes on Linux. The host's other paths are in its own text (UTF-8 on
// Windows, bytes on Linux); these turn a path from one into the other.
namespace orvane {

class SettingsText {
 public:
  virtual ~SettingsText() = default;
  // The path as the settings file holds it; nothing when a character has no exact form there
  // (a best-fit look-alike would name another file).
  virtual std::optional<std::string> FromPath(const std::string& path) = 0;
  // A path the settings file holds, in the host's own text.
  virtual std::string ToPath(const std::string& text) = 0;
  // The short (8.3) form of an existing file's path, in the host's own text; nothing where
  // the system keeps none.
  virtual std::optional<std::string> ShortPath(const std::string& path) = 0;
};

// This system's.
SettingsText& SystemSettingsText();

}  // namespace orvane
