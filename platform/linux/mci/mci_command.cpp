#include "platform/linux/mci/mci_command.h"

#include <vector>

#include "common/ascii_case.h"

namespace orvane::platform {
namespace {

struct Word {
  std::string text;
  bool quoted = false;
};

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Splits at blanks. A word that starts with a double quote runs to the next one, which must be
// followed by a blank or the end; two quotes in a row within it stand for one, since a Linux
// file name may hold a quote. False for a word that breaks these rules.
bool Split(std::string_view text, std::vector<Word>& words) {
  std::size_t i = 0;
  while (true) {
    while (i < text.size() && IsBlank(text[i])) ++i;
    if (i == text.size()) return true;
    Word word;
    if (text[i] == '"') {
      word.quoted = true;
      while (true) {
        const std::size_t close = text.find('"', i + 1);
        if (close == std::string_view::npos) return false;
        word.text.append(text.substr(i + 1, close - i - 1));
        i = close + 1;
        if (i == text.size() || text[i] != '"') break;
        word.text += '"';
      }
      if (i < text.size() && !IsBlank(text[i])) return false;
    } else {
      const std::size_t start = i;
      while (i < text.size() && !IsBlank(text[i])) ++i;
      word.text = std::string(text.substr(start, i - start));
    }
    words.push_back(std::move(word));
  }
}

// An unquoted word that is `keyword` in any case.
bool Is(const Word& word, std::string_view keyword) {
  return !word.quoted && common::EqualsIgnoringCase(word.text, keyword);
}

// Each shape the module sends, word by word; "*" takes any word as the argument.
struct Shape {
  std::string_view words;
  MciDevice device;
  MciAction action;
};
constexpr Shape kShapes[] = {
    {"open cdaudio", MciDevice::Cd, MciAction::Open},
    {"set cdaudio time format tmsf", MciDevice::Cd, MciAction::SetTmsf},
    {"status cdaudio current track", MciDevice::Cd, MciAction::Track},
    {"status cdaudio number of tracks", MciDevice::Cd, MciAction::TrackCount},
    {"status cdaudio mode", MciDevice::Cd, MciAction::Mode},
    {"status cdaudio position track *", MciDevice::Cd, MciAction::TrackStart},
    {"play cdaudio", MciDevice::Cd, MciAction::Play},
    {"play cdaudio from *", MciDevice::Cd, MciAction::Play},
    {"stop cdaudio", MciDevice::Cd, MciAction::Stop},
    {"close cdaudio", MciDevice::Cd, MciAction::Close},
    {"open * type mpegvideo alias mp3play", MciDevice::File, MciAction::Open},
    {"play mp3play", MciDevice::File, MciAction::Play},
    {"play mp3play from *", MciDevice::File, MciAction::Play},
    {"status mp3play mode", MciDevice::File, MciAction::Mode},
    {"stop mp3play", MciDevice::File, MciAction::Stop},
    {"close mp3play", MciDevice::File, MciAction::Close},
};

bool Matches(const std::vector<Word>& words, std::string_view shape, MciCommand& command) {
  std::size_t at = 0;
  for (const Word& word : words) {
    if (at >= shape.size()) return false;
    std::size_t end = shape.find(' ', at);
    if (end == std::string_view::npos) end = shape.size();
    const std::string_view part = shape.substr(at, end - at);
    if (part == "*") {
      command.argument = word.text;
    } else if (!Is(word, part)) {
      return false;
    }
    at = end + 1;
  }
  return at > shape.size();
}

}  // namespace

MciCommand ParseMciCommand(std::string_view text) {
  std::vector<Word> words;
  if (!Split(text.substr(0, text.find('\0')), words)) return {};
  for (const Shape& shape : kShapes) {
    MciCommand command{shape.device, shape.action, std::nullopt};
    if (Matches(words, shape.words, command)) return command;
  }
  return {};
}

std::optional<std::uint32_t> ParseMciInteger(std::string_view word) {
  std::uint64_t value = 0;
  std::uint32_t part = 0;
  int field = 0;
  bool digits = false;
  const bool colons = word.find(':') != std::string_view::npos;
  for (std::size_t i = 0; i <= word.size(); ++i) {
    if (i == word.size() || word[i] == ':') {
      if (!digits || field >= 4) return std::nullopt;
      value |= std::uint64_t{part} << (8 * field++);
      part = 0;
      digits = false;
    } else if (word[i] >= '0' && word[i] <= '9') {
      const std::uint64_t next =
          std::uint64_t{part} * 10 + static_cast<std::uint32_t>(word[i] - '0');
      if (next > (colons ? 255u : 0xFFFFFFFFu)) return std::nullopt;
      part = static_cast<std::uint32_t>(next);
      digits = true;
    } else {
      return std::nullopt;
    }
  }
  return static_cast<std::uint32_t>(value);
}

}  // namespace orvane::platform
