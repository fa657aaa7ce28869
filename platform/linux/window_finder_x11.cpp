#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/linux/x11_error_trap.h"
#include "platform/linux/x11_platform.h"

namespace orvane {
namespace {

// Windows nest only a few levels deep; the bound keeps a hostile tree from exhausting the
// stack or the time of a watch tick.
constexpr int kMaxDepth = 64;
constexpr long kMaxTitleLength = 4096;

class X11WindowFinder final : public WindowFinder {
 public:
  explicit X11WindowFinder(Display* display)
      : display_(display),
        netWmName_(XInternAtom(display, "_NET_WM_NAME", False)),
        utf8String_(XInternAtom(display, "UTF8_STRING", False)),
        compoundText_(XInternAtom(display, "COMPOUND_TEXT", False)) {}

  WindowHandle FindWindow(std::string_view title) override {
    X11ErrorTrap trap(display_);
    for (int screen = 0; screen < ScreenCount(display_); ++screen) {
      if (Window found = Search(RootWindow(display_, screen), title, 0)) return found;
    }
    return 0;
  }

 private:
  // Depth first through the whole tree: a window manager puts client windows into frames,
  // so titled windows are not always children of the root.
  Window Search(Window window, std::string_view title, int depth) {
    if (depth > 0 && HasTitle(window, title)) return window;
    if (depth >= kMaxDepth) return 0;
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display_, window, &root, &parent, &children, &count)) return 0;
    std::vector<Window> list(children, children + count);
    if (children) XFree(children);
    for (Window child : list) {
      if (Window found = Search(child, title, depth + 1)) return found;
    }
    return 0;
  }

  bool HasTitle(Window window, std::string_view title) {
    return Property(window, netWmName_) == title || Property(window, XA_WM_NAME) == title;
  }

  // The property as UTF-8 text; nullopt when it is missing or not text.
  std::optional<std::string> Property(Window window, Atom name) {
    Atom type = 0;
    int format = 0;
    unsigned long items = 0, remaining = 0;
    unsigned char* data = nullptr;
    std::optional<std::string> text;
    if (XGetWindowProperty(display_, window, name, 0, kMaxTitleLength / 4, False, AnyPropertyType,
                           &type, &format, &items, &remaining, &data) != Success) {
      return text;
    }
    // Xlib converts each of the three text types (UTF8_STRING, Latin-1 STRING, COMPOUND_TEXT).
    if (data != nullptr && format == 8 &&
        (type == utf8String_ || type == XA_STRING || type == compoundText_)) {
      XTextProperty property{data, type, format, items};
      char** list = nullptr;
      int count = 0;
      if (Xutf8TextPropertyToTextList(display_, &property, &list, &count) >= Success && count > 0 &&
          list != nullptr) {
        text = list[0];
      }
      if (list) XFreeStringList(list);
    }
    if (data) XFree(data);
    return text;
  }

  Display* display_;
  Atom netWmName_;
  Atom utf8String_;
  Atom compoundText_;
};

}  // namespace

std::unique_ptr<WindowFinder> MakeX11WindowFinder(Display* display) {
  return std::make_unique<X11WindowFinder>(display);
}

}  // namespace orvane
