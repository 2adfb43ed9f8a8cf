#include "gfx/AlphaBlend.h"

#include <algorithm>
#include <cstdint>

namespace bx {

void BlendOnto(TPixelBuffer& target, int x, int y, const TPixelBuffer& image) {
  const std::int64_t c0 = std::max<std::int64_t>(0, -static_cast<std::int64_t>(x));
  const std::int64_t c1 =
      std::min<std::int64_t>(image.Width(), static_cast<std::int64_t>(target.Width()) - x);
  for (int r = 0; r < image.Height(); ++r) {
    const std::int64_t ty = static_cast<std::int64_t>(y) + r;
    if (ty < 0 || ty >= target.Height()) continue;
    const TPixel* in = image.Scanline(r);
    TPixel* out = target.Scanline(static_cast<int>(ty));
    for (std::int64_t c = c0; c < c1; ++c) {
      const TPixel s = in[c];
      const unsigned a = s >> 24;
      if (a == 0) continue;
      TPixel& o = out[x + c];
      if (a == 255) {
        o = s & 0xFFFFFF;
        continue;
      }
      const TPixel d = o;
      TPixel blended = 0;
      for (int shift = 0; shift <= 16; shift += 8) {
        const unsigned sc = (s >> shift) & 0xFF, dc = (d >> shift) & 0xFF;
        blended |= ((sc * a + dc * (255 - a) + 127) / 255) << shift;
      }
      o = blended;
    }
  }
}

bool IsOpaque(const TPixelBuffer& image) {
  for (int y = 0; y < image.Height(); ++y) {
    const TPixel* row = image.Scanline(y);
    TPixel all = 0xFF000000u;
    for (int x = 0; x < image.Width(); ++x) all &= row[x];
    if ((all >> 24) != 0xFF) return false;
  }
  return true;
}

void DropAlpha(TPixelBuffer& image) {
  for (int y = 0; y < image.Height(); ++y) {
    TPixel* row = image.Scanline(y);
    for (int x = 0; x < image.Width(); ++x) row[x] &= 0xFFFFFF;
  }
}

}  // namespace bx
