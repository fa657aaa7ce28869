#pragma once

#include <optional>
#include <string_view>

namespace orvane {

// The value of "Xft.dpi" in an X resource database text (the RESOURCE_MANAGER property),
// when it holds a positive number.
std::optional<double> XftDpiFromResources(std::string_view resources);

// Dots per inch from a screen's size in pixels and millimetres; nullopt for a zero size.
std::optional<double> DpiFromScreenSize(int pixels, int millimetres);

// 1440 / dpi, with dpi first rounded to a whole number (so 95.98 from an X server's
// millimetre size gives exactly 15); 15 for a dpi that is not usable.
float TwipsPerPixelFromDpi(std::optional<double> dpi);

}  // namespace orvane
