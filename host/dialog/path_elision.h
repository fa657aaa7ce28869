#pragma once

#include <functional>
#include <string>
#include <string_view>

// Shortening a path for a label too small for it.
namespace orvane {

// The longest form of path that fits: path itself when it fits, otherwise its start, "…"
// and its end, cut at whole UTF-8 characters. The end keeps the whole file name while the
// label has room for it, and always the file name's last characters. fits is asked about
// candidates and must grow no more willing as they grow longer.
std::string ElideMiddle(std::string_view path, const std::function<bool(std::string_view)>& fits);

}  // namespace orvane
