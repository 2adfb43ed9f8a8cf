#include "components/IconImage.h"

#include <algorithm>
#include <cstdlib>
#include <tuple>

#include "components/BmpImage.h"
#include "components/PngImage.h"
#include "gfx/AlphaBlend.h"
#include "platform/Errors.h"
#include "platform/Platform.h"

namespace bx {

namespace {

const char* const kInvalid = "Icon image is not valid";

struct TCandidate {
  std::size_t Offset = 0;
  std::size_t Size = 0;
  int Width = 0;
  int Height = 0;
  int BitCount = 0;
  int Order = 0;
  bool Png = false;
};

// The image's own size and depth from its bitmap or PNG header (the
// directory's copies are often 0 or wrong).
bool Describe(const std::uint8_t* p, std::size_t size, TCandidate& c) {
  TPngInfo png;
  if (ReadPngInfo(p, size, png)) {
    c.Png = true;
    c.Width = png.Width;
    c.Height = png.Height;
    c.BitCount = png.BitCount;
    return true;
  }
  if (size < 16 || IsPng(p, size)) return false;
  const std::uint32_t headerSize = ReadU32(p);
  std::int64_t width, height;
  if (headerSize == 12) {
    width = ReadU16(p + 4);
    height = ReadU16(p + 6) / 2;
    c.BitCount = ReadU16(p + 10);
  } else if ((headerSize == 40 || headerSize == 52 || headerSize == 56 || headerSize == 108 ||
              headerSize == 124) && size >= headerSize) {
    width = ReadI32(p + 4);
    height = ReadI32(p + 8) / 2;
    c.BitCount = ReadU16(p + 14);
  } else {
    return false;
  }
  if (width <= 0 || height <= 0 || width > 0x7FFFFFFF) return false;
  c.Width = static_cast<int>(width);
  c.Height = static_cast<int>(height);
  return true;
}

// The image with alpha in the top byte, at its own size; false when damaged.
bool DecodeImage(const std::uint8_t* p, std::size_t size, TPixelBuffer& out) {
  TDibOptions options;
  options.IconHeight = true;
  options.KeepAlpha = true;
  TDib dib;
  if (!DecodeDib(p, size, options, dib)) return false;
  TPixelBuffer& pixels = dib.Pixels;
  const int width = pixels.Width(), height = pixels.Height();
  bool alpha = false;
  if (dib.BitCount == 32)
    for (int y = 0; y < height && !alpha; ++y)
      for (int x = 0; x < width && !alpha; ++x) alpha = (pixels.Scanline(y)[x] >> 24) != 0;

  // The AND mask: 1 bit per pixel, bottom row first, after the colour bits.
  const std::uint64_t stride = (static_cast<std::uint64_t>(width) + 31) / 32 * 4;
  const std::uint64_t rowBytes = (static_cast<std::uint64_t>(width) + 7) / 8;
  const bool hasMask = dib.BitsEnd <= size &&
                       stride * (height - 1) + rowBytes <= size - dib.BitsEnd;
  if (!hasMask && !alpha) return false;
  for (int y = 0; y < height; ++y) {
    TPixel* row = pixels.Scanline(y);
    const std::uint8_t* mask = hasMask ? p + dib.BitsEnd + stride * (height - 1 - y) : nullptr;
    for (int x = 0; x < width; ++x) {
      if (alpha) continue;  // the alpha bytes decide; the mask is not used
      const bool transparent = (mask[x >> 3] >> (7 - (x & 7))) & 1;
      row[x] = (row[x] & 0xFFFFFF) | (transparent ? 0 : 0xFF000000u);
    }
  }
  out = std::move(pixels);
  return true;
}

}  // namespace

void TIcon::LoadFromData(std::vector<std::uint8_t> data) {
  const std::size_t size = data.size();
  const std::uint8_t* p = data.data();
  if (size < 6 || ReadU16(p) != 0 || ReadU16(p + 2) != 1) throw Exception(kInvalid);
  const std::size_t count = ReadU16(p + 4);
  if (count == 0 || 6 + 16 * count > size) throw Exception(kInvalid);

  std::vector<TCandidate> candidates;
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint8_t* entry = p + 6 + 16 * i;
    TCandidate c;
    c.Offset = ReadU32(entry + 12);
    if (c.Offset >= size) continue;
    c.Size = std::min<std::size_t>(ReadU32(entry + 8), size - c.Offset);
    c.Order = static_cast<int>(i);
    if (Describe(p + c.Offset, c.Size, c)) candidates.push_back(c);
  }

  // Closest to the system's icon size first, then the deepest image the
  // display shows, then the shallowest of those deeper than the display.
  const int cx = SystemMetric(kSmCxIcon, 32), cy = SystemMetric(kSmCyIcon, 32);
  const int depth = DisplayColorDepth();
  auto rank = [&](const TCandidate& c) {
    const std::int64_t sizeDistance =
        std::llabs(static_cast<std::int64_t>(c.Width) - cx) + std::llabs(static_cast<std::int64_t>(c.Height) - cy);
    const int depthRank = c.BitCount <= depth ? depth - c.BitCount : 1000 + c.BitCount;
    return std::make_tuple(sizeDistance, depthRank, c.Order);
  };
  // Only the chosen image is decoded: the others may claim any size.
  const auto best = std::min_element(
      candidates.begin(), candidates.end(),
      [&](const TCandidate& a, const TCandidate& b) { return rank(a) < rank(b); });
  if (best == candidates.end()) throw Exception(kInvalid);
  const TCandidate& c = *best;
  // Drawn at the icon size: the image is scaled to it by nearest pixel.
  TPixelBuffer scaled;
  if (c.Png) {
    if (!DecodePngScaled(p + c.Offset, c.Size, cx, cy, scaled)) throw Exception(kInvalid);
  } else {
    TPixelBuffer image;
    if (!DecodeImage(p + c.Offset, c.Size, image)) throw Exception(kInvalid);
    scaled.SetSize(cx, cy);
    scaled.StretchCopy({0, 0, cx, cy}, image, {0, 0, image.Width(), image.Height()});
  }
  FImage = std::move(scaled);
  FImageWidth = c.Width;
  FImageHeight = c.Height;
  FImageBitCount = c.BitCount;
}

void TIcon::Draw(TPixelBuffer& target, int x, int y) { BlendOnto(target, x, y, FImage); }

}  // namespace bx
