#include "components/PictureReduction.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace bx {

void ReducePicture(const TPixelBuffer& picture, TPixel* target, int width, int height) {
  const int sourceWidth = picture.Width(), sourceHeight = picture.Height();
  if (width <= 0 || height <= 0 || width > sourceWidth || height > sourceHeight) return;
  std::vector<int> columns(static_cast<std::size_t>(width) + 1);
  for (int x = 0; x <= width; ++x)
    columns[x] = static_cast<int>(static_cast<std::int64_t>(x) * sourceWidth / width);
  // Each picture row is summed into its target columns first, then the
  // column sums of a band of rows give a target row: one pass over the
  // picture, reading each pixel once.
  std::vector<std::uint64_t> red(width), green(width), blue(width);
  for (int y = 0; y < height; ++y) {
    const int top = static_cast<int>(static_cast<std::int64_t>(y) * sourceHeight / height);
    const int bottom = static_cast<int>(static_cast<std::int64_t>(y + 1) * sourceHeight / height);
    std::fill(red.begin(), red.end(), 0);
    std::fill(green.begin(), green.end(), 0);
    std::fill(blue.begin(), blue.end(), 0);
    for (int row = top; row < bottom; ++row) {
      const TPixel* line = picture.Scanline(row);
      for (int x = 0; x < width; ++x) {
        // Red and blue are summed side by side in one word, green in
        // another: 256 pixels of 255 still fit their 16-bit lanes.
        for (int c = columns[x], end = columns[x + 1]; c < end;) {
          const int stop = std::min(end, c + 256);
          std::uint32_t redBlue = 0, greens = 0;
          for (; c < stop; ++c) {
            redBlue += line[c] & 0xFF00FF;
            greens += line[c] & 0xFF00;
          }
          red[x] += redBlue >> 16;
          blue[x] += redBlue & 0xFFFF;
          green[x] += greens >> 8;
        }
      }
    }
    TPixel* out = target + static_cast<std::size_t>(y) * width;
    for (int x = 0; x < width; ++x) {
      const std::uint64_t count = static_cast<std::uint64_t>(bottom - top) * (columns[x + 1] - columns[x]);
      out[x] = MakePixel(static_cast<unsigned>((red[x] + count / 2) / count),
                         static_cast<unsigned>((green[x] + count / 2) / count),
                         static_cast<unsigned>((blue[x] + count / 2) / count));
    }
  }
}

}  // namespace bx
