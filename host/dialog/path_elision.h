#pragma once

#include <functional>
#include <string>
#include <string_view>

// Shortening a path for a label too small for it.
namespace orvane {

// The longest start + "…" + end that fits, cut at whole UTF-8 characters, keeping the file name
// while there is room; fits must grow no more willing as candidates grow longer.
std::string ElideMiddle(std::string_view path, const std::function<bool(std::string_view)>& fits);

}  // namespace orvane
