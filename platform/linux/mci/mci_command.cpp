#include "platform/linux/mci/mci_command.h"

#include <vector>

#include "common/ascii_case.h"

namespace orvane::platform {
namespace {

constexpr std::string_view kBlanks = " \t\r\n";

// Splits at blanks. A word that starts with a double quote runs to the next one, which must be
// followed by a blank or the end; two quotes in a row within it stand for one, since a Linux
// file name may hold a quote. False for a word that breaks these rules.
bool Split(std::string_view text, std::vector<std::string>& words) {
  for (std::size_t i = text.find_first_not_of(kBlanks); i != std::string_view::npos;
       i = text.find_first_not_of(kBlanks, i)) {
    std::string word;
    if (text[i] != '"') {
      const std::size_t end = std::min(text.find_first_of(kBlanks, i), text.size());
      word = text.substr(i, end - i);
      i = end;
    } else {
      while (true) {
        const std::size_t close = text.find('"', i + 1);
        if (close == std::string_view::npos) return false;
        word.append(text.substr(i + 1, close - i - 1));
        i = close + 1;
        if (i == text.size() || text[i] != '"') break;
        word += '"';
      }
      if (i < text.size() && kBlanks.find(text[i]) == std::string_view::npos) return false;
    }
    words.push_back(std::move(word));
  }
  return true;
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

bool Matches(const std::vector<std::string>& words, std::string_view shape, MciCommand& command) {
  std::size_t at = 0;
  for (const std::string& word : words) {
    if (at >= shape.size()) return false;
    const std::size_t end = std::min(shape.find(' ', at), shape.size());
    const std::string_view part = shape.substr(at, end - at);
    if (part == "*") {
      command.argument = word;
    } else if (!common::EqualsIgnoringCase(word, part)) {
      return false;
    }
    at = end + 1;
  }
  return at > shape.size();
}

}  // namespace

MciCommand ParseMciCommand(std::string_view text) {
  std::vector<std::string> words;
  if (!Split(text.substr(0, text.find('\0')), words)) return {};
  for (const Shape& shape : kShapes) {
    MciCommand command{shape.device, shape.action, std::nullopt};
    if (Matches(words, shape.words, command)) return command;
  }
  return {};
}

unsigned TrackOfPosition(std::string_view position) {
  if (position.ends_with(":00:00:00")) position.remove_suffix(9);
  if (position.empty() || position.size() > 2) return 0;
  unsigned track = 0;
  for (const char c : position) {
    if (c < '0' || c > '9') return 0;
    track = track * 10 + static_cast<unsigned>(c - '0');
  }
  return track;
}

}  // namespace orvane::platform
