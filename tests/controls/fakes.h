#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "host/controls/Command.h"

namespace orvane::testing {

// Window ids the fakes hand out.
inline constexpr WindowId kContainerWindow = 100;
inline constexpr WindowId kControlWindow = 200;
inline constexpr WindowId kOtherWindow = 300;

struct FakePlatform : CommandPlatform {
  std::optional<std::chrono::milliseconds> timer;
  std::optional<WindowId> under;
  TwipsScale scale;
  // What the windowing system does when the control asks for the focus.
  std::function<void()> takeFocus;

  void Show() override {}
  void TakeFocus() override {
    if (takeFocus) takeFocus();
  }
  void StartHoverTimer(std::chrono::milliseconds interval) override { timer = interval; }
  std::optional<WindowId> WindowUnderPointer() override { return under; }
  std::optional<WindowId> ControlWindow() override { return kControlWindow; }
  TwipsScale Scale() override { return scale; }
};

struct FakeContainer : CommandContainer {
  FontInfo ambient{"Tahoma", 8.25, 400, false, false, false, 0};
  std::vector<std::string> changed;
  bool throwOnChange = false;

  FontInfo AmbientFont() const override { return ambient; }
  void PropertyChanged(std::string_view name) override {
    changed.emplace_back(name);
    if (throwOnChange) throw std::runtime_error("container refuses");
  }
  std::optional<WindowId> ContainerWindow() const override { return kContainerWindow; }
};

// A control on fakes that logs its paints and clicks.
struct Rig {
  FakePlatform platform;
  FakeContainer container;
  Command control;
  std::vector<Look> paints;
  int clicks = 0;

  explicit Rig(const StatePictures& pictures = DefaultStatePictures())
      : control(platform, container, pictures) {
    control.SetPaintObserver([this](Look look) { paints.push_back(look); });
    control.ConnectClick([this] { ++clicks; });
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
