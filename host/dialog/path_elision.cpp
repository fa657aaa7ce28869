#include "host/dialog/path_elision.h"

#include <algorithm>
#include <vector>

namespace orvane {
namespace {

constexpr std::string_view kEllipsis = "…";

bool IsContinuationByte(char c) {
  return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Where each character of text starts; a stray byte counts as a character of its own.
std::vector<size_t> CharacterStarts(std::string_view text) {
  std::vector<size_t> starts;
  for (size_t i = 0; i < text.size(); ++i) {
    if (i == 0 || !IsContinuationByte(text[i]) || i - starts.back() >= 4) starts.push_back(i);
  }
  return starts;
}

}  // namespace

std::string ElideMiddle(std::string_view path, const std::function<bool(std::string_view)>& fits) {
  if (path.empty() || fits(path)) return std::string(path);
  const std::vector<size_t> starts = CharacterStarts(path);
  const size_t count = starts.size();
  const size_t slash = path.find_last_of('/');
  const size_t nameBytesStart = slash == std::string_view::npos ? 0 : slash + 1;
  const size_t nameLength = static_cast<size_t>(
      starts.end() - std::lower_bound(starts.begin(), starts.end(), nameBytesStart));
  // The candidate keeping `kept` characters: the end takes the file name first, the start
  // gets the rest up to an even share.
  const auto candidate = [&](size_t kept) {
    const size_t tail = std::min(kept, std::max(kept - kept / 2, nameLength));
    const size_t head = kept - tail;
    const size_t headEnd = head < count ? starts[head] : path.size();
    const size_t tailStart = tail == 0 ? path.size() : starts[count - tail];
    return std::string(path.substr(0, headEnd)) + std::string(kEllipsis) +
           std::string(path.substr(tailStart));
  };
  // The most characters that still fit, found by halving; the ellipsis alone is the least.
  size_t low = 0, high = count - 1;
  while (low < high) {
    const size_t middle = (low + high + 1) / 2;
    if (fits(candidate(middle))) {
      low = middle;
    } else {
      high = middle - 1;
    }
  }
  return candidate(low);
}

}  // namespace orvane
