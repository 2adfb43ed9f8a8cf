// A 61-megapixel photo through the whole path: stretched onto a 4K desktop
// it is held reduced, while the presets, the sampling points and the
// converted bitmap keep its own size; the picture dialog's preview holds a
// pane's pixels. The pixel buffers' peak is measured on the way.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "components/JpegImage.h"
#include "components/PicturePreview.h"
#include "tests/bench/PhotoJpeg.h"
#include "tests/unit/ImageTestSupport.h"
#include "tests/unit/PreviewFixture.h"

namespace bx {
namespace {

constexpr int kWidth = 9504, kHeight = 6336;

bool Near(TColor a, TColor b, int tolerance) {
  return std::abs(static_cast<int>(ColorRed(a)) - static_cast<int>(ColorRed(b))) <= tolerance &&
         std::abs(static_cast<int>(ColorGreen(a)) - static_cast<int>(ColorGreen(b))) <= tolerance &&
         std::abs(static_cast<int>(ColorBlue(a)) - static_cast<int>(ColorBlue(b))) <= tolerance;
}

std::uint32_t Read32(const std::vector<std::uint8_t>& v, std::size_t at) {
  return v[at] | (v[at + 1] << 8) | (v[at + 2] << 16) | (static_cast<std::uint32_t>(v[at + 3]) << 24);
}

class LargePhoto : public PreviewFixture {
 protected:
  static const test::TBytes& Photo() {
    static const test::TBytes file = test::MakeLargePhotoJpeg(kWidth, kHeight);
    return file;
  }
  static TColor Expected(int x, int y) { return test::LargePhotoColor(x, y, kWidth, kHeight); }
  // The photo stored as the wallpaper of a 3840 x 2160 desktop in `style`;
  // its path. The pixel buffers' peak counts from here.
  std::string StorePhoto(int style) {
    const std::string path = std::string(kWindows) + "camera.jpg";
    Files().WriteFile(path, Photo());
    System().SetMetric(kSmCxVirtualScreen, 3840);
    System().SetMetric(kSmCyVirtualScreen, 2160);
    StoreWallpaper(path, 0, style);
    TPixelBuffer::ResetPeakPixels();
    return path;
  }
};

TEST_F(LargePhoto, StretchedOnA4KDesktopIsHeldReducedAndConvertedWhole) {
  const std::string path = StorePhoto(2);
  const std::uint64_t before = TPixelBuffer::LivePixels();

  // Preview: decoded at 4/8, the smallest of libjpeg's scales that still
  // covers 3840 x 2160; the picture keeps its own size.
  TFrmBXMain& d = Dialog();
  ASSERT_EQ(d.FWallpaper, path);
  EXPECT_EQ(d.FImageBitmap->Width(), kWidth / 2);
  EXPECT_EQ(d.FImageBitmap->Height(), kHeight / 2);
  EXPECT_EQ(d.ImageWidth(), kWidth);
  EXPECT_EQ(d.ImageHeight(), kHeight);
  EXPECT_TRUE(Near(At(1920, 1080), Expected(kWidth / 2, kHeight / 2), 24));
  EXPECT_TRUE(Near(At(3839, 0), Expected(kWidth - 1, 0), 24));

  // Sampling: the top right point lies 5 pixels in from the photo's edges.
  d.FBGColorOption = 3;
  d.UpdatePreview();
  EXPECT_TRUE(Near(d.FBackgroundColor, Expected(kWidth - 5, 5), 24));
  d.FBGColorOption = 0;

  // The bottom right preset in the photo's own pixels.
  d.BitBtnOriginBR.Click();
  EXPECT_EQ(d.FOriginX, 3840 - kWidth);
  EXPECT_EQ(d.FOriginY, 2160 - kHeight);
  d.BitBtnOriginC.Click();

  // The picture dialog's preview: the pane's pixels, the photo's size.
  TPicturePreview preview;
  ASSERT_TRUE(MakePicturePreview(path, 180, 200, MakeColor(192, 192, 192), preview));
  EXPECT_EQ(preview.Width, kWidth);
  EXPECT_EQ(preview.Height, kHeight);
  EXPECT_EQ(preview.Pixels.Width(), 180);
  EXPECT_EQ(preview.Pixels.Height(), 120);
  EXPECT_TRUE(Near(preview.Pixels.GetPixel(90, 60), Expected(kWidth / 2, kHeight / 2), 24));

  // Apply: the converted bitmap is the photo at its own size, as libjpeg
  // decodes it whole, made without a bitmap of that size.
  d.ApplySettings();
  ASSERT_EQ(d.FWallpaper, ConvertedPath());
  const std::vector<std::uint8_t> bmp = Files().ReadFile(ConvertedPath());
  ASSERT_GE(bmp.size(), 54u);
  EXPECT_EQ(Read32(bmp, 18), static_cast<std::uint32_t>(kWidth));
  EXPECT_EQ(Read32(bmp, 22), static_cast<std::uint32_t>(kHeight));
  const std::uint64_t peak = TPixelBuffer::PeakPixels() - before;
  const std::uint32_t offset = Read32(bmp, 10), stride = (kWidth * 3 + 3) & ~3u;
  int mismatches = 0;
  DecodeJpegRows(Photo(), false, [&](int y, const TPixel* row) {
    const std::uint8_t* p = bmp.data() + offset + static_cast<std::size_t>(kHeight - 1 - y) * stride;
    for (int x = 0; x < kWidth; ++x, p += 3)
      if (MakePixel(p[2], p[1], p[0]) != row[x]) ++mismatches;
  });
  EXPECT_EQ(mismatches, 0);
  // The image bitmap still holds the reduced photo the preview shows.
  EXPECT_EQ(d.FImageBitmap->Width(), kWidth / 2);

  // What was held: never a buffer of the photo's size, only the reduced
  // photo and the desktop-size pictures (the preview's, the stretched
  // copy's, and one more while it is replaced); with the file, the
  // converted file's bytes and the kept copy of the file it stays within
  // 512 MiB.
  EXPECT_LE(peak, (kWidth / 2) * (kHeight / 2) + 3 * 3840 * 2160);
  const std::uint64_t whole = peak * sizeof(TPixel) + bmp.size() + 2 * Photo().size();
  EXPECT_LT(whole, 512ull << 20);
  std::printf("61 MP photo stretched on 3840 x 2160: pixel buffers peak %.1f MiB, "
              "converted file %.1f MiB, JPEG %.1f MiB, path %.1f MiB\n",
              peak * 4.0 / (1 << 20), bmp.size() / 1048576.0, Photo().size() / 1048576.0,
              whole / 1048576.0);
}

TEST_F(LargePhoto, PlacedAtItsOwnSizeIsHeldAsABandOfWhatTheDesktopShows) {
  const std::string path = StorePhoto(0);
  const std::uint64_t before = TPixelBuffer::LivePixels();
  // The photo's rows as libjpeg decodes it whole, for comparison.
  std::vector<std::vector<TPixel>> rows(kHeight);
  auto expectDesktopShows = [&](int left, int top) {
    int mismatches = 0;
    for (int y = 0; y < 2160; y += 7)
      for (int x = 0; x < 3840; ++x)
        if (At(x, y) != PixelToColor(rows[y - top][x - left])) ++mismatches;
    EXPECT_EQ(mismatches, 0);
  };

  // Centred: the desktop shows rows 2088 up to 4248; the band holds 2^25
  // pixels of whole rows (3530) around them.
  TFrmBXMain& d = Dialog();
  ASSERT_EQ(d.FWallpaper, path);
  EXPECT_EQ(d.FImageBitmap->Width(), kWidth);
  EXPECT_EQ(d.FImageBitmap->Height(), 3530);
  EXPECT_EQ(d.ImageTop(), 2088 - (3530 - 2160) / 2);
  EXPECT_EQ(d.ImageWidth(), kWidth);
  EXPECT_EQ(d.ImageHeight(), kHeight);
  const std::uint64_t peak = TPixelBuffer::PeakPixels() - before;
  DecodeJpegRows(Photo(), false, [&](int y, const TPixel* row) { rows[y].assign(row, row + kWidth); });
  expectDesktopShows(1920 - kWidth / 2, 1080 - kHeight / 2);

  // Moved within the band: not decoded again. To the bottom right: the band
  // follows, and the desktop shows the photo's last rows.
  const int composed = d.FPictureCache.ComposeCount();
  d.SpinEditOriginY.SetValue(-2088 - 400);
  EXPECT_EQ(d.FPictureCache.ComposeCount(), composed);
  d.BitBtnOriginBR.Click();
  EXPECT_EQ(d.FOriginY, 2160 - kHeight);
  EXPECT_EQ(d.FPictureCache.ComposeCount(), composed + 1);
  EXPECT_EQ(d.ImageTop() + d.FImageBitmap->Height(), kHeight);
  expectDesktopShows(3840 - kWidth, 2160 - kHeight);

  // Sampling a point outside the band reads it from the file: the top left
  // point, 5 pixels in from the photo's edges.
  d.FBGColorOption = 2;
  d.UpdatePreview();
  EXPECT_EQ(d.FBackgroundColor, PixelToColor(rows[5][5]));
  d.FBGColorOption = 0;

  // Never a buffer of the photo's size: the band and desktop-size pictures.
  EXPECT_LE(peak, 3530u * kWidth + 3u * 3840 * 2160);
  std::printf("61 MP photo centred on 3840 x 2160: pixel buffers peak %.1f MiB, JPEG %.1f MiB\n",
              peak * 4.0 / (1 << 20), Photo().size() / 1048576.0);
}

TEST(PicturePreview, FitsThePaneAndSkipsCloudPlaceholders) {
  test::TImagePlatform platform;
  const std::string path = "C:\\Pictures\\wide.jpg";
  platform.Files.Files[path] = test::MakeLargePhotoJpeg(2000, 1000);
  TPicturePreview preview;
  TPixelBuffer::ResetPeakPixels();
  const std::uint64_t before = TPixelBuffer::LivePixels();
  ASSERT_TRUE(MakePicturePreview(path, 150, 200, MakeColor(0, 0, 0), preview));
  EXPECT_EQ(preview.Pixels.Width(), 150);
  EXPECT_EQ(preview.Pixels.Height(), 75);
  EXPECT_EQ(preview.Width, 2000);
  EXPECT_EQ(preview.Height, 1000);
  // Decoded at 1/8 (250 x 125), then averaged into the pane.
  EXPECT_LE(TPixelBuffer::PeakPixels() - before, 250u * 125u + 150u * 75u);
  EXPECT_TRUE(Near(preview.Pixels.GetPixel(0, 0), test::LargePhotoColor(6, 6, 2000, 1000), 24));
  // A small picture is not enlarged; an empty box shows nothing.
  ASSERT_TRUE(MakePicturePreview(path, 4000, 4000, 0, preview));
  EXPECT_EQ(preview.Pixels.Width(), 2000);
  EXPECT_FALSE(MakePicturePreview(path, 0, 100, 0, preview));

  EXPECT_TRUE(IsCloudPlaceholder(0x400000));  // recall on data access
  EXPECT_TRUE(IsCloudPlaceholder(0x40000));   // recall on open
  EXPECT_TRUE(IsCloudPlaceholder(0x1000 | 0x20));
  EXPECT_FALSE(IsCloudPlaceholder(0x20 | 0x01 | 0x80));
}

}  // namespace
}  // namespace bx
