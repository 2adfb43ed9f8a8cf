// The photo-like JPEG the decoding benchmarks share: 6000 x 4000, gradients
// with fine noise, so that the blocks carry detail as a camera's do.
#pragma once

#include "tests/unit/ImageWriters.h"

namespace bx::test {

inline TBytes MakePhotoJpeg() {
  const int width = 6000, height = 4000;
  std::vector<std::uint8_t> samples = GradientSamples(width, height);
  std::uint32_t seed = 12345;
  for (std::uint8_t& s : samples) {
    seed = seed * 1664525u + 1013904223u;
    const int v = s + static_cast<int>((seed >> 24) % 33) - 16;
    s = static_cast<std::uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
  }
  return WriteJpeg(width, height, 3, samples, 90);
}

}  // namespace bx::test
