// Draws the bundled tunnel picture, Orvane.image: a glowing rose window of teal and violet
// in a bevelled gold frame, so that every face of the tunnel reads as a lit panel.
// Usage: make-picture OUTPUT

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "renderer/sgi_writer.h"

namespace {

constexpr int kSide = 512;
constexpr double kPi = 3.14159265358979323846;

struct Colour {
  double r, g, b;
};

Colour mix(Colour a, Colour b, double t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

double smoothstep(double edge0, double edge1, double x) {
  const double t = std::clamp((x - edge0) / (edge1 - edge0), 0.0, 1.0);
  return t * t * (3.0 - 2.0 * t);
}

// A soft band of the given half width around value 0.
double band(double distance, double halfWidth) {
  return 1.0 - smoothstep(halfWidth * 0.6, halfWidth, std::fabs(distance));
}

Colour shade(double u, double v) {
  // u and v run from -1 to 1 across the picture.
  const double radius = std::hypot(u, v);
  const double angle = std::atan2(v, u);

  // Background: a deep sea of slow interference waves.
  const double wave = 0.5 + 0.25 * std::sin(7.0 * u + 3.0 * std::sin(4.0 * v)) +
                      0.25 * std::sin(9.0 * v - 2.0 * std::cos(5.0 * u));
  Colour colour = mix({0.03, 0.02, 0.12}, {0.05, 0.22, 0.34}, wave);

  // Rose window: twelve petals and three rings of light.
  const double petals = std::pow(std::fabs(std::cos(6.0 * angle)), 3.0);
  const double petalEdge = 0.25 + 0.5 * petals;
  const double inPetal = 1.0 - smoothstep(petalEdge - 0.03, petalEdge, radius);
  colour = mix(colour, mix({0.45, 0.10, 0.55}, {0.10, 0.75, 0.80}, petals), 0.85 * inPetal);
  for (double ring : {0.22, 0.55, 0.78}) {
    colour = mix(colour, {0.98, 0.85, 0.45}, 0.9 * band(radius - ring, 0.018));
  }
  for (int spoke = 0; spoke < 24; ++spoke) {
    const double a = angle - spoke * kPi / 12.0;
    const double across = radius * std::sin(a);
    if (std::cos(a) > 0.0 && radius > 0.22 && radius < 0.78) {
      colour = mix(colour, {0.90, 0.75, 0.35}, 0.6 * band(across, 0.008));
    }
  }
  // A white-hot heart.
  colour = mix(colour, {1.0, 0.97, 0.85}, std::exp(-radius * radius * 60.0));

  // Bevelled gold frame with rivets, lit from the top left.
  const double edge = 1.0 - std::max(std::fabs(u), std::fabs(v));
  if (edge < 0.09) {
    const double light = 0.55 + 0.45 * ((std::fabs(u) > std::fabs(v) ? -u : v) > 0 ? 1.0 : 0.45);
    const double groove = band(edge - 0.045, 0.01);
    Colour gold = mix({0.55, 0.38, 0.10}, {1.0, 0.84, 0.42}, light);
    gold = mix(gold, {0.25, 0.16, 0.04}, 0.8 * groove);
    colour = mix(colour, gold, smoothstep(0.09, 0.08, edge));
  }
  // Rivets along the frame.
  const double along = std::fabs(u) > std::fabs(v) ? v : u;
  const double rivet = std::hypot(edge - 0.045, std::remainder(along, 0.125));
  if (edge < 0.09) colour = mix(colour, {1.0, 0.95, 0.75}, band(rivet, 0.016));
  return colour;
}

std::uint8_t toByte(double value) {
  return static_cast<std::uint8_t>(std::lround(std::clamp(value, 0.0, 1.0) * 255.0));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make-picture OUTPUT\n");
    return 2;
  }
  std::vector<std::uint8_t> rgb(static_cast<std::size_t>(kSide) * kSide * 3);
  for (int y = 0; y < kSide; ++y) {
    for (int x = 0; x < kSide; ++x) {
      // Four samples a pixel keep the thin lines smooth.
      Colour sum{0, 0, 0};
      for (int s = 0; s < 4; ++s) {
        const double u = (x + 0.25 + 0.5 * (s & 1)) / kSide * 2.0 - 1.0;
        const double v = (y + 0.25 + 0.5 * (s >> 1)) / kSide * 2.0 - 1.0;
        const Colour c = shade(u, v);
        sum = {sum.r + c.r / 4, sum.g + c.g / 4, sum.b + c.b / 4};
      }
      std::uint8_t* out = &rgb[(static_cast<std::size_t>(y) * kSide + x) * 3];
      out[0] = toByte(sum.r);
      out[1] = toByte(sum.g);
      out[2] = toByte(sum.b);
    }
  }
  const auto file = orvane::renderer::encodeSgi(rgb.data(), kSide, kSide, 3,
                                                orvane::renderer::SgiStorage::runLength);
  std::string error;
  if (!orvane::renderer::writeFileAtomically(argv[1], file, error)) {
    std::fprintf(stderr, "make-picture: %s: %s\n", argv[1], error.c_str());
    return 1;
  }
  return 0;
}
