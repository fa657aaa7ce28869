#include <windows.h>

#include <algorithm>

#include "renderer/sgi_writer.h"

namespace orvane::renderer {
namespace {

// The system's text for an error code, without its line break.
std::string describe(DWORD code) {
  char text[256] = {};
  DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                code, 0, text, sizeof text, nullptr);
  while (length > 0 && (text[length - 1] == '\r' || text[length - 1] == '\n')) --length;
  return length > 0 ? std::string(text, length) : "error " + std::to_string(code);
}

}  // namespace

bool writeFileAtomically(const std::string& path, const std::vector<std::uint8_t>& bytes,
                         std::string& error) {
  const std::string temporary = path + ".part";
  HANDLE file = CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    error = describe(GetLastError());
    return false;
  }
  std::size_t written = 0;
  while (written < bytes.size()) {
    DWORD chunk = 0;
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - written, 1 << 20));
    if (!WriteFile(file, bytes.data() + written, want, &chunk, nullptr) || chunk == 0) break;
    written += chunk;
  }
  const bool whole = written == bytes.size() && FlushFileBuffers(file);
  const DWORD writeError = GetLastError();
  CloseHandle(file);
  // MoveFileEx replaces the target in one step, which a plain rename does not do on Windows.
  if (!whole || !MoveFileExA(temporary.c_str(), path.c_str(),
                             MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    error = describe(whole ? GetLastError() : writeError);
    DeleteFileA(temporary.c_str());
    return false;
  }
  return true;
}

}  // namespace orvane::renderer
