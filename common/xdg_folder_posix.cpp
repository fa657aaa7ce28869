#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "common/xdg_folder.h"

namespace orvane::common {
namespace {

bool IsAbsolute(const char* path) {
  return path != nullptr && path[0] == '/';
}

std::string HomeFolder() {
  const char* home = std::getenv("HOME");
  if (IsAbsolute(home)) return home;
  if (const passwd* entry = getpwuid(getuid()); entry != nullptr && IsAbsolute(entry->pw_dir)) {
    return entry->pw_dir;
  }
  return "/";
}

}  // namespace

std::string XdgFolder(const char* variable, const char* fallback) {
  const char* value = std::getenv(variable);
  // A relative value is invalid and must be ignored.
  std::string base = IsAbsolute(value) ? std::string(value) : HomeFolder() + fallback;
  while (base.size() > 1 && base.back() == '/') base.pop_back();
  if (base == "/") base.clear();
  return base;
}

bool MakePrivateFolders(const std::string& folder) {
  if (folder.empty()) return false;
  for (size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
    const std::string part = folder.substr(0, slash);
    if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
    if (slash == std::string::npos) break;
  }
  struct stat info {};
  return stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string PrivateRuntimeFolder(const std::string& base, uid_t uid) {
  const std::string folder = base + "/" + std::to_string(uid);
  struct stat info {};
  if (lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return "";
  if (info.st_uid != uid || (info.st_mode & 07777) != 0700) return "";
  return folder;
}

void SetRuntimeFolderWhenUnset(const std::string& base) {
  const char* value = std::getenv("XDG_RUNTIME_DIR");
  if (value != nullptr && value[0] != '\0') return;
  const std::string folder = PrivateRuntimeFolder(base, getuid());
  if (!folder.empty()) setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
}

}  // namespace orvane::common
