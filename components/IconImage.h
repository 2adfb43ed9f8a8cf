// ICO files: the icon directory, the one image that best fits the system's
// icon size and the display's colour depth (a bitmap or, as icons have held
// since 2007, a PNG image), drawn at the system's icon size with its mask's
// transparent pixels left out and alpha blended.
#pragma once

#include <cstdint>
#include <vector>

#include "components/Graphic.h"

namespace bx {

class TIcon : public TGraphic {
 public:
  // Throws "Icon image is not valid" for anything that is not an icon file
  // or whose best image is damaged; the others are not decoded.
  void LoadFromData(std::vector<std::uint8_t> data) override;
  bool Empty() const override { return FImage.Empty(); }
  // The system's icon size (SM_CXICON x SM_CYICON).
  int Width() const override { return FImage.Width(); }
  int Height() const override { return FImage.Height(); }
  void Draw(TPixelBuffer& target, int x, int y) override;

  // The chosen image as stored in the file.
  int ImageWidth() const { return FImageWidth; }
  int ImageHeight() const { return FImageHeight; }
  int ImageBitCount() const { return FImageBitCount; }

 private:
  // At the icon size; the top byte holds the alpha: 0 not drawn, 255 opaque.
  TPixelBuffer FImage;
  int FImageWidth = 0;
  int FImageHeight = 0;
  int FImageBitCount = 0;
};

}  // namespace bx
