#pragma once

#include <string>

// The user's own folders as Windows knows them, in the ANSI code page as the music path is kept.
namespace orvane {

// The Music known folder when it exists as a folder and its path can be written in the ANSI
// code page (as it is, or as its short name); "" otherwise.
std::string KnownMusicFolder();
// The user's profile folder, on the same terms.
std::string KnownProfileFolder();

}  // namespace orvane
