#pragma once

#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/mci/mci_errors.h"
#include "platform/mci/multimedia.h"

namespace orvane::testing {

// A multimedia system that answers MCI commands from a script and records every call, for
// testing the music module (and the saver window) without a sound device.
class ScriptedMultimedia final : public platform::Multimedia {
 public:
  struct Sent {
    std::string command;
    std::uint32_t replyLength;
  };
  struct Sound {
    bool stop;  // PlaySound with no name
    std::string name;
    std::uint32_t flags;
  };

  // Every later `command` gets this result and reply (commands are matched exactly).
  void Answer(const std::string& command, std::uint32_t result, std::string reply = "") {
    answers_[command] = {result, std::move(reply)};
  }

  std::uint32_t MciSendString(std::string_view command, char* reply,
                              std::uint32_t length) override {
    const std::string text(command.substr(0, command.find('\0')));
    sent.push_back({text, length});
    const auto it = answers_.find(text);
    const std::uint32_t result = it == answers_.end() ? unscripted : it->second.first;
    const std::string answer = it == answers_.end() ? std::string() : it->second.second;
    if (reply == nullptr || length == 0) return result;
    if (result != 0) {
      reply[0] = '\0';
      return result;
    }
    if (answer.size() >= length) {
      reply[0] = '\0';
      return platform::MCIERR_PARAM_OVERFLOW;
    }
    std::memcpy(reply, answer.c_str(), answer.size() + 1);
    return 0;
  }

  bool MciGetErrorString(std::uint32_t code, char* text, std::uint32_t length) override {
    errorTextsAsked.push_back(code);
    if (!errorTexts) return false;
    return platform::CopyMciErrorText(code, text, length);
  }

  bool PlaySound(const char* name, std::uint32_t flags) override {
    sounds.push_back({name == nullptr, name == nullptr ? "" : name, flags});
    return true;
  }

  std::uint32_t WaveOutGetNumDevs() override {
    ++outputsAsked;
    return outputs;
  }

  std::vector<std::string> Commands() const {
    std::vector<std::string> out;
    for (const Sent& s : sent) out.push_back(s.command);
    return out;
  }

  std::vector<Sent> sent;
  std::vector<Sound> sounds;
  std::vector<std::uint32_t> errorTextsAsked;
  // The result of a command the script does not name (0: success with an empty reply).
  std::uint32_t unscripted = 0;
  bool errorTexts = true;
  std::uint32_t outputs = 1;
  int outputsAsked = 0;

 private:
  std::map<std::string, std::pair<std::uint32_t, std::string>> answers_;
};

}  // namespace orvane::testing
