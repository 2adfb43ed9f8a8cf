// PNG and WebP files through the picture loader, against libpng's and
// libwebp's own decodes of the same files drawn over the background colour.
#include <gtest/gtest.h>

#include <string>

#include "components/Picture.h"
#include "components/PngImage.h"
#include "components/WebpImage.h"
#include "platform/Errors.h"
#include "tests/unit/ImageTestSupport.h"
#include "tests/unit/PngWebpWriters.h"

namespace bx {
namespace {

const TColor kBackground = MakeColor(40, 160, 220);

std::string LoadError(TPicture& picture, const std::string& name) {
  try {
    picture.LoadFromFile(name);
  } catch (const Exception& e) {
    return e.Message();
  }
  return "loaded";
}

// Channel c of a straight-alpha pixel over the background channel b.
unsigned Over(unsigned c, unsigned a, unsigned b) { return (c * a + b * (255 - a) + 127) / 255; }

// The picture composed as the dialog does it, over kBackground.
TPixelBuffer Composed(const std::string& name) {
  TPicture picture;
  picture.LoadFromFile(name);
  TPixelBuffer bitmap;
  picture.Compose(bitmap, kBackground);
  return bitmap;
}

std::vector<std::uint16_t> Samples(std::size_t count, int bitDepth, std::uint32_t seed) {
  std::vector<std::uint16_t> v(count);
  for (std::size_t i = 0; i < count; ++i)
    v[i] = static_cast<std::uint16_t>(((i + seed) * 2654435761u >> 7) % (1u << bitDepth));
  return v;
}

TEST(PngImage, EveryKindMatchesLibpngOverTheBackground) {
  struct TCase {
    const char* Name;
    int ColorType, BitDepth;
    bool Interlaced = false, Transparent = false, Animated = false;
  };
  const TCase cases[] = {
      {"grey1", PNG_COLOR_TYPE_GRAY, 1},
      {"grey2-interlaced", PNG_COLOR_TYPE_GRAY, 2, true},
      {"grey4", PNG_COLOR_TYPE_GRAY, 4},
      {"grey8-trns", PNG_COLOR_TYPE_GRAY, 8, false, true},
      {"grey16-interlaced-trns", PNG_COLOR_TYPE_GRAY, 16, true, true},
      {"greyalpha8", PNG_COLOR_TYPE_GRAY_ALPHA, 8},
      {"greyalpha16", PNG_COLOR_TYPE_GRAY_ALPHA, 16},
      {"rgb8-trns", PNG_COLOR_TYPE_RGB, 8, false, true},
      {"rgb16-interlaced", PNG_COLOR_TYPE_RGB, 16, true},
      {"rgba8-interlaced", PNG_COLOR_TYPE_RGB_ALPHA, 8, true},
      {"rgba16", PNG_COLOR_TYPE_RGB_ALPHA, 16},
      {"palette1", PNG_COLOR_TYPE_PALETTE, 1},
      {"palette2-trns", PNG_COLOR_TYPE_PALETTE, 2, false, true},
      {"palette4-interlaced-trns", PNG_COLOR_TYPE_PALETTE, 4, true, true},
      {"palette8-trns", PNG_COLOR_TYPE_PALETTE, 8, false, true},
      {"rgba8-animated", PNG_COLOR_TYPE_RGB_ALPHA, 8, false, false, true},
  };
  test::TImagePlatform platform;
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    test::TPngSpec s;
    s.Width = 13;
    s.Height = 11;
    s.ColorType = c.ColorType;
    s.BitDepth = c.BitDepth;
    s.Interlaced = c.Interlaced;
    s.Animated = c.Animated;
    const int channels = test::PngChannels(c.ColorType);
    s.Samples = Samples(static_cast<std::size_t>(s.Width) * s.Height * channels, c.BitDepth, c.BitDepth);
    if (c.ColorType == PNG_COLOR_TYPE_PALETTE) {
      for (int i = 0; i < (1 << c.BitDepth); ++i)
        s.Palette.push_back({static_cast<png_byte>(i * 37), static_cast<png_byte>(255 - i * 11),
                             static_cast<png_byte>(i * 91)});
      // Fewer alpha entries than colours: the others are opaque.
      if (c.Transparent)
        for (int i = 0; i < (1 << c.BitDepth) / 2 + 1; ++i) s.PaletteAlpha.push_back(static_cast<png_byte>(i * 97));
    } else if (c.Transparent) {
      png_color_16 t{};
      t.gray = t.red = s.Samples[0];
      t.green = s.Samples[1 % channels];
      t.blue = s.Samples[2 % channels];
      s.Transparent = t;
    }
    const test::TBytes file = test::WritePngFile(s);
    const std::string name = std::string("C:\\W\\") + c.Name + ".png";
    platform.Files.Files[name] = file;

    int width = 0, height = 0;
    const std::vector<std::uint16_t> reference = test::LibpngDecode16(file, width, height);
    const TPixelBuffer bitmap = Composed(name);
    ASSERT_EQ(bitmap.Width(), 13);
    ASSERT_EQ(bitmap.Height(), 11);
    int mismatches = 0, partial = 0;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) {
        const std::uint16_t* p = &reference[(static_cast<std::size_t>(y) * width + x) * 4];
        auto eight = [](std::uint16_t v) { return (v * 255u + 32767) / 65535; };
        const unsigned a = eight(p[3]);
        partial += a != 0 && a != 255;
        const TColor expected = MakeColor(Over(eight(p[0]), a, ColorRed(kBackground)),
                                          Over(eight(p[1]), a, ColorGreen(kBackground)),
                                          Over(eight(p[2]), a, ColorBlue(kBackground)));
        mismatches += bitmap.GetPixel(x, y) != expected;
      }
    EXPECT_EQ(mismatches, 0);
    // The cases with an alpha channel or partial palette alpha mix colours.
    if (c.ColorType & PNG_COLOR_MASK_ALPHA || (c.Transparent && c.ColorType == PNG_COLOR_TYPE_PALETTE))
      EXPECT_GT(partial, 0);
  }

  // 16-bit channels are rounded, not cut: 0x01FF is 1.99 of 255 parts,
  // 0x40F0 64.69.
  test::TPngSpec deep;
  deep.Width = 2;
  deep.ColorType = PNG_COLOR_TYPE_GRAY;
  deep.BitDepth = 16;
  deep.Samples = {0x01FF, 0x40F0};
  platform.Files.Files["C:\\W\\deep.png"] = test::WritePngFile(deep);
  const TPixelBuffer bitmap = Composed("C:\\W\\deep.png");
  EXPECT_EQ(bitmap.GetPixel(0, 0), MakeColor(2, 2, 2));
  EXPECT_EQ(bitmap.GetPixel(1, 0), MakeColor(65, 65, 65));
}

TEST(WebPImage, LossyLosslessAlphaAndAnimatedMatchLibwebpOverTheBackground) {
  const int width = 24, height = 18;
  std::vector<std::uint8_t> opaque(width * height * 4), alpha(width * height * 4);
  for (int i = 0; i < width * height; ++i) {
    const int x = i % width, y = i / width;
    const std::uint8_t bgr[3] = {static_cast<std::uint8_t>(x * 10), static_cast<std::uint8_t>(y * 14),
                                 static_cast<std::uint8_t>((x * y) % 256)};
    for (int k = 0; k < 3; ++k) opaque[i * 4 + k] = alpha[i * 4 + k] = bgr[k];
    opaque[i * 4 + 3] = 255;
    alpha[i * 4 + 3] = static_cast<std::uint8_t>(x < 4 ? 0 : (x * 11 + y * 3) % 256);
  }
  const test::TBytes lossyAlpha = test::WriteWebP(width, height, alpha, false);
  const std::vector<std::uint8_t> small(alpha.begin(), alpha.begin() + 10 * 6 * 4);
  struct TCase {
    const char* Name;
    test::TBytes File;
  };
  const TCase cases[] = {
      {"lossy", test::WriteWebP(width, height, opaque, false, 60)},
      {"lossless-alpha", test::WriteWebP(width, height, alpha, true)},
      {"lossy-alpha", lossyAlpha},
      // A first frame of 10 x 6 at (4, 2) on a canvas of 24 x 18: the rest
      // of the canvas is transparent; the second frame is not drawn.
      {"animated", test::WriteAnimatedWebP(width, height,
                                           {{test::WriteWebP(10, 6, small, true), 4, 2},
                                            {test::WriteWebP(width, height, opaque, true), 0, 0}})},
  };
  test::TImagePlatform platform;
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const std::string name = std::string("C:\\W\\") + c.Name + ".webp";
    platform.Files.Files[name] = c.File;
    int w = 0, h = 0;
    const std::vector<std::uint8_t> reference = test::LibwebpDecode(c.File, w, h);
    ASSERT_EQ(w, width);
    ASSERT_EQ(h, height);
    const TPixelBuffer bitmap = Composed(name);
    ASSERT_EQ(bitmap.Width(), width);
    ASSERT_EQ(bitmap.Height(), height);
    int mismatches = 0, background = 0;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) {
        const std::uint8_t* p = &reference[(static_cast<std::size_t>(y) * width + x) * 4];
        const TColor expected = MakeColor(Over(p[2], p[3], ColorRed(kBackground)),
                                          Over(p[1], p[3], ColorGreen(kBackground)),
                                          Over(p[0], p[3], ColorBlue(kBackground)));
        mismatches += bitmap.GetPixel(x, y) != expected;
        background += bitmap.GetPixel(x, y) == kBackground;
      }
    EXPECT_EQ(mismatches, 0);
    if (std::string(c.Name) == "lossy") EXPECT_EQ(background, 0);
  }
  // Of the animation only the 10 x 6 frame at (4, 2), less its transparent
  // first 4 columns, is not background.
  const TPixelBuffer animated = Composed("C:\\W\\animated.webp");
  EXPECT_EQ(animated.GetPixel(3, 2), kBackground);
  EXPECT_EQ(animated.GetPixel(7, 2), kBackground);
  EXPECT_NE(animated.GetPixel(8, 2), kBackground);
  EXPECT_EQ(animated.GetPixel(8, 8), kBackground);
  EXPECT_EQ(animated.GetPixel(14, 3), kBackground);
}

TEST(PngWebPPicture, KnownByExtensionOrFirstBytesAndDamageFailsInTheFormatsWords) {
  test::TImagePlatform platform;
  test::TPngSpec s;
  s.Width = 5;
  s.Height = 3;
  s.Samples = Samples(5 * 3 * 3, 8, 1);
  const test::TBytes png = test::WritePngFile(s);
  std::vector<std::uint8_t> bgra(5 * 3 * 4, 200);
  for (std::size_t i = 3; i < bgra.size(); i += 4) bgra[i] = 255;
  const test::TBytes webp = test::WriteWebP(5, 3, bgra, true);
  auto& files = platform.Files.Files;
  files["C:\\W\\Photo.PNG"] = png;
  files["C:\\W\\Photo.WebP"] = webp;
  files["C:\\W\\TranscodedWallpaper"] = png;
  files["C:\\W\\webp"] = webp;
  files["C:\\W\\cut.png"] = test::TBytes(png.begin(), png.end() - 20);
  files["C:\\W\\cut.webp"] = test::TBytes(webp.begin(), webp.end() - 6);
  files["C:\\W\\jpeg.png"] = test::WriteJpeg(8, 8, 1, std::vector<std::uint8_t>(64, 9));
  files["C:\\W\\png.webp"] = png;
  test::TBytes badCrc = png;
  badCrc[40] ^= 0x55;  // inside the image data
  files["C:\\W\\crc.png"] = badCrc;

  for (const char* name : {"C:\\W\\Photo.PNG", "C:\\W\\TranscodedWallpaper", "C:\\W\\Photo.WebP", "C:\\W\\webp"}) {
    SCOPED_TRACE(name);
    TPicture picture;
    ASSERT_EQ(LoadError(picture, name), "loaded");
    EXPECT_EQ(picture.Width(), 5);
    EXPECT_EQ(picture.Height(), 3);
    // Opaque images hand their pixels over: the result is the background's
    // own only where the image has transparency.
    TPixelBuffer bitmap;
    EXPECT_TRUE(picture.Compose(bitmap, kBackground));
    EXPECT_EQ(bitmap.Width(), 5);
    EXPECT_EQ(bitmap.Data()[4] >> 24, 0u) << "a pixel with its alpha byte left";
  }
  EXPECT_EQ(ColorRed(Composed("C:\\W\\webp").GetPixel(2, 2)), 200u);

  TPicture picture;
  EXPECT_EQ(LoadError(picture, "C:\\W\\jpeg.png"), "PNG image is not valid");
  EXPECT_EQ(LoadError(picture, "C:\\W\\png.webp"), "WebP image is not valid");
  EXPECT_EQ(LoadError(picture, "C:\\W\\cut.webp"), "WebP image is not valid");
  // A sound header loads; the damage shows when the image is drawn, and the
  // bitmap keeps what it held.
  for (const char* name : {"C:\\W\\cut.png", "C:\\W\\crc.png"}) {
    SCOPED_TRACE(name);
    ASSERT_EQ(LoadError(picture, name), "loaded");
    TPixelBuffer bitmap(2, 2);
    bitmap.Fill(MakeColor(1, 2, 3));
    try {
      picture.Compose(bitmap, kBackground);
      ADD_FAILURE() << "no error";
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message(), "PNG image is not valid");
    }
    EXPECT_EQ(bitmap.Width(), 2);
    EXPECT_EQ(bitmap.GetPixel(1, 1), MakeColor(1, 2, 3));
  }
  // A header claiming more than the loader holds fails before decoding.
  test::TBytes huge = png;
  huge[16] = 0x00, huge[17] = 0x01, huge[18] = 0x00, huge[19] = 0x00;  // 65536 wide
  huge[20] = 0x00, huge[21] = 0x01, huge[22] = 0x00, huge[23] = 0x00;  // 65536 high
  files["C:\\W\\huge.png"] = huge;
  EXPECT_EQ(LoadError(picture, "C:\\W\\huge.png"), "Not enough memory for a bitmap of 65536 x 65536 pixels");
}

}  // namespace
}  // namespace bx
