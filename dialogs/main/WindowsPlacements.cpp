#include "dialogs/main/WindowsPlacements.h"

#include <algorithm>

namespace bx {

namespace {

// a * b / c rounded to the nearest, at least 1; all positive and below 2^31.
int Proportion(std::int64_t a, std::int64_t b, std::int64_t c) {
  return static_cast<int>(std::max<std::int64_t>(1, (2 * a * b + c) / (2 * c)));
}

}  // namespace

bool IsWindowsScaledStyle(std::int32_t style) {
  return style == kStyleFit || style == kStyleFill || style == kStyleSpan;
}

const char* WindowsStyleName(std::int32_t style) {
  switch (style) {
    case kStyleFit:
      return "Fit";
    case kStyleFill:
      return "Fill";
    case kStyleSpan:
      return "Span";
    default:
      return "";
  }
}

TScaledPlacement PlaceScaled(std::int32_t style, int width, int height, int desktopWidth,
                             int desktopHeight) {
  TScaledPlacement p;
  if (width <= 0 || height <= 0 || desktopWidth <= 0 || desktopHeight <= 0 ||
      !IsWindowsScaledStyle(style))
    return p;
  const std::int64_t w = width, h = height, dw = desktopWidth, dh = desktopHeight;
  // The picture is wider than the desktop in proportion (or as wide).
  const bool wider = w * dh >= h * dw;
  if (style == kStyleFit) {
    p.Source = {0, 0, width, height};
    const int fw = wider ? desktopWidth : std::min(desktopWidth, Proportion(w, dh, h));
    const int fh = wider ? std::min(desktopHeight, Proportion(h, dw, w)) : desktopHeight;
    p.Dest.Left = (desktopWidth - fw) / 2;
    p.Dest.Top = (desktopHeight - fh) / 2;
    p.Dest.Right = p.Dest.Left + fw;
    p.Dest.Bottom = p.Dest.Top + fh;
    return p;
  }
  // Fill and span: the part of the picture with the desktop's proportions.
  const int sw = wider ? std::min(width, Proportion(h, dw, dh)) : width;
  const int sh = wider ? height : std::min(height, Proportion(w, dh, dw));
  p.Source.Left = (width - sw) / 2;
  p.Source.Top = (height - sh) / 2;
  p.Source.Right = p.Source.Left + sw;
  p.Source.Bottom = p.Source.Top + sh;
  p.Dest = {0, 0, desktopWidth, desktopHeight};
  return p;
}

}  // namespace bx
