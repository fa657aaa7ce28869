#include "host/dialog/open_file_request.h"

#include "common/ascii_case.h"

namespace orvane {

OpenFileRequest MusicFileRequest(std::string lastFolder, UserFiles& userFiles) {
  std::string folder = std::move(lastFolder);
  if (folder.empty()) folder = userFiles.MusicFolder();
  if (folder.empty()) folder = userFiles.HomeFolder();
  return OpenFileRequest{"ﾌｧｲﾙを開く", "BGMﾌｧｲﾙ (MP3 WAV)", "*.MP3;*.WAV", std::move(folder)};
}

bool MatchesMusicFilter(std::string_view name) {
  return common::EndsWithIgnoringCase(name, ".mp3") || common::EndsWithIgnoringCase(name, ".wav");
}

}  // namespace orvane
