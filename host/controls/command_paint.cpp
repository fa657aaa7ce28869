// The control's face worked out as a CommandFace for the shell to draw.
#include <algorithm>
#include <cmath>
#include <span>

#include "host/controls/Command.h"
#include "host/guarded.h"

namespace orvane {

// The six 64 x 25 pictures stacked in the order of the looks, as one built-in binary PPM.
std::span<const std::uint8_t> StatePicturesPpm();

const Picture& StatePicture(Look look) {
  static const std::array<Picture, kLookCount> pictures = [] {
    constexpr int kWidth = 64, kHeight = 25, kBytes = kWidth * kHeight * 3;
    const std::vector<std::uint8_t> all = NetpbmPixels(StatePicturesPpm(), kBytes * kLookCount);
    std::array<Picture, kLookCount> p;
    for (int i = 0; i < kLookCount; ++i) {
      p[i] = Picture{kWidth, kHeight, {all.begin() + i * kBytes, all.begin() + (i + 1) * kBytes}};
    }
    return p;
  }();
  return pictures[static_cast<int>(look)];
}

namespace {

// The face's background colour, under the gradient and the frame.
constexpr std::uint32_t kBackColour = 0xECE9D8;
// The gradient's colours: the design's texts "&HFFFFFF" and "&HC6C5D7" read as six
// hexadecimal digits in red, green, blue order (not as the system's blue-green-red numbers).
constexpr std::uint32_t kGradientLight = 0xFFFFFF;
constexpr std::uint32_t kGradientDark = 0xC6C5D7;
constexpr double kCaptionHeight = 195.0;
// Larger faces are refused: no control on any screen needs more.
constexpr double kMaxSidePixels = 16384;

// A twips value as a signed 16-bit integer, rounded half to even; nothing on overflow.
std::optional<std::int16_t> ToInt16(double value) {
  const double rounded = std::nearbyint(value);
  if (!std::isfinite(rounded) || rounded < -32768.0 || rounded > 32767.0) return std::nullopt;
  return static_cast<std::int16_t>(rounded);
}

// A corner of the gradient; each colour byte becomes a channel with the byte high.
TriVertex Vertex(std::int32_t x, std::int32_t y, std::uint32_t rgb) {
  const auto channel = [&](int shift) { return std::uint16_t(((rgb >> shift) & 0xFF) << 8); };
  return {x, y, channel(16), channel(8), channel(0), 0};
}

// A rectangle in twips as whole pixels. Edges rather than sizes are converted, so that
// neighbouring pieces meet exactly.
Rect Pixels(const TwipsScale& scale, double x, double y, double width, double height) {
  const int left = scale.ToPixelsX(x), top = scale.ToPixelsY(y);
  return {left, top, scale.ToPixelsX(x + width) - left, scale.ToPixelsY(y + height) - top};
}

}  // namespace

void Command::PaintState(Look picture) {
  // The gradient direction follows the state; states 4 and 0 keep the last one.
  if (fields_.State == CommandState::Normal || fields_.State == CommandState::Selected) {
    fields_.InvertGradient = kFalse;
  } else if (fields_.State == CommandState::HighLight) {
    fields_.InvertGradient = kTrue;
  }

  // The geometry in twips; a value that overflows keeps what the last paint worked out.
  if (const auto v = ToInt16(width_ - 120.0)) middleWidth_ = *v;
  if (const auto v = ToInt16(height_ - 120.0)) middleHeight_ = *v;
  if (const auto v = ToInt16(60.0 + middleWidth_)) rightColumn_ = *v;
  if (const auto v = ToInt16(60.0 + middleHeight_)) bottomRow_ = *v;

  face_.Background = kBackColour;
  Guarded([&] { PaintGradient(); });

  // The eight frame pieces in the order drawn: destination x, y, width, height, then the
  // source's, in twips of the control and of the picture (counted at 15 twips a pixel).
  const double mw = middleWidth_, mh = middleHeight_, xr = rightColumn_, yb = bottomRow_;
  const double pieces[8][8] = {{1, 1, 60, 60, 0, 0, 60, 60},        // top-left corner
                               {60, 1, mw, 60, 60, 1, 840, 60},     // top edge
                               {xr, 1, 60, 60, 900, 1, 60, 60},     // top-right corner
                               {xr, 60, 60, mh, 900, 60, 60, 255},  // right edge
                               {xr, yb, 60, 60, 900, 315, 60, 60},  // bottom-right corner
                               {60, yb, mw, 60, 60, 315, 840, 60},  // bottom edge
                               {1, yb, 60, 60, 0, 315, 60, 60},     // bottom-left corner
                               {1, 60, 60, mh, 1, 60, 60, 255}};    // left edge
  const TwipsScale picturePixels{kPictureTwipsPerPixel, kPictureTwipsPerPixel};
  face_.Picture = picture;
  face_.PieceCount = 0;
  for (const auto& p : pieces) {
    const FramePiece piece{Pixels(picturePixels, p[4], p[5], p[6], p[7]),
                           Pixels(scale_, p[0], p[1], p[2], p[3])};
    // A piece of no size, on a control too small for its frame, is left out.
    if (piece.To.Width > 0 && piece.To.Height > 0) face_.Pieces[face_.PieceCount++] = piece;
  }
  Show();

  // The caption keeps its design height and sits 10 twips above true centring.
  label_.Top = (height_ - kCaptionHeight - 20.0) / 2.0;

  if (observer_) Guarded([&] { observer_(picture); });
}

void Command::PaintGradient() {
  const std::uint32_t first = fields_.InvertGradient ? kGradientDark : kGradientLight;
  const std::uint32_t second = fields_.InvertGradient ? kGradientLight : kGradientDark;
  face_.Vertices[0] = Vertex(0, 0, first);
  face_.Vertices[1] = Vertex(face_.Width - 1, face_.Height - 1, second);
  face_.GradientRect = {1, 0};
  platform_.Show();
}

void Command::ApplyEnabled() {
  PaintState(fields_.IsEnabled ? Look::Normal : Look::Disable);
  label_.Enabled = fields_.IsEnabled != kFalse;
  Show();
}

void Command::Resize(double widthTwips, double heightTwips) {
  if (widthTwips == width_ && heightTwips == height_) return;
  if (!std::isfinite(widthTwips) || !std::isfinite(heightTwips) ||
      widthTwips / scale_.X > kMaxSidePixels || heightTwips / scale_.Y > kMaxSidePixels) {
    return;
  }
  face_.Width = std::max(0, scale_.ToPixelsX(std::max(0.0, widthTwips)));
  face_.Height = std::max(0, scale_.ToPixelsY(std::max(0.0, heightTwips)));
  width_ = widthTwips;
  height_ = heightTwips;
  OnResize();
}

void Command::ResizePixels(int width, int height) {
  Resize(width * scale_.X, height * scale_.Y);
}

CommandFace Command::Face() const {
  CommandFace face = face_;
  face.Shown = backgroundOpaque_;
  CaptionPaint& caption = face.Caption;
  caption.Box = Pixels(scale_, 0.0, label_.Top, width_, kCaptionHeight);
  caption.Drawn = !label_.Text.empty() && caption.Box.Width > 0 && caption.Box.Height > 0;
  caption.Greyed = !label_.Enabled;
  // The colour number is 0x00BBGGRR; system colour numbers (high bit set) draw as the button
  // text colour, black.
  const std::uint32_t number = label_.ForeColour;
  if (!(number & 0x80000000u)) {
    caption.Colour = ((number & 0xFF) << 16) | (number & 0xFF00) | ((number >> 16) & 0xFF);
  }
  caption.Text = label_.Text;
  caption.Font = label_.Font;
  return face;
}

Rect PlacedPixels(const TwipsScale& scale, double leftTwips, double topTwips, double widthTwips,
                  double heightTwips) {
  return {scale.ToPixelsX(leftTwips), scale.ToPixelsY(topTwips),
          std::max(1, scale.ToPixelsX(widthTwips)), std::max(1, scale.ToPixelsY(heightTwips))};
}

}  // namespace orvane
