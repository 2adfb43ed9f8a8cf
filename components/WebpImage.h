// WebP files through libwebp: lossy and lossless, with alpha blended over
// what the image is drawn on; of an animated file the first frame, placed
// at its offset in the canvas. The whole file is kept, only its container
// is read at load, and the image is decoded at the first draw.
#pragma once

#include <cstdint>
#include <vector>

#include "components/Graphic.h"

namespace bx {

// A RIFF container of the WebP kind.
bool IsWebP(const std::uint8_t* data, std::size_t size);

class TWebPImage : public TGraphic {
 public:
  // Reads the container; throws "WebP image is not valid" or the size
  // limit's message. The size is the canvas's.
  void LoadFromData(std::vector<std::uint8_t> data) override;
  bool Empty() const override { return FData.empty(); }
  int Width() const override { return FWidth; }
  int Height() const override { return FHeight; }
  // Decodes on the first call ("WebP image is not valid" for damaged data;
  // a later draw tries again), then blends the kept pixels.
  void Draw(TPixelBuffer& target, int x, int y) override;
  void Decode() override { Pixels(); }
  // Hands over the pixels of an image without transparency.
  bool TakeOpaquePixels(TPixelBuffer& pixels) override;

  // The decoded canvas, straight alpha in the top byte; what the first frame
  // does not cover is transparent.
  const TPixelBuffer& Pixels();

 private:
  std::vector<std::uint8_t> FData;
  int FWidth = 0;
  int FHeight = 0;
  bool FDecoded = false;
  TPixelBuffer FPixels;
};

// Decodes the first frame of a WebP file onto a transparent canvas of its
// size, as TWebPImage does (benchmarks compare it with libwebp's own
// decode). False for damaged data.
bool DecodeWebP(const std::vector<std::uint8_t>& data, TPixelBuffer& canvas);

}  // namespace bx
