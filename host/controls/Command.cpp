#include "host/controls/Command.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "host/guarded.h"

namespace orvane {

namespace {

// A twips value as a signed 16-bit integer, rounded half to even; nothing on overflow.
std::optional<std::int16_t> ToInt16(double value) {
  const double rounded = std::nearbyint(value);
  if (!std::isfinite(rounded) || rounded < -32768.0 || rounded > 32767.0) return std::nullopt;
  return static_cast<std::int16_t>(rounded);
}

// A colour byte as a gradient channel: the byte high, the low byte 0.
std::uint16_t Channel(std::uint32_t rgb, int shift) {
  return static_cast<std::uint16_t>(((rgb >> shift) & 0xFF) << 8);
}

TriVertex Vertex(std::int32_t x, std::int32_t y, std::uint32_t rgb) {
  TriVertex v;
  v.X = x;
  v.Y = y;
  v.Red = Channel(rgb, 16);
  v.Green = Channel(rgb, 8);
  v.Blue = Channel(rgb, 0);
  return v;
}

const std::string kDefaultCaption = "Command";

}  // namespace

std::optional<std::uint32_t> ColourFromHexText(std::string_view text) {
  std::uint64_t value = 0;
  int base = 10;
  if (text.size() > 2 && text[0] == '&' && (text[1] == 'H' || text[1] == 'h')) {
    text.remove_prefix(2);
    base = 16;
  }
  if (text.empty()) return std::nullopt;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (error != std::errc() || end != text.data() + text.size() || value > 0xFFFFFF) {
    return std::nullopt;
  }
  // Six hexadecimal digits read back as red, green and blue, in that order.
  return static_cast<std::uint32_t>(value);
}

Command::Command(CommandPlatform& platform, CommandContainer& container,
                 const StatePictures& pictures)
    : platform_(platform), container_(container), pictures_(pictures) {}

// ---------------------------------------------------------------- painting

void Command::PaintState(Look picture) {
  // The gradient direction follows the state; states 4 and 0 keep the last one.
  switch (fields_.State) {
    case CommandState::Normal:
      fields_.InvertGradient = kFalse;
      break;
    case CommandState::HighLight:
      fields_.InvertGradient = kTrue;
      break;
    case CommandState::Selected:
      fields_.InvertGradient = kFalse;
      break;
    default:
      break;
  }

  // Geometry in twips; a value that overflows keeps what the last paint computed.
  FrameGeometry& g = geometry_;
  g.Corner = 60;
  if (const auto v = ToInt16(width_ - 120.0)) g.MiddleWidth = *v;
  if (const auto v = ToInt16(height_ - 120.0)) g.MiddleHeight = *v;
  if (const auto v = ToInt16(60.0 + g.MiddleWidth)) g.RightColumn = *v;
  if (const auto v = ToInt16(60.0 + g.MiddleHeight)) g.BottomRow = *v;

  surface_.Clear(kCommandBackColour);
  if (FaceCanvas* canvas = platform_.Canvas()) Guarded([&] { canvas->Clear(kCommandBackColour); });
  Guarded([&] { PaintGradient(); });

  const Picture& p = pictures_[picture];
  const double c = g.Corner, mw = g.MiddleWidth, mh = g.MiddleHeight;
  const double xr = g.RightColumn, yb = g.BottomRow;
  DrawPiece(p, 1, 1, c, c, 0, 0, 60, 60);         // top-left corner
  DrawPiece(p, 60, 1, mw, c, 60, 1, 840, 60);     // top edge
  DrawPiece(p, xr, 1, c, c, 900, 1, 60, 60);      // top-right corner
  DrawPiece(p, xr, 60, c, mh, 900, 60, 60, 255);  // right edge
  DrawPiece(p, xr, yb, c, c, 900, 315, 60, 60);   // bottom-right corner
  DrawPiece(p, 60, yb, mw, c, 60, 315, 840, 60);  // bottom edge
  DrawPiece(p, 1, yb, c, c, 0, 315, 60, 60);      // bottom-left corner
  DrawPiece(p, 1, 60, c, mh, 1, 60, 60, 255);     // left edge

  Guarded([&] { platform_.Show(); });

  // The caption keeps its design height and sits 10 twips above true centring.
  label_.Top = (height_ - label_.Height - 20.0) / 2.0;
  label_.Left = 0.0;
  label_.Width = width_;

  if (observer_) Guarded([&] { observer_(picture); });
}

void Command::DrawPiece(const Picture& picture, double dx, double dy, double dw, double dh,
                        double sx, double sy, double sw, double sh) {
  // Edges rather than sizes are converted, so that neighbouring pieces meet exactly.
  const TwipsScale screen = platform_.Scale();
  const PixelRect to{screen.ToPixelsX(dx), screen.ToPixelsY(dy),
                     screen.ToPixelsX(dx + dw) - screen.ToPixelsX(dx),
                     screen.ToPixelsY(dy + dh) - screen.ToPixelsY(dy)};
  const auto source = [](double twips) {
    return static_cast<int>(std::lround(twips / kPictureTwipsPerPixel));
  };
  const PixelRect from{source(sx), source(sy), source(sx + sw) - source(sx),
                       source(sy + sh) - source(sy)};
  // A piece that cannot be drawn (an empty or negative size) is left out.
  if (!surface_.StretchCopy(picture, from, to)) return;
  if (FaceCanvas* canvas = platform_.Canvas()) {
    Guarded([&] { canvas->StretchCopy(picture, from, to); });
  }
}

void Command::PaintGradient() {
  const auto light = ColourFromHexText(kGradientLightText);
  const auto dark = ColourFromHexText(kGradientDarkText);
  if (!light || !dark) return;
  const std::uint32_t first = fields_.InvertGradient ? *dark : *light;
  const std::uint32_t second = fields_.InvertGradient ? *light : *dark;
  fields_.GradientVertices[0] = Vertex(0, 0, first);
  fields_.GradientVertices[1] = Vertex(surface_.Width() - 1, surface_.Height() - 1, second);
  fields_.GradientRect.UpperLeft = 1;
  fields_.GradientRect.LowerRight = 0;
  if (!surface_.GradientFill(fields_.GradientVertices, {&fields_.GradientRect, 1},
                             GradientMode::Vertical)) {
    return;
  }
  if (FaceCanvas* canvas = platform_.Canvas()) {
    canvas->GradientFill(fields_.GradientVertices, {&fields_.GradientRect, 1},
                         GradientMode::Vertical);
  }
  platform_.Show();
}

void Command::ApplyEnabled() {
  if (fields_.IsEnabled) {
    PaintState(Look::Normal);
    label_.Enabled = true;
  } else {
    PaintState(Look::Disable);
    label_.Enabled = false;
  }
  Guarded([&] { platform_.Show(); });
}

void Command::OnResize() {
  ApplyEnabled();
}

void Command::Resize(double widthTwips, double heightTwips) {
  if (sized_ && widthTwips == width_ && heightTwips == height_) return;
  const TwipsScale scale = platform_.Scale();
  if (!std::isfinite(widthTwips) || !std::isfinite(heightTwips) ||
      !surface_.Resize(std::max(0, scale.ToPixelsX(std::max(0.0, widthTwips))),
                       std::max(0, scale.ToPixelsY(std::max(0.0, heightTwips))))) {
    return;
  }
  if (FaceCanvas* canvas = platform_.Canvas()) {
    Guarded([&] { canvas->Resize(surface_.Width(), surface_.Height()); });
  }
  width_ = widthTwips;
  height_ = heightTwips;
  sized_ = true;
  OnResize();
}

// ---------------------------------------------------------------- properties

void Command::MarkChanged(std::string_view name) {
  Guarded([&] { container_.PropertyChanged(name); });
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
  MarkChanged("Caption");
  Guarded([&] { platform_.Show(); });
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
  MarkChanged("Enabled");
  ApplyEnabled();
  if (enabled) FollowFocus();
}

// The focus may have come or gone while the control was disabled and ignored it; its state
// catches up, so that a press dragged off it later is still abandoned.
void Command::FollowFocus() {
  const bool focusedState =
      fields_.State == CommandState::Selected || fields_.State == CommandState::HighLightSelect;
  if (hasFocus_ && !focusedState) {
    fields_.State = CommandState::Selected;
    PaintState(Look::Selected);
  } else if (!hasFocus_ && focusedState) {
    fields_.State = CommandState::Normal;
  }
}

void Command::SetFont(const FontInfo& font) {
  label_.Font = font;
  MarkChanged("Font");
  Guarded([&] { platform_.Show(); });
}

std::uint32_t Command::FontColour() {
  const std::uint32_t colour = label_.ForeColour;
  ResetToNormal();
  return colour;
}

void Command::SetFontColour(std::uint32_t colour) {
  // A failing step runs ResetToNormal and ends the write.
  try {
    label_.ForeColour = colour;
    ResetToNormal();
    container_.PropertyChanged("FontColour");
  } catch (...) {
    ResetToNormal();
  }
  Guarded([&] { platform_.Show(); });
}

bool Command::Visible() {
  if (!backgroundOpaque_) return false;
  ResetToNormal();
  return true;
}

void Command::SetVisible(bool visible) {
  backgroundOpaque_ = visible;
  if (visible) ResetToNormal();
  MarkChanged("Visible");
  Guarded([&] { platform_.Show(); });
}

void Command::Initialize() {
  fields_.State = CommandState::Normal;
  Guarded([&] { platform_.StartHoverTimer(std::chrono::milliseconds(100)); });
}

void Command::LoadFromBag(const PropertyBag& bag) {
  constexpr std::int64_t kInt32Min = std::numeric_limits<std::int32_t>::min();
  constexpr std::int64_t kUInt32Max = std::numeric_limits<std::uint32_t>::max();
  Guarded([&] {
    if (const auto v = ToBool(bag.Read("Enabled", true))) fields_.IsEnabled = *v ? kTrue : kFalse;
  });
  Guarded([&] {
    if (const auto v = ToText(bag.Read("Caption", kDefaultCaption))) label_.Text = *v;
  });
  Guarded([&] {
    if (const auto v = ToFont(bag.Read("Font", container_.AmbientFont()))) label_.Font = *v;
  });
  Guarded([&] {
    if (const auto v = ToInteger(bag.Read("FirstRun", std::string("1")), 0, 255)) {
      fields_.FirstRun = static_cast<std::uint8_t>(*v);
    }
  });
  Guarded([&] {
    if (const auto v = ToInteger(bag.Read("FontColour", std::string("0")), kInt32Min, kUInt32Max)) {
      label_.ForeColour = static_cast<std::uint32_t>(*v);
    }
  });
  Guarded([&] {
    // Background mode: 0 transparent, 1 opaque; any other number is refused.
    const auto v = ToInteger(bag.Read("Visible", std::string("1")), -32768, 32767);
    if (v && (*v == 0 || *v == 1)) backgroundOpaque_ = *v == 1;
  });
  ResetToNormal();
  Guarded([&] { platform_.Show(); });
}

void Command::SaveToBag(PropertyBag& bag) {
  Guarded([&] { bag.Write("Enabled", fields_.IsEnabled != kFalse, true); });
  Guarded([&] { bag.Write("Caption", label_.Text, kDefaultCaption); });
  Guarded([&] { bag.Write("FirstRun", std::int64_t{fields_.FirstRun}, std::string("1")); });
  Guarded([&] { bag.Write("Font", label_.Font, container_.AmbientFont()); });
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

// ---------------------------------------------------------------- mouse and focus

void Command::OnMouseMove(std::int16_t, std::int16_t, float, float) {
  if (!fields_.IsEnabled) return;
  if (fields_.State == CommandState::Normal) {
    fields_.State = CommandState::HighLight;
    PaintState(Look::HighLight);
  }
  if (fields_.State == CommandState::Selected && !fields_.LeftButtonDown) {
    fields_.State = CommandState::HighLightSelect;
    PaintState(Look::HighLightSelect);
  }
}

void Command::OnMouseDown(std::int16_t button, std::int16_t, float, float) {
  if (!fields_.IsEnabled) return;
  if (button != kLeftButton) return;
  fields_.LeftButtonDown = kTrue;
  PaintState(Look::Pressed);
}

void Command::OnGotFocus() {
  hasFocus_ = true;
  if (!fields_.IsEnabled) return;
  if (fields_.State != CommandState::HighLight) {
    fields_.State = CommandState::Selected;
    PaintState(Look::Selected);
  } else {
    // A click on a hovered button brings the press and the focus; both show Pressed.
    fields_.State = CommandState::HighLightSelect;
    PaintState(Look::Pressed);
  }
}

void Command::OnMouseUp(std::int16_t button, std::int16_t, float, float) {
  if (!fields_.IsEnabled) return;
  if (button == kLeftButton) {
    fields_.LeftButtonDown = kFalse;
    if (fields_.State == CommandState::HighLight) {
      PaintState(Look::Normal);
    } else if (fields_.State == CommandState::HighLightSelect) {
      PaintState(Look::HighLightSelect);
    }
  }
  // State 3 here means the pointer left while the button was held: the press is abandoned.
  if (fields_.IsEnabled == kTrue && fields_.State != CommandState::Selected) RaiseClick();
}

void Command::OnLostFocus() {
  hasFocus_ = false;
  if (!fields_.IsEnabled) return;
  if (fields_.State != CommandState::Normal) {
    fields_.State = CommandState::Normal;
    PaintState(Look::Normal);
  }
}

void Command::OnHoverTick() {
  // A query that fails gives no window, which counts as away.
  const auto ask = [](auto&& query) -> std::optional<WindowId> {
    try {
      return query();
    } catch (...) {
      return std::nullopt;
    }
  };
  const std::optional<WindowId> under = ask([&] { return platform_.WindowUnderPointer(); });
  const std::optional<WindowId> containerWindow = ask([&] { return container_.ContainerWindow(); });
  if (under && containerWindow && *under == *containerWindow) {
    LeaveHover();
    return;
  }
  const std::optional<WindowId> own = ask([&] { return platform_.ControlWindow(); });
  // Anything but the control's own window (another control, another program, the
  // desktop, or no answer at all) counts as away.
  if (!(under && own && *under == *own)) LeaveHover();
}

void Command::LeaveHover() {
  if (!fields_.IsEnabled) return;
  if (fields_.State == CommandState::HighLight) {
    fields_.State = CommandState::Normal;
    PaintState(Look::Normal);
  } else if (fields_.State == CommandState::HighLightSelect) {
    fields_.State = CommandState::Selected;
    PaintState(Look::Selected);
  }
}

}  // namespace orvane
