// What every picture fuzz target does with its bytes: decode them with one
// decoder and, when that succeeds, draw the image twice (once clipped).
// Only the system's own errors may come out; anything else is a fault.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "components/Graphic.h"
#include "platform/Errors.h"
#include "tests/unit/ImageTestSupport.h"

namespace bx::fuzz {

// Images up to the loader's own size limit: the work a file causes must be
// bounded by its size, so no input may run longer than libFuzzer's timeout.
inline test::TImagePlatform& FuzzPlatform(IMetafilePlayer* player = nullptr) {
  static test::TImagePlatform* platform = new test::TImagePlatform(player);
  return *platform;
}

template <class TImage>
int DecodeAndDraw(const std::uint8_t* data, std::size_t size, IMetafilePlayer* player = nullptr) {
  // Odd lengths run as on a display of 8 bits per pixel (dithering, quantizing).
  FuzzPlatform(player).System.ColorDepth = size % 2 ? 8 : 32;
  TImage image;
  try {
    image.LoadFromData(std::vector<std::uint8_t>(data, data + size));
    (void)image.Width();
    (void)image.Height();
    if (!image.Empty()) {
      TPixelBuffer target(48, 40);
      image.Draw(target, 0, 0);
      image.Draw(target, -13, 7);
    }
  } catch (const Exception&) {
  }
  return 0;
}

}  // namespace bx::fuzz
