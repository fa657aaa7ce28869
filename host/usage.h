#pragma once

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// "--help" and "--version": what a user asking the program about itself is told.
namespace orvane {

struct UsagePlaces {
  std::string settingsFile;  // the Orvane.ini this user's runs read and write
  std::string userPicture;   // the picture that takes the place of the installed one
};

// The text for standard output when one of the arguments (after the program's name) is
// exactly "--help" or "--version", the first of them deciding; nullopt otherwise. The
// version is "Orvane <version>"; the help names the modes, the daemon options and where
// the settings live (places is asked only then).
std::optional<std::string> InformationText(std::span<const char* const> arguments,
                                           std::string_view version,
                                           const std::function<UsagePlaces()>& places);

}  // namespace orvane
