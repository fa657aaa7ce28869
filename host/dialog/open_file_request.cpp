#include "host/dialog/open_file_request.h"

namespace orvane {
namespace {

bool EndsWithIgnoringCase(std::string_view text, std::string_view suffix) {
  if (text.size() < suffix.size()) return false;
  text.remove_prefix(text.size() - suffix.size());
  for (size_t i = 0; i < suffix.size(); ++i) {
    char c = text[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != suffix[i]) return false;
  }
  return true;
}

}  // namespace

OpenFileRequest MusicFileRequest(std::string lastFolder, UserFiles& userFiles) {
  std::string folder = std::move(lastFolder);
  if (folder.empty()) folder = userFiles.MusicFolder();
  if (folder.empty()) folder = userFiles.HomeFolder();
  return OpenFileRequest{"ﾌｧｲﾙを開く", "BGMﾌｧｲﾙ (MP3 WAV)", "*.MP3;*.WAV", std::move(folder)};
}

bool MatchesMusicFilter(std::string_view name) {
  return EndsWithIgnoringCase(name, ".mp3") || EndsWithIgnoringCase(name, ".wav");
}

}  // namespace orvane
