#pragma once

#include <cstdint>
#include <string>

// The host's main module: the settings variables that the dialog, the saver and the
// music read and change.
namespace orvane {

// Music kind: 0 none, 1 audio CD, 2 music file (MP3 or WAV).
extern std::int16_t BGM_Kind;
// CD track to repeat; 0 plays the whole disc again whenever it stops.
extern std::int16_t BGM_RepeatTrack;
// Full path of the music file (UTF-8 on Linux).
extern std::string BGM_File;
// Folder in which the settings dialog's file chooser starts; not stored.
extern std::string BGM_Folder;

}  // namespace orvane
