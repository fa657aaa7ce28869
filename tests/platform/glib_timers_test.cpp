#include <glib.h>
#include <gtest/gtest.h>

#include <chrono>

#include "platform/x11_platform.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;

// Runs the default main context until done or the deadline.
template <typename Done>
void RunUntil(Done done, std::chrono::milliseconds deadline) {
  const auto end = std::chrono::steady_clock::now() + deadline;
  while (!done() && std::chrono::steady_clock::now() < end)
    g_main_context_iteration(nullptr, FALSE), g_usleep(1000);
}

TEST(GLibTimers, TickUntilStoppedEvenFromTheirOwnTick) {
  auto timers = MakeGLibTimers();
  int ticks = 0;
  Timers::TimerId id = 0;
  id = timers->StartTimer(10ms, [&] {
    if (++ticks == 3) timers->StopTimer(id);
  });
  EXPECT_NE(id, 0u);
  RunUntil([&] { return false; }, 200ms);
  EXPECT_EQ(ticks, 3);
}

TEST(GLibTimers, StoppingUnknownIdsIsHarmlessAndDestructionStopsAll) {
  int ticks = 0;
  {
    auto timers = MakeGLibTimers();
    timers->StopTimer(12345);
    const auto a = timers->StartTimer(5ms, [&] { ++ticks; });
    timers->StopTimer(a);
    timers->StopTimer(a);
    timers->StartTimer(5ms, [&] { ++ticks; });
  }
  RunUntil([&] { return false; }, 50ms);
  EXPECT_EQ(ticks, 0);
}

}  // namespace
}  // namespace orvane
