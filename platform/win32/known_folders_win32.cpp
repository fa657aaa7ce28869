#include "platform/win32/known_folders_win32.h"

// clang-format off
#include "platform/win32/windows_api.h"
#include <knownfolders.h>
#include <shlobj.h>
// clang-format on

namespace orvane {
namespace {

// The path in the ANSI code page, exactly: "" when a character has no place there, since a
// best-fit stand-in would name another folder.
std::string ExactAnsi(const std::wstring& wide) {
  if (wide.empty()) return "";
  BOOL lossy = FALSE;
  const int length = static_cast<int>(wide.size());
  const int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), length, nullptr,
                                       0, nullptr, &lossy);
  if (size <= 0 || lossy) return "";
  std::string ansi(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), length, ansi.data(), size, nullptr,
                      &lossy);
  return lossy ? "" : ansi;
}

std::string KnownFolder(REFKNOWNFOLDERID id) {
  PWSTR path = nullptr;
  std::wstring wide;
  if (SUCCEEDED(SHGetKnownFolderPath(id, 0, nullptr, &path)) && path != nullptr) wide = path;
  CoTaskMemFree(path);
  const DWORD attributes =
      wide.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return "";
  if (std::string ansi = ExactAnsi(wide); !ansi.empty()) return ansi;
  std::wstring shortPath(MAX_PATH, L'\0');
  const DWORD length =
      GetShortPathNameW(wide.c_str(), shortPath.data(), static_cast<DWORD>(shortPath.size()));
  if (length == 0 || length >= shortPath.size()) return "";
  shortPath.resize(length);
  return ExactAnsi(shortPath);
}

}  // namespace

std::string KnownMusicFolder() {
  return KnownFolder(FOLDERID_Music);
}

std::string KnownProfileFolder() {
  return KnownFolder(FOLDERID_Profile);
}

}  // namespace orvane
