#pragma once

#include <string>

// The user's own folders as Windows knows them, in the host's own text (UTF-8), where the file
// dialog starts.
namespace orvane {

// The Music known folder when it exists as a folder; "" otherwise.
std::string KnownMusicFolder();
// The user's profile folder, on the same terms.
std::string KnownProfileFolder();

}  // namespace orvane
