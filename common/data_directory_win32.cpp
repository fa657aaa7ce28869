#include <windows.h>

#include "common/data_directory.h"

namespace orvane::common {

namespace {
constexpr wchar_t kFixedFolder[] = L"C:\\t_ovin";
}  // namespace

// On Windows the programs use the fixed folder itself.
std::string DataDirectory() {
  return "C:\\t_ovin";
}

std::string MapFixedPath(std::string_view windowsPath) {
  return std::string(windowsPath);
}

// C:\t_ovin is the system's one fixed folder, shared by design: a directory there is used.
DataDirectoryState CheckDataDirectory() {
  const DWORD attributes = GetFileAttributesW(kFixedFolder);
  const bool directory =
      attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  return directory ? DataDirectoryState::Usable : DataDirectoryState::Missing;
}

bool CreateDataDirectory() {
  CreateDirectoryW(kFixedFolder, nullptr);
  return CheckDataDirectory() == DataDirectoryState::Usable;
}

}  // namespace orvane::common
