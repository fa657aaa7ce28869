#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// How a looping sound shorter than one pass is played: whole copies of it back to back in one
// block, so the output starts over at most once a pass however short the sound is.
namespace orvane::platform {

// The shortest stretch a loop plays before it starts over: a second.
inline constexpr std::uint32_t kLoopPassMs = 1000;

// Whole copies of `clip` (frames of `frameBytes` bytes; a partial last frame is dropped) until
// there are at least `minFrames` frames. Empty when the clip holds no whole frame: that loop
// is silence.
std::vector<std::uint8_t> LoopBlock(std::span<const std::uint8_t> clip, std::size_t frameBytes,
                                    std::size_t minFrames);

}  // namespace orvane::platform
