#pragma once

#include <string>

#include "platform/win32/WinApi.h"

namespace bx {

// Glyphs: bitmap resources of the resource module, drawn with the colour of
// their bottom-left pixel transparent, at the pixels per inch of the form
// (the bitmaps are made for 96).
class TGlyph {
 public:
  TGlyph() = default;
  TGlyph(const TGlyph&) = delete;
  TGlyph& operator=(const TGlyph&) = delete;
  ~TGlyph();
  // False when the resource is missing; the glyph is then empty.
  bool Load(const std::string& resourceName, int numGlyphs);
  bool Empty() const { return FBitmap == nullptr; }
  // The drawn size of one state.
  int Width() const { return Scaled(FWidth); }
  int Height() const { return Scaled(FHeight); }
  void SetPixelsPerInch(int value) { FPixelsPerInch = value > 0 ? value : 96; }
  int States() const { return FStates; }
  // Draws state `index` (0 normal, 1 disabled); a disabled look without its
  // own state is embossed from the normal one.
  void Draw(HDC dc, int x, int y, bool disabled) const;

 private:
  int Scaled(int pixels) const { return (pixels * FPixelsPerInch + 48) / 96; }
  HBITMAP FBitmap = nullptr;
  int FWidth = 0, FHeight = 0, FStates = 1;  // of the bitmap
  int FPixelsPerInch = 96;
  COLORREF FTransparent = 0;
};

}  // namespace bx
