#include "platform/linux/mci/sound_loop.h"

namespace orvane::platform {

std::vector<std::uint8_t> LoopBlock(std::span<const std::uint8_t> clip, std::size_t frameBytes,
                                    std::size_t minFrames) {
  if (frameBytes == 0) return {};
  const std::size_t frames = clip.size() / frameBytes;
  if (frames == 0) return {};
  const std::size_t copies = minFrames <= frames ? 1 : (minFrames + frames - 1) / frames;
  const std::span<const std::uint8_t> whole = clip.first(frames * frameBytes);
  std::vector<std::uint8_t> block;
  block.reserve(whole.size() * copies);
  for (std::size_t i = 0; i < copies; ++i) block.insert(block.end(), whole.begin(), whole.end());
  return block;
}

}  // namespace orvane::platform
