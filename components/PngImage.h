// PNG images through libpng, the one PNG decoder: PNG files (TPngImage),
// and the PNG images inside icon files, whose header chooses among an icon's
// images and whose image is decoded straight to the size it is drawn at.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "components/AlphaImage.h"
#include "components/Graphic.h"
#include "gfx/PixelBuffer.h"

namespace bx {

bool IsPng(const std::uint8_t* data, std::size_t size);

struct TPngInfo {
  int Width = 0;
  int Height = 0;
  // Bits per pixel as an icon directory counts them: 32 with alpha, 24 for
  // colour, else the palette's or grey level's bit depth.
  int BitCount = 0;
};

// The signature and the header chunk; false for anything else.
bool ReadPngInfo(const std::uint8_t* data, std::size_t size, TPngInfo& info);

// Decodes the image scaled by nearest pixel to width x height, as
// TPixelBuffer::StretchCopy scales, with its alpha in each pixel's top byte
// (straight, not premultiplied). Only the image rows the scaled picture
// takes are kept, so the memory needed follows the drawn size and the row
// width, and the work what the compressed data holds. False for damaged
// data; throws the size limit's message for an image larger than
// CheckImageSize allows or with rows wider than CheckImageRowWidth does.
bool DecodePngScaled(const std::uint8_t* data, std::size_t size, int width, int height,
                     TPixelBuffer& out);

// PNG files: every colour type and bit depth, 16-bit channels rounded to 8
// bits, interlaced files, palette and tRNS transparency; of an animated
// file the default image, which every viewer that does not animate shows.
class TPngImage : public TAlphaImage {
 public:
  // Throws "PNG image is not valid" for anything but a PNG header, or the
  // size limit's message.
  void LoadFromData(std::vector<std::uint8_t> data) override;

 protected:
  bool DecodeKept(const std::vector<std::uint8_t>& data, int width, int height,
                  TPixelBuffer& pixels) override;
  const char* InvalidMessage() const override;
};

}  // namespace bx
