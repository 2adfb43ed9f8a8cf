#include <gtest/gtest.h>

#include <string>

#include "components/BmpImage.h"
#include "components/Picture.h"
#include "platform/Errors.h"
#include "platform/FileNames.h"
#include "tests/unit/ImageTestSupport.h"
#include "tests/unit/ImageWriters.h"

namespace bx {
namespace {

std::string LoadError(TPicture& picture, const std::string& name) {
  try {
    picture.LoadFromFile(name);
  } catch (const Exception& e) {
    return e.Message();
  }
  return "loaded";
}

test::TBytes SmallBmp(int width, int height, TColor color) {
  test::TDibSpec s;
  s.Width = width;
  s.Height = height;
  s.BitCount = 24;
  s.Bits = test::PackDibRows(width, height, 24,
                             std::vector<std::uint32_t>(width * height, ColorToPixel(color)), false);
  return test::WriteBmp(s);
}

TEST(Picture, ChoosesTheDecoderByExtension) {
  test::TImagePlatform platform;
  const test::TBytes jpeg = test::WriteJpeg(24, 16, 3, test::GradientSamples(24, 16));
  platform.Files.Files["C:\\Pictures\\Photo.JPG"] = jpeg;
  platform.Files.Files["C:\\Pictures\\Photo.Jpeg"] = jpeg;
  platform.Files.Files["C:\\Pictures\\photo.jpe"] = jpeg;
  platform.Files.Files["C:\\Pictures\\photo"] = test::TBytes{'n', 'o', 'n', 'e'};
  platform.Files.Files["C:\\my.pictures\\photo"] = test::TBytes{};
  platform.Files.Files["C:\\Pictures\\Wall.GiF"] = test::WriteGif({9, 7, {MakeColor(1, 2, 3), MakeColor(4, 5, 6)}, {}});
  platform.Files.Files["C:\\Pictures\\Wall.bmp"] = SmallBmp(3, 2, MakeColor(7, 8, 9));

  for (const char* name : {"C:\\Pictures\\Photo.JPG", "C:\\Pictures\\Photo.Jpeg"}) {
    SCOPED_TRACE(name);
    TPicture picture;
    EXPECT_EQ(LoadError(picture, name), "loaded");
    EXPECT_FALSE(picture.Empty());
    EXPECT_EQ(picture.Width(), 24);
    EXPECT_EQ(picture.Height(), 16);
    TPixelBuffer target(24, 16);
    target.Fill(MakeColor(255, 0, 0));
    picture.Draw(target, 0, 0);
    EXPECT_NEAR(ColorGreen(target.GetPixel(0, 15)), 255, 12);
  }
  TPicture picture;
  EXPECT_EQ(LoadError(picture, "C:\\Pictures\\photo.jpe"), "Unknown picture file extension (.jpe)");
  EXPECT_EQ(LoadError(picture, "C:\\Pictures\\photo"), "Unknown picture file extension (.)");
  EXPECT_EQ(LoadError(picture, "C:\\my.pictures\\photo"), "Unknown picture file extension (.)");
  EXPECT_EQ(LoadError(picture, "C:\\Pictures\\absent.bmp"), "Cannot open file C:\\Pictures\\absent.bmp");
  EXPECT_TRUE(picture.Empty());
  EXPECT_EQ(picture.Width(), 0);

  EXPECT_EQ(LoadError(picture, "C:\\Pictures\\Wall.GiF"), "loaded");
  EXPECT_TRUE(picture.Empty());
  EXPECT_EQ(picture.Width(), 9);
  EXPECT_EQ(LoadError(picture, "C:\\Pictures\\Wall.bmp"), "loaded");
  EXPECT_EQ(picture.Width(), 3);

  EXPECT_EQ(FileExtension("a/b.c\\d.Ext"), "Ext");
  EXPECT_EQ(FileExtension("D:name.gif"), "gif");
  EXPECT_EQ(FileExtension("D:.x:name"), "");
  EXPECT_EQ(FileExtension("name."), "");
}

// Today's Windows stores its wallpaper as a copy without an extension.
TEST(Picture, ANameWithoutExtensionIsKnownByItsFirstBytes) {
  test::TImagePlatform platform;
  const test::TBytes jpeg = test::WriteJpeg(24, 16, 3, test::GradientSamples(24, 16));
  const std::pair<const char*, test::TBytes> images[] = {
      {"C:\\Themes\\TranscodedWallpaper", jpeg},
      {"C:\\Themes\\bitmap", SmallBmp(3, 2, MakeColor(7, 8, 9))},
      {"C:\\Themes\\gif.", test::WriteGif({9, 7, {MakeColor(1, 2, 3)}, {}})},
      {"C:\\Themes\\icon", test::WriteIco({{32, 32, 32, std::vector<std::uint32_t>(32 * 32)}})},
  };
  const std::pair<int, int> sizes[] = {{24, 16}, {3, 2}, {9, 7}, {32, 32}};
  for (std::size_t i = 0; i < std::size(images); ++i) {
    SCOPED_TRACE(images[i].first);
    platform.Files.Files[images[i].first] = images[i].second;
    TPicture picture;
    EXPECT_EQ(LoadError(picture, images[i].first), "loaded");
    EXPECT_EQ(picture.Width(), sizes[i].first);
    EXPECT_EQ(picture.Height(), sizes[i].second);
  }
  // Metafiles reach their decoder, which has no player in this build.
  platform.Files.Files["C:\\Themes\\emf"] = test::WriteEmf(0, 0, 2540, 2540, 1024, 768, 320, 240);
  platform.Files.Files["C:\\Themes\\wmf"] = test::WritePlaceableWmf(0, 0, 1440, 1440, 1440);
  TPicture picture;
  EXPECT_EQ(LoadError(picture, "C:\\Themes\\emf"), "Metafile is not valid");
  EXPECT_EQ(LoadError(picture, "C:\\Themes\\wmf"), "Metafile is not valid");
  // Content that is none of the formats, and a known picture behind an
  // unknown extension, fail as before.
  platform.Files.Files["C:\\Themes\\notes"] = test::TBytes{'B', 'x', 'M', 'P'};
  platform.Files.Files["C:\\Themes\\photo.tga"] = jpeg;
  EXPECT_EQ(LoadError(picture, "C:\\Themes\\notes"), "Unknown picture file extension (.)");
  EXPECT_EQ(LoadError(picture, "C:\\Themes\\photo.tga"), "Unknown picture file extension (.tga)");
  EXPECT_EQ(LoadError(picture, "C:\\Themes\\absent"), "Cannot open file C:\\Themes\\absent");
}

TEST(Picture, FailedLoadKeepsWhatItHeld) {
  test::TImagePlatform platform;
  platform.Files.Files["good.bmp"] = SmallBmp(3, 2, MakeColor(7, 8, 9));
  platform.Files.Files["bad.bmp"] = {'B', 'M', 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
  platform.Files.Files["bad.gif"] = {'G', 'I', 'F', '8'};
  TPicture picture;
  ASSERT_EQ(LoadError(picture, "good.bmp"), "loaded");
  EXPECT_EQ(LoadError(picture, "bad.bmp"), "Bitmap image is not valid");
  EXPECT_EQ(LoadError(picture, "bad.gif"), "Premature end of data");
  EXPECT_EQ(LoadError(picture, "missing.jpg"), "Cannot open file missing.jpg");
  EXPECT_EQ(LoadError(picture, "bad.tif"), "Unknown picture file extension (.tif)");
  EXPECT_EQ(picture.Width(), 3);
  EXPECT_EQ(picture.Height(), 2);
  TPixelBuffer target(3, 2);
  picture.Draw(target, 0, 0);
  EXPECT_EQ(target.GetPixel(2, 1), MakeColor(7, 8, 9));
}

TEST(Picture, FormatTableInItsOrderAndLaterEntriesWin) {
  std::vector<std::string> extensions;
  for (const TFileFormat& f : TPicture::FileFormats()) extensions.push_back(f.Extension);
  EXPECT_EQ(extensions, (std::vector<std::string>{"wmf", "emf", "ico", "bmp", "jpeg", "jpg", "gif", "png", "webp"}));

  test::TImagePlatform platform;
  platform.Files.Files["x.Tst"] = SmallBmp(2, 2, MakeColor(1, 1, 1));
  TPicture::RegisterFileFormat("TST", "Test", [] { return std::unique_ptr<TGraphic>(); });
  TPicture::RegisterFileFormat("tst", "Test", [] {
    return std::unique_ptr<TGraphic>(new TBitmap());
  });
  TPicture picture;
  EXPECT_EQ(LoadError(picture, "x.Tst"), "loaded");
  EXPECT_EQ(picture.Width(), 2);
}

}  // namespace
}  // namespace bx
