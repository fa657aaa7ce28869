#pragma once

#include <string>
#include <string_view>

#include "platform/win32/windows_api.h"

// The program's own paths (its folder, its companions, the settings file) are UTF-8 inside the
// host on Windows and cross to the system through the wide functions, so that a folder named
// outside the ANSI code page works. Only the music path stays in the ANSI code page, as the
// settings file holds it.
namespace orvane {

inline std::wstring WidePath(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int size = static_cast<int>(utf8.size());
  const int wideSize = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
  if (wideSize <= 0) return {};
  std::wstring wide(static_cast<size_t>(wideSize), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), wideSize);
  return wide;
}

inline std::string Utf8Path(std::wstring_view wide) {
  if (wide.empty()) return {};
  const int size = static_cast<int>(wide.size());
  const int bytes =
      WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return {};
  std::string utf8(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, utf8.data(), bytes, nullptr, nullptr);
  return utf8;
}

// Text in the ANSI code page as the A functions read it.
inline std::wstring WideFromCodePage(std::string_view ansi) {
  if (ansi.empty()) return {};
  const int size = static_cast<int>(ansi.size());
  const int wideSize = MultiByteToWideChar(CP_ACP, 0, ansi.data(), size, nullptr, 0);
  if (wideSize <= 0) return {};
  std::wstring wide(static_cast<size_t>(wideSize), L'\0');
  MultiByteToWideChar(CP_ACP, 0, ansi.data(), size, wide.data(), wideSize);
  return wide;
}

// Text in the ANSI code page as the A functions write it (the system's default character for
// what has no form there).
inline std::string CodePageFromWide(std::wstring_view wide) {
  if (wide.empty()) return {};
  const int size = static_cast<int>(wide.size());
  const int bytes = WideCharToMultiByte(CP_ACP, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return {};
  std::string ansi(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), size, ansi.data(), bytes, nullptr, nullptr);
  return ansi;
}

}  // namespace orvane
