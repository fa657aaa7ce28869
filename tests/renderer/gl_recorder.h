#pragma once

// Stands in for the few OpenGL and GLU functions the tunnel draws with, so that a test can
// run the real frame code without a context and read back what it drew.

#include <string>
#include <vector>

namespace orvane::testing {

// One vertex with the texture coordinate in force when it was given.
struct GlVertex {
  float s, t;
  float x, y, z;
};

// The vertices between one glBegin and its glEnd.
struct GlBatch {
  unsigned mode;
  std::vector<GlVertex> vertices;
};

struct GlLog {
  // Every call but glTexCoord2f and glVertex3f, as "glName(arguments)", GL names spelt out.
  std::vector<std::string> calls;
  std::vector<GlBatch> batches;
  // The current texture coordinate, as OpenGL keeps it between calls.
  float s = 0.0f, t = 0.0f;
  bool insideBatch = false;

  void Clear() {
    calls.clear();
    batches.clear();
    insideBatch = false;
  }
};

GlLog& RecordedGl();

}  // namespace orvane::testing
