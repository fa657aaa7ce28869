#pragma once

#include <string>

// What the settings dialog asks of the open-file dialog.
namespace orvane {

struct OpenFileRequest {
  std::string Title;          // the dialog's caption
  std::string FilterName;     // the one entry of its file type list
  std::string FilterPattern;  // the patterns that entry stands for, as shown to the user
  std::string InitialFolder;  // where it starts; a folder that does not exist is ignored
};

}  // namespace orvane
