#include "host/controls/property_bag.h"

#include <cmath>
#include <limits>

#include "common/ascii_case.h"
#include "common/number_text.h"

namespace orvane {

PropertyValue PropertyBag::Read(std::string_view name, const PropertyValue& fallback) const {
  const auto it = values_.find(name);
  return it == values_.end() ? fallback : it->second;
}

void PropertyBag::Write(std::string_view name, const PropertyValue& value,
                        const PropertyValue& fallback) {
  const auto it = values_.find(name);
  if (LooselyEqual(value, fallback)) {
    if (it != values_.end()) values_.erase(it);
    return;
  }
  if (it != values_.end()) {
    it->second = value;
  } else {
    values_.emplace(std::string(name), value);
  }
}

namespace {

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// A text as a whole number, a fraction rounded half to even.
std::optional<std::int64_t> NumberFromText(std::string_view text) {
  const std::optional<double> value = common::ParseNumberText(text);
  if (!value || !(std::fabs(*value) <= 9.0e15)) return std::nullopt;
  return static_cast<std::int64_t>(std::nearbyint(*value));
}

}  // namespace

std::optional<bool> ToBool(const PropertyValue& value) {
  if (const bool* b = std::get_if<bool>(&value)) return *b;
  if (const std::int64_t* n = std::get_if<std::int64_t>(&value)) return *n != 0;
  if (const std::string* s = std::get_if<std::string>(&value)) {
    const std::string_view t = Trim(*s);
    if (common::EqualsIgnoringCase(t, "true")) return true;
    if (common::EqualsIgnoringCase(t, "false")) return false;
    if (const auto n = NumberFromText(t)) return *n != 0;
  }
  return std::nullopt;
}

std::optional<std::int64_t> ToInteger(const PropertyValue& value, std::int64_t min,
                                      std::int64_t max) {
  std::optional<std::int64_t> n;
  if (const bool* b = std::get_if<bool>(&value)) n = *b ? -1 : 0;
  if (const std::int64_t* i = std::get_if<std::int64_t>(&value)) n = *i;
  if (const std::string* s = std::get_if<std::string>(&value)) n = NumberFromText(*s);
  if (!n || *n < min || *n > max) return std::nullopt;
  return n;
}

std::optional<std::string> ToText(const PropertyValue& value) {
  if (const std::string* s = std::get_if<std::string>(&value)) return *s;
  if (const bool* b = std::get_if<bool>(&value)) return std::string(*b ? "True" : "False");
  if (const std::int64_t* n = std::get_if<std::int64_t>(&value)) return std::to_string(*n);
  return std::nullopt;
}

std::optional<FontInfo> ToFont(const PropertyValue& value) {
  if (const FontInfo* f = std::get_if<FontInfo>(&value)) return *f;
  return std::nullopt;
}

bool LooselyEqual(const PropertyValue& value, const PropertyValue& fallback) {
  if (value.index() == fallback.index()) return value == fallback;
  constexpr auto kMin = std::numeric_limits<std::int64_t>::min();
  constexpr auto kMax = std::numeric_limits<std::int64_t>::max();
  if (std::holds_alternative<bool>(value)) {
    const auto b = ToBool(fallback);
    return b && *b == std::get<bool>(value);
  }
  if (std::holds_alternative<std::int64_t>(value)) {
    const auto n = ToInteger(fallback, kMin, kMax);
    return n && *n == std::get<std::int64_t>(value);
  }
  if (std::holds_alternative<std::string>(value)) {
    const auto t = ToText(fallback);
    return t && *t == std::get<std::string>(value);
  }
  return false;
}

}  // namespace orvane
