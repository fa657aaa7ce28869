#pragma once

// The tunnel's state and its motion, one step per drawn frame. Plain C++ so that geometry and
// motion can be checked without a GL context; tunnel_gl.cpp draws from it.

namespace orvane::renderer {

// One cross-section of the tunnel: its place on the axis and its first-quadrant diagonal corner.
struct Ring {
  float z;
  float x;
  float y;
};

struct Corner {
  float x;
  float y;
};

inline constexpr int kRingCount = 30;
inline constexpr int kSegmentCount = kRingCount - 1;
inline constexpr int kFacesPerSegment = 8;
inline constexpr double kRingSpacing = 3.0;
inline constexpr double kTunnelRadius = 1.0;
inline constexpr double kDiagonalAngle = 0.7853975;
inline constexpr double kRollStep = 1.0;
inline constexpr float kFullTurn = 360.0f;
inline constexpr double kSpeedStep = 0.0005;
inline constexpr float kCapZ = -45.0f;

// Index 0 is the ring nearest the viewer.
extern Ring rings[kRingCount];
extern float tunnelSpeed;
extern int speedFalling;
extern float tunnelAngle;
// The window size that the display pass uses; replaced by every reshape.
extern int windowWidth;
extern int windowHeight;

// Rings at z = 0, -3, ..., -87; speed 0.1 and falling; roll 0.
void initRings();

// Corner k (0 to 8; 8 is corner 0 again) of a ring, counter-clockwise as the viewer sees it.
Corner ringCorner(const Ring& ring, int k);

// The speed ramp: 0.0005 per frame down to 0, up to 1, down again.
void rampSpeed();
// The roll to draw this frame with, in [0, 360); the next frame's is one degree more, modulo 360.
float takeRoll();
// Moves every ring toward the viewer by the speed, drops those that passed z = 0 and appends
// new ones at the far end.
void advanceRings();

}  // namespace orvane::renderer
