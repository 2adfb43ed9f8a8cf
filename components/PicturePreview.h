// The picture dialog's preview of the selected file: the picture decoded
// no larger than the pane needs (a photo at libjpeg's smallest scale that
// still covers it) and averaged down to fit, so that arrowing through a
// folder of photos costs a pane's pixels per file, not a photo's.
#pragma once

#include <cstdint>
#include <string>

#include "gfx/PixelBuffer.h"
#include "platform/Files.h"

namespace bx {

struct TPicturePreview {
  TPixelBuffer Pixels;  // fitted into the box, proportions kept, never enlarged
  int Width = 0;        // the picture's own size, for the size line
  int Height = 0;
};

// Loads `path` and fits it into boxWidth x boxHeight over `background`.
// False for an empty picture or an empty box; throws the loader's message.
bool MakePicturePreview(const std::string& path, int boxWidth, int boxHeight, TColor background,
                        TPicturePreview& preview);

}  // namespace bx
