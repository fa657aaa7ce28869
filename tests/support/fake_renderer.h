#pragma once

#include <string>
#include <vector>

#include "platform/music_lock.h"
#include "platform/owned_program.h"

namespace orvane::testing {

// The renderer and the music lock as a run sees them, writing their calls into one list: the
// renderer's start and end, the lock taken (once, while free) and released.
struct FakeRendererAndLock final : OwnedProgram, MusicLock {
  explicit FakeRendererAndLock(std::vector<std::string>& calls) : calls(calls) {}
  bool Start(const std::string& program, const std::vector<std::string>& arguments) override {
    calls.push_back("StartRenderer " + program);
    for (const auto& a : arguments) calls.back() += " " + a;
    return running = true;
  }
  bool Running() override { return running; }
  void End() override {
    calls.push_back(running ? "EndRenderer" : "EndRenderer (not running)");
    running = false;
  }
  bool TryTake() override {
    if (!held && free) calls.push_back("TryTake"), held = true;
    return held;
  }
  void Release() override { calls.push_back("Release"), held = false; }
  std::vector<std::string>& calls;
  bool running = false, free = true, held = false;
};

}  // namespace orvane::testing
