// WebP files through libwebp: lossy and lossless, with alpha; of an
// animated file the first frame, placed at its offset in the canvas.
#pragma once

#include <cstdint>
#include <vector>

#include "components/AlphaImage.h"

namespace bx {

// A RIFF container of the WebP kind.
bool IsWebP(const std::uint8_t* data, std::size_t size);

class TWebPImage : public TAlphaImage {
 public:
  // Reads the container; throws "WebP image is not valid" or the size
  // limit's message. The size is the canvas's; what the first frame does
  // not cover is transparent.
  void LoadFromData(std::vector<std::uint8_t> data) override;

 protected:
  bool DecodeKept(const std::vector<std::uint8_t>& data, int width, int height,
                  TPixelBuffer& pixels) override;
  const char* InvalidMessage() const override;
};

// Decodes the first frame of a WebP file onto a transparent canvas of its
// size, as TWebPImage does (benchmarks compare it with libwebp's own
// decode). False for damaged data.
bool DecodeWebP(const std::vector<std::uint8_t>& data, TPixelBuffer& canvas);

}  // namespace bx
