#include "platform/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace orvane {
namespace {

std::string FolderPart(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string NamePart(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

mode_t CurrentUmask() {
  const mode_t mask = umask(0);
  umask(mask);
  return mask;
}

// The mode the new file gets: that of the regular file it replaces, else the fallback.
mode_t TargetMode(const std::string& path, mode_t fallback) {
  struct stat info {};
  if (lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode)) return info.st_mode & 07777;
  return fallback;
}

bool WriteAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    const ssize_t done = write(fd, data, size);
    if (done < 0 && errno == EINTR) continue;
    if (done < 0) return false;
    if (done == 0) {
      errno = ENOSPC;
      return false;
    }
    data += done;
    size -= static_cast<size_t>(done);
  }
  return true;
}

// A temporary file beside the target that is removed again unless Commit renamed it.
class TemporaryFile {
 public:
  explicit TemporaryFile(const std::string& target) : target_(target) {
    std::string pattern = FolderPart(target) + "/." + NamePart(target) + ".XXXXXX";
    fd_ = mkostemp(pattern.data(), O_CLOEXEC);
    if (fd_ >= 0) path_ = pattern;
  }
  // The clean-up keeps errno, which tells the caller why the write failed.
  ~TemporaryFile() {
    const int failure = errno;
    if (fd_ >= 0) close(fd_);
    if (!path_.empty()) unlink(path_.c_str());
    errno = failure;
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  int fd() const { return fd_; }
  bool ok() const { return fd_ >= 0; }

  // Sets the mode, flushes to disk if asked and renames over the target.
  bool Commit(mode_t mode, const BeforeRename& beforeRename, bool flush) {
    if (fchmod(fd_, mode) != 0 || (flush && fsync(fd_) != 0)) return false;
    const int fd = fd_;
    fd_ = -1;
    if (close(fd) != 0) return false;
    if (beforeRename && !beforeRename(path_)) {
      errno = ECANCELED;
      return false;
    }
    if (rename(path_.c_str(), target_.c_str()) != 0) return false;
    path_.clear();
    if (!flush) return true;
    // The rename itself reaches the disk with the folder.
    const int folder = open(FolderPart(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
      fsync(folder);
      close(folder);
    }
    return true;
  }

 private:
  std::string target_;
  std::string path_;
  int fd_ = -1;
};

}  // namespace

bool WriteFileAtomically(const std::string& path, std::string_view bytes,
                         const BeforeRename& beforeRename) {
  if (path.empty()) {
    errno = ENOENT;
    return false;
  }
  const mode_t mode = TargetMode(path, 0666 & ~CurrentUmask());
  TemporaryFile temporary(path);
  if (!temporary.ok() || !WriteAll(temporary.fd(), bytes.data(), bytes.size())) return false;
  return temporary.Commit(mode, beforeRename, true);
}

bool CopyFileAtomically(const std::string& from, const std::string& to,
                        const BeforeRename& beforeRename) {
  if (from.empty() || to.empty()) return false;
  const int source = open(from.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (source < 0) return false;
  struct stat info {};
  bool ok = fstat(source, &info) == 0 && S_ISREG(info.st_mode);
  if (ok) {
    const mode_t mode = TargetMode(to, 0600);
    TemporaryFile temporary(to);
    ok = temporary.ok();
    char buffer[65536];
    while (ok) {
      const ssize_t got = read(source, buffer, sizeof buffer);
      if (got < 0 && errno == EINTR) continue;
      if (got <= 0) {
        ok = got == 0;
        break;
      }
      ok = WriteAll(temporary.fd(), buffer, static_cast<size_t>(got));
    }
    // A copy is a cache made again at every start: the rename alone keeps readers from
    // seeing half of it, and a flush to disk would only hold the start up.
    ok = ok && temporary.Commit(mode, beforeRename, false);
  }
  close(source);
  return ok;
}

}  // namespace orvane
