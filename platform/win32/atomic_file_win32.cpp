#include <windows.h>

#include <memory>

#include "platform/atomic_file.h"
#include "platform/win32/wide_text.h"

namespace orvane {
namespace {

std::wstring FolderPart(const std::wstring& path) {
  const size_t cut = path.find_last_of(L"\\/");
  return cut == std::wstring::npos ? L"." : path.substr(0, cut + 1);
}

// One open handle, closed when it goes.
class Handle {
 public:
  explicit Handle(HANDLE handle) : handle_(handle) {}
  ~Handle() { Close(); }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  HANDLE get() const { return handle_; }
  bool ok() const { return handle_ != INVALID_HANDLE_VALUE; }
  bool Close() {
    const bool closed = ok() && CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
    return closed;
  }

 private:
  HANDLE handle_;
};

// A temporary file beside the target that is deleted again unless Commit moved it there.
class TemporaryFile {
 public:
  explicit TemporaryFile(const std::string& target) : target_(Utf16(target)) {
    wchar_t name[MAX_PATH + 1] = {};
    if (GetTempFileNameW(FolderPart(target_).c_str(), L"orv", 0, name) == 0) return;
    path_ = name;
    file_ = std::make_unique<Handle>(CreateFileW(name, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                                                 FILE_ATTRIBUTE_NORMAL, nullptr));
  }
  ~TemporaryFile() {
    file_.reset();
    if (!path_.empty()) DeleteFileW(path_.c_str());
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  bool ok() const { return file_ && file_->ok(); }

  bool Write(const char* data, size_t size) {
    while (size > 0) {
      DWORD done = 0;
      const DWORD chunk = size > (1u << 20) ? (1u << 20) : static_cast<DWORD>(size);
      if (!WriteFile(file_->get(), data, chunk, &done, nullptr) || done == 0) return false;
      data += done;
      size -= done;
    }
    return true;
  }

  // Flushes to disk and moves the file over the target in one step.
  bool Commit(const BeforeRename& beforeRename) {
    if (!FlushFileBuffers(file_->get()) || !file_->Close()) return false;
    if (beforeRename && !beforeRename(Utf8(path_))) return false;
    if (!MoveFileExW(path_.c_str(), target_.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      return false;
    }
    path_.clear();
    return true;
  }

 private:
  std::wstring target_;
  std::wstring path_;
  std::unique_ptr<Handle> file_;
};

}  // namespace

bool WriteFileAtomically(const std::string& path, std::string_view bytes,
                         const BeforeRename& beforeRename) {
  if (path.empty()) return false;
  TemporaryFile temporary(path);
  return temporary.ok() && temporary.Write(bytes.data(), bytes.size()) &&
         temporary.Commit(beforeRename);
}

bool CopyFileAtomically(const std::string& from, const std::string& to,
                        const BeforeRename& beforeRename) {
  if (from.empty() || to.empty()) return false;
  Handle source(CreateFileW(Utf16(from).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!source.ok() || GetFileType(source.get()) != FILE_TYPE_DISK) return false;
  TemporaryFile temporary(to);
  if (!temporary.ok()) return false;
  char buffer[65536];
  while (true) {
    DWORD got = 0;
    if (!ReadFile(source.get(), buffer, sizeof buffer, &got, nullptr)) return false;
    if (got == 0) break;
    if (!temporary.Write(buffer, got)) return false;
  }
  return temporary.Commit(beforeRename);
}

}  // namespace orvane
