// BMP files: our own decoder of the platform's device-independent bitmap
// layout (core and info headers up to version 5, 1 to 32 bits per pixel,
// run-length and bit-field compression). The icon decoder reuses DecodeDib.
// Nothing of a bitmap's size is allocated before its data shows it can fill
// it: every row of uncompressed bits present, run-length data sound and
// painting all but a million of the pixels.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "components/Graphic.h"

namespace bx {

// A device-independent bitmap decoded to pixels, top row first.
struct TDib {
  TPixelBuffer Pixels;
  // Bits per pixel of the source, and whether it had 32-bit pixels, whose
  // alpha bytes DecodeDib keeps in the top byte when asked to.
  int BitCount = 0;
  // Offset, from the start of the DIB, just past its pixel bits (where an
  // icon's mask begins).
  std::size_t BitsEnd = 0;
};

struct TDibOptions {
  // Where the bits start, from the start of the DIB; 0: right after the
  // colour table. A BMP file's bfOffBits also shortens a colour table that
  // would run into the bits.
  std::size_t BitsOffset = 0;
  // Icon images: the header's height counts the image and its mask.
  bool IconHeight = false;
  // Keep 32-bit pixels' alpha bytes in the pixels' top byte.
  bool KeepAlpha = false;
};

// Decodes the DIB in dib[0, size): the header, colour masks, colour table
// and bits. False for anything damaged or of a kind not read; throws only
// for an image too large to hold (CheckImageSize).
bool DecodeDib(const std::uint8_t* dib, std::size_t size, const TDibOptions& options, TDib& out);

// A BMP file.
class TBitmap : public TGraphic {
 public:
  // Throws "Bitmap image is not valid"; a zero-length file loads as empty.
  void LoadFromData(std::vector<std::uint8_t> data) override;
  bool Empty() const override { return FWidth == 0 || FHeight == 0; }
  int Width() const override { return FWidth; }
  int Height() const override { return FHeight; }
  void Draw(TPixelBuffer& target, int x, int y) override { target.Draw(x, y, FPixels); }
  bool TakeOpaquePixels(TPixelBuffer& pixels) override;
  const TPixelBuffer& Pixels() const { return FPixels; }

 private:
  TPixelBuffer FPixels;
  int FWidth = 0;
  int FHeight = 0;
};

}  // namespace bx
