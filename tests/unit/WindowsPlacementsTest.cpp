// Fit, fill and span, the placements that today's Windows stores: read,
// previewed as Windows shows them, and kept until the user changes the
// placement.
#include <gtest/gtest.h>

#include "PreviewFixture.h"
#include "dialogs/main/WindowsPlacements.h"

namespace bx {
namespace {

constexpr TColor kTeal = MakeColor(0, 128, 128);

class WindowsPlacements : public PreviewFixture {
 protected:
  WindowsPlacements() { SetColors("Background", "0 128 128"); }
};

TEST(PlaceScaled, RectanglesOfEachStyle) {
  struct Case {
    std::int32_t style;
    int w, h, dw, dh;
    TRect source, dest;
  };
  const Case cases[] = {
      // A wide picture fits the desktop's width, a tall one its height.
      {6, 100, 50, 1024, 768, {0, 0, 100, 50}, {0, 128, 1024, 640}},
      {6, 50, 100, 1024, 768, {0, 0, 50, 100}, {320, 0, 704, 768}},
      {6, 4096, 3072, 1024, 768, {0, 0, 4096, 3072}, {0, 0, 1024, 768}},
      // Fill and span cut the overflow evenly: 66.67 columns round to 67.
      {10, 100, 50, 1024, 768, {16, 0, 83, 50}, {0, 0, 1024, 768}},
      {22, 50, 100, 1024, 768, {0, 31, 50, 69}, {0, 0, 1024, 768}},
      // A picture of one pixel's width or height, and of one pixel.
      {10, 1, 1000, 1024, 768, {0, 499, 1, 500}, {0, 0, 1024, 768}},
      {6, 1, 1000, 1024, 768, {0, 0, 1, 1000}, {511, 0, 512, 768}},
      {10, 1, 1, 16384, 2160, {0, 0, 1, 1}, {0, 0, 16384, 2160}},
      // Nothing to place, and the dialog's own styles.
      {10, 0, 50, 1024, 768, {}, {}},
      {6, 100, 50, 0, 768, {}, {}},
      {2, 100, 50, 1024, 768, {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.style) + ": " + std::to_string(c.w) + "x" + std::to_string(c.h));
    const TScaledPlacement p = PlaceScaled(c.style, c.w, c.h, c.dw, c.dh);
    EXPECT_EQ(p.Source, c.source);
    EXPECT_EQ(p.Dest, c.dest);
  }
}

TEST_F(WindowsPlacements, ReadShownAndKeptUntilThePlacementChanges) {
  const struct {
    const char* style;
    const char* name;
  } stored[] = {{"6", "Fit"}, {"10", "Fill"}, {"22", "Span"}};
  const std::string image = WriteImage("wide.bmp", 100, 50);
  for (const auto& s : stored) {
    SCOPED_TRACE(s.style);
    Form.reset();
    StoreWallpaper(image, 0, std::stoi(s.style), 40, 0);
    TFrmBXMain& d = Dialog();
    // The nearest of the controls' states; the model keeps the stored value.
    EXPECT_TRUE(d.CheckBoxStretch.Checked());
    EXPECT_TRUE(d.RadioButtonCenter.Checked());
    EXPECT_EQ(d.FWallpaperStyle, std::stoi(s.style));
    EXPECT_EQ(d.FTileWallpaper, 0);
    EXPECT_FALSE(d.BitBtnApply.Enabled());
    EXPECT_NE(d.ImageWallpaper.Hint().find(s.name), std::string::npos) << d.ImageWallpaper.Hint();

    // Windows ignores the origin: fit lies in the middle, fill covers all.
    if (std::string(s.name) == "Fit") {
      EXPECT_EQ(At(0, 127), kTeal);
      EXPECT_EQ(At(0, 128), Coded(0, 0));
      EXPECT_EQ(At(1023, 639), Coded(99, 49));
      EXPECT_EQ(At(1023, 640), kTeal);
    } else {
      EXPECT_EQ(At(0, 0), Coded(16, 0));
      EXPECT_EQ(At(1023, 767), Coded(16 + 1023 * 67 / 1024, 767 * 50 / 768));
    }

    // Another image and another colour keep the stored placement.
    d.FWallpaper = WriteImage("other.bmp", 60, 60);
    d.UpdatePreview();
    d.ApplySettings();
    EXPECT_EQ(Desktop("WallpaperStyle"), s.style);
    EXPECT_EQ(Desktop("TileWallpaper"), "0");
  }

  // A change of the origin is one of placement: the dialog's stretch, which
  // shows the origin, replaces the stored style and the hint goes.
  Dialog().SpinEditOriginX.SetValue(5);
  EXPECT_EQ(Dialog().FWallpaperStyle, 2);
  EXPECT_EQ(Dialog().ImageWallpaper.Hint(), "Preview of the resulting wallpaper");
  Form.reset();
  StoreWallpaper(image, 0, 10);
  Dialog().BitBtnOriginC.Click();
  EXPECT_EQ(Dialog().FWallpaperStyle, 2);
  Form.reset();
  StoreWallpaper(image, 0, 10);
  Dialog().RadioButtonTile.SetChecked(true);
  EXPECT_EQ(Dialog().FWallpaperStyle, 3);
  Form.reset();
  StoreWallpaper(image, 0, 6);
  Dialog().CheckBoxStretch.SetChecked(false);
  EXPECT_EQ(Dialog().FWallpaperStyle, 0);
  EXPECT_TRUE(MessageTexts().empty());
}

}  // namespace
}  // namespace bx
