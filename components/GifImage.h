// GIF files (GIF87a, GIF89a) through giflib's record interface. The first
// frame is decoded at load, as far as it lies inside the logical screen and
// its data can reach, and drawn at its offset in the logical screen; an
// animation is never played.
#pragma once

#include <cstdint>
#include <vector>

#include "components/Graphic.h"

namespace bx {

// Drawing options of GIF images.
enum TGIFDrawOption : unsigned {
  goTransparent = 1,  // pixels of the transparent colour index are not drawn
  goAnimate = 2,      // play an animation (this decoder never does)
  goDither = 4,       // dither to the 216-colour cube on displays of 8 bits or fewer
};
using TGIFDrawOptions = unsigned;

// The options new GIF images take, for the whole module. The main dialog's
// unit removes goAnimate when the module starts.
extern TGIFDrawOptions GIFImageDefaultDrawOptions;

class TGIFImage : public TGraphic {
 public:
  TGIFImage() : FDrawOptions(GIFImageDefaultDrawOptions) {}
  // Throws "Invalid GIF signature", "Premature end of data", "Circular
  // decoder table entry", or the size limit's message for a logical screen
  // too large to hold.
  void LoadFromData(std::vector<std::uint8_t> data) override;
  // True when the file holds no frame.
  bool Empty() const override { return FFrameCount == 0; }
  int Width() const override { return FWidth; }
  int Height() const override { return FHeight; }
  void Draw(TPixelBuffer& target, int x, int y) override;
  // A first frame that covers the whole screen without a transparent pixel
  // is handed over; the image then draws nothing.
  bool TakeOpaquePixels(TPixelBuffer& pixels) override;

  TGIFDrawOptions DrawOptions() const { return FDrawOptions; }
  int FrameCount() const { return FFrameCount; }

 private:
  TGIFDrawOptions FDrawOptions;
  int FWidth = 0;
  int FHeight = 0;
  int FFrameCount = 0;
  // The part of the first frame inside the logical screen, at (FLeft, FTop);
  // pixels with a non-zero top byte are not drawn.
  int FLeft = 0;
  int FTop = 0;
  TPixelBuffer FFrame;
  bool FOpaque = false;
};

// Floyd-Steinberg error diffusion of the pixels whose top byte is 0 to the
// 216-colour cube of the levels 0, 51, ..., 255.
void DitherToColorCube(TPixelBuffer& pixels);

}  // namespace bx
