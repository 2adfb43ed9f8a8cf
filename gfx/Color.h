// Colours as the system stores them and pixels as the buffer keeps them.
#pragma once

#include <cstdint>

namespace bx {

// A colour as the platform's COLORREF: red in the lowest byte, then green, blue.
using TColor = std::uint32_t;
constexpr TColor MakeColor(unsigned r, unsigned g, unsigned b) {
  return (r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16);
}
constexpr unsigned ColorRed(TColor c) { return c & 0xFF; }
constexpr unsigned ColorGreen(TColor c) { return (c >> 8) & 0xFF; }
constexpr unsigned ColorBlue(TColor c) { return (c >> 16) & 0xFF; }

// Pixels are kept as 32-bit words 0x00RRGGBB (blue in the lowest byte), the
// layout of a 32-bit top-down DIB, so a buffer can be shown without a copy.
using TPixel = std::uint32_t;
constexpr TPixel ColorToPixel(TColor c) {
  return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}
constexpr TColor PixelToColor(TPixel p) { return ColorToPixel(p & 0xFFFFFF); }
constexpr TPixel MakePixel(unsigned r, unsigned g, unsigned b) {
  return ((r & 0xFF) << 16) | ((g & 0xFF) << 8) | (b & 0xFF);
}

}  // namespace bx
