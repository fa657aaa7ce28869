#include "platform/win32/known_folders_win32.h"

// clang-format off
#include "platform/win32/windows_api.h"
#include <knownfolders.h>
#include <shlobj.h>
// clang-format on

#include "platform/win32/wide_text.h"

namespace orvane {
namespace {

std::string KnownFolder(REFKNOWNFOLDERID id) {
  PWSTR path = nullptr;
  std::wstring wide;
  if (SUCCEEDED(SHGetKnownFolderPath(id, 0, nullptr, &path)) && path != nullptr) wide = path;
  CoTaskMemFree(path);
  const DWORD attributes =
      wide.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return "";
  return Utf8(wide);
}

}  // namespace

std::string KnownMusicFolder() {
  return KnownFolder(FOLDERID_Music);
}

std::string KnownProfileFolder() {
  return KnownFolder(FOLDERID_Profile);
}

}  // namespace orvane
