#pragma once

// The fuzzers of command lines read their input as arguments split at NUL bytes, as the
// system hands a program its argument vector.

#include <cstddef>
#include <string>
#include <vector>

namespace orvane::fuzz {

inline std::vector<std::string> SplitAtNul(const std::string& text) {
  std::vector<std::string> words;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    if (i == text.size() || text[i] == '\0') {
      words.push_back(text.substr(start, i - start));
      start = i + 1;
    }
  }
  return words;
}

}  // namespace orvane::fuzz
