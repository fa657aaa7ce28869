#pragma once

// Texts between the host's own encodings and the wide (UTF-16) functions of Windows: the
// host's fixed texts are UTF-8; file paths and settings values are in the ANSI code page, as
// the profile and multimedia functions take them.

#include <optional>
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

// The text in the ANSI code page; nothing when a character has no exact form there (a file
// named so could not be opened through the ANSI functions).
inline std::optional<std::string> AnsiFromWide(std::wstring_view text) {
  if (text.empty()) return std::string();
  const int size = static_cast<int>(text.size());
  BOOL lossy = FALSE;
  const int bytes = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), size, nullptr, 0,
                                        nullptr, &lossy);
  if (bytes <= 0 || lossy) return std::nullopt;
  std::string out(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), size, out.data(), bytes, nullptr,
                      &lossy);
  if (lossy) return std::nullopt;
  return out;
}

}  // namespace orvane
