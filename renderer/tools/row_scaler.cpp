#include "renderer/tools/row_scaler.h"

#include <algorithm>
#include <cmath>

namespace orvane::renderer {

RowScaler::RowScaler(int sourceWidth, int sourceHeight, int width, int height)
    : sourceHeight_(sourceHeight),
      width_(width),
      columns_(tapsFor(sourceWidth, width)),
      rows_(tapsFor(sourceHeight, height)),
      out_(static_cast<std::size_t>(width) * height * 3) {}

std::vector<RowScaler::Taps> RowScaler::tapsFor(int from, int to) {
  std::vector<Taps> taps(to);
  const double step = static_cast<double>(from) / to;
  for (int i = 0; i < to; ++i) {
    Taps& t = taps[i];
    if (from >= to) {
      // Output sample i covers source [i × step, (i + 1) × step): each source sample counts
      // by how much of it lies inside.
      const double begin = i * step, end = std::min<double>((i + 1) * step, from);
      t.first = std::min(static_cast<int>(begin), from - 1);
      const int last = std::max(t.first, std::min(static_cast<int>(std::ceil(end)), from) - 1);
      for (int k = t.first; k <= last; ++k) {
        const double inside = std::min<double>(k + 1, end) - std::max<double>(k, begin);
        t.weights.push_back(static_cast<float>(std::max(inside, 0.0) / step));
      }
    } else {
      // Growing: the two nearest source samples, by distance from the output sample's centre.
      const double centre = std::clamp((i + 0.5) * step - 0.5, 0.0, from - 1.0);
      t.first = static_cast<int>(centre);
      const double part = centre - t.first;
      t.weights.push_back(static_cast<float>(1.0 - part));
      if (part > 0) t.weights.push_back(static_cast<float>(part));
    }
  }
  return taps;
}

void RowScaler::addRow(const std::uint8_t* rgb) {
  if (complete()) return;
  std::vector<float> across(static_cast<std::size_t>(width_) * 3);
  for (int x = 0; x < width_; ++x) {
    const Taps& t = columns_[x];
    float r = 0, g = 0, b = 0;
    const std::uint8_t* p = rgb + static_cast<std::size_t>(t.first) * 3;
    for (const float w : t.weights) {
      r += w * p[0];
      g += w * p[1];
      b += w * p[2];
      p += 3;
    }
    across[3 * x] = r;
    across[3 * x + 1] = g;
    across[3 * x + 2] = b;
  }
  window_.push_back(std::move(across));
  const int arrived = sourceRow_++;

  const int height = static_cast<int>(rows_.size());
  while (row_ < height && rows_[row_].last() <= arrived) {
    const Taps& t = rows_[row_];
    sum_.assign(static_cast<std::size_t>(width_) * 3, 0.0f);
    for (std::size_t k = 0; k < t.weights.size(); ++k) {
      const float w = t.weights[k];
      const std::vector<float>& source = window_[t.first - windowFirst_ + k];
      for (std::size_t s = 0; s < sum_.size(); ++s) sum_[s] += w * source[s];
    }
    std::uint8_t* out = out_.data() + static_cast<std::size_t>(row_) * width_ * 3;
    for (std::size_t s = 0; s < sum_.size(); ++s)
      out[s] = static_cast<std::uint8_t>(std::clamp(std::lround(sum_[s]), 0L, 255L));
    ++row_;
  }
  // Drop the rows no output row still needs.
  const int needed = row_ < height ? rows_[row_].first : sourceRow_;
  while (windowFirst_ < needed && !window_.empty()) {
    window_.pop_front();
    ++windowFirst_;
  }
}

}  // namespace orvane::renderer
