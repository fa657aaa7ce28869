#include "common/data_directory.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace orvane::common {
namespace {

constexpr std::string_view kFixedFolder = "c:\\t_ovin";

bool IsAbsolute(const char* path) { return path != nullptr && path[0] == '/'; }

std::string HomeFolder() {
  const char* home = std::getenv("HOME");
  if (IsAbsolute(home)) return home;
  if (const passwd* entry = getpwuid(getuid()); entry != nullptr && IsAbsolute(entry->pw_dir)) {
    return entry->pw_dir;
  }
  return "/";
}

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

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
  const char* cache = std::getenv("XDG_CACHE_HOME");
  // A relative XDG_CACHE_HOME is invalid and must be ignored.
  std::string base = IsAbsolute(cache) ? std::string(cache) : HomeFolder() + "/.cache";
  while (base.size() > 1 && base.back() == '/') base.pop_back();
  if (base == "/") base.clear();
  return base + "/t_ovin";
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
  const std::string target = DataDirectory();
  for (size_t slash = target.find('/', 1);; slash = target.find('/', slash + 1)) {
    const std::string part = target.substr(0, slash);
    if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
    if (slash == std::string::npos) break;
  }
  struct stat info {};
  return stat(target.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace orvane::common
