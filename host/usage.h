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

// The first of "--help" and "--version" among the arguments decides; places is asked only for
// the help, which says where the settings live.
std::optional<std::string> InformationText(std::span<const char* const> arguments,
                                           std::string_view version,
                                           const std::function<UsagePlaces()>& places);

}  // namespace orvane
