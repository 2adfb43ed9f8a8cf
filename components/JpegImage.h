// JPEG files through libjpeg: the whole file is kept, only its header is
// read at load, and the image is decoded at the first draw and kept. The
// work of decoding is bounded by the file's size, whatever its header
// claims.
#pragma once

#include <cstdint>
#include <vector>

#include "components/Graphic.h"

namespace bx {

class TJPEGImage : public TGraphic {
 public:
  // Reads the header only; throws "JPEG error #%d" with libjpeg's message
  // code, or the size limit's message for an image too large to hold.
  void LoadFromData(std::vector<std::uint8_t> data) override;
  bool Empty() const override { return FData.empty(); }
  int Width() const override { return FWidth; }
  int Height() const override { return FHeight; }
  // Decodes on the first call ("JPEG error #%d" for a damaged body; a later
  // draw tries again), then copies the kept pixels.
  void Draw(TPixelBuffer& target, int x, int y) override;
  void Decode() override { Pixels(); }
  // Hands over the decoded pixels; a later draw decodes the kept file anew.
  bool TakeOpaquePixels(TPixelBuffer& pixels) override;

  // The decoded pixels; decodes when not yet done.
  const TPixelBuffer& Pixels();
  // True when the image is quantized to 236 colours: on a display of 8 bits
  // per pixel or fewer, and for a greyscale file.
  bool Quantized() const { return FQuantize; }

 private:
  std::vector<std::uint8_t> FData;
  int FWidth = 0;
  int FHeight = 0;
  bool FQuantize = false;
  bool FDecoded = false;
  TPixelBuffer FPixels;
};

// Decodes a whole JPEG file as TJPEGImage does (benchmarks compare it with
// libjpeg's own decode). Throws "JPEG error #%d".
void DecodeJpeg(const std::vector<std::uint8_t>& data, bool quantize, TPixelBuffer& pixels);

}  // namespace bx
