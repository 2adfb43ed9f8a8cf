// Drawing an image whose pixels carry straight (not premultiplied) alpha in
// their top byte over what a buffer holds: icons, PNG and WebP images.
#pragma once

#include "gfx/PixelBuffer.h"

namespace bx {

// Draws `image` at its own size with its top-left corner at (x, y), clipped
// to `target`: alpha 0 leaves the target's pixel, 255 replaces it, anything
// between mixes the two, each channel rounded to the nearest value.
void BlendOnto(TPixelBuffer& target, int x, int y, const TPixelBuffer& image);

// True when every pixel of `image` has alpha 255.
bool IsOpaque(const TPixelBuffer& image);

// Clears the alpha byte of every pixel, leaving the buffer's own layout.
void DropAlpha(TPixelBuffer& image);

}  // namespace bx
