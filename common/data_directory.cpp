#include "common/data_directory.h"

#include "common/xdg_folder.h"

namespace orvane::common {
namespace {

constexpr std::string_view kFixedFolder = "c:\\t_ovin";

char Lower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// True when text starts with the fixed folder, ignoring case and taking "/" for "\".
bool StartsWithFixedFolder(std::string_view text) {
  if (text.size() < kFixedFolder.size()) return false;
  for (size_t i = 0; i < kFixedFolder.size(); ++i) {
    char c = Lower(text[i]);
    if (c == '/') c = '\\';
    if (c != kFixedFolder[i]) return false;
  }
  return true;
}

}  // namespace

std::string DataDirectory() {
  return XdgFolder("XDG_CACHE_HOME", "/.cache") + "/t_ovin";
}

std::string MapFixedPath(std::string_view windowsPath) {
  if (!StartsWithFixedFolder(windowsPath)) return std::string(windowsPath);
  std::string_view rest = windowsPath.substr(kFixedFolder.size());
  if (!rest.empty() && rest.front() != '\\' && rest.front() != '/') {
    return std::string(windowsPath);  // "C:\t_ovinX" is another folder
  }
  std::string mapped = DataDirectory();
  for (char c : rest) mapped += (c == '\\') ? '/' : c;
  return mapped;
}

bool CreateDataDirectory() {
  return MakePrivateFolders(DataDirectory());
}

}  // namespace orvane::common
