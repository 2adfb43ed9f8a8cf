#include "components/PictureReduction.h"

#include <algorithm>

#include "platform/Parallel.h"

namespace bx {

TColumnSums::TColumnSums(int sourceWidth, int width)
    : FColumns(static_cast<std::size_t>(width) + 1), FRed(width), FGreen(width), FBlue(width) {
  for (int x = 0; x <= width; ++x)
    FColumns[x] = static_cast<int>(static_cast<std::int64_t>(x) * sourceWidth / width);
}

int TColumnSums::ColumnOf(int c) const {
  const int width = Width();
  int x = static_cast<int>(static_cast<std::int64_t>(c) * width / FColumns[width]);
  x = std::clamp(x, 0, width - 1);
  while (x > 0 && FColumns[x] > c) --x;
  while (x < width - 1 && FColumns[x + 1] <= c) ++x;
  return x;
}

void TColumnSums::AddRun(int first, int count, TPixel pixel) {
  const int end = first + count;
  for (int x = ColumnOf(first), c = first; c < end; ++x) {
    const std::uint64_t n = static_cast<std::uint64_t>(std::min(end, FColumns[x + 1]) - c);
    Add(x, n * ((pixel >> 16) & 0xFF), n * ((pixel >> 8) & 0xFF), n * (pixel & 0xFF));
    c += static_cast<int>(n);
  }
}

void TColumnSums::AddPixels(const TPixel* pixels, int first, int count, bool inverted) {
  if (count <= 0) return;
  const int end = first + count;
  const TPixel* p = pixels;
  for (int x = ColumnOf(first), c = first; c < end; ++x) {
    const int blockStart = c, blockEnd = std::min(end, FColumns[x + 1]);
    std::uint64_t red = 0, green = 0, blue = 0;
    while (c < blockEnd) {
      // Red and blue are summed side by side in one word, green in
      // another: 256 pixels of 255 still fit their 16-bit lanes.
      const int stop = std::min(blockEnd, c + 256);
      std::uint32_t redBlue = 0, greens = 0;
      for (; c < stop; ++c, ++p) {
        redBlue += *p & 0xFF00FF;
        greens += *p & 0xFF00;
      }
      red += redBlue >> 16;
      blue += redBlue & 0xFFFF;
      green += greens >> 8;
    }
    if (inverted) {
      const std::uint64_t full = 255ull * static_cast<std::uint64_t>(blockEnd - blockStart);
      red = full - red;
      green = full - green;
      blue = full - blue;
    }
    Add(x, red, green, blue);
  }
}

void ReduceBands(int sourceWidth, int sourceHeight, TPixel* target, int width, int height,
                 const std::function<void(int top, int bottom, TColumnSums& sums)>& addBand) {
  if (width <= 0 || height <= 0 || width > sourceWidth || height > sourceHeight) return;
  auto reduceRows = [&](int first, int last) {
    TColumnSums sums(sourceWidth, width);
    for (int y = first; y < last; ++y) {
      const int top = static_cast<int>(static_cast<std::int64_t>(y) * sourceHeight / height);
      const int bottom = static_cast<int>(static_cast<std::int64_t>(y + 1) * sourceHeight / height);
      std::fill(sums.FRed.begin(), sums.FRed.end(), 0);
      std::fill(sums.FGreen.begin(), sums.FGreen.end(), 0);
      std::fill(sums.FBlue.begin(), sums.FBlue.end(), 0);
      addBand(top, bottom, sums);
      TPixel* out = target + static_cast<std::size_t>(y) * width;
      for (int x = 0; x < width; ++x) {
        const std::uint64_t count =
            static_cast<std::uint64_t>(bottom - top) * (sums.FColumns[x + 1] - sums.FColumns[x]);
        out[x] = MakePixel(static_cast<unsigned>((sums.FRed[x] + count / 2) / count),
                           static_cast<unsigned>((sums.FGreen[x] + count / 2) / count),
                           static_cast<unsigned>((sums.FBlue[x] + count / 2) / count));
      }
    }
  };
  // A desktop-size picture is read faster by two threads than by one: each
  // makes half the target rows.
  RunRows(0, height, static_cast<std::int64_t>(sourceWidth) * sourceHeight, reduceRows);
}

void ReducePicture(const TPixelBuffer& picture, TPixel* target, int width, int height) {
  // Each picture row is summed into its target columns first, then the
  // column sums of a band of rows give a target row: one pass over the
  // picture, reading each pixel once.
  ReduceBands(picture.Width(), picture.Height(), target, width, height,
              [&](int top, int bottom, TColumnSums& sums) {
                for (int row = top; row < bottom; ++row)
                  sums.AddPixels(picture.Scanline(row), 0, picture.Width());
              });
}

}  // namespace bx
