#pragma once

// Texts between the host's own encodings and the wide (UTF-16) functions of Windows: the
// host's fixed texts and its own paths are UTF-8; the music path is in the ANSI code page, as
// the settings file holds it and the multimedia functions take it.

#include <string>
#include <string_view>

#include "platform/win32/windows_api.h"

namespace orvane {

inline std::wstring WideFrom(std::string_view text, UINT codePage) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int wideSize = MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
  if (wideSize <= 0) return {};
  std::wstring wide(static_cast<size_t>(wideSize), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), size, wide.data(), wideSize);
  return wide;
}

inline std::wstring WideFromUtf8(std::string_view text) {
  return WideFrom(text, CP_UTF8);
}
inline std::wstring WideFromAnsi(std::string_view text) {
  return WideFrom(text, CP_ACP);
}

inline std::string Utf8FromWide(std::wstring_view text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int bytes =
      WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return {};
  std::string out(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), size, out.data(), bytes, nullptr, nullptr);
  return out;
}

}  // namespace orvane
