#include <gtest/gtest.h>

#include <tuple>

#include "PreviewFixture.h"
#include "components/PictureReduction.h"
#include "tests/unit/ImageWriters.h"

namespace bx {
namespace {

constexpr TColor kTeal = MakeColor(0, 128, 128);

class PreviewTest : public PreviewFixture {
 protected:
  PreviewTest() { SetColors("Background", "0 128 128"); }

  // The whole preview as colours, for comparing two compositions.
  std::vector<TColor> Snapshot() {
    std::vector<TColor> pixels;
    for (int y = 0; y < Preview().Height(); ++y)
      for (int x = 0; x < Preview().Width(); ++x) pixels.push_back(At(x, y));
    return pixels;
  }
};

TEST_F(PreviewTest, SingleCopyIsCentredOrAtTheOrigin) {
  StoreWallpaper(WriteImage("logo.bmp", 101, 51));
  TFrmBXMain& d = Dialog();
  ASSERT_EQ(Preview().Width(), 1024);
  ASSERT_EQ(Preview().Height(), 768);
  EXPECT_TRUE(MessageTexts().empty());
  EXPECT_EQ(d.FImageBitmap->Width(), 101);
  // Centred: (462, 359)-(563, 410).
  EXPECT_EQ(At(462, 359), Coded(0, 0));
  EXPECT_EQ(At(562, 409), Coded(100, 50));
  EXPECT_EQ(At(500, 380), Coded(38, 21));
  for (auto [x, y] : {std::pair{461, 359}, {462, 358}, {563, 409}, {562, 410}, {0, 0}})
    EXPECT_EQ(At(x, y), kTeal) << x << "," << y;

  // Origin (5, 0): left edge at 5, still centred vertically.
  d.SpinEditOriginX.SetValue(5);
  EXPECT_EQ(d.FOriginX, 5);
  EXPECT_EQ(At(5, 359), Coded(0, 0));
  EXPECT_EQ(At(105, 409), Coded(100, 50));
  EXPECT_EQ(At(4, 359), kTeal);
  EXPECT_EQ(At(462, 359), kTeal);
  EXPECT_FALSE(PreviewBusy);

  // Far off the desktop (even where origin plus size leaves 32 bits) only
  // the pattern shows.
  d.SpinEditOriginX.SetValue(2147483600);
  EXPECT_EQ(At(1023, 380), kTeal);
  d.SpinEditOriginX.SetValue(-2147483600);
  EXPECT_EQ(At(0, 380), kTeal);
}

TEST_F(PreviewTest, TilesStartOneTileBeforeTheOrigin) {
  StoreWallpaper(WriteImage("logo.bmp", 101, 51), 1, 0, 5, 0);
  TFrmBXMain& d = Dialog();
  EXPECT_EQ(d.FTileWallpaper, 1);
  // Columns at -96, 5, 106, ...; rows at 0, 51, ...
  EXPECT_EQ(At(0, 0), Coded(96, 0));
  EXPECT_EQ(At(4, 0), Coded(100, 0));
  EXPECT_EQ(At(5, 0), Coded(0, 0));
  EXPECT_EQ(At(106, 0), Coded(0, 0));
  EXPECT_EQ(At(5, 51), Coded(0, 0));
  EXPECT_EQ(At(1023, 767), Coded((1023 - 5) % 101, 767 % 51));
  // Origin (-30, 7): columns at -30, 71, ...; rows from 7 - 51 = -44.
  d.SpinEditOriginX.SetValue(-30);
  d.SpinEditOriginY.SetValue(7);
  EXPECT_EQ(At(0, 0), Coded(30, 44));
  EXPECT_EQ(At(71, 7), Coded(0, 0));
  EXPECT_EQ(At(70, 6), Coded(100, 50));
  // A huge origin is placed by its remainder, at once.
  d.SpinEditOriginX.SetValue(2000000005);
  EXPECT_EQ(At(0, 0), Coded(2000000005 % 101 == 0 ? 0 : 101 - 2000000005 % 101, 44));
}

TEST_F(PreviewTest, StretchedCopiesCoverFromTheOrigin) {
  StoreWallpaper(WriteImage("logo.bmp", 101, 51), 0, 2, 100, 0);
  TFrmBXMain& d = Dialog();
  EXPECT_EQ(d.FWallpaperStyle, 2);
  // (100, 0)-(1124, 768), clipped at the right; columns 0 to 99 the pattern.
  EXPECT_EQ(At(100, 0), Coded(0, 0));
  EXPECT_EQ(At(99, 0), kTeal);
  EXPECT_EQ(At(0, 767), kTeal);
  EXPECT_EQ(At(1023, 767), Coded(923 * 101 / 1024, 767 * 51 / 768));
  EXPECT_EQ(At(612, 384), Coded(512 * 101 / 1024, 384 * 51 / 768));

  // Stretched and tiled: a second copy from -924 to 100 covers the rest.
  d.RadioButtonTile.SetChecked(true);
  EXPECT_EQ(d.FWallpaperStyle, 3);
  EXPECT_EQ(At(0, 0), Coded(924 * 101 / 1024, 0));
  EXPECT_EQ(At(99, 767), Coded(1023 * 101 / 1024, 767 * 51 / 768));
  EXPECT_EQ(At(100, 0), Coded(0, 0));
  const std::vector<TColor> style3 = Snapshot();

  // Moving the stretched image scales nothing again; a new image does.
  const int scaled = d.FPictureCache.ScaleCount();
  d.SpinEditOriginX.SetValue(200);
  EXPECT_EQ(d.FPictureCache.ScaleCount(), scaled);
  EXPECT_EQ(At(200, 0), Coded(0, 0));
  EXPECT_EQ(At(199, 0), Coded(1023 * 101 / 1024, 0));
  d.FWallpaper = WriteImage("other.bmp", 50, 60);
  d.UpdatePreview();
  EXPECT_EQ(d.FPictureCache.ScaleCount(), scaled + 1);
  EXPECT_EQ(At(1023, 767), Coded(823 * 50 / 1024, 767 * 60 / 768));
  d.FWallpaper = std::string(kWindows) + "logo.bmp";
  d.SpinEditOriginX.SetValue(100);

  // Tile 1 with style 2 (possible only from code) draws as style 3.
  d.FTileWallpaper = 1;
  d.FWallpaperStyle = 2;
  d.UpdatePreview();
  EXPECT_EQ(Snapshot(), style3);
}

TEST_F(PreviewTest, PatternIsAnchoredAtTheCorner) {
  SetDesktop("Pattern", "1 0 0 0 0 0 0 0");
  SetColors("Background", "255 255 255");
  SetColors("WindowText", "0 0 0");
  TFrmBXMain& d = Dialog();
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x)
      EXPECT_EQ(d.FPatternBitmap->GetPixel(x, y), x == 0 && y == 0 ? MakeColor(0, 0, 0) : 0xFFFFFFu);
  int black = 0, wrong = 0;
  for (int y = 0; y < 768; ++y)
    for (int x = 0; x < 1024; ++x) {
      const bool corner = x % 8 == 0 && y % 8 == 0;
      if (At(x, y) == MakeColor(0, 0, 0)) ++black;
      if (At(x, y) != (corner ? MakeColor(0, 0, 0) : 0xFFFFFFu)) ++wrong;
    }
  EXPECT_EQ(black, 128 * 96);
  EXPECT_EQ(wrong, 0);

  // The pattern also lies around a single copy of an image.
  d.FWallpaper = WriteImage("logo.bmp", 101, 51);
  d.UpdatePreview();
  EXPECT_EQ(At(456, 352), MakeColor(0, 0, 0));
  EXPECT_EQ(At(464, 360), Coded(2, 1));
  EXPECT_EQ(At(568, 416), MakeColor(0, 0, 0));
  EXPECT_EQ(At(569, 416), 0xFFFFFFu);
  for (int y = 0; y < 768; ++y)
    for (int x = 0; x < 1024; ++x) {
      const bool inside = x >= 462 && x < 563 && y >= 359 && y < 410;
      const TColor want =
          inside ? Coded(x - 462, y - 359) : (x % 8 == 0 && y % 8 == 0 ? 0 : 0xFFFFFFu);
      if (At(x, y) != want) ++wrong;
    }
  EXPECT_EQ(wrong, 0);

  // BuildPatternBitmap renders bit x of byte y as column x of row y.
  d.FPattern = {0x81, 0, 0, 0, 0, 0, 0, 0x02};
  d.BuildPatternBitmap(MakeColor(1, 2, 3), MakeColor(4, 5, 6));
  EXPECT_EQ(d.FPatternBitmap->GetPixel(0, 0), MakeColor(1, 2, 3));
  EXPECT_EQ(d.FPatternBitmap->GetPixel(7, 0), MakeColor(1, 2, 3));
  EXPECT_EQ(d.FPatternBitmap->GetPixel(1, 7), MakeColor(1, 2, 3));
  EXPECT_EQ(d.FPatternBitmap->GetPixel(0, 7), MakeColor(4, 5, 6));
}

TEST_F(PreviewTest, MissingWallpaperIsDropped) {
  const std::string path = WriteImage("logo.bmp", 101, 51);
  StoreWallpaper(path);
  SetOwnText("WallpaperOrg", "C:\\Photos\\logo.jpg");
  TFrmBXMain& d = Dialog();
  ASSERT_EQ(At(462, 359), Coded(0, 0));
  ASSERT_EQ(d.FWallpaperOrg, "C:\\Photos\\logo.jpg");

  d.ListBoxWallpapers.SetItems({"(none)", "logo.bmp"});
  d.ListBoxWallpapers.SetItemIndex(1);
  ASSERT_TRUE(Files().DeleteFile(path));
  d.SpinEditOriginY.SetValue(20);
  EXPECT_EQ(d.FWallpaper, "");
  EXPECT_EQ(d.FWallpaperOrg, "");
  EXPECT_EQ(d.ListBoxWallpapers.ItemIndex(), 0);
  for (auto [x, y] : {std::pair{462, 359}, {500, 380}, {0, 0}}) EXPECT_EQ(At(x, y), kTeal);
  // The image bitmap keeps the last image; the origins stay.
  EXPECT_EQ(d.FImageBitmap->Width(), 101);
  EXPECT_EQ(d.FOriginY, 20);

  // A folder is no wallpaper file either.
  d.FWallpaper = kWindows;
  d.UpdatePreview();
  EXPECT_EQ(d.FWallpaper, "");
}

TEST_F(PreviewTest, RightAndBottomPresetsFollowTheImage) {
  const std::string first = WriteImage("wide.bmp", 200, 100);
  const std::string second = WriteImage("flat.bmp", 300, 50);
  StoreWallpaper(first);
  SetOwn("WallpaperOriginPre", 9);
  TFrmBXMain& d = Dialog();
  EXPECT_EQ(d.FOriginX, 824);
  EXPECT_EQ(d.FOriginY, 668);
  EXPECT_EQ(d.SpinEditOriginX.Value(), 824);
  EXPECT_EQ(d.SpinEditOriginY.Value(), 668);
  EXPECT_EQ(d.FOriginPreset, 9);
  EXPECT_EQ(At(824, 668), Coded(0, 0));
  EXPECT_EQ(At(1023, 767), Coded(199, 99));

  d.FWallpaper = second;
  d.UpdatePreview();
  EXPECT_EQ(d.FOriginX, 724);
  EXPECT_EQ(d.FOriginY, 718);
  EXPECT_EQ(d.SpinEditOriginX.Text(), "724");
  EXPECT_EQ(d.SpinEditOriginY.Text(), "718");
  EXPECT_EQ(d.FOriginPreset, 9);
  EXPECT_EQ(At(1023, 767), Coded(299, 49));
  EXPECT_TRUE(d.BitBtnOk.Enabled());
  EXPECT_FALSE(PreviewBusy);

  // Preset 6 moves only X, preset 8 only Y.
  d.FOriginPreset = 6;
  d.FWallpaper = first;
  d.UpdatePreview();
  EXPECT_EQ(d.FOriginX, 824);
  EXPECT_EQ(d.FOriginY, 718);
  d.FOriginPreset = 8;
  d.FWallpaper = second;
  d.UpdatePreview();
  EXPECT_EQ(d.FOriginX, 824);
  EXPECT_EQ(d.FOriginY, 718);
  // Any other preset takes the spin edits' values.
  d.FOriginPreset = 5;
  d.FOriginX = 999;
  d.UpdatePreview();
  EXPECT_EQ(d.FOriginX, 824);
  EXPECT_EQ(d.FOriginPreset, 5);
}

TEST_F(PreviewTest, GridOfCrosses) {
  SetColors("Background", "10 20 30");
  TFrmBXMain& d = Dialog();
  const TColor bg = MakeColor(10, 20, 30), inverted = MakeColor(245, 235, 225);
  const TColor red = MakeColor(255, 0, 0), cyan = MakeColor(0, 255, 255);
  d.CheckBoxShowPreviewGrid.SetChecked(true);
  EXPECT_TRUE(d.FShowPreviewGrid);
  EXPECT_FALSE(d.BitBtnOk.Enabled());
  // Cross (128, 96): arms 8 pixels wide (rows 92..99, columns 124..131)
  // reaching 30 pixels (98..157, 66..125).
  EXPECT_EQ(At(98, 96), inverted);
  EXPECT_EQ(At(97, 96), bg);
  EXPECT_EQ(At(157, 96), inverted);
  EXPECT_EQ(At(158, 96), bg);
  EXPECT_EQ(At(100, 92), inverted);
  EXPECT_EQ(At(100, 99), inverted);
  EXPECT_EQ(At(100, 91), bg);
  EXPECT_EQ(At(100, 100), bg);
  EXPECT_EQ(At(128, 66), inverted);
  EXPECT_EQ(At(128, 65), bg);
  EXPECT_EQ(At(124, 125), inverted);
  EXPECT_EQ(At(123, 110), bg);
  // Where the two inverting arms overlap the picture shows unchanged.
  EXPECT_EQ(At(128, 96), bg);
  EXPECT_EQ(At(124, 92), bg);
  EXPECT_EQ(At(131, 99), bg);
  // Middle row: solid red horizontal arms, inverted where a vertical arm crosses.
  EXPECT_EQ(At(140, 384), red);
  EXPECT_EQ(At(128, 384), cyan);
  EXPECT_EQ(At(128, 370), inverted);
  // Middle column: solid red vertical arms, also over the horizontal ones.
  EXPECT_EQ(At(512, 120), red);
  EXPECT_EQ(At(512, 96), red);
  EXPECT_EQ(At(530, 96), inverted);
  EXPECT_EQ(At(512, 384), red);
  // Crosses on the edges, clipped.
  EXPECT_EQ(At(1000, 96), inverted);
  EXPECT_EQ(At(1019, 96), inverted);
  EXPECT_EQ(At(1020, 96), bg);
  EXPECT_EQ(At(128, 750), inverted);
  EXPECT_EQ(At(2, 2), bg);
  EXPECT_EQ(At(20, 0), inverted);
  EXPECT_EQ(At(993, 768 - 2), bg);

  // Full-screen form: a 3-pixel pen and 10-pixel arms.
  d.BitBtnTogglePreview.Click();
  ASSERT_GT(d.Width(), 393);
  EXPECT_EQ(At(118, 96), inverted);
  EXPECT_EQ(At(117, 96), bg);
  EXPECT_EQ(At(137, 96), inverted);
  EXPECT_EQ(At(138, 96), bg);
  EXPECT_EQ(At(120, 95), inverted);
  EXPECT_EQ(At(120, 97), inverted);
  EXPECT_EQ(At(120, 98), bg);
  EXPECT_EQ(At(128, 96), bg);

  // Off again: no grid.
  d.CheckBoxShowPreviewGrid.SetChecked(false);
  EXPECT_EQ(At(120, 96), bg);
  EXPECT_EQ(At(512, 384), bg);
}

TEST_F(PreviewTest, LoadErrorLeavesEverythingAsItWas) {
  StoreWallpaper(WriteImage("logo.bmp", 101, 51), 0, 0, 40, 30);
  TFrmBXMain& d = Dialog();
  const std::vector<TColor> before = Snapshot();
  const TPixelBuffer image = *d.FImageBitmap;
  ASSERT_EQ(At(40, 30), Coded(0, 0));

  std::vector<std::uint8_t> damaged = Bmp24(101, 51, Coded);
  damaged.resize(80);
  Files().WriteFile(std::string(kWindows) + "damaged.bmp", damaged);
  Files().WriteTextFile(std::string(kWindows) + "notes.xyz", "not a picture");
  for (const char* name : {"damaged.bmp", "notes.xyz"}) {
    d.FWallpaper = std::string(kWindows) + name;
    d.FOriginPreset = 9;
    d.FAutoProof = true;
    const std::size_t applied = System().SysParamCalls.size();
    EXPECT_ANY_THROW(d.UpdatePreview()) << name;
    EXPECT_FALSE(PreviewBusy);
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(d.FOriginX, 40);
    EXPECT_EQ(d.FOriginY, 30);
    EXPECT_EQ(d.SpinEditOriginX.Value(), 40);
    EXPECT_EQ(d.FImageBitmap->Width(), 101);
    EXPECT_EQ(d.FImageBitmap->GetPixel(100, 50), image.GetPixel(100, 50));
    EXPECT_EQ(d.FWallpaper, std::string(kWindows) + name);
    EXPECT_EQ(System().SysParamCalls.size(), applied);
    d.FAutoProof = false;
  }
  // The error shows through the dialog's error report.
  d.FOriginPreset = 0;
  d.Dispatch([&] { d.UpdatePreview(); });
  ASSERT_FALSE(MessageTexts().empty());
  // The next good load draws again.
  d.FWallpaper = std::string(kWindows) + "logo.bmp";
  d.UpdatePreview();
  EXPECT_EQ(At(40, 30), Coded(0, 0));
}

TEST_F(PreviewTest, EmptyImageNeverMakesTilingLoop) {
  Files().WriteFile(std::string(kWindows) + "empty.bmp", {});
  StoreWallpaper(std::string(kWindows) + "empty.bmp", 1, 0, 0, 0);
  TFrmBXMain& d = Dialog();
  EXPECT_EQ(d.FImageBitmap->Width(), 0);
  EXPECT_EQ(At(0, 0), kTeal);
  EXPECT_EQ(At(1023, 767), kTeal);
  d.RadioButtonCenter.SetChecked(true);
  d.CheckBoxStretch.SetChecked(true);
  d.RadioButtonTile.SetChecked(true);
  EXPECT_EQ(d.FWallpaperStyle, 3);
  EXPECT_EQ(At(500, 500), kTeal);

  // An empty file after a good one keeps the good one's bitmap.
  d.FWallpaper = WriteImage("logo.bmp", 101, 51);
  d.CheckBoxStretch.SetChecked(false);
  EXPECT_EQ(At(0, 0), Coded(0, 0));
  d.FWallpaper = std::string(kWindows) + "empty.bmp";
  d.UpdatePreview();
  EXPECT_EQ(d.FImageBitmap->Width(), 101);
  EXPECT_EQ(At(101, 51), Coded(0, 0));
}

// A 1 x 1 picture tiled over a virtual screen of 16,384 x 4,096, dragged
// far outside it and given the spin edits' extreme origins: each update
// and reduction ends, and the preview shows the one colour everywhere.
TEST_F(PreviewTest, TinyTileOnAHugeDesktopStaysBounded) {
  System().SetMetric(kSmCxVirtualScreen, 16384);
  System().SetMetric(kSmCyVirtualScreen, 4096);
  StoreWallpaper(WriteImage("dot.bmp", 1, 1), 1, 0, 0, 0);
  TFrmBXMain& d = Dialog();
  ASSERT_EQ(d.ImageWallpaper.PictureWidth(), 16384);
  const TColor dot = Coded(0, 0);
  std::vector<TPixel> reduced(151 * 111);
  for (const auto [x, y] : {std::pair{-32767, 32767}, std::pair{32767, -32767}}) {
    d.SpinEditOriginX.SetValue(x);
    d.SpinEditOriginY.SetValue(y);
    ASSERT_TRUE(d.ImageWallpaper.Reduce(reduced.data(), 151, 111));
    EXPECT_EQ(PixelToColor(reduced[0]), dot);
    EXPECT_EQ(PixelToColor(reduced.back()), dot);
  }
  d.ImageWallpaper.MouseMove(ssLeft, 100000, -100000);
  d.ImageWallpaper.MouseMove(ssLeft, -100000, 100000);
  ASSERT_TRUE(d.ImageWallpaper.Reduce(reduced.data(), 151, 111));
  EXPECT_EQ(PixelToColor(reduced[reduced.size() / 2]), dot);
  EXPECT_EQ(At(16383, 4095), dot);
}

TEST_F(PreviewTest, ToggleFullScreenAndBack) {
  System().SetMetric(kSmCxScreen, 1280);
  System().SetMetric(kSmCyScreen, 1024);
  SetColors("WindowText", "1 2 3");
  TFrmBXMain& d = Dialog();
  d.SetBounds(300, 200, 393, 304);
  const TColor face = d.Color();
  d.BitBtnToggleAutoProof.Click();
  ASSERT_TRUE(d.FAutoProof);

  d.BitBtnTogglePreview.Click();
  EXPECT_FALSE(d.FAutoProof);
  EXPECT_EQ(d.BorderStyle(), TBorderStyle::bsNone);
  EXPECT_EQ(d.Left(), 0);
  EXPECT_EQ(d.Top(), 0);
  EXPECT_EQ(d.Width(), 1280);
  EXPECT_EQ(d.Height(), 1024);
  EXPECT_EQ(d.Color(), kTeal);
  EXPECT_EQ(d.FontColor(), MakeColor(1, 2, 3));
  EXPECT_EQ(d.ImageWallpaper.BoundsRect(), (TRect{0, 0, 1280, 1024}));
  EXPECT_EQ(d.FSavedLeft, 300);
  EXPECT_EQ(d.FSavedTop, 200);

  d.BitBtnTogglePreview.Click();
  EXPECT_EQ(d.BorderStyle(), TBorderStyle::bsDialog);
  EXPECT_EQ(d.Left(), 300);
  EXPECT_EQ(d.Top(), 200);
  EXPECT_EQ(d.Width(), 393);
  EXPECT_EQ(d.Height(), 304);
  EXPECT_EQ(d.Color(), face);
  EXPECT_EQ(d.Color(), System().GetSysColor(kColorBtnFace));
  EXPECT_EQ(d.FontColor(), System().GetSysColor(kColorWindowText));
  EXPECT_EQ(d.ImageWallpaper.BoundsRect(), (TRect{4, 4, 155, 115}));
  EXPECT_FALSE(d.FAutoProof);

  // Under a frame wider than the classic one (today's systems) the dialog
  // goes and comes back all the same, to its own size and client area.
  d.FrameWidth = 16;
  d.FrameHeight = 39;
  d.SetBounds(250, 150, 385 + 16, 277 + 39);
  d.BitBtnTogglePreview.Click();
  EXPECT_EQ(d.BorderStyle(), TBorderStyle::bsNone);
  EXPECT_EQ(d.Width(), 1280);
  d.BitBtnToggleAutoProof.Click();  // leaves the full-screen view
  EXPECT_EQ(d.BorderStyle(), TBorderStyle::bsDialog);
  EXPECT_EQ(std::tuple(d.Left(), d.Top(), d.Width(), d.Height()), std::tuple(250, 150, 401, 316));
  EXPECT_EQ(d.ClientWidth(), 385);
  EXPECT_EQ(d.ClientHeight(), 277);
}

TEST_F(PreviewTest, AutoProofAppliesAfterEachUpdate) {
  StoreWallpaper(WriteImage("logo.bmp", 101, 51));
  TFrmBXMain& d = Dialog();
  d.FAutoProof = true;
  const std::size_t before = System().SysParamCalls.size();
  d.SpinEditOriginX.SetValue(10);
  EXPECT_EQ(System().SysParamCalls.size(), before + 1);
  EXPECT_EQ(Desktop("WallPaperOriginX"), "10");
  // Nothing at all while loading or while an update runs.
  d.FLoading = true;
  d.UpdatePreview();
  d.FLoading = false;
  PreviewBusy = true;
  d.UpdatePreview();
  PreviewBusy = false;
  EXPECT_EQ(System().SysParamCalls.size(), before + 1);
}

TEST_F(PreviewTest, DecodedPictureIsKeptWhileTheFileIsUnchanged) {
  const std::string path = WriteImage("logo.bmp", 101, 51);
  StoreWallpaper(path);
  TFrmBXMain& d = Dialog();
  const int loads = d.FPictureCache.LoadCount();
  const int composes = d.FPictureCache.ComposeCount();
  EXPECT_GE(loads, 1);
  d.SpinEditOriginX.SetValue(10);
  d.SpinEditOriginY.SetValue(10);
  d.CheckBoxStretch.SetChecked(true);
  EXPECT_EQ(d.FPictureCache.LoadCount(), loads);
  EXPECT_EQ(d.FPictureCache.ComposeCount(), composes);

  // A changed file (another size) is read again.
  Files().WriteFile(path, Bmp24(60, 40, Coded));
  d.CheckBoxStretch.SetChecked(false);
  EXPECT_EQ(d.FPictureCache.LoadCount(), loads + 1);
  EXPECT_EQ(d.FImageBitmap->Width(), 60);
  EXPECT_EQ(At(10, 10), Coded(0, 0));

  // An opaque image covers any background colour: a new one changes nothing.
  d.FBackgroundColor = MakeColor(9, 9, 9);
  d.UpdatePreview();
  EXPECT_EQ(d.FPictureCache.ComposeCount(), composes + 1);

  // A change of the bitmap by anyone else composes it again (its pixels
  // were handed over, so the file is decoded anew).
  d.FImageBitmap->Fill(MakeColor(1, 1, 1));
  d.UpdatePreview();
  EXPECT_EQ(At(10, 10), Coded(0, 0));
  EXPECT_EQ(d.FPictureCache.LoadCount(), loads + 1);
  EXPECT_EQ(d.FPictureCache.ComposeCount(), composes + 2);

  // A failed load is not kept: the next update tries again.
  Files().WriteFile(path, {'B', 'M', 1, 2, 3});
  EXPECT_ANY_THROW(d.UpdatePreview());
  EXPECT_ANY_THROW(d.UpdatePreview());
  Files().WriteFile(path, Bmp24(101, 51, Coded));
  d.UpdatePreview();
  EXPECT_EQ(d.FImageBitmap->Width(), 101);
}

TEST_F(PreviewTest, NewImageKeepsAtMostTwoImageBuffers) {
  // Images larger than the desktop, so that their buffers stand out.
  constexpr int kW = 1400, kH = 1000;
  const std::string photo = std::string(kWindows) + "photo.jpg";
  Files().WriteFile(photo, test::WriteJpeg(kW, kH, 3, test::GradientSamples(kW, kH)));
  test::TGifFrameSpec frame;
  frame.Width = kW;
  frame.Height = kH;
  frame.Transparent = 1;
  frame.Indices.assign(static_cast<std::size_t>(kW) * kH, 0);
  for (std::size_t i = 0; i < frame.Indices.size(); i += 7) frame.Indices[i] = 1;
  const std::string logo = std::string(kWindows) + "logo.gif";
  Files().WriteFile(logo, test::WriteGif({kW, kH, {MakeColor(9, 9, 9), MakeColor(1, 1, 1)}, {frame}}));
  const std::string other = WriteImage("other.bmp", kW, kH);
  StoreWallpaper(other);
  TFrmBXMain& d = Dialog();
  ASSERT_EQ(d.FImageBitmap->Width(), kW);
  const std::uint64_t image = static_cast<std::uint64_t>(kW) * kH;
  // Every buffer but the image bitmap and the kept picture: the preview, the pattern.
  d.FPictureCache.Clear();
  const std::uint64_t others = TPixelBuffer::LivePixels() - image;
  for (const std::string& path : {photo, logo, other, logo}) {
    SCOPED_TRACE(path);
    // The old image bitmap, the decoded image, the new image bitmap: never
    // more than two of them at once.
    TPixelBuffer::ResetPeakPixels();
    d.FWallpaper = path;
    d.UpdatePreview();
    EXPECT_LE(TPixelBuffer::PeakPixels(), others + 2 * image);
    EXPECT_EQ(d.FImageBitmap->Width(), kW);
  }
  // The transparent GIF's holes show the background colour.
  EXPECT_EQ(d.FImageBitmap->GetPixel(0, 0), kTeal);
  EXPECT_EQ(d.FImageBitmap->GetPixel(1, 0), MakeColor(9, 9, 9));
}

}  // namespace
}  // namespace bx

namespace bx {
namespace {

TEST(PixelBufferStamp, ChangesWithEveryWriteAndCopy) {
  TPixelBuffer a(4, 4);
  const TPixelBuffer::TStamp s0 = a.Stamp();
  (void)a.GetPixel(1, 1);
  (void)static_cast<const TPixelBuffer&>(a).Scanline(0);
  EXPECT_EQ(a.Stamp(), s0);
  a.SetPixel(1, 1, MakeColor(1, 2, 3));
  const TPixelBuffer::TStamp s1 = a.Stamp();
  EXPECT_NE(s1, s0);
  a.FillRect({0, 0, 1, 1}, 0);
  EXPECT_NE(a.Stamp(), s1);
  TPixelBuffer b = a;
  EXPECT_NE(b.Stamp().Id, a.Stamp().Id);
  EXPECT_EQ(b.GetPixel(1, 1), MakeColor(1, 2, 3));
  const TPixelBuffer::TStamp sa = a.Stamp();
  a = std::move(b);
  EXPECT_NE(a.Stamp(), sa);
  EXPECT_EQ(a.GetPixel(1, 1), MakeColor(1, 2, 3));
  EXPECT_TRUE(b.Empty());
}

TEST(PixelBufferPattern, OffsetRectanglesKeepTheAnchor) {
  TPixelBuffer pattern(8, 8);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) pattern.SetPixel(x, y, MakeColor(x, y, 0));
  TPixelBuffer b(50, 30);
  b.Fill(MakeColor(9, 9, 9));
  b.FillPattern({3, 5, 47, 29}, pattern);
  int wrong = 0;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 50; ++x) {
      const bool inside = x >= 3 && x < 47 && y >= 5 && y < 29;
      if (b.GetPixel(x, y) != (inside ? MakeColor(x % 8, y % 8, 0) : MakeColor(9, 9, 9))) ++wrong;
    }
  EXPECT_EQ(wrong, 0);
}

TEST(PictureReduction, AveragesAsAPlainSumDoes) {
  struct TCase {
    int SourceWidth, SourceHeight, Width, Height;
  };
  std::uint32_t seed = 7;
  for (const TCase& c : {TCase{3840, 2160, 151, 111}, TCase{997, 13, 151, 7}, TCase{1030, 3, 2, 1},
                         TCase{7, 5, 7, 5}, TCase{1, 1, 1, 1}, TCase{640, 480, 1, 1},
                         TCase{333, 777, 333, 2}}) {
    SCOPED_TRACE(std::to_string(c.SourceWidth) + " x " + std::to_string(c.SourceHeight));
    TPixelBuffer picture(c.SourceWidth, c.SourceHeight);
    for (int y = 0; y < c.SourceHeight; ++y)
      for (int x = 0; x < c.SourceWidth; ++x) {
        seed = seed * 1664525u + 1013904223u;
        // Mostly extremes, so that sums reach their largest.
        picture.Scanline(y)[x] = (seed >> 8) & ((seed & 1) ? 0xFFFFFF : 0x3F7F1F);
      }
    std::vector<TPixel> reduced(static_cast<std::size_t>(c.Width) * c.Height);
    ReducePicture(picture, reduced.data(), c.Width, c.Height);
    for (int y = 0; y < c.Height; ++y) {
      for (int x = 0; x < c.Width; ++x) {
        const int x0 = x * c.SourceWidth / c.Width, x1 = (x + 1) * c.SourceWidth / c.Width;
        const int y0 = y * c.SourceHeight / c.Height, y1 = (y + 1) * c.SourceHeight / c.Height;
        std::uint64_t sum[3] = {0, 0, 0};
        for (int sy = y0; sy < y1; ++sy)
          for (int sx = x0; sx < x1; ++sx)
            for (int k = 0; k < 3; ++k) sum[k] += (picture.Scanline(sy)[sx] >> (16 - 8 * k)) & 0xFF;
        const std::uint64_t n = static_cast<std::uint64_t>(x1 - x0) * (y1 - y0);
        const TPixel expected = MakePixel(static_cast<unsigned>((sum[0] + n / 2) / n),
                                          static_cast<unsigned>((sum[1] + n / 2) / n),
                                          static_cast<unsigned>((sum[2] + n / 2) / n));
        ASSERT_EQ(reduced[static_cast<std::size_t>(y) * c.Width + x], expected) << x << "," << y;
      }
    }
  }
}

}  // namespace
}  // namespace bx
