#include "platform/linux/mci/mci_command.h"

#include <initializer_list>
#include <vector>

#include "platform/mci_errors.h"

namespace orvane::platform {
namespace {

struct Word {
  std::string text;
  bool quoted = false;
};

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameWord(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

// Splits at blanks. A word that starts with a double quote runs to the next one and must be
// followed by a blank or the end. Inside it, two quotes in a row stand for one: a Linux file
// name may hold a quote, and Windows, whose names never do, fails that sequence with 305.
std::uint32_t Split(std::string_view text, std::vector<Word>& words) {
  std::size_t i = 0;
  while (true) {
    while (i < text.size() && IsBlank(text[i])) ++i;
    if (i == text.size()) return 0;
    Word word;
    if (text[i] == '"') {
      word.quoted = true;
      ++i;
      while (true) {
        const std::size_t close = text.find('"', i);
        if (close == std::string_view::npos) return MCIERR_NO_CLOSING_QUOTE;
        word.text.append(text.substr(i, close - i));
        i = close + 1;
        if (i < text.size() && text[i] == '"') {
          word.text += '"';
          ++i;
          continue;
        }
        break;
      }
      if (i < text.size() && !IsBlank(text[i])) return MCIERR_EXTRA_CHARACTERS;
    } else {
      const std::size_t start = i;
      while (i < text.size() && !IsBlank(text[i])) ++i;
      word.text = std::string(text.substr(start, i - start));
    }
    words.push_back(std::move(word));
  }
}

class Parser {
 public:
  explicit Parser(std::vector<Word> words) : words_(std::move(words)) {}

  bool AtEnd() const { return next_ >= words_.size(); }

  // Takes the keyword (one or more words) if it comes next, unquoted.
  bool Take(std::initializer_list<std::string_view> keyword) {
    std::size_t at = next_;
    for (std::string_view part : keyword) {
      if (at >= words_.size() || words_[at].quoted || !SameWord(words_[at].text, part)) {
        return false;
      }
      ++at;
    }
    next_ = at;
    return true;
  }

  std::optional<std::string> TakeString() {
    if (AtEnd()) return std::nullopt;
    return words_[next_++].text;
  }

  std::optional<std::uint32_t> TakeInteger() {
    if (AtEnd()) return std::nullopt;
    return ParseMciInteger(words_[next_++].text);
  }

 private:
  std::vector<Word> words_;
  std::size_t next_ = 0;
};

std::optional<MciVerb> VerbOf(std::string_view word) {
  static constexpr struct {
    std::string_view name;
    MciVerb verb;
  } kVerbs[] = {
      {"open", MciVerb::Open}, {"close", MciVerb::Close},   {"play", MciVerb::Play},
      {"stop", MciVerb::Stop}, {"pause", MciVerb::Pause},   {"resume", MciVerb::Resume},
      {"seek", MciVerb::Seek}, {"status", MciVerb::Status}, {"set", MciVerb::Set},
  };
  for (const auto& v : kVerbs) {
    if (SameWord(word, v.name)) return v.verb;
  }
  return std::nullopt;
}

// "wait" and "notify" may stand among any command's keywords. True when one was taken;
// `error` is set when it was given twice.
bool TakeFlag(Parser& p, MciCommand& c, std::uint32_t& error) {
  bool* flag = nullptr;
  if (p.Take({"wait"})) {
    flag = &c.wait;
  } else if (p.Take({"notify"})) {
    flag = &c.notify;
  } else {
    return false;
  }
  if (*flag) error = MCIERR_DUPLICATE_FLAGS;
  *flag = true;
  return true;
}

// Reads the time-format word(s) after "time format".
std::uint32_t TakeTimeFormat(Parser& p, MciTimeFormat& format) {
  if (p.AtEnd()) return MCIERR_MISSING_PARAMETER;
  if (p.Take({"milliseconds"}) || p.Take({"ms"})) {
    format = MciTimeFormat::Milliseconds;
  } else if (p.Take({"msf"})) {
    format = MciTimeFormat::Msf;
  } else if (p.Take({"tmsf"})) {
    format = MciTimeFormat::Tmsf;
  } else if (p.Take({"frames"})) {
    format = MciTimeFormat::Frames;
  } else if (p.Take({"hms"})) {
    format = MciTimeFormat::Hms;
  } else if (p.Take({"smpte", "24"})) {
    format = MciTimeFormat::Smpte24;
  } else if (p.Take({"smpte", "25"})) {
    format = MciTimeFormat::Smpte25;
  } else if (p.Take({"smpte", "30", "drop"})) {
    format = MciTimeFormat::Smpte30Drop;
  } else if (p.Take({"smpte", "30"})) {
    format = MciTimeFormat::Smpte30;
  } else if (p.Take({"bytes"})) {
    format = MciTimeFormat::Bytes;
  } else if (p.Take({"samples"})) {
    format = MciTimeFormat::Samples;
  } else {
    return MCIERR_BAD_CONSTANT;
  }
  return 0;
}

std::uint32_t ParseOpen(Parser& p, MciCommand& c) {
  while (!p.AtEnd()) {
    if (std::uint32_t error = 0; TakeFlag(p, c, error)) {
      if (error != 0) return error;
      continue;
    }
    if (p.Take({"type"})) {
      if (!c.type.empty()) return MCIERR_DUPLICATE_FLAGS;
      auto value = p.TakeString();
      if (!value || value->empty()) return MCIERR_MISSING_STRING_ARGUMENT;
      c.type = *value;
    } else if (p.Take({"alias"})) {
      if (!c.alias.empty()) return MCIERR_DUPLICATE_FLAGS;
      auto value = p.TakeString();
      if (!value || value->empty()) return MCIERR_MISSING_STRING_ARGUMENT;
      c.alias = *value;
    } else if (p.Take({"shareable"})) {
      c.shareable = true;
    } else {
      return MCIERR_UNRECOGNIZED_KEYWORD;
    }
  }
  return 0;
}

std::uint32_t ParsePlay(Parser& p, MciCommand& c) {
  while (!p.AtEnd()) {
    if (std::uint32_t error = 0; TakeFlag(p, c, error)) {
      if (error != 0) return error;
      continue;
    }
    std::optional<std::uint32_t>* slot = nullptr;
    if (p.Take({"from"})) {
      slot = &c.from;
    } else if (p.Take({"to"})) {
      slot = &c.to;
    } else {
      return MCIERR_UNRECOGNIZED_KEYWORD;
    }
    if (slot->has_value()) return MCIERR_DUPLICATE_FLAGS;
    *slot = p.TakeInteger();
    if (!slot->has_value()) return MCIERR_BAD_INTEGER;
  }
  return 0;
}

std::uint32_t ParseSeek(Parser& p, MciCommand& c) {
  bool target = false;
  while (!p.AtEnd()) {
    if (std::uint32_t error = 0; TakeFlag(p, c, error)) {
      if (error != 0) return error;
      continue;
    }
    if (!p.Take({"to"})) return MCIERR_UNRECOGNIZED_KEYWORD;
    if (target) return MCIERR_DUPLICATE_FLAGS;
    target = true;
    if (p.Take({"start"})) {
      c.seekTarget = MciSeekTarget::Start;
    } else if (p.Take({"end"})) {
      c.seekTarget = MciSeekTarget::End;
    } else {
      auto value = p.TakeInteger();
      if (!value) return MCIERR_BAD_INTEGER;
      c.seekTarget = MciSeekTarget::Position;
      c.seekPosition = *value;
    }
  }
  return target ? 0 : MCIERR_MISSING_PARAMETER;
}

std::uint32_t ParseStatus(Parser& p, MciCommand& c) {
  bool haveItem = false;
  while (!p.AtEnd()) {
    if (std::uint32_t error = 0; TakeFlag(p, c, error)) {
      if (error != 0) return error;
      continue;
    }
    MciStatusItem item;
    bool needsTrack = false;
    bool mayTakeTrack = false;
    if (p.Take({"mode"})) {
      item = MciStatusItem::Mode;
    } else if (p.Take({"ready"})) {
      item = MciStatusItem::Ready;
    } else if (p.Take({"position"})) {
      item = MciStatusItem::Position;
      mayTakeTrack = true;
    } else if (p.Take({"length"})) {
      item = MciStatusItem::Length;
      mayTakeTrack = true;
    } else if (p.Take({"number", "of", "tracks"})) {
      item = MciStatusItem::NumberOfTracks;
    } else if (p.Take({"current", "track"})) {
      item = MciStatusItem::CurrentTrack;
    } else if (p.Take({"media", "present"})) {
      item = MciStatusItem::MediaPresent;
    } else if (p.Take({"time", "format"})) {
      item = MciStatusItem::TimeFormat;
    } else if (p.Take({"start", "position"})) {
      item = MciStatusItem::StartPosition;
    } else if (p.Take({"type"})) {
      item = MciStatusItem::TypeTrack;
      needsTrack = true;
    } else {
      return MCIERR_UNRECOGNIZED_KEYWORD;
    }
    if (haveItem) return MCIERR_FLAGS_NOT_COMPATIBLE;
    haveItem = true;
    c.item = item;
    if (needsTrack || mayTakeTrack) {
      if (p.Take({"track"})) {
        c.track = p.TakeInteger();
        if (!c.track) return MCIERR_BAD_INTEGER;
      } else if (needsTrack) {
        return MCIERR_MISSING_PARAMETER;
      }
    }
  }
  return haveItem ? 0 : MCIERR_MISSING_PARAMETER;
}

std::uint32_t ParseSet(Parser& p, MciCommand& c) {
  while (!p.AtEnd()) {
    if (std::uint32_t error = 0; TakeFlag(p, c, error)) {
      if (error != 0) return error;
      continue;
    }
    if (p.Take({"time", "format"})) {
      if (c.timeFormat) return MCIERR_DUPLICATE_FLAGS;
      MciTimeFormat format;
      if (const std::uint32_t error = TakeTimeFormat(p, format)) return error;
      c.timeFormat = format;
    } else if (p.Take({"door", "open"})) {
      if (c.doorOpen) return MCIERR_DUPLICATE_FLAGS;
      c.doorOpen = true;
    } else if (p.Take({"door", "closed"})) {
      if (c.doorOpen) return MCIERR_DUPLICATE_FLAGS;
      c.doorOpen = false;
    } else {
      return MCIERR_UNRECOGNIZED_KEYWORD;
    }
  }
  return c.timeFormat || c.doorOpen ? 0 : MCIERR_MISSING_PARAMETER;
}

// close, stop, pause and resume take no keywords of their own.
std::uint32_t ParseBare(Parser& p, MciCommand& c) {
  while (!p.AtEnd()) {
    if (std::uint32_t error = 0; TakeFlag(p, c, error)) {
      if (error != 0) return error;
      continue;
    }
    return MCIERR_UNRECOGNIZED_KEYWORD;
  }
  return 0;
}

}  // namespace

std::optional<std::uint32_t> ParseMciInteger(std::string_view word) {
  if (word.empty()) return std::nullopt;
  std::uint64_t value = 0;
  if (word.find(':') == std::string_view::npos) {
    for (char c : word) {
      if (c < '0' || c > '9') return std::nullopt;
      value = value * 10 + static_cast<std::uint64_t>(c - '0');
      if (value > 0xFFFFFFFFu) return std::nullopt;
    }
    return static_cast<std::uint32_t>(value);
  }
  int field = 0;
  std::uint32_t part = 0;
  bool digits = false;
  for (std::size_t i = 0; i <= word.size(); ++i) {
    if (i == word.size() || word[i] == ':') {
      if (!digits || field >= 4) return std::nullopt;
      value |= static_cast<std::uint64_t>(part) << (8 * field);
      ++field;
      part = 0;
      digits = false;
    } else if (word[i] >= '0' && word[i] <= '9') {
      part = part * 10 + static_cast<std::uint32_t>(word[i] - '0');
      if (part > 255) return std::nullopt;
      digits = true;
    } else {
      return std::nullopt;
    }
  }
  return static_cast<std::uint32_t>(value);
}

std::uint32_t ParseMciCommand(std::string_view text, MciCommand& command) {
  command = MciCommand{};
  text = text.substr(0, text.find('\0'));
  std::vector<Word> words;
  if (const std::uint32_t error = Split(text, words)) return error;
  if (words.empty()) return MCIERR_MISSING_COMMAND_STRING;
  const std::optional<MciVerb> verb = words[0].quoted ? std::nullopt : VerbOf(words[0].text);
  if (!verb) return MCIERR_UNRECOGNIZED_COMMAND;
  command.verb = *verb;
  if (words.size() < 2) return MCIERR_MISSING_DEVICE_NAME;
  command.device = words[1].text;
  if (command.device.empty()) return MCIERR_MISSING_DEVICE_NAME;
  command.all = !words[1].quoted && SameWord(command.device, "all");

  Parser p(std::vector<Word>(words.begin() + 2, words.end()));
  switch (command.verb) {
    case MciVerb::Open:
      return ParseOpen(p, command);
    case MciVerb::Play:
      return ParsePlay(p, command);
    case MciVerb::Seek:
      return ParseSeek(p, command);
    case MciVerb::Status:
      return ParseStatus(p, command);
    case MciVerb::Set:
      return ParseSet(p, command);
    case MciVerb::Close:
    case MciVerb::Stop:
    case MciVerb::Pause:
    case MciVerb::Resume:
      return ParseBare(p, command);
  }
  return MCIERR_UNRECOGNIZED_COMMAND;
}

}  // namespace orvane::platform
