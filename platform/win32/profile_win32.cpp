// The profile functions on Windows: the system's own.
#include <string>

#include "platform/profile.h"
#include "platform/text_limits.h"
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
  const int size = static_cast<int>(wide.size());
  std::string utf8(WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr),
                   '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, utf8.data(), static_cast<int>(utf8.size()),
                      nullptr, nullptr);
  return utf8;
}

}  // namespace

std::string GetPrivateProfileString(const std::string& section, const std::string& key,
                                    const std::string& file) {
  char value[kProfileValueBytes + 1] = {};
  GetPrivateProfileStringA(section.c_str(), key.c_str(), "", value, sizeof value, file.c_str());
  return value;
}

bool WritePrivateProfileString(const std::string& section, const std::string& key,
                               const std::string& value, const std::string& file,
                               std::string* reason) {
  SetLastError(ERROR_SUCCESS);
  if (WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str())) {
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
  const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const bool disk = GetFileType(file) == FILE_TYPE_DISK;
  CloseHandle(file);
  return disk;
}

}  // namespace orvane
