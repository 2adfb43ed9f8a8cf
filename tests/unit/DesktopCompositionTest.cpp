// The desktop composed where it cannot place the image itself: which
// placements each desktop shows, the composed picture tiled from the
// primary monitor, and Apply writing it while the settings stay the user's.
#include <gtest/gtest.h>

#include "dialogs/main/DesktopComposition.h"
#include "dialogs/main/PreviewScene.h"
#include "settings/BitmapFile.h"
#include "tests/unit/DialogFixture.h"
#include "tests/unit/ImageWriters.h"

namespace bx {
namespace {

using enum TWallpaperHost;

constexpr TDesktopLayout kOne{Windows, 0, 0, 1024, 768, 1024, 768};
// A 1280 x 1024 monitor left of a 1024 x 768 primary.
constexpr TDesktopLayout kTwo{Windows, -1280, 0, 2304, 1024, 1024, 768};

TDesktopLayout On(TWallpaperHost host, TDesktopLayout layout) {
  layout.Host = host;
  return layout;
}

TEST(DesktopComposition, WhatEachDesktopPlacesItself) {
  const TPlacementValues centre{0, 0, 0, 0}, tile{1, 0, 0, 0}, stretch{0, 2, 0, 0},
      stretchTiled{1, 3, 0, 0}, fill{0, 10, 0, 0}, span{0, 22, 0, 0};
  struct TCase {
    const char* What;
    TDesktopLayout Layout;
    TPlacementValues Placement;
    int Width, Height;
    bool Composes;
  } cases[] = {
      {"classic: an origin is the desktop's", On(Classic, kOne), {0, 0, 5, 0}, 100, 76, false},
      {"classic: stretched and tiled", On(Classic, kOne), stretchTiled, 100, 76, false},
      {"windows: centre", kOne, centre, 100, 76, false},
      {"windows: an odd picture centres a pixel apart", kOne, centre, 101, 76, true},
      {"windows: an odd desktop centres alike", On(Windows, {Windows, 0, 0, 1023, 767, 1023, 767}),
       centre, 101, 77, false},
      {"windows: larger than the desktop", kOne, centre, 2000, 76, true},
      {"windows: centre on two monitors", kTwo, centre, 100, 76, true},
      {"windows: origin", kOne, {0, 0, 0, -3}, 100, 76, true},
      {"windows: tile", kOne, tile, 101, 77, false},
      {"windows: tiles from the primary, 1280 = 10 tiles", kTwo, tile, 128, 128, false},
      {"windows: tiles from the primary, 1280 = 12.8 tiles", kTwo, tile, 100, 128, true},
      {"windows: stretch", kOne, stretch, 100, 76, false},
      {"windows: stretch onto each of two monitors", kTwo, stretch, 100, 76, true},
      {"windows: stretched and tiled", kOne, stretchTiled, 100, 76, true},
      {"windows: a style of nobody's", kOne, {0, 4, 0, 0}, 100, 76, true},
      {"windows: fill", kTwo, fill, 100, 76, false},
      {"windows: span", kTwo, span, 100, 76, false},
      {"wine: centre, on the colour the desktop started with", On(Wine, kOne), centre, 1024, 768,
       true},
      {"wine: tile", On(Wine, kOne), tile, 101, 77, false},
      {"wine: stretch", On(Wine, kOne), stretch, 100, 76, true},
      {"wine: fill", On(Wine, kOne), fill, 100, 76, true},
      {"wine: origin", On(Wine, kOne), {1, 0, 7, 0}, 100, 76, true},
      {"a desktop of unknown size", On(Wine, {Wine, 0, 0, 0, 0, 0, 0}), {0, 0, 7, 7}, 100, 76,
       false},
      {"no picture", kOne, {0, 0, 7, 7}, 0, 0, false},
  };
  for (const TCase& c : cases)
    EXPECT_EQ(ComposesDesktop(c.Layout, c.Placement, c.Width, c.Height), c.Composes) << c.What;
  // What a stored placement means before any image is known.
  EXPECT_EQ(DesktopShows(kOne, centre), TDesktopShows::BySize);
  EXPECT_EQ(DesktopShows(kOne, tile), TDesktopShows::Itself);
  EXPECT_EQ(DesktopShows(kTwo, tile), TDesktopShows::BySize);
  EXPECT_EQ(DesktopShows(kOne, {0, 0, 1, 0}), TDesktopShows::Composed);
}

// Each pixel's colour tells where in the scene it is.
TPixel At(int x, int y) { return static_cast<TPixel>(x * 256 + y); }

TPixelBuffer NumberedImage(int width, int height) {
  TPixelBuffer image(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) image.Scanline(y)[x] = At(x, y);
  return image;
}

TEST(DesktopComposition, WindowsTilesItFromThePrimaryMonitorOnEveryLayout) {
  // Small desktops: a 40 x 30 primary, a 24 x 20 monitor left of it at
  // (-24, 5); with a third, 20 x 12, above the primary at (10, -12).
  const TDesktopLayout two{Windows, -24, 0, 64, 30, 40, 30};
  const TDesktopLayout three{Windows, -24, -12, 64, 42, 40, 30};
  for (const TDesktopLayout& layout : {two, three}) {
    TPreviewScene scene(layout.Width, layout.Height);
    const TPixelBuffer image = NumberedImage(layout.Width, layout.Height);
    scene.SetImage(image, nullptr, 0, 0, false);
    std::vector<std::vector<TPixel>> bitmap;
    ComposeDesktopRows(scene, layout, [&](int y, const TPixel* row) {
      EXPECT_EQ(y, static_cast<int>(bitmap.size()));
      bitmap.emplace_back(row, row + layout.Width);
    });
    ASSERT_EQ(bitmap.size(), static_cast<std::size_t>(layout.Height));
    // The primary's top left corner is the bitmap's first pixel and the
    // scene's (24, 12) (three monitors) or (24, 0) (two).
    EXPECT_EQ(bitmap[0][0], At(24, -layout.Top));
    // The left monitor's top left corner, at (-24, 5): the bitmap's
    // (64 - 24, 5) and the scene's (0, 5 - Top).
    EXPECT_EQ(bitmap[5][40], At(0, 5 - layout.Top));
    // Every desktop pixel, as a desktop tiling from the primary shows it.
    for (int vy = layout.Top; vy < layout.Top + layout.Height; ++vy)
      for (int vx = layout.Left; vx < layout.Left + layout.Width; ++vx) {
        const int bx = (vx % layout.Width + layout.Width) % layout.Width;
        const int by = (vy % layout.Height + layout.Height) % layout.Height;
        ASSERT_EQ(bitmap[by][bx], At(vx - layout.Left, vy - layout.Top)) << vx << "," << vy;
      }
  }
  // Wine shows it from its top left: as the scene is.
  TPreviewScene scene(8, 4);
  const TPixelBuffer image = NumberedImage(8, 4);
  scene.SetImage(image, nullptr, 0, 0, false);
  ComposeDesktopRows(scene, {Wine, -3, -1, 8, 4, 5, 3}, [&](int y, const TPixel* row) {
    for (int x = 0; x < 8; ++x) ASSERT_EQ(row[x], At(x, y));
  });
}

constexpr const char* kPictures = "C:\\Pictures\\";
constexpr TColor kBlue = MakeColor(0, 0, 255);

class ComposedDesktop : public DialogFixture {
 protected:
  ComposedDesktop() {
    Files().CreateDirectory(kPictures);
    // A 16 x 8 bitmap, blue; another of 15 x 8.
    for (const auto& [path, width] : {std::pair{Photo(), 16}, std::pair{OddPhoto(), 15}}) {
      TPixelBuffer picture(width, 8);
      picture.Fill(kBlue);
      Files().WriteFile(path, EncodeBitmapFile(picture, path));
    }
    SetOwnText("WallpaperFolder", kPictures);
    SetColors("Background", "0 128 0");
    System().WallpaperHost = TWallpaperHost::Wine;
  }
  static std::string Photo() { return std::string(kPictures) + "photo.bmp"; }
  static std::string OddPhoto() { return std::string(kPictures) + "odd.bmp"; }
  TFrmBXMain& Reopen() {
    Form.reset();
    return Dialog();
  }
  TFrmBXMain& Choose(const std::string& path) {
    TFrmBXMain& d = Dialog();
    d.FWallpaper = path;
    d.FWallpaperOrg = path;
    d.UpdatePreview();
    return d;
  }
  std::vector<std::uint8_t> Converted() { return Files().ReadFile(ConvertedPath()); }
};

std::uint32_t Read32(const std::vector<std::uint8_t>& v, std::size_t at) {
  return v[at] | (v[at + 1] << 8) | (v[at + 2] << 16) | (static_cast<std::uint32_t>(v[at + 3]) << 24);
}
TColor BmpPixel(const std::vector<std::uint8_t>& file, int x, int y) {
  const std::uint32_t width = Read32(file, 18), height = Read32(file, 22);
  const std::size_t at = Read32(file, 10) + (height - 1 - y) * ((width * 3 + 3) & ~3u) + x * 3;
  return MakeColor(file[at + 2], file[at + 1], file[at]);
}

TEST_F(ComposedDesktop, AnOriginIsAppliedAsThePreviewShowsItAndTheSettingsStayTheUsers) {
  TFrmBXMain& d = Choose(Photo());
  d.CheckBoxSaveToDefUser.SetChecked(true);
  d.SpinEditOriginX.SetValue(100);
  d.SpinEditOriginY.SetValue(-4);
  d.ApplySettings();
  EXPECT_TRUE(MessageTexts().empty());
  // The desktop gets the composed picture, the user's values and image stay.
  EXPECT_EQ(Desktop("Wallpaper"), ConvertedPath());
  EXPECT_EQ(DefaultUserDesktop("Wallpaper"), DefaultUserConvertedPath());
  EXPECT_EQ(Desktop("WallPaperOriginX"), "100");
  EXPECT_EQ(Desktop("WallPaperOriginY"), "-4");
  EXPECT_EQ(Desktop("TileWallpaper"), "0");
  EXPECT_EQ(d.FWallpaper, Photo());
  EXPECT_EQ(OwnText("WallpaperOrg"), Photo());
  const std::vector<std::uint8_t> bmp = Converted();
  ASSERT_GE(bmp.size(), 54u);
  EXPECT_EQ(Read32(bmp, 18), 1024u);
  EXPECT_EQ(Read32(bmp, 22), 768u);
  EXPECT_EQ(BmpPixel(bmp, 100, 0), kBlue);
  EXPECT_EQ(BmpPixel(bmp, 115, 3), kBlue);
  EXPECT_EQ(BmpPixel(bmp, 116, 3), MakeColor(0, 128, 0));
  EXPECT_EQ(BmpPixel(bmp, 99, 0), MakeColor(0, 128, 0));
  EXPECT_EQ(BmpPixel(bmp, 100, 4), MakeColor(0, 128, 0));
  EXPECT_EQ(Files().ReadFile(DefaultUserConvertedPath()), bmp);

  // A second apply gives the same desktop.
  d.ApplySettings();
  EXPECT_EQ(Converted(), bmp);

  // Reopened: the image, its origin, and its preview rather than the picture made of it.
  TFrmBXMain& again = Reopen();
  EXPECT_EQ(again.FWallpaper, Photo());
  // The list: "(none)", "odd.bmp", "photo.bmp".
  EXPECT_EQ(again.ListBoxWallpapers.ItemIndex(), 2);
  EXPECT_EQ(again.SpinEditOriginX.Value(), 100);
  EXPECT_EQ(again.ImageWidth(), 16);
  again.ApplySettings();
  EXPECT_EQ(Converted(), bmp);

  // Without the origin today's Windows centres the image itself.
  System().WallpaperHost = TWallpaperHost::Windows;
  again.SpinEditOriginX.SetValue(0);
  again.SpinEditOriginY.SetValue(0);
  again.ApplySettings();
  EXPECT_EQ(Desktop("Wallpaper"), Photo());
  EXPECT_FALSE(Files().FileExists(ConvertedPath()));
  // An odd width would be centred a pixel left of the preview's place.
  again.FWallpaper = OddPhoto();
  again.UpdatePreview();
  again.ApplySettings();
  EXPECT_EQ(Desktop("Wallpaper"), ConvertedPath());
  EXPECT_EQ(BmpPixel(Converted(), 1024 / 2 - 15 / 2, 768 / 2 - 4), kBlue);
  EXPECT_EQ(BmpPixel(Converted(), 1024 / 2 - 15 / 2 - 1, 768 / 2 - 4), MakeColor(0, 128, 0));
}

TEST_F(ComposedDesktop, BadDesktopsAndFailedWritesLoseNothing) {
  // A virtual screen 16,384 pixels wide, an origin far outside it, a 1 x 1 image.
  System().SetMetric(kSmCxVirtualScreen, 16384);
  System().SetMetric(kSmCyVirtualScreen, 4);
  const std::string dot = std::string(kPictures) + "dot.bmp";
  Files().WriteFile(dot, EncodeBitmapFile(TPixelBuffer(1, 1), dot));
  TFrmBXMain& d = Choose(dot);
  d.SpinEditOriginX.SetValue(2000000000);
  d.ApplySettings();
  std::vector<std::uint8_t> bmp = Converted();
  EXPECT_EQ(Read32(bmp, 18), 16384u);
  EXPECT_EQ(Read32(bmp, 22), 4u);
  EXPECT_EQ(BmpPixel(bmp, 16383, 0), MakeColor(0, 128, 0));

  // A desktop whose size cannot be read gets the image.
  System().SetMetric(kSmCxVirtualScreen, 0);
  System().SetMetric(kSmCyVirtualScreen, 0);
  Reopen().ApplySettings();
  EXPECT_EQ(Desktop("Wallpaper"), dot);
  EXPECT_FALSE(Files().FileExists(ConvertedPath()));

  // A composition that cannot be written: the registry and the wallpaper stay.
  System().SetMetric(kSmCxVirtualScreen, 64);
  System().SetMetric(kSmCyVirtualScreen, 48);
  TFrmBXMain& failing = Reopen();
  Files().CreateDirectory(ConvertedPath());
  failing.SpinEditOriginX.SetValue(3);
  EXPECT_THROW(failing.ApplySettings(), std::exception);
  EXPECT_EQ(Desktop("Wallpaper"), dot);
  EXPECT_EQ(Desktop("WallPaperOriginX"), "2000000000");
  EXPECT_EQ(failing.FWallpaper, dot);
}

}  // namespace
}  // namespace bx
