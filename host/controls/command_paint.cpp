// The control's face: the gradient and the frame of a state picture, painted into its Surface
// (and the shell's canvas) at the control's size.
#include <algorithm>
#include <charconv>
#include <cmath>

#include "host/controls/Command.h"
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
  const Rect to{screen.ToPixelsX(dx), screen.ToPixelsY(dy),
                screen.ToPixelsX(dx + dw) - screen.ToPixelsX(dx),
                screen.ToPixelsY(dy + dh) - screen.ToPixelsY(dy)};
  const auto source = [](double twips) {
    return static_cast<int>(std::lround(twips / kPictureTwipsPerPixel));
  };
  const Rect from{source(sx), source(sy), source(sx + sw) - source(sx),
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

Rect PlacedPixels(const TwipsScale& scale, double leftTwips, double topTwips, double widthTwips,
                  double heightTwips) {
  return {scale.ToPixelsX(leftTwips), scale.ToPixelsY(topTwips),
          std::max(1, scale.ToPixelsX(widthTwips)), std::max(1, scale.ToPixelsY(heightTwips))};
}

void Command::ResizePixels(int width, int height) {
  const TwipsScale scale = platform_.Scale();
  Resize(scale.FromPixelsX(width), scale.FromPixelsY(height));
}

}  // namespace orvane
