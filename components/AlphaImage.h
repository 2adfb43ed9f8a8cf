// The base of the formats whose files may carry transparency and are
// decoded whole (PNG and WebP files): the file is kept, its header read at
// load, the pixels decoded at the first draw and blended over what the
// image is drawn on.
#pragma once

#include <cstdint>
#include <vector>

#include "components/Graphic.h"
#include "gfx/PixelBuffer.h"

namespace bx {

class TAlphaImage : public TGraphic {
 public:
  bool Empty() const override { return FData.empty(); }
  int Width() const override { return FWidth; }
  int Height() const override { return FHeight; }
  // Decodes on the first call (the format's message for damaged data; a
  // later draw tries again), then blends the kept pixels.
  void Draw(TPixelBuffer& target, int x, int y) override;
  void Decode() override { Pixels(); }
  // Hands over the pixels of an image without transparency.
  bool TakeOpaquePixels(TPixelBuffer& pixels) override;

  // The decoded pixels, straight alpha in the top byte.
  const TPixelBuffer& Pixels();

 protected:
  // Keeps a file whose header gave its size, checked against the limits.
  void Keep(std::vector<std::uint8_t> data, int width, int height);
  // Decodes the kept file at its own size; false for damaged data.
  virtual bool DecodeKept(const std::vector<std::uint8_t>& data, int width, int height,
                          TPixelBuffer& pixels) = 0;
  // The format's message for a damaged file.
  virtual const char* InvalidMessage() const = 0;

 private:
  std::vector<std::uint8_t> FData;
  int FWidth = 0;
  int FHeight = 0;
  bool FDecoded = false;
  TPixelBuffer FPixels;
};

}  // namespace bx
