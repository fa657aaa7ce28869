#pragma once

#include <functional>
#include <stdexcept>
#include <vector>

#include "host/controls/Command.h"

namespace orvane::testing {

inline constexpr WindowId kContainerWindow = 100, kControlWindow = 200, kOtherWindow = 300;

struct FakePlatform : CommandPlatform {
  std::optional<WindowId> under;
  std::function<void()> takeFocus;  // what the windowing system does when asked for the focus

  void Show() override {}
  void TakeFocus() override {
    if (takeFocus) takeFocus();
  }
  void StartHoverTimer(std::chrono::milliseconds) override {}
  std::optional<WindowId> WindowUnderPointer() override { return under; }
  std::optional<WindowId> ControlWindow() override { return kControlWindow; }
};

// A control on a fake platform that logs its paints and clicks; its first click handler fails,
// which must not keep the second from running. Asked for the focus, the window gives it.
struct Rig {
  FakePlatform platform;
  Command control;
  std::vector<Look> paints;
  int clicks = 0;

  explicit Rig(const TwipsScale& scale = {}) : control(platform, scale) {
    control.SetPaintObserver([this](Look look) { paints.push_back(look); });
    control.ConnectClick([] { throw std::runtime_error("a handler that fails"); });
    control.ConnectClick([this] { ++clicks; });
    platform.takeFocus = [this] { control.FocusMoved(true); };
  }
  // The dialog's way: a design, a size, then Initialize.
  void SetUp(double width = 1215, double height = 375) {
    control.LoadFromBag(PropertyBag{});
    control.Resize(width, height);
    control.Initialize();
    paints.clear();
  }
};

}  // namespace orvane::testing
