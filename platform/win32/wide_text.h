#pragma once

#include <string>
#include <string_view>

#include "platform/win32/windows_api.h"

// The host's own texts and paths (its folder, its companions, the settings file, the dialog's
// texts) are UTF-8 on Windows and cross to the system through the wide functions, so that a
// folder named outside the ANSI code page works. Only what the settings file holds (the music
// path among it) stays in the ANSI code page, converted as the A functions convert it.
namespace orvane {

namespace wide_text {

// Empty for text the system cannot convert.
inline std::wstring Widen(std::string_view text, UINT codePage) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int wideSize = MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
  if (wideSize <= 0) return {};
  std::wstring wide(static_cast<size_t>(wideSize), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), size, wide.data(), wideSize);
  return wide;
}

inline std::string Narrow(std::wstring_view wide, UINT codePage, DWORD flags, BOOL* lossy) {
  if (wide.empty()) return {};
  const int size = static_cast<int>(wide.size());
  const int bytes =
      WideCharToMultiByte(codePage, flags, wide.data(), size, nullptr, 0, nullptr, lossy);
  if (bytes <= 0) return {};
  std::string text(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(codePage, flags, wide.data(), size, text.data(), bytes, nullptr, lossy);
  return text;
}

}  // namespace wide_text

inline std::wstring Utf16(std::string_view utf8) {
  return wide_text::Widen(utf8, CP_UTF8);
}
inline std::string Utf8(std::wstring_view wide) {
  return wide_text::Narrow(wide, CP_UTF8, 0, nullptr);
}

inline std::wstring Utf16FromAnsi(std::string_view ansi) {
  return wide_text::Widen(ansi, CP_ACP);
}
// As the A functions write it, with the system's default character for what has no form in
// the code page; given lossy, no near form is taken either and *lossy tells whether a
// character had none.
inline std::string AnsiFromUtf16(std::wstring_view wide, BOOL* lossy = nullptr) {
  return wide_text::Narrow(wide, CP_ACP, lossy != nullptr ? WC_NO_BEST_FIT_CHARS : 0, lossy);
}

}  // namespace orvane
