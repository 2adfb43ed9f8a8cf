// Reducing a picture to a smaller size by averaging: each target pixel is
// the mean colour of the picture pixels that fall into it, so that fine
// detail (the grid's lines, a pattern) turns into its mean colour instead
// of being dropped or kept by chance. How the preview control shows the
// desktop-size picture; portable, so its cost is measured with the preview.
#pragma once

#include "components/PixelBuffer.h"

namespace bx {

// Reduces `picture` into `target`, width x height pixels in rows of `width`
// (a top-down 32-bit DIB's layout). Target column x takes the picture's
// columns from x * picture width / width up to (x + 1) * picture width /
// width, and rows alike; width and height at most the picture's.
void ReducePicture(const TPixelBuffer& picture, TPixel* target, int width, int height);

}  // namespace bx
