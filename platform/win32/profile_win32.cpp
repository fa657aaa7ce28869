// The profile functions on Windows: the system's own, in their wide forms so that the settings
// file's path may hold any character. Section, key and value are converted from and to the
// ANSI code page exactly as the A forms convert them, so the file's bytes stay what the A forms
// would write (the keys' code page 932 bytes among them).
#include <algorithm>
#include <string>
#include <vector>

#include "platform/profile.h"
#include "platform/settings_text.h"
#include "platform/text_limits.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/windows_api.h"

namespace orvane {
namespace {

// The system's words for an error number, in UTF-8, without the line break that ends them.
std::string ErrorText(DWORD error) {
  wchar_t* text = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring wide = text != nullptr ? std::wstring(text, length) : std::wstring();
  if (text != nullptr) LocalFree(text);
  while (!wide.empty() && (wide.back() == L'\r' || wide.back() == L'\n' || wide.back() == L' '))
    wide.pop_back();
  if (wide.empty()) return "error " + std::to_string(error);
  return Utf8(wide);
}

}  // namespace

std::string GetPrivateProfileString(const std::string& section, const std::string& key,
                                    const std::string& file) {
  // The A form reads into a buffer of as many characters as it was given bytes.
  wchar_t value[kProfileValueBytes + 1] = {};
  const DWORD length =
      GetPrivateProfileStringW(Utf16FromAnsi(section).c_str(), Utf16FromAnsi(key).c_str(), L"",
                               value, kProfileValueBytes + 1, Utf16(file).c_str());
  std::string text =
      AnsiFromUtf16(std::wstring_view(value, std::min<DWORD>(length, kProfileValueBytes)));
  if (text.size() > kProfileValueBytes) text.resize(kProfileValueBytes);
  return text;
}

bool WritePrivateProfileString(const std::string& section, const std::string& key,
                               const std::string& value, const std::string& file,
                               std::string* reason) {
  SetLastError(ERROR_SUCCESS);
  if (WritePrivateProfileStringW(Utf16FromAnsi(section).c_str(), Utf16FromAnsi(key).c_str(),
                                 Utf16FromAnsi(value).c_str(), Utf16(file).c_str())) {
    return true;
  }
  // A failure that leaves no error number was still a refusal to write.
  const DWORD error = GetLastError();
  if (reason != nullptr) *reason = ErrorText(error != ERROR_SUCCESS ? error : ERROR_ACCESS_DENIED);
  return false;
}

bool CanOpenForReading(const std::string& path) {
  // Without backup semantics a folder does not open; a file another program holds without read
  // sharing does not either.
  const HANDLE file =
      CreateFileW(Utf16(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const bool disk = GetFileType(file) == FILE_TYPE_DISK;
  CloseHandle(file);
  return disk;
}

namespace {

class WindowsSettingsText final : public SettingsText {
 public:
  std::optional<std::string> FromPath(const std::string& path) override {
    const std::wstring wide = Utf16(path);
    BOOL lossy = FALSE;
    std::string text = AnsiFromUtf16(wide, &lossy);
    if (lossy || (text.empty() && !wide.empty())) return std::nullopt;
    return text;
  }

  std::string ToPath(const std::string& text) override { return Utf8(Utf16FromAnsi(text)); }

  std::optional<std::string> ShortPath(const std::string& path) override {
    const std::wstring wide = Utf16(path);
    const DWORD needed = GetShortPathNameW(wide.c_str(), nullptr, 0);
    if (needed == 0) return std::nullopt;
    std::vector<wchar_t> buffer(needed + 1, L'\0');
    const DWORD length = GetShortPathNameW(wide.c_str(), buffer.data(), needed + 1);
    if (length == 0 || length > needed) return std::nullopt;
    return Utf8(std::wstring_view(buffer.data(), length));
  }
};

}  // namespace

SettingsText& SystemSettingsText() {
  static WindowsSettingsText text;
  return text;
}

}  // namespace orvane
