#include <gtest/gtest.h>

#include <string>

#include "components/IconImage.h"
#include "platform/Errors.h"
#include "tests/unit/HostileFiles.h"
#include "tests/unit/ImageTestSupport.h"
#include "tests/unit/ImageWriters.h"

namespace bx {
namespace {

using test::TBytes;
using test::TIconImageSpec;

const TColor kGreen = MakeColor(0, 200, 0);

TIconImageSpec Solid(int size, int bits, std::uint32_t value, std::vector<TColor> palette = {}) {
  TIconImageSpec s;
  s.Width = s.Height = size;
  s.BitCount = bits;
  s.Values.assign(static_cast<std::size_t>(size) * size, value);
  s.Palette = std::move(palette);
  return s;
}

std::string LoadError(const TBytes& file) {
  TIcon icon;
  try {
    icon.LoadFromData(file);
  } catch (const Exception& e) {
    return e.Message();
  }
  return "loaded";
}

TEST(IconImage, MaskedPixelsKeepTheTargetsColour) {
  test::TImagePlatform platform;
  TIconImageSpec s = Solid(32, 24, MakePixel(10, 20, 250));
  s.Mask.assign(32 * 32, 0);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 16; ++x) s.Mask[y * 32 + x] = 1;
  for (int x = 16; x < 32; ++x) s.Values[5 * 32 + x] = MakePixel(255, 255, 255);
  TIcon icon;
  icon.LoadFromData(test::WriteIco({s}));
  EXPECT_EQ(icon.Width(), 32);
  EXPECT_EQ(icon.Height(), 32);
  TPixelBuffer target(40, 40);
  target.Fill(kGreen);
  icon.Draw(target, 4, 2);
  EXPECT_EQ(target.GetPixel(3, 10), kGreen);
  EXPECT_EQ(target.GetPixel(4 + 15, 2 + 31), kGreen);
  EXPECT_EQ(target.GetPixel(4 + 16, 2), MakeColor(10, 20, 250));
  EXPECT_EQ(target.GetPixel(4 + 31, 2 + 5), MakeColor(255, 255, 255));
  EXPECT_EQ(target.GetPixel(4 + 32, 2), kGreen);
  // Clipped at the target's edges.
  icon.Draw(target, -20, 30);
  EXPECT_EQ(target.GetPixel(0, 39), MakeColor(10, 20, 250));
}

TEST(IconImage, ChoosesTheBestImageForSizeAndDepth) {
  test::TImagePlatform platform;
  const std::vector<TColor> palette = {MakeColor(1, 1, 1), MakeColor(2, 2, 2), MakeColor(3, 3, 3)};
  TIconImageSpec png;
  png.Width = png.Height = 32;
  png.Png = true;
  const TBytes file = test::WriteIco({Solid(16, 8, 1, palette), png, Solid(32, 4, 2, palette),
                                      Solid(32, 32, 0xFF0000FF), Solid(48, 32, 0xFF00FF00)});
  struct TCase {
    int Depth, Size, Width, Bits;
  };
  for (const TCase& c : {TCase{32, 32, 32, 32}, TCase{24, 32, 32, 4}, TCase{8, 32, 32, 4},
                         TCase{1, 32, 32, 4}, TCase{32, 48, 48, 32}, TCase{32, 16, 16, 8},
                         TCase{32, 20, 16, 8}}) {
    SCOPED_TRACE(std::to_string(c.Depth) + " bits, size " + std::to_string(c.Size));
    platform.System.ColorDepth = c.Depth;
    platform.System.IconWidth = platform.System.IconHeight = c.Size;
    TIcon icon;
    icon.LoadFromData(file);
    EXPECT_EQ(icon.ImageWidth(), c.Width);
    EXPECT_EQ(icon.ImageBitCount(), c.Bits);
    EXPECT_EQ(icon.Width(), c.Size);
  }
  // Drawn at the system's size: a 16 x 16 image scaled to 32 x 32.
  platform.System.IconWidth = platform.System.IconHeight = 32;
  TIconImageSpec small = Solid(16, 24, MakePixel(9, 9, 9));
  small.Values[0] = MakePixel(200, 0, 0);
  TIcon icon;
  icon.LoadFromData(test::WriteIco({small}));
  TPixelBuffer target(32, 32);
  icon.Draw(target, 0, 0);
  EXPECT_EQ(target.GetPixel(1, 1), MakeColor(200, 0, 0));
  EXPECT_EQ(target.GetPixel(2, 1), MakeColor(9, 9, 9));
  EXPECT_EQ(target.GetPixel(31, 31), MakeColor(9, 9, 9));
}

TEST(IconImage, AlphaBlendsOverTheTarget) {
  test::TImagePlatform platform;
  TIconImageSpec s = Solid(32, 32, 0xFFFF0000);
  s.Values[0] = 0x80FF0000;  // half red
  s.Values[1] = 0x00FF0000;  // transparent
  s.Mask.assign(32 * 32, 1); // the mask does not count once there is alpha
  TIcon icon;
  icon.LoadFromData(test::WriteIco({s}));
  TPixelBuffer target(32, 32);
  target.Fill(MakeColor(0, 0, 200));
  icon.Draw(target, 0, 0);
  EXPECT_EQ(target.GetPixel(0, 0), MakeColor(128, 0, 100));
  EXPECT_EQ(target.GetPixel(1, 0), MakeColor(0, 0, 200));
  EXPECT_EQ(target.GetPixel(2, 0), MakeColor(255, 0, 0));

  // 32-bit pixels without any alpha fall back to the mask.
  TIconImageSpec noAlpha = Solid(32, 32, 0x00FF0000);
  noAlpha.Mask.assign(32 * 32, 0);
  noAlpha.Mask[0] = 1;
  icon.LoadFromData(test::WriteIco({noAlpha}));
  target.Fill(MakeColor(0, 0, 200));
  icon.Draw(target, 0, 0);
  EXPECT_EQ(target.GetPixel(0, 0), MakeColor(0, 0, 200));
  EXPECT_EQ(target.GetPixel(1, 0), MakeColor(255, 0, 0));
}

TEST(IconImage, NotAnIconOrNothingReadable) {
  test::TImagePlatform platform;
  TIconImageSpec png;
  png.Png = true;
  const TBytes sound = test::WriteIco({Solid(32, 24, 0x123456)});
  TBytes cursor = sound;
  cursor[2] = 2;
  TBytes cut = sound;
  cut.resize(cut.size() - 200);  // into the mask and colours
  TBytes countPastEnd = sound;
  countPastEnd[4] = countPastEnd[5] = 0xFF;
  TBytes offsetPastEnd = sound;
  test::Set32(offsetPastEnd, 6 + 12, 1000000);
  TBytes badHeader = sound;
  test::Set32(badHeader, 22, 64);
  for (const auto& [name, file] : std::vector<std::pair<std::string, TBytes>>{
           {"only PNG", test::WriteIco({png})},
           {"bitmap file", TBytes{'B', 'M', 0, 0, 0, 0, 0, 0}},
           {"empty", TBytes{}},
           {"no images", TBytes{0, 0, 1, 0, 0, 0}},
           {"cursor", cursor},
           {"cut short", cut},
           {"count past the end", countPastEnd},
           {"offset past the end", offsetPastEnd},
           {"image header", badHeader}}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(LoadError(file), "Icon image is not valid");
  }
  // An image whose header this decoder does not read is no candidate.
  TBytes mixed = test::WriteIco({Solid(32, 24, 0x111111), Solid(16, 24, 0x222222)});
  const std::size_t first = mixed[18] | (mixed[19] << 8);
  test::Set32(mixed, first, 64);  // the first image's header size
  TIcon icon;
  icon.LoadFromData(mixed);
  EXPECT_EQ(icon.ImageWidth(), 16);
}

// A PNG image: transparent left column, half-transparent top row, the rest
// an opaque colour of its position, so that scaling shows where pixels came from.
TIconImageSpec PngImage(int size, bool interlaced = false) {
  TIconImageSpec s;
  s.Png = true;
  s.Interlaced = interlaced;
  s.Width = s.Height = size;
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x)
      s.Values.push_back(x == 0 ? 0x00FFFFFF
                         : y == 0 ? 0x80FF0000
                                  : 0xFF000000u | MakePixel(x * 255 / size, y * 255 / size, 7));
  return s;
}

TEST(IconImage, PngImagesWithTheirTransparency) {
  test::TImagePlatform platform;
  const TColor kBlue = MakeColor(0, 0, 200);
  struct TCase {
    const char* Name;
    int IconSize;  // the system's
    std::vector<TIconImageSpec> Images;
    int Chosen;    // the image's size
  };
  const std::vector<TCase> cases = {
      {"32 of 16, 32, 256", 32, {Solid(16, 24, 0x010203), PngImage(32), PngImage(256)}, 32},
      {"256 of 32, 256", 256, {PngImage(32), PngImage(256)}, 256},
      {"only 256, drawn at 32", 32, {PngImage(256)}, 256},
      {"interlaced 256 at 32", 32, {PngImage(256, true)}, 256},
      {"interlaced 48 at 64", 64, {PngImage(48, true)}, 48}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    platform.System.IconWidth = platform.System.IconHeight = c.IconSize;
    TIcon icon;
    icon.LoadFromData(test::WriteIco(c.Images));
    EXPECT_EQ(icon.ImageWidth(), c.Chosen);
    EXPECT_EQ(icon.ImageBitCount(), 32);
    ASSERT_EQ(icon.Width(), c.IconSize);
    TPixelBuffer target(c.IconSize, c.IconSize);
    target.Fill(kBlue);
    icon.Draw(target, 0, 0);
    // Each pixel is the image's nearest one: scaled as every icon image is.
    for (int y = 0; y < c.IconSize; ++y) {
      for (int x = 0; x < c.IconSize; ++x) {
        const int sx = x * c.Chosen / c.IconSize, sy = y * c.Chosen / c.IconSize;
        const TColor expected = sx == 0   ? kBlue
                                : sy == 0 ? MakeColor(128, 0, 100)
                                          : MakeColor(sx * 255 / c.Chosen, sy * 255 / c.Chosen, 7);
        ASSERT_EQ(target.GetPixel(x, y), expected) << x << "," << y;
      }
    }
  }
  // Damaged PNG data: the chosen image fails, and so does the icon.
  TBytes cut = test::WriteIco({PngImage(32)});
  cut.resize(cut.size() - 40);
  EXPECT_EQ(LoadError(cut), "Icon image is not valid");

  // One row as wide as a desktop of eight 8K displays decodes; a wider one
  // in a small file is refused before any row of it is held, however few
  // pixels it has.
  platform.System.IconWidth = platform.System.IconHeight = 32;
  const TBytes wide = test::WidePngIcon(65536), wider = test::WidePngIcon(65537);
  ASSERT_LT(wider.size(), 65537u);
  TIcon icon;
  icon.LoadFromData(wide);
  EXPECT_EQ(icon.ImageWidth(), 65536);
  const std::uint64_t before = TPixelBuffer::AllocatedPixels();
  EXPECT_EQ(LoadError(wider), "Not enough memory for a bitmap of 65537 x 1 pixels");
  EXPECT_EQ(TPixelBuffer::AllocatedPixels(), before);
}

TEST(IconImage, OnlyTheChosenImageIsDecoded) {
  test::TImagePlatform platform;
  // Twenty run-length-encoded images, each claiming 4096 x 4096, in 1 KB.
  const TBytes file = test::ManyEntryRleIcon(20, 4096, 4096);
  const std::uint64_t before = TPixelBuffer::AllocatedPixels();
  EXPECT_EQ(LoadError(file), "Icon image is not valid");
  EXPECT_LE(TPixelBuffer::AllocatedPixels() - before, 4096u * 4096u + 32 * 32);
}

}  // namespace
}  // namespace bx
