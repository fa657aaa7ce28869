#include <errno.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "common/ascii_case.h"
#include "common/data_directory.h"
#include "common/xdg_folder.h"

namespace orvane::common {
namespace {

constexpr std::string_view kFixedFolder = "c:\\t_ovin";

// One line for the first refusal in the process: both the host's start-up and its copy check.
void ReportRefusal(const std::string& path, const char* what, uid_t owner) {
  static bool reported = false;
  if (reported) return;
  reported = true;
  const passwd* entry = getpwuid(owner);
  const std::string name = entry != nullptr ? entry->pw_name : "uid " + std::to_string(owner);
  std::fprintf(stderr, "%s: the data directory %s %s (owner %s); it is not used\n",
               program_invocation_short_name, path.c_str(), what, name.c_str());
}

// True when text starts with the fixed folder, ignoring case and taking "/" for "\".
bool StartsWithFixedFolder(std::string_view text) {
  if (text.size() < kFixedFolder.size()) return false;
  for (size_t i = 0; i < kFixedFolder.size(); ++i) {
    char c = AsciiLower(text[i]);
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

DataDirectoryState CheckDataDirectory() {
  const std::string path = DataDirectory();
  // The directory itself, never what a link there points to.
  const int fd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  struct stat info {};
  if (fd < 0) {
    if (lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
      ReportRefusal(path, "is a symbolic link", info.st_uid);
      return DataDirectoryState::Refused;
    }
    return DataDirectoryState::Missing;
  }
  DataDirectoryState state = DataDirectoryState::Missing;
  if (fstat(fd, &info) == 0) {
    if (info.st_uid != geteuid()) {
      ReportRefusal(path, "belongs to another user", info.st_uid);
      state = DataDirectoryState::Refused;
    } else if ((info.st_mode & (S_IWGRP | S_IWOTH)) != 0 && fchmod(fd, 0700) != 0) {
      // Left writable by others, its files could be swapped under us.
      ReportRefusal(path, "cannot be made private", info.st_uid);
      state = DataDirectoryState::Refused;
    } else {
      state = DataDirectoryState::Usable;
    }
  }
  close(fd);
  return state;
}

bool CreateDataDirectory() {
  // Whatever the making gave, the check has the last word (and names a link or a stranger's).
  MakePrivateFolders(DataDirectory());
  return CheckDataDirectory() == DataDirectoryState::Usable;
}

}  // namespace orvane::common
