#include "common/x11_property.h"

namespace orvane::common {

std::vector<unsigned long> ListProperty(Display* display, Window window, Atom property, Atom type) {
  Atom actualType = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  std::vector<unsigned long> items;
  if (XGetWindowProperty(display, window, property, 0, 4096, False, type, &actualType, &format,
                         &count, &after, &data) == Success &&
      actualType == type && format == 32 && data != nullptr) {
    const auto* values = reinterpret_cast<const unsigned long*>(data);  // format 32 comes as long
    items.assign(values, values + count);
  }
  if (data != nullptr) XFree(data);
  return items;
}

}  // namespace orvane::common
