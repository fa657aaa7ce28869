#include "platform/linux/mci/wave_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cstring>

namespace orvane::platform {
namespace {

bool IsWaveFile(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  std::array<std::uint8_t, 12> head{};
  const ssize_t n = ::read(fd, head.data(), head.size());
  ::close(fd);
  return n == static_cast<ssize_t>(head.size()) && IsRiffWave(head);
}

}  // namespace

bool IsRiffWave(std::span<const std::uint8_t> head) {
  return head.size() >= 12 && std::memcmp(head.data(), "RIFF", 4) == 0 &&
         std::memcmp(head.data() + 8, "WAVE", 4) == 0;
}

std::string FindWaveFile(const std::string& name) {
  if (name.empty()) return {};
  if (IsWaveFile(name)) return name;
  const std::size_t slash = name.find_last_of('/');
  const std::size_t dot = name.find_last_of('.');
  const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  if (!hasExtension && IsWaveFile(name + ".wav")) return name + ".wav";
  return {};
}

}  // namespace orvane::platform
