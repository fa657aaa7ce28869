#include <windows.h>

#include "common/data_directory.h"

namespace orvane::common {

// On Windows the programs use the fixed folder itself.
std::string DataDirectory() {
  return "C:\\t_ovin";
}

std::string MapFixedPath(std::string_view windowsPath) {
  return std::string(windowsPath);
}

bool CreateDataDirectory() {
  CreateDirectoryA(DataDirectory().c_str(), nullptr);
  const DWORD attributes = GetFileAttributesA(DataDirectory().c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace orvane::common
