#include <gtest/gtest.h>

#include <string>

#include "components/GifImage.h"
#include "platform/Errors.h"
#include "tests/unit/HostileFiles.h"
#include "tests/unit/ImageTestSupport.h"
#include "tests/unit/ImageWriters.h"

namespace bx {
namespace {

using test::TBytes;
using test::TGifFrameSpec;
using test::TGifLayout;

const TColor kRed = MakeColor(255, 0, 0);
const std::vector<TColor> kMap = {MakeColor(0, 0, 0), MakeColor(0, 255, 0), MakeColor(0, 0, 255), MakeColor(255, 255, 0)};

TGifFrameSpec Frame(int left, int top, int width, int height, int transparent = -1) {
  TGifFrameSpec f;
  f.Left = left;
  f.Top = top;
  f.Width = width;
  f.Height = height;
  f.Transparent = transparent;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) f.Indices.push_back(static_cast<std::uint8_t>((x + y) % 4));
  return f;
}

std::string LoadError(const TBytes& file) {
  TGIFImage image;
  try {
    image.LoadFromData(file);
  } catch (const Exception& e) {
    return e.Message();
  }
  return "loaded";
}

TEST(GifImage, FrameAtItsOffsetOverTheBackground) {
  test::TImagePlatform platform;
  TGifLayout layout{100, 80, kMap, {Frame(30, 40, 20, 10, 3)}};
  TGIFImage image;
  image.LoadFromData(test::WriteGif(layout));
  EXPECT_EQ(image.Width(), 100);
  EXPECT_EQ(image.Height(), 80);
  EXPECT_FALSE(image.Empty());
  TPixelBuffer target(100, 80);
  target.Fill(kRed);
  image.Draw(target, 0, 0);
  for (int y = 0; y < 80; ++y) {
    for (int x = 0; x < 100; ++x) {
      const bool inside = x >= 30 && x < 50 && y >= 40 && y < 50;
      const int index = inside ? (x - 30 + y - 40) % 4 : -1;
      const TColor expected = index < 0 || index == 3 ? kRed : kMap[index];
      ASSERT_EQ(target.GetPixel(x, y), expected) << x << "," << y;
    }
  }
}

TEST(GifImage, AnimatedDrawsTheFirstFrameInterlacedToo) {
  test::TImagePlatform platform;
  TGifFrameSpec first = Frame(0, 0, 7, 19);
  first.Interlace = true;
  TGifFrameSpec second = Frame(0, 0, 7, 19);
  second.LocalMap = {MakeColor(9, 9, 9), MakeColor(9, 9, 9), MakeColor(9, 9, 9), MakeColor(9, 9, 9)};
  TGifLayout layout{7, 19, kMap, {first, second, Frame(1, 1, 2, 2)}};
  TGIFImage image;
  image.LoadFromData(test::WriteGif(layout));
  EXPECT_EQ(image.FrameCount(), 3);
  TPixelBuffer target(7, 19);
  image.Draw(target, 0, 0);
  for (int y = 0; y < 19; ++y)
    for (int x = 0; x < 7; ++x) ASSERT_EQ(target.GetPixel(x, y), kMap[(x + y) % 4]) << x << "," << y;
}

TEST(GifImage, HeaderAndTrailerIsEmpty) {
  TGIFImage image;
  image.LoadFromData(test::WriteGif({12, 8, kMap, {}}));
  EXPECT_TRUE(image.Empty());
  EXPECT_EQ(image.Width(), 12);
  TPixelBuffer target(12, 8);
  target.Fill(kRed);
  image.Draw(target, 0, 0);
  EXPECT_EQ(target.GetPixel(5, 5), kRed);
}

TEST(GifImage, SignatureRules) {
  const TBytes file = test::WriteGif({4, 4, kMap, {Frame(0, 0, 4, 4)}});
  TBytes lower = file;
  lower[0] = 'g';
  lower[2] = 'f';
  EXPECT_EQ(LoadError(lower), "loaded");
  TBytes prefixed = {'x', 'y', 'z', 'w'};
  prefixed.insert(prefixed.end(), file.begin(), file.end());
  EXPECT_EQ(LoadError(prefixed), "loaded");
  TBytes wrong = file;
  wrong[0] = 'X';
  EXPECT_EQ(LoadError(wrong), "Invalid GIF signature");
  EXPECT_EQ(LoadError({}), "Invalid GIF signature");
  // The version is not examined.
  TBytes version = file;
  version[3] = 'X';
  version[5] = '?';
  EXPECT_EQ(LoadError(version), "loaded");
}

TEST(GifImage, CutShortAndDamagedData) {
  test::TImagePlatform platform;
  const TBytes file = test::WriteGif({16, 16, kMap, {Frame(0, 0, 16, 16)}});
  // 6 header bytes, 7 of screen descriptor, 12 of colour map, then the image.
  EXPECT_EQ(LoadError(TBytes(file.begin(), file.begin() + 9)), "Premature end of data");
  EXPECT_EQ(LoadError(TBytes(file.begin(), file.begin() + 20)), "Premature end of data");
  EXPECT_EQ(LoadError(TBytes(file.begin(), file.begin() + 30)), "Premature end of data");

  // Cut inside the compressed data: what was decoded is kept.
  TGIFImage cut;
  cut.LoadFromData(TBytes(file.begin(), file.begin() + 45));
  EXPECT_FALSE(cut.Empty());
  TPixelBuffer target(16, 16);
  target.Fill(kRed);
  cut.Draw(target, 0, 0);
  EXPECT_EQ(target.GetPixel(1, 0), kMap[1]);
  EXPECT_EQ(target.GetPixel(15, 15), kRed);

  // A block of no known kind ends the reading: the frame after it is not read.
  TBytes unknown = test::WriteGif({16, 16, kMap, {Frame(0, 0, 16, 16)}});
  const TBytes more = test::WriteGif({16, 16, kMap, {Frame(0, 0, 16, 16), Frame(0, 0, 2, 2)}});
  TBytes spliced(more.begin(), more.begin() + static_cast<std::ptrdiff_t>(unknown.size() - 1));
  spliced.push_back(0x42);
  spliced.insert(spliced.end(), more.begin() + static_cast<std::ptrdiff_t>(unknown.size() - 1), more.end());
  TGIFImage stopped;
  stopped.LoadFromData(spliced);
  EXPECT_EQ(stopped.FrameCount(), 1);

  // LZW codes (3 bits: clear, 0, then 7 twice) that make a table entry its
  // own prefix.
  TBytes circular(file.begin(), file.begin() + 25);
  const TBytes image = {',', 0, 0, 0, 0, 4, 0, 4, 0, 0, 2, 2, 0xC4, 0x0F, 0, ';'};
  circular.insert(circular.end(), image.begin(), image.end());
  EXPECT_EQ(LoadError(circular), "Circular decoder table entry");
  // An LZW code size beyond 8 bits.
  TBytes codeSize = circular;
  codeSize[35] = 12;
  EXPECT_EQ(LoadError(codeSize), "Circular decoder table entry");
  // The end code after one pixel only ends the frame early.
  TBytes early(file.begin(), file.begin() + 25);
  const TBytes shortImage = {',', 0, 0, 0, 0, 4, 0, 4, 0, 0, 2, 2, 0x44, 0x01, 0, ';'};
  early.insert(early.end(), shortImage.begin(), shortImage.end());
  EXPECT_EQ(LoadError(early), "loaded");
}

TEST(GifImage, ScreensTooLargeToHold) {
  TBytes file = test::WriteGif({4, 4, kMap, {Frame(0, 0, 4, 4)}});
  file[6] = file[7] = file[8] = file[9] = 0xFF;
  EXPECT_EQ(LoadError(file), "Not enough memory for a bitmap of 65535 x 65535 pixels");
  // A frame far larger than its screen decodes only what the screen shows.
  TGifLayout layout{3, 2, kMap, {Frame(0, 0, 3000, 2000)}};
  TGIFImage image;
  image.LoadFromData(test::WriteGif(layout));
  TPixelBuffer target(3, 2);
  image.Draw(target, 0, 0);
  EXPECT_EQ(target.GetPixel(2, 1), kMap[3]);
}

TEST(GifImage, WorkIsBoundedByTheData) {
  test::TImagePlatform platform;
  // A 1 x 4096 screen holding a 65535 x 4096 frame whose 100 KB of LZW data
  // really code all its 2^28 pixels. Reaching the screen's column of each
  // line means decoding the whole line before it; at most 64 pixels are
  // decoded per byte of data, and the frame ends where they run out.
  const TBytes wide = test::LongStringGif(1, 4096, 65535, 4096);
  TGIFImage image;
  image.LoadFromData(wide);
  TPixelBuffer target(1, 4096);
  target.Fill(kRed);
  image.Draw(target, 0, 0);
  int drawn = 0;
  while (drawn < 4096 && target.GetPixel(0, drawn) == MakeColor(0, 0, 0)) ++drawn;
  EXPECT_GE(drawn, 1);
  EXPECT_LE(static_cast<std::uint64_t>(drawn) * 65535, 64 * wide.size());
  for (int y = drawn; y < 4096; ++y) ASSERT_EQ(target.GetPixel(0, y), kRed) << y;

  // A frame of 16384 x 2048 inside its screen with 30 bytes of data: only
  // what the data can fill is allocated, and drawn.
  TBytes tiny = test::WriteGif({16384, 2048, kMap, {Frame(0, 0, 4, 4)}});
  tiny[6 + 7 + 12 + 5] = 16384 & 0xFF;  // the frame's width and height
  tiny[6 + 7 + 12 + 6] = 16384 >> 8;
  tiny[6 + 7 + 12 + 7] = 2048 & 0xFF;
  tiny[6 + 7 + 12 + 8] = 2048 >> 8;
  const std::uint64_t before = TPixelBuffer::AllocatedPixels();
  TGIFImage small;
  small.LoadFromData(tiny);
  EXPECT_FALSE(small.Empty());
  EXPECT_LE(TPixelBuffer::AllocatedPixels() - before, 2u * 16384);
}

TEST(GifImage, DithersToTheColorCubeOnPaletteDisplays) {
  test::TImagePlatform platform;
  TGifFrameSpec flat = Frame(0, 0, 16, 16);
  std::fill(flat.Indices.begin(), flat.Indices.end(), 0);
  const TBytes file = test::WriteGif({16, 16, {MakeColor(100, 180, 30), MakeColor(0, 0, 0)}, {flat}});
  TGIFImage truecolor;
  truecolor.LoadFromData(file);
  TPixelBuffer target(16, 16);
  truecolor.Draw(target, 0, 0);
  EXPECT_EQ(target.GetPixel(7, 7), MakeColor(100, 180, 30));

  platform.System.ColorDepth = 8;
  TGIFImage dithered;
  dithered.LoadFromData(file);
  dithered.Draw(target, 0, 0);
  long sum[3] = {0, 0, 0};
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      const TColor c = target.GetPixel(x, y);
      const unsigned channel[3] = {ColorRed(c), ColorGreen(c), ColorBlue(c)};
      for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(channel[i] % 51, 0u);
        sum[i] += channel[i];
      }
    }
  // Error diffusion keeps the average colour.
  EXPECT_NEAR(sum[0] / 256.0, 100, 4);
  EXPECT_NEAR(sum[1] / 256.0, 180, 4);
  EXPECT_NEAR(sum[2] / 256.0, 30, 4);
}

}  // namespace
}  // namespace bx
