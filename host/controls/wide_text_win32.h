#pragma once

// Texts between the host's own encodings and the wide (UTF-16) functions of Windows: the
// host's fixed texts and its own paths are UTF-8; the music path is in the ANSI code page, as
// the settings file holds it and the multimedia functions take it.

#include <string>
#include <string_view>

#include "platform/win32/wide_path.h"

namespace orvane {

inline std::wstring WideFromUtf8(std::string_view text) {
  return WideFrom(text, CP_UTF8);
}
inline std::wstring WideFromAnsi(std::string_view text) {
  return WideFrom(text, CP_ACP);
}
inline std::string Utf8FromWide(std::wstring_view text) {
  return NarrowFrom(text, CP_UTF8);
}

}  // namespace orvane
