#include "platform/linux/mci/sound_loop.h"

#include <gtest/gtest.h>

namespace orvane::platform {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A pass of a short sound is whole copies of it, at least a second long, so that a loop of a
// few samples starts over once a second rather than once per copy, whatever the machine's load.
TEST(LoopBlock, RepeatsAShortSoundWholeToFillAPassAndLeavesAnEmptyOneSilent) {
  const Bytes clip = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};  // three frames of 4 bytes
  EXPECT_EQ(LoopBlock(clip, 4, 6),
            (Bytes{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
  EXPECT_EQ(LoopBlock(Bytes{1, 2, 3, 4, 5, 6}, 4, 3), (Bytes{1, 2, 3, 4, 1, 2, 3, 4, 1, 2, 3, 4}))
      << "a partial last frame is dropped";
  // 20 ms at 44.1 kHz, 16-bit stereo: 50 copies make a second; a frame less needs 51.
  EXPECT_EQ(LoopBlock(Bytes(882 * 4, 7), 4, 44100).size(), 50u * 882 * 4);
  EXPECT_EQ(LoopBlock(Bytes(881 * 4, 7), 4, 44100).size(), 51u * 881 * 4);
  EXPECT_TRUE(LoopBlock(Bytes{1, 2, 3}, 4, 44100).empty()) << "no whole frame";
}

}  // namespace
}  // namespace orvane::platform
