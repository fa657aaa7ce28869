#pragma once

#include <string>
#include <vector>

#include "tests/support/screenshot.h"

// What the real tunnel looks like on a screen, drawn with the ramps picture.
namespace orvane::testing {

// A 256 × 256 Orvane.image whose red grows with the column (s) and blue with the row (t).
std::string RampsPicture();

// The tunnel drawn with the ramps picture round the centre (x, y) of a monitor: fog at the far
// end; round the centre, blue climbs across each face and falls at the eight corners, whatever
// the roll; outward, red climbs across each segment and falls where the next begins. Says why not.
bool ShowsThePictureOnEveryFace(const Screenshot& shot, int x, int y, std::string& why);

// The picture has no green: the fog's alone says how deep the wall seen at a distance from the
// centre (x, y) of a monitor height pixels high is, so the field of view (60 degrees over the
// height) and the fog's density. Says why not.
bool WallsAtTheirDepths(const Screenshot& shot, int x, int y, int height, std::string& why);

// The directions, in degrees counter-clockwise from the right, of the tunnel's corner edges
// from the centre (x, y): where blue falls walking round it at the radius.
std::vector<double> CornerAngles(const Screenshot& shot, int x, int y, int radius);

}  // namespace orvane::testing
