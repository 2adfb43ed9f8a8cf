// The placements that today's Windows stores in "WallpaperStyle" besides
// the dialog's own (fit, fill and span), and where it shows a picture for
// them, so that the preview shows a desktop set up elsewhere as it is.
#pragma once

#include <cstdint>

#include "gfx/PixelBuffer.h"

namespace bx {

constexpr std::int32_t kStyleFit = 6;
constexpr std::int32_t kStyleFill = 10;
constexpr std::int32_t kStyleSpan = 22;

// True for fit, fill and span.
bool IsWindowsScaledStyle(std::int32_t style);
// "Fit", "Fill" or "Span"; empty for the dialog's own styles.
const char* WindowsStyleName(std::int32_t style);

// Where a scaled style puts a width x height picture on a desktop of
// desktopWidth x desktopHeight: the part of the picture that shows
// (`Source`, in its own pixels) and the rectangle it is scaled onto
// (`Dest`, in desktop pixels). Fit keeps the whole picture inside the
// desktop, centred; fill and span cover the desktop and cut what overflows
// evenly on both sides, so neither rectangle is ever larger than the
// picture or the desktop. Span is fill across the whole virtual screen,
// which is the desktop the dialog knows. Empty rectangles for an empty
// picture or desktop.
struct TScaledPlacement {
  TRect Source;
  TRect Dest;
};
TScaledPlacement PlaceScaled(std::int32_t style, int width, int height, int desktopWidth,
                             int desktopHeight);

}  // namespace bx
