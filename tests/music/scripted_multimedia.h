#pragma once

#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "platform/multimedia.h"

namespace orvane::testing {

// A multimedia system that answers MCI commands from a script (others succeed with an empty
// reply) and logs each call as "MCI <command>" or "PlaySound <name or NULL> <flags>".
class ScriptedMultimedia final : public platform::Multimedia {
 public:
  using Reply = std::pair<std::uint32_t, std::string>;
  void Answer(const std::string& command, std::uint32_t result, std::string reply = "") {
    answers_[command] = {result, std::move(reply)};
  }

  std::uint32_t MciSendString(std::string_view command, char* reply,
                              std::uint32_t length) override {
    const std::string text(command.substr(0, command.find('\0')));
    commands.push_back(text);
    log->push_back("MCI " + text);
    const auto it = answers_.find(text);
    const auto [result, answer] = it == answers_.end() ? Reply{0, ""} : it->second;
    if (reply != nullptr && length > 0) reply[0] = '\0';
    if (result != 0 || reply == nullptr || length == 0) return result;
    if (answer.size() >= length) return 268u;
    std::memcpy(reply, answer.c_str(), answer.size() + 1);
    return 0;
  }
  bool MciGetErrorString(std::uint32_t, char*, std::uint32_t) override { return false; }
  bool PlaySound(const char* name, std::uint32_t flags) override {
    log->push_back("PlaySound " + std::string(name ? name : "NULL") + " " + std::to_string(flags));
    return true;
  }
  std::uint32_t WaveOutGetNumDevs() override { return 1; }

  std::vector<std::string> commands;  // the MCI commands alone
  std::vector<std::string> calls;
  std::vector<std::string>* log = &calls;

 private:
  std::map<std::string, Reply> answers_;
};

}  // namespace orvane::testing
