#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "renderer/sgi_writer.h"

namespace orvane::renderer {

bool writeFileAtomically(const std::string& path, const std::vector<std::uint8_t>& bytes,
                         std::string& error) {
  std::string temporary = path + ".XXXXXX";
  const int fd = mkstemp(temporary.data());
  if (fd < 0) {
    error = std::strerror(errno);
    return false;
  }
  fchmod(fd, 0644);
  std::size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + written, bytes.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    written += static_cast<std::size_t>(n);
  }
  const int writeErrno = errno;
  if (written != bytes.size() || fsync(fd) != 0) {
    error = std::strerror(written != bytes.size() ? writeErrno : errno);
    close(fd);
    unlink(temporary.c_str());
    return false;
  }
  if (close(fd) != 0 || std::rename(temporary.c_str(), path.c_str()) != 0) {
    error = std::strerror(errno);
    unlink(temporary.c_str());
    return false;
  }
  return true;
}

}  // namespace orvane::renderer
