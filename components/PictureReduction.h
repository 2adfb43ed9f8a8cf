// Reducing a picture to a smaller size by averaging: each target pixel is
// the mean colour of the picture pixels that fall into it, so that fine
// detail (the grid's lines, a pattern) turns into its mean colour instead
// of being dropped or kept by chance. How the preview control shows the
// desktop-size picture; portable, so its cost is measured with the preview.
// The picture may also be handed over band by band without ever being
// held whole, as the preview does.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "gfx/PixelBuffer.h"

namespace bx {

// Target column x takes the picture's columns from x * picture width /
// width up to (x + 1) * picture width / width, and rows alike.
// The colour sums of one band of picture rows, per target column.
class TColumnSums {
 public:
  TColumnSums(int sourceWidth, int width);
  int Width() const { return static_cast<int>(FRed.size()); }
  // Target column x takes picture columns Column(x) up to Column(x + 1).
  int Column(int x) const { return FColumns[x]; }
  // The target column that holds picture column c.
  int ColumnOf(int c) const;
  // Adds the pixels of picture columns first up to first + count, the
  // first of them at pixels[0]; inverted, each channel c counts 255 - c.
  void AddPixels(const TPixel* pixels, int first, int count, bool inverted = false);
  // Adds `count` pixels of one colour from picture column first on.
  void AddRun(int first, int count, TPixel pixel);
  // Adds colour sums to target column x.
  void Add(int x, std::uint64_t red, std::uint64_t green, std::uint64_t blue) {
    FRed[x] += red;
    FGreen[x] += green;
    FBlue[x] += blue;
  }

 private:
  friend void ReduceBands(int, int, TPixel*, int, int,
                          const std::function<void(int, int, TColumnSums&)>&);
  std::vector<int> FColumns;
  std::vector<std::uint64_t> FRed, FGreen, FBlue;
};

// Reduces a sourceWidth x sourceHeight picture given band by band into
// `target`, width x height pixels in rows of `width` (a top-down 32-bit
// DIB's layout): addBand(top, bottom, sums) adds the picture's rows top up
// to bottom into the sums of one target row. Width and height at most the
// picture's. A large picture's target rows are made by two threads, so
// addBand may run twice at once, for different rows.
void ReduceBands(int sourceWidth, int sourceHeight, TPixel* target, int width, int height,
                 const std::function<void(int top, int bottom, TColumnSums& sums)>& addBand);

// Reduces `picture` into `target` as above.
void ReducePicture(const TPixelBuffer& picture, TPixel* target, int width, int height);

}  // namespace bx
