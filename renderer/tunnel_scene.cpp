#include "renderer/tunnel_scene.h"

#include <algorithm>
#include <cmath>

namespace orvane::renderer {

Ring rings[kRingCount];
float tunnelSpeed = 0.1f;
int speedFalling = 1;
float tunnelAngle = 0.0f;
int windowWidth = 1024;
int windowHeight = 768;

namespace {

// Every ring gets the same diagonal corner, so the tunnel stays straight.
void shapeRing(Ring& ring) {
  ring.x = static_cast<float>(std::cos(kDiagonalAngle) * kTunnelRadius);
  ring.y = static_cast<float>(std::sin(kDiagonalAngle) * kTunnelRadius);
}

}  // namespace

void initRings() {
  for (int i = 0; i < kRingCount; ++i) {
    rings[i].z = static_cast<float>(-kRingSpacing * i);
    shapeRing(rings[i]);
  }
  tunnelSpeed = 0.1f;
  speedFalling = 1;
  tunnelAngle = 0.0f;
}

Corner ringCorner(const Ring& ring, int k) {
  switch (k & 7) {
    case 0:
      return {1.0f, 0.0f};
    case 1:
      return {ring.x, ring.y};
    case 2:
      return {0.0f, 1.0f};
    case 3:
      return {-ring.x, ring.y};
    case 4:
      return {-1.0f, 0.0f};
    case 5:
      return {-ring.x, -ring.y};
    case 6:
      return {0.0f, -1.0f};
    default:
      return {ring.x, -ring.y};
  }
}

void rampSpeed() {
  if (speedFalling != 0) {
    tunnelSpeed -= kSpeedStep;
    if (tunnelSpeed < 0.0f) {
      tunnelSpeed = 0.0f;
      speedFalling = 0;
    }
  } else {
    tunnelSpeed += kSpeedStep;
    if (tunnelSpeed > 1.0f) {
      tunnelSpeed = 1.0f;
      speedFalling = 1;
    }
  }
}

float takeRoll() {
  const float roll = tunnelAngle;
  tunnelAngle += kRollStep;
  // A whole turn looks the same as none; kept below 360 the angle never grows past the point
  // where a float can no longer take one more degree.
  if (tunnelAngle >= kFullTurn) tunnelAngle -= kFullTurn;
  return roll;
}

void advanceRings() {
  int passed = 0;
  for (Ring& ring : rings) {
    ring.z += tunnelSpeed;
    if (ring.z > 0.0f) ++passed;
  }
  if (passed == 0) return;
  for (int j = passed; j < kRingCount; ++j) rings[j - passed] = rings[j];
  // Starts one entry before the first vacated one, so the last survivor is also placed
  // exactly one spacing behind its predecessor. At most one ring passes in a real frame; the
  // bound keeps a state set up by hand inside the table.
  for (int j = std::max(kRingCount - 1 - passed, 1); j < kRingCount; ++j) {
    rings[j].z = static_cast<float>(rings[j - 1].z - kRingSpacing);
    shapeRing(rings[j]);
  }
}

}  // namespace orvane::renderer
