#include "settings/BitmapFile.h"

#include "platform/Errors.h"
#include "platform/Platform.h"

namespace bx {

namespace {

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kPixelsPerMetre = 3780;  // 96 pixels per inch

void Put16(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value) {
  out[at] = static_cast<std::uint8_t>(value);
  out[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

void Put32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value) {
  Put16(out, at, value & 0xFFFF);
  Put16(out, at + 2, value >> 16);
}

}  // namespace

std::vector<std::uint8_t> EncodeBitmapFile(int width, int height, const TBitmapRows& rows,
                                           const std::string& path) {
  const std::uint64_t w = width > 0 ? static_cast<std::uint64_t>(width) : 0;
  const std::uint64_t h = height > 0 ? static_cast<std::uint64_t>(height) : 0;
  const std::uint64_t stride = (w * 3 + 3) & ~std::uint64_t{3};
  const std::uint64_t imageSize = stride * h;
  const std::uint64_t offset = kFileHeaderSize + kInfoHeaderSize;
  if (offset + imageSize > 0xFFFFFFFFu) throw Exception(FormatText("Cannot create file %s", path));

  std::vector<std::uint8_t> out(static_cast<std::size_t>(offset + imageSize), 0);
  out[0] = 'B';
  out[1] = 'M';
  Put32(out, 2, static_cast<std::uint32_t>(offset + imageSize));
  Put32(out, 10, static_cast<std::uint32_t>(offset));
  Put32(out, 14, kInfoHeaderSize);
  Put32(out, 18, static_cast<std::uint32_t>(w));
  Put32(out, 22, static_cast<std::uint32_t>(h));  // positive: bottom-up
  Put16(out, 26, 1);                               // planes
  Put16(out, 28, 24);                              // bits per pixel
  Put32(out, 30, 0);                               // no compression
  Put32(out, 34, static_cast<std::uint32_t>(imageSize));
  Put32(out, 38, kPixelsPerMetre);
  Put32(out, 42, kPixelsPerMetre);

  rows([&](int y, const TPixel* source) {
    if (y < 0 || static_cast<std::uint64_t>(y) >= h) return;
    std::uint8_t* target = out.data() + offset + (h - 1 - static_cast<std::uint64_t>(y)) * stride;
    for (std::uint64_t x = 0; x < w; ++x) {
      const TPixel p = source[x];  // 0x00RRGGBB: blue first in memory order
      *target++ = static_cast<std::uint8_t>(p);
      *target++ = static_cast<std::uint8_t>(p >> 8);
      *target++ = static_cast<std::uint8_t>(p >> 16);
    }
  });
  return out;
}

std::vector<std::uint8_t> EncodeBitmapFile(const TPixelBuffer& bitmap, const std::string& path) {
  return EncodeBitmapFile(bitmap.Width(), bitmap.Height(),
                          [&](const std::function<void(int, const TPixel*)>& put) {
                            for (int y = 0; y < bitmap.Height(); ++y) put(y, bitmap.Scanline(y));
                          },
                          path);
}

void SaveBitmapFile(const TPixelBuffer& bitmap, const std::string& path) {
  Platform().Files->WriteFileReplacing(path, EncodeBitmapFile(bitmap, path));
}

void SaveBitmapFile(int width, int height, const TBitmapRows& rows, const std::string& path) {
  Platform().Files->WriteFileReplacing(path, EncodeBitmapFile(width, height, rows, path));
}

}  // namespace bx
