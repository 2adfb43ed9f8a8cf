#include "components/AlphaImage.h"

#include <utility>

#include "gfx/AlphaBlend.h"
#include "platform/Errors.h"

namespace bx {

void TAlphaImage::Keep(std::vector<std::uint8_t> data, int width, int height) {
  // Before anything of the image's size is allocated.
  CheckImageSize(width, height, data.size());
  CheckImageRowWidth(width, height, data.size());
  FWidth = width;
  FHeight = height;
  FData = std::move(data);
  FDecoded = false;
  FPixels = TPixelBuffer();
}

const TPixelBuffer& TAlphaImage::Pixels() {
  if (!FDecoded && !FData.empty()) {
    if (!DecodeKept(FData, FWidth, FHeight, FPixels)) throw Exception(InvalidMessage());
    FDecoded = true;
  }
  return FPixels;
}

void TAlphaImage::Draw(TPixelBuffer& target, int x, int y) { BlendOnto(target, x, y, Pixels()); }

bool TAlphaImage::TakeOpaquePixels(TPixelBuffer& pixels) {
  if (!IsOpaque(Pixels())) return false;
  DropAlpha(FPixels);
  pixels = std::move(FPixels);
  FDecoded = false;
  return true;
}

}  // namespace bx
