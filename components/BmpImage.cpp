#include "components/BmpImage.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#include "platform/Errors.h"

namespace bx {

namespace {

constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiRle8 = 1;
constexpr std::uint32_t kBiRle4 = 2;
constexpr std::uint32_t kBiBitfields = 3;

constexpr std::size_t kFileHeaderSize = 14;

// One colour channel of a bit-field pixel, widened to 8 bits by repeating
// its bits (5-bit 31 gives 255), as the platform widens them.
struct TChannel {
  std::uint32_t Mask = 0;
  int Shift = 0;
  int Bits = 0;
  std::array<std::uint8_t, 256> Widened{};
};

TChannel MakeChannel(std::uint32_t mask) {
  TChannel c;
  c.Mask = mask;
  if (mask == 0) return c;
  c.Shift = std::countr_zero(mask);
  c.Bits = std::bit_width(mask >> c.Shift);
  if (c.Bits <= 8) {
    for (unsigned v = 0; v < (1u << c.Bits); ++v) {
      unsigned r = 0;
      for (int shift = 8 - c.Bits; shift > -c.Bits; shift -= c.Bits)
        r |= shift >= 0 ? v << shift : v >> -shift;
      c.Widened[v] = static_cast<std::uint8_t>(r);
    }
  }
  return c;
}

inline unsigned ChannelValue(const TChannel& c, std::uint32_t pixel) {
  if (c.Mask == 0) return 0;
  const std::uint32_t v = (pixel & c.Mask) >> c.Shift;
  return c.Bits <= 8 ? c.Widened[v] : v >> (c.Bits - 8);
}

struct TDibHeader {
  std::int64_t Width = 0;
  std::int64_t Height = 0;
  bool TopDown = false;
  int BitCount = 0;
  std::uint32_t Compression = kBiRgb;
  std::uint32_t SizeImage = 0;
  std::uint32_t ClrUsed = 0;
  bool Core = false;
  std::size_t HeaderSize = 0;
  std::uint32_t Masks[3] = {0, 0, 0};
  std::size_t MasksAfterHeader = 0;
};

bool IsInfoHeaderSize(std::uint32_t size) {
  return size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

bool ReadHeader(const std::uint8_t* dib, std::size_t size, bool iconHeight, TDibHeader& h) {
  if (size < 4) return false;
  const std::uint32_t headerSize = ReadU32(dib);
  int planes = 0;
  if (headerSize == 12) {
    if (size < 12) return false;
    h.Core = true;
    h.Width = ReadU16(dib + 4);
    h.Height = ReadU16(dib + 6);
    planes = ReadU16(dib + 8);
    h.BitCount = ReadU16(dib + 10);
    if (h.BitCount != 1 && h.BitCount != 4 && h.BitCount != 8 && h.BitCount != 24) return false;
  } else if (IsInfoHeaderSize(headerSize)) {
    if (size < headerSize) return false;
    h.Width = ReadI32(dib + 4);
    h.Height = ReadI32(dib + 8);
    planes = ReadU16(dib + 12);
    h.BitCount = ReadU16(dib + 14);
    h.Compression = ReadU32(dib + 16);
    h.SizeImage = ReadU32(dib + 20);
    h.ClrUsed = ReadU32(dib + 32);
  } else {
    return false;
  }
  h.HeaderSize = headerSize;
  if (planes != 1) return false;
  if (h.Height < 0) {
    if (iconHeight) return false;
    h.TopDown = true;
    h.Height = -h.Height;
  }
  if (iconHeight) h.Height /= 2;
  if (h.Width <= 0 || h.Height <= 0 || h.Height > 0x7FFFFFFF) return false;

  const int bits = h.BitCount;
  switch (h.Compression) {
    case kBiRgb:
      if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return false;
      break;
    case kBiRle8:
      if (bits != 8 || h.TopDown) return false;
      break;
    case kBiRle4:
      if (bits != 4 || h.TopDown) return false;
      break;
    case kBiBitfields:
      if (bits != 16 && bits != 32) return false;
      if (headerSize >= 52) {
        for (int i = 0; i < 3; ++i) h.Masks[i] = ReadU32(dib + 40 + 4 * i);
      } else {
        if (size < headerSize + 12) return false;
        for (int i = 0; i < 3; ++i) h.Masks[i] = ReadU32(dib + headerSize + 4 * i);
        h.MasksAfterHeader = 12;
      }
      break;
    default:
      return false;  // JPEG, PNG and other embedded kinds are not read
  }
  if (h.Compression == kBiRgb && bits == 16) {
    h.Masks[0] = 0x7C00;
    h.Masks[1] = 0x03E0;
    h.Masks[2] = 0x001F;
  } else if (h.Compression == kBiRgb && bits == 32) {
    h.Masks[0] = 0xFF0000;
    h.Masks[1] = 0x00FF00;
    h.Masks[2] = 0x0000FF;
  }
  return true;
}

using TPalette = std::array<TPixel, 256>;

// Uncompressed rows.
void DecodeIndexedRow(const std::uint8_t* src, int bits, std::int64_t width,
                      const TPalette& palette, TPixel* out) {
  switch (bits) {
    case 1:
      for (std::int64_t x = 0; x < width; ++x) out[x] = palette[(src[x >> 3] >> (7 - (x & 7))) & 1];
      break;
    case 4:
      for (std::int64_t x = 0; x < width; ++x)
        out[x] = palette[(src[x >> 1] >> ((x & 1) ? 0 : 4)) & 15];
      break;
    default:
      for (std::int64_t x = 0; x < width; ++x) out[x] = palette[src[x]];
      break;
  }
}

void Decode24Row(const std::uint8_t* src, std::int64_t width, TPixel* out) {
  // Four bytes at a time for all but the last pixel, which may end the data.
  for (std::int64_t x = 0; x + 1 < width; ++x) {
    std::uint32_t v;
    std::memcpy(&v, src + 3 * x, 4);
    out[x] = v & 0xFFFFFF;
  }
  const std::uint8_t* last = src + 3 * (width - 1);
  out[width - 1] = MakePixel(last[2], last[1], last[0]);
}

void DecodeFieldsRow(const std::uint8_t* src, int bits, std::int64_t width,
                     const TChannel (&channels)[3], const std::vector<TPixel>& lut16,
                     bool keepAlpha, TPixel* out) {
  if (bits == 16) {
    for (std::int64_t x = 0; x < width; ++x) out[x] = lut16[ReadU16(src + 2 * x)];
    return;
  }
  const bool plain = channels[0].Mask == 0xFF0000 && channels[1].Mask == 0xFF00 &&
                     channels[2].Mask == 0xFF;
  for (std::int64_t x = 0; x < width; ++x) {
    const std::uint32_t v = ReadU32(src + 4 * x);
    TPixel p = plain ? (v & 0xFFFFFF)
                     : MakePixel(ChannelValue(channels[0], v), ChannelValue(channels[1], v),
                                 ChannelValue(channels[2], v));
    if (keepAlpha) p |= v & 0xFF000000u;
    out[x] = p;
  }
}

// Pixels of a run-length bitmap that its data skips (delta, early end of
// line or of bitmap) keep colour 0; the data must paint all but this many,
// so that a few bytes cannot make a bitmap of any size.
constexpr std::uint64_t kMaxSkippedPixels = 1u << 20;

// Run-length data, bottom row first. False when the data ends before the
// bitmap does. Without pixels it only walks the data and counts the pixels
// it paints, so that damaged data fails before the bitmap is allocated.
bool DecodeRle(const std::uint8_t* data, std::size_t size, bool rle4, const TPalette& palette,
               std::int64_t width, std::int64_t height, TPixelBuffer* pixels,
               std::uint64_t& painted) {
  std::int64_t x = 0, y = 0;
  std::size_t p = 0;
  painted = 0;
  auto put = [&](std::int64_t count, auto indexAt) {
    const std::int64_t n = std::min<std::int64_t>(count, std::max<std::int64_t>(0, width - x));
    painted += n;
    if (pixels != nullptr) {
      TPixel* row = pixels->Scanline(static_cast<int>(height - 1 - y));
      for (std::int64_t i = 0; i < n; ++i) row[x + i] = palette[indexAt(i)];
    }
    x += count;
  };
  while (y < height) {
    if (size - p < 2) return y >= height - 1;
    const std::uint8_t a = data[p], b = data[p + 1];
    p += 2;
    if (a > 0) {
      if (rle4)
        put(a, [b](std::int64_t i) { return (i & 1) ? b & 15 : b >> 4; });
      else
        put(a, [b](std::int64_t) { return b; });
      continue;
    }
    switch (b) {
      case 0:  // end of line
        x = 0;
        ++y;
        break;
      case 1:  // end of bitmap
        return true;
      case 2:  // delta
        if (size - p < 2) return y >= height - 1;
        x += data[p];
        y += data[p + 1];
        p += 2;
        break;
      default: {  // absolute run, padded to a 16-bit boundary
        const std::size_t bytes = rle4 ? (b + 1u) / 2 : b;
        if (size - p < bytes) return false;
        const std::uint8_t* run = data + p;
        if (rle4)
          put(b, [run](std::int64_t i) { return (i & 1) ? run[i >> 1] & 15 : run[i >> 1] >> 4; });
        else
          put(b, [run](std::int64_t i) { return run[i]; });
        p += std::min(size - p, bytes + (bytes & 1));
        break;
      }
    }
  }
  return true;
}

}  // namespace

bool DecodeDib(const std::uint8_t* dib, std::size_t size, const TDibOptions& options, TDib& out) {
  TDibHeader h;
  if (!ReadHeader(dib, size, options.IconHeight, h)) return false;
  const int bits = h.BitCount;

  // Colour table, shortened where the bits begin before its end.
  const std::uint64_t tableStart = h.HeaderSize + h.MasksAfterHeader;
  const std::uint64_t entrySize = h.Core ? 3 : 4;
  std::uint64_t count;
  if (bits <= 8)
    count = (h.Core || h.ClrUsed == 0) ? (1u << bits) : std::min<std::uint64_t>(h.ClrUsed, 1u << bits);
  else
    count = h.Core ? 0 : h.ClrUsed;
  if (options.BitsOffset != 0) {
    if (options.BitsOffset < tableStart || options.BitsOffset > size) return false;
    count = std::min<std::uint64_t>(count, (options.BitsOffset - tableStart) / entrySize);
  }
  const std::uint64_t tableEnd = tableStart + count * entrySize;
  if (tableEnd > size) return false;
  TPalette palette{};
  if (bits <= 8) {
    for (std::uint64_t i = 0; i < count; ++i) {
      const std::uint8_t* e = dib + tableStart + i * entrySize;
      palette[i] = MakePixel(e[2], e[1], e[0]);
    }
  }
  const std::uint64_t bitsStart = options.BitsOffset != 0 ? options.BitsOffset : tableEnd;
  const std::uint64_t available = size - bitsStart;

  if (h.Compression == kBiRle4 || h.Compression == kBiRle8) {
    std::uint64_t length = available;
    if (h.SizeImage != 0 && h.SizeImage < length) length = h.SizeImage;
    const bool rle4 = h.Compression == kBiRle4;
    std::uint64_t painted = 0;
    if (!DecodeRle(dib + bitsStart, length, rle4, palette, h.Width, h.Height, nullptr, painted))
      return false;
    CheckImageSize(h.Width, h.Height, size);
    if (static_cast<std::uint64_t>(h.Width) * static_cast<std::uint64_t>(h.Height) - painted >
        kMaxSkippedPixels)
      return false;
    out.Pixels.SetSize(static_cast<int>(h.Width), static_cast<int>(h.Height));
    out.Pixels.Fill(PixelToColor(palette[0]));
    DecodeRle(dib + bitsStart, length, rle4, palette, h.Width, h.Height, &out.Pixels, painted);
    out.BitCount = bits;
    out.BitsEnd = bitsStart + length;
    return true;
  }

  // Uncompressed: the data must hold every row (the last one's padding may
  // be missing) before anything of the header's size is allocated.
  const std::uint64_t rowBits = static_cast<std::uint64_t>(h.Width) * bits;
  const std::uint64_t stride = (rowBits + 31) / 32 * 4;
  const std::uint64_t rowBytes = (rowBits + 7) / 8;
  if (rowBytes > available ||
      static_cast<std::uint64_t>(h.Height - 1) > (available - rowBytes) / stride)
    return false;
  CheckImageSize(h.Width, h.Height, size);
  out.Pixels.SetSize(static_cast<int>(h.Width), static_cast<int>(h.Height));

  TChannel channels[3];
  std::vector<TPixel> lut16;
  if (bits == 16 || bits == 32) {
    for (int i = 0; i < 3; ++i) channels[i] = MakeChannel(h.Masks[i]);
    if (bits == 16) {
      lut16.resize(65536);
      for (std::uint32_t v = 0; v < 65536; ++v)
        lut16[v] = MakePixel(ChannelValue(channels[0], v), ChannelValue(channels[1], v),
                             ChannelValue(channels[2], v));
    }
  }
  const bool keepAlpha = options.KeepAlpha && bits == 32 && h.Compression == kBiRgb;
  for (std::int64_t r = 0; r < h.Height; ++r) {
    const std::uint8_t* src = dib + bitsStart + r * stride;
    TPixel* row = out.Pixels.Scanline(static_cast<int>(h.TopDown ? r : h.Height - 1 - r));
    if (bits <= 8)
      DecodeIndexedRow(src, bits, h.Width, palette, row);
    else if (bits == 24)
      Decode24Row(src, h.Width, row);
    else
      DecodeFieldsRow(src, bits, h.Width, channels, lut16, keepAlpha, row);
  }
  out.BitCount = bits;
  out.BitsEnd = bitsStart + stride * h.Height;
  return true;
}

void TBitmap::LoadFromData(std::vector<std::uint8_t> data) {
  static const char* const kInvalid = "Bitmap image is not valid";
  if (data.empty()) {
    FPixels = TPixelBuffer();
    FWidth = FHeight = 0;
    return;
  }
  if (data.size() < kFileHeaderSize + 4 || data[0] != 'B' || data[1] != 'M')
    throw Exception(kInvalid);
  const std::uint32_t offBits = ReadU32(data.data() + 10);
  TDibOptions options;
  if (offBits != 0) {
    if (offBits <= kFileHeaderSize) throw Exception(kInvalid);
    options.BitsOffset = offBits - kFileHeaderSize;
  }
  TDib dib;
  if (!DecodeDib(data.data() + kFileHeaderSize, data.size() - kFileHeaderSize, options, dib))
    throw Exception(kInvalid);
  FPixels = std::move(dib.Pixels);
  FWidth = FPixels.Width();
  FHeight = FPixels.Height();
}

bool TBitmap::TakeOpaquePixels(TPixelBuffer& pixels) {
  pixels = std::move(FPixels);
  return true;
}

}  // namespace bx
