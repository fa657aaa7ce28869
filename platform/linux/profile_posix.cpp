// The profile functions on Linux: our INI model on files read whole and written atomically.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "platform/atomic_file.h"
#include "platform/linux/ini_file.h"
#include "platform/linux/write_permission.h"
#include "platform/profile.h"
#include "platform/text_limits.h"

namespace orvane {
namespace {

// No settings file of ours comes near this; a larger file is not read (nor rewritten).
constexpr off_t kMaxIniBytes = 16 * 1024 * 1024;

enum class ReadResult { Ok, Missing, Failed };

// Reads a whole regular file of bounded size; O_NONBLOCK keeps a FIFO from hanging the open.
ReadResult ReadWholeFile(const std::string& path, std::string& bytes) {
  bytes.clear();
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT ? ReadResult::Missing : ReadResult::Failed;
  struct stat info {};
  ReadResult result = ReadResult::Ok;
  if (fstat(fd, &info) != 0) {
    result = ReadResult::Failed;
  } else if (!S_ISREG(info.st_mode) || info.st_size > kMaxIniBytes) {
    result = ReadResult::Failed;
    errno = S_ISDIR(info.st_mode) ? EISDIR : !S_ISREG(info.st_mode) ? EINVAL : EFBIG;
  } else {
    char buffer[16384];
    while (true) {
      const ssize_t got = read(fd, buffer, sizeof buffer);
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) {
        result = ReadResult::Failed;
        break;
      }
      if (got == 0) break;
      bytes.append(buffer, static_cast<size_t>(got));
      if (bytes.size() > static_cast<size_t>(kMaxIniBytes)) {
        result = ReadResult::Failed;
        errno = EFBIG;
        break;
      }
    }
  }
  const int failure = errno;
  close(fd);
  errno = failure;
  return result;
}

std::string UpToNul(const std::string& text) {
  return text.substr(0, text.find('\0'));
}

// The write itself; on failure errno says why.
bool WriteProfile(const std::string& section, const std::string& key, const std::string& value,
                  const std::string& path) {
  std::string bytes;
  // An unreadable file is never replaced: its keys would be lost.
  const ReadResult read = ReadWholeFile(path, bytes);
  if (read == ReadResult::Failed) return false;
  const std::optional<std::string> updated =
      IniUpdate(bytes, UpToNul(section), UpToNul(key), UpToNul(value));
  if (!updated) {
    errno = EINVAL;
    return false;
  }
  // A settings file that is a link to one elsewhere is written there.
  std::string target = path;
  struct stat info {};
  if (lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
    if (char* resolved = realpath(path.c_str(), nullptr)) {
      target = resolved;
      free(resolved);
    }
  }
  // The rename would replace a read-only file, since it asks only the folder.
  if (read == ReadResult::Ok && !MayWrite(target)) return false;
  return WriteFileAtomically(target, *updated);
}

}  // namespace

std::string GetPrivateProfileString(const std::string& section, const std::string& key,
                                    const std::string& file) {
  std::string bytes;
  if (ReadWholeFile(UpToNul(file), bytes) != ReadResult::Ok) return "";
  std::string value = UpToNul(IniLookup(bytes, UpToNul(section), UpToNul(key)).value_or(""));
  if (value.size() > kProfileValueBytes) value.resize(kProfileValueBytes);
  return value;
}

bool WritePrivateProfileString(const std::string& section, const std::string& key,
                               const std::string& value, const std::string& file,
                               std::string* reason) {
  const bool written = WriteProfile(section, key, value, UpToNul(file));
  if (!written && reason != nullptr) *reason = std::strerror(errno);
  return written;
}

bool CanOpenForReading(const std::string& path) {
  // Only a regular file counts: a folder opens on Linux but is no file, and a FIFO would block.
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat info {};
  const bool regular = fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
  close(fd);
  return regular;
}

}  // namespace orvane
