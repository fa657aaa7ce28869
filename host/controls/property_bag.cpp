#include "host/controls/property_bag.h"

#include <cmath>

#include "common/ascii_case.h"
#include "common/number_text.h"

namespace orvane {

PropertyValue PropertyBag::Read(std::string_view name, const PropertyValue& fallback) const {
  const auto it = values_.find(name);
  return it == values_.end() ? fallback : it->second;
}

void PropertyBag::Write(std::string_view name, const PropertyValue& value,
                        const PropertyValue& fallback) {
  // A value equals a default of another type when both read as the same text ("1" and 1).
  const bool isDefault = value == fallback || (!std::holds_alternative<FontInfo>(value) &&
                                               ToText(value) == ToText(fallback));
  if (!isDefault) {
    values_.insert_or_assign(std::string(name), value);
  } else if (const auto it = values_.find(name); it != values_.end()) {
    values_.erase(it);
  }
}

std::optional<bool> ToBool(const PropertyValue& value) {
  if (const std::string* s = std::get_if<std::string>(&value)) {
    if (common::EqualsIgnoringCase(*s, "true")) return true;
    if (common::EqualsIgnoringCase(*s, "false")) return false;
  }
  if (const auto n = ToInteger(value)) return *n != 0;
  return std::nullopt;
}

std::optional<std::int64_t> ToInteger(const PropertyValue& value, std::int64_t min,
                                      std::int64_t max) {
  std::optional<std::int64_t> n;
  if (const bool* b = std::get_if<bool>(&value)) n = *b ? -1 : 0;
  if (const std::int64_t* i = std::get_if<std::int64_t>(&value)) n = *i;
  if (const std::string* s = std::get_if<std::string>(&value)) {
    // A fraction is rounded half to even.
    const std::optional<double> number = common::ParseNumberText(*s);
    if (number && std::fabs(*number) <= 9.0e15)
      n = static_cast<std::int64_t>(std::nearbyint(*number));
  }
  if (!n || *n < min || *n > max) return std::nullopt;
  return n;
}

std::optional<std::string> ToText(const PropertyValue& value) {
  if (const std::string* s = std::get_if<std::string>(&value)) return *s;
  if (const bool* b = std::get_if<bool>(&value)) return std::string(*b ? "True" : "False");
  if (const std::int64_t* n = std::get_if<std::int64_t>(&value)) return std::to_string(*n);
  return std::nullopt;
}

}  // namespace orvane
