// The base of the picture formats' decoders, and what they share: reading a
// picture file whole, the size limit every decoder checks before it
// allocates, the display facts and little-endian field readers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "gfx/PixelBuffer.h"

namespace bx {

// One decoded image of one picture format. An image that failed to load is
// discarded by its owner, so a decoder may leave itself half-filled when it
// throws.
class TGraphic {
 public:
  virtual ~TGraphic() = default;
  // Reads the whole file and decodes it; throws the format's message.
  void LoadFromFile(const std::string& fileName);
  // Decodes the bytes of a whole file; throws the format's message.
  virtual void LoadFromData(std::vector<std::uint8_t> data) = 0;
  virtual bool Empty() const = 0;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  // Draws the decoded pixels (the image's own size unless SetShownSize
  // reduced them) with their top-left corner at (x, y), clipped to the
  // target; pixels the image does not paint keep the target's. Repeatable
  // and cheap: decoding happens at most once.
  virtual void Draw(TPixelBuffer& target, int x, int y) = 0;

  // The image is shown no larger than width x height: a decoder that can
  // reduce while it decodes (JPEG's own scaling) may then decode it smaller,
  // never below that size, so that a photo costs what the desktop shows of
  // it. 0 x 0 asks for the whole image; decoders that cannot reduce always
  // decode it whole. Takes effect at the next decode.
  virtual void SetShownSize(int width, int height) {
    (void)width;
    (void)height;
  }
  // The image is shown at its own size with only its rows top up to bottom
  // on the desktop (bottom <= top: all of them). A decoder that would
  // otherwise hold a large photo whole (JPEG) may then hold a band of rows
  // around them, kept while it covers the rows asked for next. Takes effect
  // at the next decode.
  virtual void SetShownRows(int top, int bottom) {
    (void)top;
    (void)bottom;
  }
  // The size of the decoded pixels: Width x Height unless reduced or a band.
  virtual int DecodedWidth() const { return Width(); }
  virtual int DecodedHeight() const { return Height(); }
  // The image's row that the decoded pixels' first row shows: 0 unless a band.
  virtual int DecodedTop() const { return 0; }
  // The colour of the image's own pixel (x, y) when the decoded pixels do
  // not hold it (outside a band), read from the file; false where the
  // decoder cannot. Throws the format's message.
  virtual bool ReadPixel(int x, int y, TColor& color) {
    (void)x;
    (void)y;
    (void)color;
    return false;
  }
  // The image at its own size over `background`, row by row from the top:
  // row(y, pixels) for y from 0 to Height - 1. Decoders that can stream
  // hold a few rows at a time, whatever the reduction of their drawn
  // pixels (the conversion of a large photo); the others compose the whole
  // image first. Throws the format's message.
  virtual void ReadRows(TColor background, const std::function<void(int y, const TPixel* row)>& row);

  // Decodes what the image decodes only when first drawn; throws the
  // format's message. Afterwards drawing fails only where DrawMayFail.
  virtual void Decode() {}
  // True for images that are played rather than decoded (metafiles).
  virtual bool DrawMayFail() const { return false; }
  // An image that paints every pixel of its rectangle (no transparency) may
  // hand its decoded pixels over instead of being copied onto a bitmap of
  // its size: true when it did. It keeps its size; drawing it again decodes
  // anew where the data is kept, and draws nothing where it is not.
  virtual bool TakeOpaquePixels(TPixelBuffer& pixels) {
    (void)pixels;
    return false;
  }
};

// The whole file, through the platform's file service when there is one.
// Throws "Cannot open file %s".
std::vector<std::uint8_t> ReadPictureFile(const std::string& fileName);

// The largest image, in pixels, that a decoder holds decoded from a file of
// `dataSize` bytes. The image and the bitmap it is drawn onto must fit in
// memory together with the dialog's own pictures. Any file may claim
// 2^25 pixels (128 MiB, an 8K desktop fits); a larger file up to 32 pixels
// a byte of it, so that a camera's 48-megapixel photo loads while a small
// file cannot make the dialog hold gigabytes; never more than 2^28 pixels
// (1 GiB). A 32-bit process, whose address space the Control Panel shares
// with everything else it loads, holds 2^26 pixels (256 MiB) at most.
// A photo shown smaller than its size is held reduced (SetShownSize), so
// these bounds limit what is held, not the pictures that can be shown.
std::uint64_t MaxImagePixels(std::uint64_t dataSize);
// The largest picture, in pixels of its own size, that a decoder which
// reduces while decoding and streams its rows (JPEG) accepts in either
// build: 2^27 (a 100-megapixel camera's 11648 x 8736 fits). What it holds
// decoded at once is still bounded by MaxImagePixels.
constexpr std::uint64_t kMaxReduciblePixels = 1ull << 27;
// Throws CheckImageSize's message for a picture larger than that.
void CheckReducibleSize(std::int64_t width, std::int64_t height);
// Throws "Not enough memory for a bitmap of %d x %d pixels" for an image
// larger than MaxImagePixels(dataSize), before anything of that size is
// allocated.
void CheckImageSize(std::int64_t width, std::int64_t height, std::uint64_t dataSize);

// The widest row, in pixels, that a decoder holding rows at the image's own
// width accepts from a file of `dataSize` bytes: its row buffers cost
// their width whatever the image's height, so a picture one pixel high
// must not make them larger than a picture of the same pixels in rows of a
// desktop's width. Any file may have rows of 2^16 pixels (wider than eight
// 8K displays side by side); wider rows need a file of at least a byte a
// pixel of them, and never more than 2^22 pixels.
std::uint64_t MaxImageRowPixels(std::uint64_t dataSize);
// Throws CheckImageSize's message for rows wider than MaxImageRowPixels.
void CheckImageRowWidth(std::int64_t width, std::int64_t height, std::uint64_t dataSize);

// Display facts, with the usual values when no system service is installed.
int DisplayColorDepth();  // bits per pixel times planes
int DisplayLogPixelsX();
int DisplayLogPixelsY();
int SystemMetric(int index, int fallback);

// Rounds a * b / c to the nearest integer, halves away from zero, as the
// platform's MulDiv. |a| and |b| below 2^31, c not 0.
std::int64_t MulDiv64(std::int64_t a, std::int64_t b, std::int64_t c);

inline std::uint16_t ReadU16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
inline std::uint32_t ReadU32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
inline std::int16_t ReadI16(const std::uint8_t* p) { return static_cast<std::int16_t>(ReadU16(p)); }
inline std::int32_t ReadI32(const std::uint8_t* p) { return static_cast<std::int32_t>(ReadU32(p)); }

}  // namespace bx
