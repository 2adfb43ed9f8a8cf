// A main dialog with test images: 24-bit BMP files written into the
// portable file system, each pixel's colour given by a function, so that
// a preview pixel tells which image pixel landed on it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "DialogFixture.h"

namespace bx {

class PreviewFixture : public DialogFixture {
 protected:
  using TPixelFn = std::function<TColor(int x, int y)>;

  // Every image pixel its own colour (for images up to 256 x 256).
  static TColor Coded(int x, int y) { return MakeColor(x, y, 77); }

  static std::vector<std::uint8_t> Bmp24(int width, int height, const TPixelFn& pixel) {
    const int stride = (width * 3 + 3) / 4 * 4;
    const std::uint32_t dataSize = static_cast<std::uint32_t>(stride) * height;
    std::vector<std::uint8_t> b;
    auto u16 = [&](std::uint32_t v) {
      b.push_back(v & 0xFF);
      b.push_back((v >> 8) & 0xFF);
    };
    auto u32 = [&](std::uint32_t v) {
      u16(v & 0xFFFF);
      u16(v >> 16);
    };
    b.push_back('B');
    b.push_back('M');
    u32(54 + dataSize);
    u32(0);
    u32(54);
    u32(40);
    u32(static_cast<std::uint32_t>(width));
    u32(static_cast<std::uint32_t>(height));  // bottom-up rows
    u16(1);
    u16(24);
    u32(0);
    u32(dataSize);
    u32(2835);
    u32(2835);
    u32(0);
    u32(0);
    for (int y = height - 1; y >= 0; --y) {
      for (int x = 0; x < width; ++x) {
        const TColor c = pixel(x, y);
        b.push_back(ColorBlue(c));
        b.push_back(ColorGreen(c));
        b.push_back(ColorRed(c));
      }
      for (int p = width * 3; p < stride; ++p) b.push_back(0);
    }
    return b;
  }

  // Writes an image into the Windows folder (the listed folder by default)
  // and returns its path.
  std::string WriteImage(const std::string& name, int width, int height,
                         const TPixelFn& pixel = Coded) {
    const std::string path = std::string(kWindows) + name;
    Files().WriteFile(path, Bmp24(width, height, pixel));
    return path;
  }

  // Stores the wallpaper and placement as the desktop keeps them.
  void StoreWallpaper(const std::string& path, int tile = 0, int style = 0, int originX = 0,
                      int originY = 0) {
    SetDesktop("Wallpaper", path);
    SetDesktop("TileWallpaper", std::to_string(tile));
    SetDesktop("WallpaperStyle", std::to_string(style));
    SetDesktop("WallPaperOriginX", std::to_string(originX));
    SetDesktop("WallPaperOriginY", std::to_string(originY));
  }

  const TPixelBuffer& Preview() { return Dialog().ImageWallpaper.Picture(); }
  TColor At(int x, int y) { return Preview().GetPixel(x, y); }
};

}  // namespace bx
