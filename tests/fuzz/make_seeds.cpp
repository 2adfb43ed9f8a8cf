// Writes the fuzz targets' seed corpus: make_seeds <dir> fills <dir>/<kind>/
// for each fuzz_<kind> with small sound images of that format's variants (and a
// version block that once hung the reader).
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "tests/unit/HostileFiles.h"
#include "tests/unit/ImageWriters.h"
#include "tests/unit/PngWebpWriters.h"
#include "tests/unit/VersionWriters.h"

namespace {

using namespace bx;
using namespace bx::test;

void Save(const std::filesystem::path& dir, const std::string& kind, const std::string& name,
          const TBytes& bytes) {
  std::filesystem::create_directories(dir / kind);
  std::ofstream out(dir / kind / name, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::uint32_t> Ramp(int count, std::uint32_t modulo) {
  std::vector<std::uint32_t> v;
  for (int i = 0; i < count; ++i) v.push_back((static_cast<std::uint32_t>(i) * 2654435761u) % modulo);
  return v;
}

TDibSpec Dib(int header, int width, int height, int bits, std::uint32_t compression = 0) {
  TDibSpec s;
  s.HeaderSize = header;
  s.Width = width;
  s.Height = height;
  s.BitCount = bits;
  s.Compression = compression;
  const int w = width, h = height < 0 ? -height : height;
  if (bits <= 8) {
    for (int i = 0; i < (1 << bits) && i < 16; ++i) s.Palette.push_back(MakeColor(i * 16, 255 - i * 16, i * 5));
    if (header != 12) s.ClrUsed = static_cast<std::uint32_t>(s.Palette.size());
  }
  const std::uint32_t modulo = bits <= 8 ? static_cast<std::uint32_t>(s.Palette.size()) : 0xFFFFFFFFu;
  if (compression == 0 || compression == 3) s.Bits = PackDibRows(w, h, bits, Ramp(w * h, modulo), height < 0);
  return s;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: make_seeds <dir>\n";
    return 2;
  }
  const std::filesystem::path dir = argv[1];

  Save(dir, "bmp", "core8.bmp", WriteBmp(Dib(12, 7, 5, 8)));
  Save(dir, "bmp", "info1-topdown.bmp", WriteBmp(Dib(40, 9, -4, 1)));
  Save(dir, "bmp", "info4.bmp", WriteBmp(Dib(40, 5, 3, 4)));
  Save(dir, "bmp", "info24.bmp", WriteBmp(Dib(40, 6, 6, 24)));
  Save(dir, "bmp", "v5-32.bmp", WriteBmp(Dib(124, 4, -3, 32)));
  TDibSpec fields = Dib(40, 5, 4, 16, 3);
  fields.Masks[0] = 0xF800;
  fields.Masks[1] = 0x07E0;
  fields.Masks[2] = 0x001F;
  Save(dir, "bmp", "info16-fields.bmp", WriteBmp(fields));
  TDibSpec rle8 = Dib(40, 8, 4, 8, 1);
  rle8.Bits = {0x03, 0x01, 0x00, 0x03, 0x02, 0x03, 0x04, 0x00, 0x00, 0x00, 0x00, 0x02, 0x02, 0x01,
               0x04, 0x05, 0x00, 0x00, 0x08, 0x06, 0x00, 0x01};
  Save(dir, "bmp", "rle8.bmp", WriteBmp(rle8));
  TDibSpec rle4 = Dib(40, 8, 3, 4, 2);
  rle4.Bits = {0x05, 0x12, 0x00, 0x00, 0x00, 0x03, 0x34, 0x50, 0x00, 0x02, 0x01, 0x01, 0x01, 0x70, 0x00, 0x01};
  Save(dir, "bmp", "rle4.bmp", WriteBmp(rle4));

  TIconImageSpec masked;
  masked.Width = masked.Height = 16;
  masked.BitCount = 4;
  for (int i = 0; i < 16; ++i) masked.Palette.push_back(MakeColor(i * 16, i * 8, 255 - i * 16));
  masked.Values = Ramp(256, 16);
  for (int i = 0; i < 256; ++i) masked.Mask.push_back(i % 3 == 0);
  TIconImageSpec alpha;
  alpha.Width = alpha.Height = 8;
  alpha.BitCount = 32;
  alpha.Values = Ramp(64, 0xFFFFFFFFu);
  TIconImageSpec png;
  png.Png = true;
  TIconImageSpec realPng;
  realPng.Png = true;
  realPng.Width = realPng.Height = 12;
  realPng.Values = Ramp(144, 0xFFFFFFFFu);
  TIconImageSpec interlacedPng = realPng;
  interlacedPng.Interlaced = true;
  Save(dir, "ico", "masked.ico", WriteIco({masked}));
  Save(dir, "ico", "several.ico", WriteIco({masked, png, alpha}));
  Save(dir, "ico", "png.ico", WriteIco({realPng, masked}));
  Save(dir, "ico", "png-interlaced.ico", WriteIco({interlacedPng}));

  const std::vector<TColor> map = {MakeColor(0, 0, 0), MakeColor(255, 0, 0), MakeColor(0, 255, 0), MakeColor(0, 0, 255)};
  auto frame = [](int left, int top, int width, int height, bool interlace, int transparent) {
    TGifFrameSpec f;
    f.Left = left;
    f.Top = top;
    f.Width = width;
    f.Height = height;
    f.Interlace = interlace;
    f.Transparent = transparent;
    for (int i = 0; i < width * height; ++i) f.Indices.push_back(static_cast<std::uint8_t>((i * 7 / 5) % 4));
    return f;
  };
  Save(dir, "gif", "single.gif", WriteGif({10, 8, map, {frame(2, 1, 6, 5, false, 3)}}));
  Save(dir, "gif", "interlaced.gif", WriteGif({9, 11, map, {frame(0, 0, 9, 11, true, -1)}}));
  TGifFrameSpec local = frame(1, 1, 4, 4, false, 0);
  local.LocalMap = {MakeColor(9, 9, 9), MakeColor(99, 99, 99)};
  Save(dir, "gif", "animated.gif", WriteGif({6, 6, map, {frame(0, 0, 6, 6, false, 1), local}}));
  Save(dir, "gif", "empty.gif", WriteGif({3, 3, {}, {}}));

  Save(dir, "jpeg", "baseline.jpg", WriteJpeg(24, 16, 3, GradientSamples(24, 16)));
  Save(dir, "jpeg", "progressive.jpg", WriteJpeg(17, 9, 3, GradientSamples(17, 9), 75, true));
  std::vector<std::uint8_t> grey(20 * 12);
  for (std::size_t i = 0; i < grey.size(); ++i) grey[i] = static_cast<std::uint8_t>(i);
  Save(dir, "jpeg", "grey.jpg", WriteJpeg(20, 12, 1, grey, 50));

  // PNG: colour with alpha, interlaced; a palette with transparency; 16-bit
  // grey; an animated file. WebP: lossy, lossless with alpha, animated.
  auto samples = [](int count, std::uint16_t modulo) {
    std::vector<std::uint16_t> v;
    for (int i = 0; i < count; ++i) v.push_back(static_cast<std::uint16_t>((i * 40503u) % modulo));
    return v;
  };
  TPngSpec rgba{9, 7, PNG_COLOR_TYPE_RGB_ALPHA, 8, true, samples(9 * 7 * 4, 256)};
  Save(dir, "png", "rgba-interlaced.png", WritePngFile(rgba));
  TPngSpec palette{8, 5, PNG_COLOR_TYPE_PALETTE, 4, false, samples(8 * 5, 4)};
  palette.Palette = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {9, 9, 9}};
  palette.PaletteAlpha = {0, 128};
  Save(dir, "png", "palette-trns.png", WritePngFile(palette));
  TPngSpec grey16{6, 6, PNG_COLOR_TYPE_GRAY, 16, false, samples(36, 65535)};
  Save(dir, "png", "grey16.png", WritePngFile(grey16));
  TPngSpec animated{5, 4, PNG_COLOR_TYPE_RGB, 8, false, samples(5 * 4 * 3, 256)};
  animated.Animated = true;
  Save(dir, "png", "animated.png", WritePngFile(animated));
  std::vector<std::uint8_t> bgra(16 * 12 * 4);
  for (std::size_t i = 0; i < bgra.size(); ++i) bgra[i] = static_cast<std::uint8_t>(i * 7);
  const TBytes lossy = WriteWebP(16, 12, bgra, false);
  Save(dir, "webp", "lossy.webp", lossy);
  Save(dir, "webp", "lossless-alpha.webp", WriteWebP(16, 12, bgra, true));
  Save(dir, "webp", "animated.webp", WriteAnimatedWebP(24, 20, {{lossy, 0, 0}, {lossy, 8, 6}}));

  Save(dir, "metafile", "enhanced.emf", WriteEmf(0, 0, 2540, 1270, 1024, 768, 271, 203));
  Save(dir, "metafile", "placeable.wmf", WritePlaceableWmf(0, 0, 1440, 720, 1440));
  Save(dir, "metafile", "placeable-0.wmf", WritePlaceableWmf(-20, 10, 76, 58, 0));
  Save(dir, "metafile", "fills.wmf", ManyFillWmf(400, 300, 200));
  Save(dir, "metafile", "fills.emf", ManyFillEmf(400, 300, 200));

  TVersionSpec version;
  version.Tables.push_back({u"040604E4", {{u"CompanyName", u"Mobrelin"},
                                          {u"Comments", std::nullopt},
                                          {u"FileVersion", u"1.2.3.21"}}});
  version.Tables.push_back({u"040904E4", {{u"ProductName", u"Bexora"}}});
  const TBytes block = WriteVersionBlock(version);
  Save(dir, "version", "block.bin", block);
  Save(dir, "version", "module64.dll", WritePeModule({{3, 1, 0x0406, TBytes(40, 1)}, {16, 1, 0x0406, block}}));
  Save(dir, "version", "module32.dll", WritePeModule({{16, 1, 0x0406, block}}, false));
  // Keys that run past their entries: once far beyond the fuzz run's time limit.
  Save(dir, "version", "unterminated-keys.bin", UnterminatedKeysVersionBlock(65536));
  return 0;
}
