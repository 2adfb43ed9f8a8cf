// A small canvas for owner-drawn items: the dialog's drawing handler paints
// through it, the Windows binding gives it a device context and the tests
// a recording one.
#pragma once

#include <string>

#include "gfx/PixelBuffer.h"

namespace bx {

class TCanvas {
 public:
  virtual ~TCanvas() = default;
  // The colours the next calls use (COLORREF).
  TColor BrushColor = 0xFFFFFF;
  TColor FontColor = 0;
  // Fills with BrushColor.
  virtual void FillRect(const TRect& rect) = 0;
  // Text in FontColor on BrushColor, its top-left corner at (x, y).
  virtual void TextOut(int x, int y, const std::string& text) = 0;
};

}  // namespace bx
