// The desktop that the preview shows, made true where the desktop cannot
// show the placement itself: Apply then writes the preview's picture at the
// virtual screen's size as the wallpaper, arranged so that the desktop shows
// it pixel for pixel.
#pragma once

#include <cstdint>
#include <functional>

#include "gfx/PixelBuffer.h"
#include "platform/System.h"

namespace bx {

class TPreviewScene;

// The placement as the desktop values hold it.
struct TPlacementValues {
  std::int32_t Tile = 0;
  std::int32_t Style = 0;
  std::int64_t OriginX = 0;
  std::int64_t OriginY = 0;
};

enum class TDesktopShows {
  Itself,    // the image, placed by the desktop as the preview places it
  Composed,  // the preview's picture, whatever the image
  BySize,    // the image when its size is one the desktop places the same
};
TDesktopShows DesktopShows(const TDesktopLayout& layout, const TPlacementValues& placement);

// Whether Apply composes the desktop for an image of width x height. Never
// for a desktop whose size is unknown, where the desktop gets the image.
bool ComposesDesktop(const TDesktopLayout& layout, const TPlacementValues& placement, int width,
                     int height);

// The composed wallpaper's rows from the top, scene.Width() pixels each.
// Today's Windows tiles it from the primary monitor's top left, which is
// (-Left, -Top) in the scene, so the rows and columns are turned round by
// that much there; every other desktop shows it from its top left.
void ComposeDesktopRows(const TPreviewScene& scene, const TDesktopLayout& layout,
                        const std::function<void(int y, const TPixel* row)>& put);

}  // namespace bx
