#include "platform/screen_dpi.h"

#include <charconv>
#include <cmath>
#include <string>

namespace orvane {

std::optional<double> XftDpiFromResources(std::string_view resources) {
  constexpr std::string_view kName = "Xft.dpi";
  size_t start = 0;
  while (start < resources.size()) {
    size_t end = resources.find('\n', start);
    if (end == std::string_view::npos) end = resources.size();
    std::string_view line = resources.substr(start, end - start);
    start = end + 1;
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
    if (line.substr(0, kName.size()) != kName) continue;
    line.remove_prefix(kName.size());
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
    if (line.empty() || line.front() != ':') continue;
    line.remove_prefix(1);
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
    double value = 0;
    const auto [ptr, error] = std::from_chars(line.data(), line.data() + line.size(), value);
    if (error == std::errc() && ptr != line.data() && std::isfinite(value) && value > 0) {
      return value;
    }
    return std::nullopt;
  }
  return std::nullopt;
}

std::optional<double> DpiFromScreenSize(int pixels, int millimetres) {
  if (pixels <= 0 || millimetres <= 0) return std::nullopt;
  return pixels * 25.4 / millimetres;
}

float TwipsPerPixelFromDpi(std::optional<double> dpi) {
  if (!dpi || !std::isfinite(*dpi)) return 15.0f;
  const double whole = std::round(*dpi);
  if (whole < 1 || whole > 14400) return 15.0f;
  return static_cast<float>(1440.0 / whole);
}

}  // namespace orvane
