#pragma once

#include <string>
#include <string_view>

#include "platform/user_files.h"

// What the settings dialog asks of the open-file dialog.
namespace orvane {

struct OpenFileRequest {
  std::string Title;          // the dialog's caption
  std::string FilterName;     // the one entry of its file type list
  std::string FilterPattern;  // the patterns that entry stands for, as shown to the user
  std::string InitialFolder;  // where it starts; a folder that does not exist is ignored
};

// The request the music file button makes: starting in lastFolder, the folder of the music
// file chosen before, or when there is none ("") in the user's music folder, else the home
// folder (the programs' own folder is no place for music once they are installed).
OpenFileRequest MusicFileRequest(std::string lastFolder, UserFiles& userFiles);

// True for a file name (or path) that the music filter shows: one ending in ".mp3" or ".wav"
// in any letter case.
bool MatchesMusicFilter(std::string_view name);

}  // namespace orvane
