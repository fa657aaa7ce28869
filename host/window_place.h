#pragma once

#include <cstdint>
#include <functional>
#include <optional>

// Where the daemon's window sits in the window tree, and whether a run there plays music.
namespace orvane {

// One window as the X server describes it.
struct WindowNode {
  std::uint32_t parent = 0;        // 0 for the root window
  int x = 0, y = 0;                // the outer corner, in the parent
  unsigned width = 0, height = 0;  // the outer size, borders included
};
// The window's node; nullopt when it does not exist (any more).
using WindowLookUp = std::function<std::optional<WindowNode>(std::uint32_t window)>;

struct WindowPlace {
  bool isRoot = false;
  bool parentIsRoot = false;
  // The window's top-level ancestor (the one whose parent is the root) covers the whole
  // screen, as a screen locker's window does; a settings dialog does not.
  bool topLevelCoversScreen = false;
};

// Walks from window up to the root. nullopt when a window of the chain is missing or the chain
// is implausibly deep (a tree changing under the walk).
std::optional<WindowPlace> FindWindowPlace(std::uint32_t window, const WindowLookUp& lookUp);

// Music plays only in a real saver run (the root, a daemon's window, or a locker's inside a
// full-screen window); a settings program's preview pane stays quiet.
bool PlaysMusicIn(WindowPlace place, bool windowFromSwitch);

}  // namespace orvane
