#include <gtest/gtest.h>

#include <string>

#include "components/BmpImage.h"
#include "platform/Errors.h"
#include "tests/unit/HostileFiles.h"
#include "tests/unit/ImageWriters.h"

namespace bx {
namespace {

using test::TBytes;
using test::TDibSpec;

constexpr int kW = 5;  // odd, so that every depth pads its rows
constexpr int kH = 3;

std::vector<TColor> Palette16() {
  std::vector<TColor> p;
  for (unsigned i = 0; i < 16; ++i) p.push_back(MakeColor(10 + 15 * i, 20 + 7 * i, 30 + 13 * i));
  return p;
}

std::vector<std::uint32_t> Indices(unsigned modulo) {
  std::vector<std::uint32_t> v;
  for (unsigned i = 0; i < kW * kH; ++i) v.push_back((i * 7 + 3) % modulo);
  return v;
}

std::vector<TColor> Through(const std::vector<TColor>& palette, const std::vector<std::uint32_t>& indices) {
  std::vector<TColor> out;
  for (std::uint32_t i : indices) out.push_back(i < palette.size() ? palette[i] : MakeColor(0, 0, 0));
  return out;
}

std::vector<std::uint32_t> TrueColors() {
  std::vector<std::uint32_t> v;
  for (unsigned i = 0; i < kW * kH; ++i) v.push_back(MakePixel(17 * i, 255 - 11 * i, (i * 53) & 0xFF));
  return v;
}

std::vector<TColor> AsColors(const std::vector<std::uint32_t>& pixels) {
  std::vector<TColor> out;
  for (std::uint32_t p : pixels) out.push_back(PixelToColor(p));
  return out;
}

TBytes Indexed(int header, int bits, bool topDown, const std::vector<std::uint32_t>& indices,
               std::vector<TColor> palette, std::uint32_t clrUsed = 0) {
  TDibSpec s;
  s.HeaderSize = header;
  s.Width = kW;
  s.Height = topDown ? -kH : kH;
  s.BitCount = bits;
  s.Palette = std::move(palette);
  s.ClrUsed = clrUsed;
  s.Bits = test::PackDibRows(kW, kH, bits, indices, topDown);
  return test::WriteBmp(s);
}

TBytes Direct(int header, int bits, bool topDown, const std::vector<std::uint32_t>& words,
              std::uint32_t compression = 0, std::uint32_t r = 0, std::uint32_t g = 0,
              std::uint32_t b = 0) {
  TDibSpec s;
  s.HeaderSize = header;
  s.Width = kW;
  s.Height = topDown ? -kH : kH;
  s.BitCount = bits;
  s.Compression = compression;
  s.Masks[0] = r;
  s.Masks[1] = g;
  s.Masks[2] = b;
  s.Bits = test::PackDibRows(kW, kH, bits, words, topDown);
  return test::WriteBmp(s);
}

TBytes Rle(int bits, const TBytes& stream, std::vector<TColor> palette) {
  TDibSpec s;
  s.Width = kW;
  s.Height = kH;
  s.BitCount = bits;
  s.Compression = bits == 8 ? 1 : 2;
  s.SizeImage = static_cast<std::uint32_t>(stream.size());
  s.Palette = std::move(palette);
  s.Bits = stream;
  return test::WriteBmp(s);
}

// 5-bit and 6-bit channels widen by repeating their top bits.
unsigned Widen(unsigned v, int bits) {
  unsigned r = 0;
  for (int shift = 8 - bits; shift > -bits; shift -= bits) r |= shift >= 0 ? v << shift : v >> -shift;
  return r & 0xFF;
}

std::vector<TColor> Decode(const TBytes& file) {
  TBitmap bitmap;
  bitmap.LoadFromData(file);
  EXPECT_EQ(bitmap.Width(), kW);
  EXPECT_EQ(bitmap.Height(), kH);
  std::vector<TColor> out;
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width(); ++x) out.push_back(bitmap.Pixels().GetPixel(x, y));
  return out;
}

TEST(BmpImage, EveryVariantDecodesToItsPixels) {
  const std::vector<TColor> palette = Palette16();
  const auto i1 = Indices(2), i4 = Indices(16), i8 = Indices(16), i3 = Indices(5);
  const auto rgb = TrueColors();

  std::vector<std::uint32_t> w555, w565, w444;
  std::vector<TColor> c555, c565, c444;
  for (unsigned i = 0; i < kW * kH; ++i) {
    const unsigned r = (i * 5) & 31, g = (31 - i) & 31, b = (i * 3 + 16) & 31, g6 = (i * 9) & 63;
    w555.push_back((r << 10) | (g << 5) | b);
    c555.push_back(MakeColor(Widen(r, 5), Widen(g, 5), Widen(b, 5)));
    w565.push_back((r << 11) | (g6 << 5) | b);
    c565.push_back(MakeColor(Widen(r, 5), Widen(g6, 6), Widen(b, 5)));
    const unsigned r4 = i & 15, g4 = (i * 3) & 15, b4 = 15 - (i & 15);
    w444.push_back((r4 << 8) | (g4 << 4) | b4);
    c444.push_back(MakeColor(r4 * 17, g4 * 17, b4 * 17));
  }
  std::vector<std::uint32_t> withAlpha, swapped;
  std::vector<TColor> swappedColors;
  for (std::uint32_t p : rgb) {
    withAlpha.push_back(p | 0x5A000000u);
    const TColor c = PixelToColor(p);
    swapped.push_back(c);  // red in the low byte: masks 0xFF, 0xFF00, 0xFF0000
    swappedColors.push_back(c);
  }
  std::vector<TColor> rgbColors = AsColors(rgb);

  struct TCase {
    std::string Name;
    TBytes File;
    std::vector<TColor> Expected;
  };
  const std::vector<TCase> cases = {
      {"core 1", Indexed(12, 1, false, i1, {palette[0], palette[1]}), Through(palette, i1)},
      {"core 4", Indexed(12, 4, false, i4, palette), Through(palette, i4)},
      {"core 8", Indexed(12, 8, false, i8, palette), Through(palette, i8)},
      {"core 24", Direct(12, 24, false, rgb), rgbColors},
      {"info 1", Indexed(40, 1, false, i1, {palette[0], palette[1]}), Through(palette, i1)},
      {"info 4", Indexed(40, 4, false, i4, palette), Through(palette, i4)},
      {"info 8", Indexed(40, 8, false, i8, palette), Through(palette, i8)},
      {"info 8 top-down", Indexed(40, 8, true, i8, palette), Through(palette, i8)},
      {"info 4 top-down", Indexed(40, 4, true, i4, palette), Through(palette, i4)},
      {"info 8 short palette",
       Indexed(40, 8, false, i3, {palette[0], palette[1], palette[2]}, 3),
       Through({palette[0], palette[1], palette[2]}, i3)},
      {"info 16", Direct(40, 16, false, w555), c555},
      {"info 16 bit fields", Direct(40, 16, false, w565, 3, 0xF800, 0x07E0, 0x001F), c565},
      {"info 24", Direct(40, 24, false, rgb), rgbColors},
      {"info 24 top-down", Direct(40, 24, true, rgb), rgbColors},
      {"info 32", Direct(40, 32, false, withAlpha), rgbColors},
      {"info 32 bit fields", Direct(40, 32, false, swapped, 3, 0xFF, 0xFF00, 0xFF0000), swappedColors},
      {"v2 16 bit fields", Direct(52, 16, false, w444, 3, 0xF00, 0xF0, 0xF), c444},
      {"v3 24", Direct(56, 24, true, rgb), rgbColors},
      {"v4 16 bit fields", Direct(108, 16, false, w565, 3, 0xF800, 0x07E0, 0x001F), c565},
      {"v5 32 top-down", Direct(124, 32, true, withAlpha), rgbColors},
      {"v5 8", Indexed(124, 8, false, i8, palette), Through(palette, i8)},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(Decode(c.File), c.Expected);
  }
}

TEST(BmpImage, RunLengthEscapes) {
  const std::vector<TColor> p = Palette16();
  // Bottom row first: runs, an absolute run with padding, end of line, a
  // delta within a row, and the end of the bitmap.
  const TBytes rle8 = {0x02, 0x01, 0x00, 0x03, 0x02, 0x03, 0x04, 0x00, 0x00, 0x00,
                       0x00, 0x02, 0x02, 0x00, 0x02, 0x05, 0x00, 0x00,
                       0x05, 0x06, 0x00, 0x01};
  EXPECT_EQ(Decode(Rle(8, rle8, p)),
            (std::vector<TColor>{p[6], p[6], p[6], p[6], p[6],
                                 p[0], p[0], p[5], p[5], p[0],
                                 p[1], p[1], p[2], p[3], p[4]}));
  // Alternating nibbles, an odd absolute run, a delta into the next row.
  const TBytes rle4 = {0x05, 0x12, 0x00, 0x00,
                       0x00, 0x03, 0x34, 0x50, 0x00, 0x02, 0x01, 0x01,
                       0x01, 0x70, 0x00, 0x01};
  EXPECT_EQ(Decode(Rle(4, rle4, p)),
            (std::vector<TColor>{p[0], p[0], p[0], p[0], p[7],
                                 p[3], p[4], p[5], p[0], p[0],
                                 p[1], p[2], p[1], p[2], p[1]}));
  // Runs longer than the row are clipped; a delta past the top ends it.
  const TBytes clipped = {0xFF, 0x09, 0x00, 0x02, 0x00, 0x09};
  EXPECT_EQ(Decode(Rle(8, clipped, p)),
            (std::vector<TColor>{p[0], p[0], p[0], p[0], p[0],
                                 p[0], p[0], p[0], p[0], p[0],
                                 p[9], p[9], p[9], p[9], p[9]}));
}

TEST(BmpImage, DamagedFilesFailWithTheFormatsMessage) {
  const std::vector<TColor> palette = Palette16();
  const TBytes sound = Direct(40, 24, false, TrueColors());
  auto patched = [&](std::size_t at, std::uint32_t value, int width = 4) {
    TBytes b = sound;
    if (width == 2) test::Set16(b, at, value); else test::Set32(b, at, value);
    return b;
  };
  TBytes cut = sound;
  cut.pop_back();
  cut.resize(cut.size() - 3);  // more than the last row's padding
  TBytes rleTopDown = Rle(8, {0x05, 0x01, 0x00, 0x01}, palette);
  test::Set32(rleTopDown, 22, static_cast<std::uint32_t>(-kH));
  const TBytes rleCut = Rle(8, {0x05, 0x01, 0x00, 0x00, 0x05}, palette);
  const TBytes indexed = Indexed(40, 8, false, Indices(16), palette);
  const TBytes rleAbsoluteCut = Rle(8, {0x00, 0x05, 0x01, 0x02}, palette);
  TDibSpec large;
  large.Width = large.Height = 4096;
  large.BitCount = 8;
  large.Compression = 1;
  large.Palette = {MakeColor(1, 2, 3)};
  large.Bits = {0xFF, 0x00, 0x00, 0x00, 0x05};  // a run, an end of line, cut short

  const std::vector<std::pair<std::string, TBytes>> damaged = {
      {"short file", TBytes{'B', 'M', 0, 0}},
      {"signature", patched(0, 'B' | ('A' << 8), 2)},
      {"pixels cut short", cut},
      {"header size", patched(14, 64)},
      {"planes", patched(26, 2, 2)},
      {"bit count", patched(28, 3, 2)},
      {"zero width", patched(18, 0)},
      {"zero height", patched(22, 0)},
      {"JPEG inside", patched(30, 4)},
      {"PNG inside", patched(30, 5)},
      {"bit fields at 24 bits", patched(30, 3)},
      {"offset past the end", patched(10, 100000)},
      {"offset inside the header", patched(10, 20)},
      {"huge image, little data", patched(18, 0x40000000)},
      {"huge height, little data", patched(22, 0x7FFFFFFF)},
      {"lowest height", patched(22, 0x80000000u)},
      {"run-length top-down", rleTopDown},
      {"run-length cut short", rleCut},
      {"absolute run cut short", rleAbsoluteCut},
      {"large run-length image cut short", test::WriteBmp(large)},
      {"run-length data ending a large image at once", test::RleEndingAtOnce(4096, 4096)},
      {"palette past the end", TBytes(indexed.begin(), indexed.begin() + 60)},
  };
  for (const auto& [name, file] : damaged) {
    SCOPED_TRACE(name);
    TBitmap bitmap;
    const std::uint64_t allocated = TPixelBuffer::AllocatedPixels();
    try {
      bitmap.LoadFromData(file);
      ADD_FAILURE() << "loaded";
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message(), "Bitmap image is not valid");
    }
    // The data shows itself damaged before anything of its size is allocated.
    EXPECT_EQ(TPixelBuffer::AllocatedPixels(), allocated);
  }
}

TEST(BmpImage, EmptyFileAndImagesTooLargeToHold) {
  TBitmap empty;
  empty.LoadFromData({});
  EXPECT_TRUE(empty.Empty());
  EXPECT_EQ(empty.Width(), 0);

  // Run-length data may leave a bitmap to colour 0: up to a million pixels
  // of it, and the size limit comes first.
  TBitmap blank;
  blank.LoadFromData(test::RleEndingAtOnce(1024, 1024));
  EXPECT_EQ(blank.Pixels().GetPixel(1023, 1023), MakeColor(1, 2, 3));
  TBitmap huge;
  try {
    huge.LoadFromData(test::RleEndingAtOnce(60000, 60000));
    ADD_FAILURE() << "loaded";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Not enough memory for a bitmap of 60000 x 60000 pixels");
  }
}

TEST(BmpImage, DrawsOpaqueAtThePointAndClips) {
  TBitmap bitmap;
  bitmap.LoadFromData(Direct(40, 24, false, TrueColors()));
  TPixelBuffer target(4, 4);
  target.Fill(MakeColor(1, 1, 1));
  bitmap.Draw(target, 1, 2);
  EXPECT_EQ(target.GetPixel(0, 0), MakeColor(1, 1, 1));
  EXPECT_EQ(target.GetPixel(1, 2), PixelToColor(TrueColors()[0]));
  EXPECT_EQ(target.GetPixel(3, 3), PixelToColor(TrueColors()[kW + 2]));
  bitmap.Draw(target, -4, -2);
  EXPECT_EQ(target.GetPixel(0, 0), PixelToColor(TrueColors()[2 * kW + 4]));
}

}  // namespace
}  // namespace bx
