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

std::vector<std::uint8_t> EncodeBitmapFile(const TPixelBuffer& bitmap, const std::string& path) {
  const std::uint64_t width = static_cast<std::uint64_t>(bitmap.Width());
  const std::uint64_t height = static_cast<std::uint64_t>(bitmap.Height());
  const std::uint64_t stride = (width * 3 + 3) & ~std::uint64_t{3};
  const std::uint64_t imageSize = stride * height;
  const std::uint64_t offset = kFileHeaderSize + kInfoHeaderSize;
  if (offset + imageSize > 0xFFFFFFFFu || width > 0x7FFFFFFF || height > 0x7FFFFFFF)
    throw Exception(FormatText("Cannot create file %s", path));

  std::vector<std::uint8_t> out(static_cast<std::size_t>(offset + imageSize), 0);
  out[0] = 'B';
  out[1] = 'M';
  Put32(out, 2, static_cast<std::uint32_t>(offset + imageSize));
  Put32(out, 10, static_cast<std::uint32_t>(offset));
  Put32(out, 14, kInfoHeaderSize);
  Put32(out, 18, static_cast<std::uint32_t>(width));
  Put32(out, 22, static_cast<std::uint32_t>(height));  // positive: bottom-up
  Put16(out, 26, 1);                                   // planes
  Put16(out, 28, 24);                                  // bits per pixel
  Put32(out, 30, 0);                                   // no compression
  Put32(out, 34, static_cast<std::uint32_t>(imageSize));
  Put32(out, 38, kPixelsPerMetre);
  Put32(out, 42, kPixelsPerMetre);

  for (std::uint64_t row = 0; row < height; ++row) {
    const TPixel* source = bitmap.Scanline(static_cast<int>(height - 1 - row));
    std::uint8_t* target = out.data() + offset + row * stride;
    for (std::uint64_t x = 0; x < width; ++x) {
      const TPixel p = source[x];  // 0x00RRGGBB: blue first in memory order
      *target++ = static_cast<std::uint8_t>(p);
      *target++ = static_cast<std::uint8_t>(p >> 8);
      *target++ = static_cast<std::uint8_t>(p >> 16);
    }
  }
  return out;
}

void SaveBitmapFile(const TPixelBuffer& bitmap, const std::string& path) {
  Platform().Files->WriteFileReplacing(path, EncodeBitmapFile(bitmap, path));
}

}  // namespace bx
