#include "host/window_place.h"

namespace orvane {
namespace {

// Far more than any daemon or dialog nests its windows.
constexpr int MaxDepth = 64;

bool Covers(const WindowNode& topLevel, const WindowNode& root) {
  return topLevel.x <= 0 && topLevel.y <= 0 &&
         topLevel.x + static_cast<long>(topLevel.width) >= static_cast<long>(root.width) &&
         topLevel.y + static_cast<long>(topLevel.height) >= static_cast<long>(root.height);
}

}  // namespace

std::optional<WindowPlace> FindWindowPlace(std::uint32_t window, const WindowLookUp& lookUp) {
  const std::optional<WindowNode> node = lookUp(window);
  if (!node) return std::nullopt;
  WindowPlace place;
  if (node->parent == 0) {
    place.isRoot = true;
    return place;
  }
  WindowNode topLevel = *node;
  for (int depth = 0; depth < MaxDepth; ++depth) {
    const std::optional<WindowNode> parent = lookUp(topLevel.parent);
    if (!parent) return std::nullopt;
    if (parent->parent == 0) {  // topLevel's parent is the root
      place.parentIsRoot = depth == 0;
      place.topLevelCoversScreen = Covers(topLevel, *parent);
      return place;
    }
    topLevel = *parent;
  }
  return std::nullopt;
}

bool PlaysMusicIn(WindowPlace place, bool windowFromSwitch) {
  return place.isRoot || place.parentIsRoot || (!windowFromSwitch && place.topLevelCoversScreen);
}

}  // namespace orvane
