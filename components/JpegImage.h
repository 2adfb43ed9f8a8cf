// JPEG files through libjpeg: the whole file is kept, only its header is
// read at load, and the image is decoded at the first draw and kept,
// reduced by libjpeg's own scaling where it is shown smaller, or as a band
// of rows where a large photo is shown at its own size. The work of
// decoding is bounded by the file's size, whatever its header claims; a
// large image of one scan is decoded by two threads.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "components/Graphic.h"

namespace bx {

class TJPEGImage : public TGraphic {
 public:
  // Reads the header only; throws "JPEG error #%d" with libjpeg's message
  // code, or the size limit's message for a picture beyond
  // kMaxReduciblePixels.
  void LoadFromData(std::vector<std::uint8_t> data) override;
  bool Empty() const override { return FData.empty(); }
  int Width() const override { return FWidth; }
  int Height() const override { return FHeight; }
  // Decodes on the first call ("JPEG error #%d" for a damaged body, the
  // size limit's message when the decoded pixels are more than
  // MaxImagePixels; a later draw tries again), then copies the kept pixels.
  void Draw(TPixelBuffer& target, int x, int y) override;
  void Decode() override { Pixels(); }
  // Decodes at the smallest of libjpeg's scales 1/8 to 8/8 that is still
  // at least width x height.
  void SetShownSize(int width, int height) override;
  // A photo of more than kWholeJpegPixels decoded at its own size is held
  // as a band: the rows shown and as many around them as fit that many
  // pixels.
  void SetShownRows(int top, int bottom) override;
  int DecodedWidth() const override;
  int DecodedHeight() const override;
  int DecodedTop() const override { return FBandTop; }
  // Decodes row y alone (its data above is read, not decoded).
  bool ReadPixel(int x, int y, TColor& color) override;
  // Full size, sixteen rows held at a time.
  void ReadRows(TColor background, const std::function<void(int y, const TPixel* row)>& row) override;
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
  // Works out the band for the rows shown, dropping the decoded pixels
  // when the band they hold no longer covers them.
  void UpdateBand();

  int FScaleEighths = 8;
  int FShownTop = 0, FShownBottom = 0;
  int FBandTop = 0, FBandBottom = 0;  // the rows held; 0, 0: all of them
  TPixelBuffer FPixels;
};

// The most pixels a photo decoded at its own size is held whole with (128
// MiB, a 33-megapixel photo): it then moves over the desktop without being
// decoded again. Larger ones are held as a band of this many pixels.
constexpr std::int64_t kWholeJpegPixels = std::int64_t{1} << 25;

// The scale, in eighths, at which libjpeg decodes a width x height image to
// no less than shownWidth x shownHeight; 8 (whole) for 0 x 0.
int JpegScaleEighths(int width, int height, int shownWidth, int shownHeight);

// Decodes a JPEG file as TJPEGImage does, at scaleEighths / 8 of its size
// (benchmarks compare it with libjpeg's own decode): all of it, or its rows
// top up to bottom (of that size) when bottom > top. Throws "JPEG error #%d"
// or the size limit's message.
void DecodeJpeg(const std::vector<std::uint8_t>& data, bool quantize, TPixelBuffer& pixels,
                int scaleEighths = 8, int top = 0, int bottom = 0);
// The output row from which a second thread decodes a file that DecodeJpeg
// decodes at scaleEighths / 8; 0 when one thread decodes it all.
int JpegSplitRow(const std::vector<std::uint8_t>& data, int scaleEighths);
// Decodes it at full size, handing over each row as it comes.
void DecodeJpegRows(const std::vector<std::uint8_t>& data, bool quantize,
                    const std::function<void(int y, const TPixel* row)>& put);

}  // namespace bx
