// The control's properties, their storage and the Click event.
#include "host/controls/Command.h"

#include <limits>

#include "host/guarded.h"

namespace orvane {

const std::string kDefaultCaption = "Command";

Command::Command(CommandPlatform& platform, const TwipsScale& scale)
    : platform_(platform), scale_(scale) {}

void Command::Show() {
  Guarded([&] { platform_.Show(); });
}

void Command::ResetToNormal() {
  if (!fields_.IsEnabled) return;
  // A failing step turns the caption black and the routine goes on.
  const auto recover = [&](bool ok) {
    if (!ok) label_.ForeColour = 0;
  };
  recover(Guarded([&] { label_.Enabled = true; }));
  recover(Guarded([&] {
    if (fields_.FirstRun == 0) label_.ForeColour = 0;
  }));
  recover(Guarded([&] { PaintState(Look::Normal); }));
}

void Command::SetCaption(std::string text) {
  label_.Text = std::move(text);
  Show();
}

bool Command::Enabled() {
  // First use: a control that was never set up becomes enabled on this read.
  if (fields_.FirstRun == 0) {
    ResetToNormal();
    fields_.FirstRun = 1;
    fields_.IsEnabled = kTrue;
  }
  const bool enabled = fields_.IsEnabled != kFalse;
  ApplyEnabled();
  return enabled;
}

void Command::SetEnabled(bool enabled) {
  fields_.IsEnabled = enabled ? kTrue : kFalse;
  ApplyEnabled();
  if (enabled) FollowFocus();
}

void Command::SetFont(const FontInfo& font) {
  label_.Font = font;
  Show();
}

std::uint32_t Command::FontColour() {
  const std::uint32_t colour = label_.ForeColour;
  ResetToNormal();
  return colour;
}

void Command::SetFontColour(std::uint32_t colour) {
  label_.ForeColour = colour;
  ResetToNormal();
  Show();
}

bool Command::Visible() {
  if (!backgroundOpaque_) return false;
  ResetToNormal();
  return true;
}

void Command::SetVisible(bool visible) {
  backgroundOpaque_ = visible;
  if (visible) ResetToNormal();
  Show();
}

void Command::Initialize() {
  fields_.State = CommandState::Normal;
  Guarded([&] { platform_.StartHoverTimer(std::chrono::milliseconds(100)); });
}

void Command::LoadFromBag(const PropertyBag& bag) {
  // A step fails only by a value that does not convert, which leaves its field as it was.
  if (const auto v = ToBool(bag.Read("Enabled", true))) fields_.IsEnabled = *v ? kTrue : kFalse;
  if (const auto v = ToText(bag.Read("Caption", kDefaultCaption))) label_.Text = *v;
  const PropertyValue font = bag.Read("Font", FontInfo{});
  if (const auto* v = std::get_if<FontInfo>(&font)) label_.Font = *v;
  if (const auto v = ToInteger(bag.Read("FirstRun", std::string("1")), 0, 255))
    fields_.FirstRun = *v;
  constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min();
  constexpr std::int64_t kMax = std::numeric_limits<std::uint32_t>::max();
  if (const auto v = ToInteger(bag.Read("FontColour", std::string("0")), kMin, kMax))
    label_.ForeColour = *v;
  // Background mode: 0 transparent, 1 opaque; any other number is refused.
  if (const auto v = ToInteger(bag.Read("Visible", std::string("1")), 0, 1)) backgroundOpaque_ = *v;
  ResetToNormal();
  Show();
}

void Command::SaveToBag(PropertyBag& bag) {
  Guarded([&] { bag.Write("Enabled", fields_.IsEnabled != kFalse, true); });
  Guarded([&] { bag.Write("Caption", label_.Text, kDefaultCaption); });
  Guarded([&] { bag.Write("FirstRun", std::int64_t{fields_.FirstRun}, std::string("1")); });
  Guarded([&] { bag.Write("Font", label_.Font, FontInfo{}); });
  Guarded([&] { bag.Write("FontColour", std::int64_t{label_.ForeColour}, std::string("0")); });
  Guarded([&] { bag.Write("Visible", std::int64_t{backgroundOpaque_ ? 1 : 0}, std::string("1")); });
  ResetToNormal();
}

void Command::ConnectClick(std::function<void()> handler) {
  if (handler) clickHandlers_.push_back(std::move(handler));
}

void Command::RaiseClick() {
  // A copy, so that a handler may connect another one.
  const auto handlers = clickHandlers_;
  for (const auto& handler : handlers) Guarded(handler);
}

}  // namespace orvane
