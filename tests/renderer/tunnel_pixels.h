#pragma once

#include <cmath>
#include <cstdint>
#include <numbers>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "renderer/sgi_writer.h"
#include "tests/support/screenshot.h"

// What the real tunnel looks like on a screen, drawn with the ramps picture.
namespace orvane::testing {

// Clusters of rises and falls of more than threshold across two samples, each given by the
// sample it starts after; cyclic samples go round.
struct Steps {
  std::vector<std::size_t> rises, falls;
};

inline Steps SharpSteps(const std::vector<int>& v, int threshold, bool cyclic) {
  const size_t n = v.size(), span = cyclic ? n : n - 2;
  std::vector<int> steps(span);
  for (size_t i = 0; i < span; ++i) {
    const int d = v[(i + 2) % n] - v[i];
    steps[i] = d > threshold ? 1 : d < -threshold ? -1 : 0;
  }
  Steps found;
  for (size_t i = 0; i < span; ++i) {
    const int before = i > 0 ? steps[i - 1] : cyclic ? steps[span - 1] : 0;
    if (steps[i] != 0 && steps[i] != before)
      (steps[i] > 0 ? found.rises : found.falls).push_back(i);
  }
  return found;
}

inline constexpr int kRoundSamples = 720;

inline std::vector<int> BlueRound(const Screenshot& shot, int x, int y, int radius) {
  std::vector<int> round;
  for (int i = 0; i < kRoundSamples; ++i) {
    const double angle = i * 2 * std::numbers::pi / kRoundSamples;
    round.push_back(shot.at(x + int(std::lround(radius * std::cos(angle))),
                            y - int(std::lround(radius * std::sin(angle))))
                        .b);
  }
  return round;
}

// A 256 × 256 Orvane.image whose red grows with the column (s) and blue with the row (t).
inline std::string RampsPicture() {
  std::vector<std::uint8_t> ramps;
  for (int row = 0; row < 256; ++row)
    for (int column = 0; column < 256; ++column)
      ramps.insert(ramps.end(), {std::uint8_t(column), 0, std::uint8_t(row)});
  const auto picture =
      renderer::encodeSgi(ramps.data(), 256, 256, 3, renderer::SgiStorage::runLength);
  return std::string(picture.begin(), picture.end());
}

// The tunnel drawn with the ramps picture round the centre (x, y) of a monitor: fog at the far
// end; round the centre, blue climbs across each face and falls at the eight corners, whatever
// the roll; outward, red climbs across each segment and falls where the next begins. Says why not.
inline bool ShowsThePictureOnEveryFace(const Screenshot& shot, int x, int y, std::string& why) {
  if (!shot.valid()) return why = "no screenshot", false;
  if (!Near(shot.at(x, y), Rgb{153, 153, 0}, 25)) return why = "no fog at the far end", false;
  // Round the centre at every distance, so across the near and the far part of some segment.
  for (int radius = 100; radius <= 340; radius += 20) {
    const Steps round = SharpSteps(BlueRound(shot, x, y, radius), 100, true);
    if (!round.rises.empty() || round.falls.size() != 8) {
      why = "round the centre at " + std::to_string(radius) + " pixels, blue rises sharply " +
            std::to_string(round.rises.size()) + " times, falls " +
            std::to_string(round.falls.size());
      return false;
    }
  }
  int redRises = 0, redFalls = 0;
  for (const auto& [dx, dy] : {std::pair{1, 0}, {0, -1}, {-1, 0}, {0, 1}}) {
    std::vector<int> outward;
    for (int r = 60; r <= 370; ++r) outward.push_back(shot.at(x + dx * r, y + dy * r).r);
    const Steps steps = SharpSteps(outward, 40, false);
    redRises += int(steps.rises.size()), redFalls += int(steps.falls.size());
  }
  why = "outward, red rises sharply " + std::to_string(redRises) + " times, falls " +
        std::to_string(redFalls);
  return redFalls >= 8 && redRises == 0;
}

// The picture has no green: the fog's alone says how deep the wall seen at a distance from the
// centre (x, y) of a monitor height pixels high is, so the field of view (60 degrees over the
// height) and the fog's density. Says why not.
inline bool WallsAtTheirDepths(const Screenshot& shot, int x, int y, int height, std::string& why) {
  if (!shot.valid()) return why = "no screenshot", false;
  for (const auto& [radius, low, high] : {std::tuple{100, 55, 68}, {200, 30, 39}})
    for (int angle = 0; angle < 360; angle += 30) {
      const double a = angle * std::numbers::pi / 180, r = radius * height / 768.0;
      const int green = shot.at(x + int(r * std::cos(a)), y - int(r * std::sin(a))).g;
      if (green < low || green > high)
        return why = "green " + std::to_string(green) + " at " + std::to_string(radius) +
                     "/768 of the height, " + std::to_string(angle) + " degrees round " +
                     std::to_string(x) + "," + std::to_string(y),
               false;
    }
  return true;
}

// The directions, in degrees counter-clockwise from the right, of the tunnel's corner edges
// from the centre (x, y): where blue falls walking round it at the radius.
inline std::vector<double> CornerAngles(const Screenshot& shot, int x, int y, int radius) {
  std::vector<double> angles;
  // The step found after sample i lies between samples i and i + 2.
  for (std::size_t i : SharpSteps(BlueRound(shot, x, y, radius), 100, true).falls)
    angles.push_back(std::fmod((i + 1) * 360.0 / kRoundSamples, 360.0));
  return angles;
}

}  // namespace orvane::testing
