// The command-line reader on any text: the mode letter is at most one character, the preview
// handle is the same number each time, and joining never loses an argument's bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/split_words.h"
#include "host/command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::string letter = orvane::ModeLetter(text);
  if (letter.size() > 4) std::abort();
  if (text.size() < 2 && !letter.empty()) std::abort();
  if (orvane::PreviewHandle(text) != orvane::PreviewHandle(text)) std::abort();

  // The same bytes as arguments split at NUL.
  const std::vector<std::string> words = orvane::fuzz::SplitAtNul(text);
  std::vector<const char*> arguments;
  size_t expected = 0;
  for (const auto& word : words) {
    arguments.push_back(word.c_str());
    expected += word.size();
  }
  expected += words.size() - 1;
  const std::string joined = orvane::JoinArguments(arguments);
  if (joined.size() != expected) std::abort();
  orvane::ModeLetter(joined);
  orvane::PreviewHandle(joined);
  return 0;
}
