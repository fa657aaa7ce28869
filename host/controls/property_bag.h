#pragma once

#include <cstdint>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "host/controls/font_info.h"

namespace orvane {

// One stored value: a boolean, a whole number, a text or a font.
using PropertyValue = std::variant<bool, std::int64_t, std::string, FontInfo>;

// One control's stored properties: a value equal to its default is not stored and reads back
// as the default, so a design keeps only what differs.
class PropertyBag {
 public:
  PropertyValue Read(std::string_view name, const PropertyValue& fallback) const;
  void Write(std::string_view name, const PropertyValue& value, const PropertyValue& fallback);

 private:
  std::map<std::string, PropertyValue, std::less<>> values_;
};

// Stored values as the control's field types, in the container's loose manner: the text "1"
// reads as the number 1, "True" as true, a number as its decimal text, true as -1. Nothing for a
// value that does not convert or does not fit.
std::optional<bool> ToBool(const PropertyValue& value);
std::optional<std::int64_t> ToInteger(const PropertyValue& value,
                                      std::int64_t min = std::numeric_limits<std::int64_t>::min(),
                                      std::int64_t max = std::numeric_limits<std::int64_t>::max());
std::optional<std::string> ToText(const PropertyValue& value);

}  // namespace orvane
