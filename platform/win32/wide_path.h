#pragma once

#include <string>
#include <string_view>

#include "platform/win32/windows_api.h"

// The program's own paths (its folder, its companions, the settings file) are UTF-8 inside the
// host on Windows and cross to the system through the wide functions, so that a folder named
// outside the ANSI code page works. Only the music path stays in the ANSI code page, as the
// settings file holds it.
namespace orvane {

// Text in a code page (CP_UTF8, CP_ACP) to UTF-16, and back; empty for text the system
// cannot convert.
inline std::wstring WideFrom(std::string_view text, UINT codePage) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int wideSize = MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
  if (wideSize <= 0) return {};
  std::wstring wide(static_cast<size_t>(wideSize), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), size, wide.data(), wideSize);
  return wide;
}

inline std::string NarrowFrom(std::wstring_view wide, UINT codePage) {
  if (wide.empty()) return {};
  const int size = static_cast<int>(wide.size());
  const int bytes =
      WideCharToMultiByte(codePage, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return {};
  std::string text(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(codePage, 0, wide.data(), size, text.data(), bytes, nullptr, nullptr);
  return text;
}

inline std::wstring WidePath(std::string_view utf8) {
  return WideFrom(utf8, CP_UTF8);
}
inline std::string Utf8Path(std::wstring_view wide) {
  return NarrowFrom(wide, CP_UTF8);
}

// Text in the ANSI code page as the A functions read it.
inline std::wstring WideFromCodePage(std::string_view ansi) {
  return WideFrom(ansi, CP_ACP);
}
// Text in the ANSI code page as the A functions write it (the system's default character for
// what has no form there).
inline std::string CodePageFromWide(std::wstring_view wide) {
  return NarrowFrom(wide, CP_ACP);
}

}  // namespace orvane
