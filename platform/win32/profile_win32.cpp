// The profile functions on Windows: the system's own.
#include "platform/profile.h"
#include "platform/text_limits.h"
#include "platform/win32/windows_api.h"

namespace orvane {

std::string GetPrivateProfileString(const std::string& section, const std::string& key,
                                    const std::string& file) {
  char value[kProfileValueBytes + 1] = {};
  GetPrivateProfileStringA(section.c_str(), key.c_str(), "", value, sizeof value, file.c_str());
  return value;
}

bool WritePrivateProfileString(const std::string& section, const std::string& key,
                               const std::string& value, const std::string& file) {
  return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str()) !=
         FALSE;
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
