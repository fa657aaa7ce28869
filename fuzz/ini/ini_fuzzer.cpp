// The INI reader and writer on any bytes. Input: file bytes, NUL, key, NUL, value.
// Beyond not crashing: a write that is accepted reads back as the value written, leaves the
// other keys' values alone, and a second identical write changes nothing.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "common/ascii_case.h"
#include "platform/linux/ini_file.h"

namespace {

std::string_view Take(std::string_view& rest) {
  const size_t nul = rest.find('\0');
  std::string_view part = rest.substr(0, nul);
  rest = nul == std::string_view::npos ? std::string_view() : rest.substr(nul + 1);
  return part;
}

bool SameName(std::string_view a, std::string_view b) {
  while (!a.empty() && a.front() == ' ') a.remove_prefix(1);
  while (!a.empty() && a.back() == ' ') a.remove_suffix(1);
  return orvane::common::EqualsIgnoringCase(a, b);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view rest(reinterpret_cast<const char*>(data), size);
  const std::string_view file = Take(rest);
  const std::string_view key = Take(rest);
  const std::string_view value = Take(rest);

  const auto before = orvane::IniLookup(file, "Section", key);
  const auto otherBefore = orvane::IniLookup(file, "Section", "other");
  const auto updated = orvane::IniUpdate(file, "Section", key, value);
  if (!updated) return 0;
  if (orvane::IniLookup(*updated, "Section", key) != std::string(value)) std::abort();
  if (!SameName(key, "other") && orvane::IniLookup(*updated, "Section", "other") != otherBefore) {
    std::abort();
  }
  const auto again = orvane::IniUpdate(*updated, "Section", key, value);
  if (!again || *again != *updated) std::abort();
  (void)before;
  return 0;
}
