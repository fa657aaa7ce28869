#pragma once

// Scales a picture to another size while its rows arrive, top row first, so that a picture far
// larger than memory allows can be read a row at a time: each side is area-averaged where it
// shrinks and linearly interpolated where it grows.

#include <cstdint>
#include <deque>
#include <vector>

namespace orvane::renderer {

class RowScaler {
 public:
  // Sides from 1 up; the result is width × height RGB pixels.
  RowScaler(int sourceWidth, int sourceHeight, int width, int height);

  // The next source row, sourceWidth RGB pixels. Rows past sourceHeight are ignored.
  void addRow(const std::uint8_t* rgb);

  // True once every source row has arrived.
  bool complete() const { return sourceRow_ == sourceHeight_; }

  // The scaled picture, top row first, three bytes a pixel; call once complete.
  std::vector<std::uint8_t> take() { return std::move(out_); }

 private:
  // The source samples that make one output sample: weights for first, first + 1, …
  struct Taps {
    int first = 0;
    std::vector<float> weights;
    int last() const { return first + static_cast<int>(weights.size()) - 1; }
  };
  static std::vector<Taps> tapsFor(int from, int to);

  int sourceHeight_, width_;
  std::vector<Taps> columns_, rows_;
  // Source rows already scaled across, from row windowFirst_ on: only those an output row
  // still needs are kept.
  std::deque<std::vector<float>> window_;
  std::vector<float> sum_;
  int windowFirst_ = 0, sourceRow_ = 0, row_ = 0;
  std::vector<std::uint8_t> out_;
};

}  // namespace orvane::renderer
