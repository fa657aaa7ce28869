#include "renderer/tools/picture_size.h"

namespace orvane::renderer {

int powerOfTwoSide(int side, int largest) {
  int chosen = kSmallestSide;
  while (chosen < largest && chosen * 2 <= side) chosen *= 2;
  // side lies between chosen and 2 × chosen: take the nearer one.
  if (chosen < largest && side - chosen >= chosen * 2 - side) chosen *= 2;
  return chosen;
}

bool validSide(int side) {
  return side >= kSmallestSide && side <= kLargestSide && (side & (side - 1)) == 0;
}

}  // namespace orvane::renderer
