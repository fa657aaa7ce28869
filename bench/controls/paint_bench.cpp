// How long one paint of the Command button takes (clear, gradient, eight frame pieces) at
// the dialog's sizes and a large one, and one hover tick that changes nothing.
#include <chrono>
#include <cstdio>

#include "host/controls/Command.h"

namespace {

struct QuietPlatform : orvane::CommandPlatform, orvane::CommandContainer {
  void Show() override {}
  void StartHoverTimer(std::chrono::milliseconds) override {}
  std::optional<orvane::WindowId> WindowUnderPointer() override { return 7; }
  std::optional<orvane::WindowId> ControlWindow() override { return 8; }
};

template <typename Work>
double MicrosecondsEach(int rounds, Work work) {
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < rounds; ++i) work(i);
  const std::chrono::duration<double, std::micro> spent = std::chrono::steady_clock::now() - start;
  return spent.count() / rounds;
}

}  // namespace

int main() {
  QuietPlatform platform;
  struct Size {
    const char* name;
    double w, h;
  };
  for (const Size size :
       {Size{"Cmd_File 615 x 375", 615, 375}, Size{"Cmd_Set 1215 x 375", 1215, 375},
        Size{"large 6000 x 1500", 6000, 1500}}) {
    orvane::Command control(platform, platform);
    control.LoadFromBag(orvane::PropertyBag{});
    control.Resize(size.w, size.h);
    control.Initialize();
    const orvane::Look looks[] = {orvane::Look::Normal, orvane::Look::HighLight,
                                  orvane::Look::Pressed};
    const double paint = MicrosecondsEach(20000, [&](int i) { control.PaintState(looks[i % 3]); });
    std::printf("PaintState, %-20s %8.2f us\n", size.name, paint);
  }
  orvane::Command control(platform, platform);
  control.LoadFromBag(orvane::PropertyBag{});
  control.Resize(1215, 375);
  control.Initialize();
  const double tick = MicrosecondsEach(1000000, [&](int) { control.OnHoverTick(); });
  std::printf("OnHoverTick, pointer away, no paint %8.3f us\n", tick);
  return 0;
}
