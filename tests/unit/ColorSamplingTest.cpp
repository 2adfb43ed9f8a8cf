// Where the background colour is sampled: the nine fixed points, the given
// point limited to the image's margins, and images too small for them.
#include <gtest/gtest.h>

#include <climits>

#include "PreviewFixture.h"

namespace bx {
namespace {

constexpr TColor kKept = MakeColor(1, 2, 3);

// Every pixel its own colour, for images up to 4096 pixels each way.
TColor Unique(int x, int y) { return MakeColor(x & 255, y & 255, (x >> 8) | ((y >> 8) << 4)); }

class ColorSampling : public PreviewFixture {
 protected:
  // The colour that option and point give on an image of w x h pixels.
  TColor Sample(int w, int h, int option, TPoint point = {}) {
    TFrmBXMain& d = Dialog();
    d.FImageBitmap->SetSize(w, h);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) d.FImageBitmap->SetPixel(x, y, Unique(x, y));
    d.FBackgroundColor = kKept;
    d.FBGColorOption = static_cast<std::uint8_t>(option);
    d.FBGColorPosition = point;
    return d.GetColorFromImage();
  }
};

TEST_F(ColorSampling, FixedPointsOfTheImage) {
  struct Case {
    int option, x, y;
  };
  // 640 x 480: margins 5 from the left and top, 640 - 5 and 480 - 5.
  for (const Case& c : {Case{1, 320, 240}, Case{2, 5, 5}, Case{3, 635, 5}, Case{4, 5, 475},
                        Case{5, 635, 475}, Case{6, 5, 240}, Case{7, 635, 240},
                        Case{8, 320, 5}, Case{9, 320, 475}})
    EXPECT_EQ(Sample(640, 480, c.option), Unique(c.x, c.y)) << "option " << c.option;
  // Odd sizes round down: 7 x 7 gives the centre (3, 3), bottom right (2, 2).
  EXPECT_EQ(Sample(7, 7, 1), Unique(3, 3));
  EXPECT_EQ(Sample(7, 7, 5), Unique(2, 2));
  // The palette, and options no radio item has, sample nothing.
  for (int option : {0, 11, 200, 255}) EXPECT_EQ(Sample(640, 480, option), kKept) << option;
}

TEST_F(ColorSampling, GivenPointBeyondTheImageTakesTheMarginPoint) {
  EXPECT_EQ(Sample(640, 480, 10, {5000, 7}), Unique(635, 7));
  EXPECT_EQ(Sample(640, 480, 10, {639, 7}), Unique(639, 7));
  EXPECT_EQ(Sample(640, 480, 10, {-1, 7}), Unique(5, 7));
  EXPECT_EQ(Sample(640, 480, 10, {0, 0}), Unique(0, 0));
  EXPECT_EQ(Sample(640, 480, 10, {17, 479}), Unique(17, 479));
  EXPECT_EQ(Sample(640, 480, 10, {17, 480}), Unique(17, 475));
  EXPECT_EQ(Sample(640, 480, 10, {17, -20}), Unique(17, 5));
  EXPECT_EQ(Sample(640, 480, 10, {INT_MAX, INT_MIN}), Unique(635, 5));
  EXPECT_EQ(Sample(640, 480, 10, {INT_MIN, INT_MAX}), Unique(5, 475));
}

TEST_F(ColorSampling, ImagesTooSmallForAPointKeepTheColour) {
  // 3 x 3: only the centre lies inside; every margin point is outside.
  EXPECT_EQ(Sample(3, 3, 1), Unique(1, 1));
  for (int option = 2; option <= 9; ++option) EXPECT_EQ(Sample(3, 3, option), kKept) << option;
  EXPECT_EQ(Sample(3, 3, 10, {2, 2}), Unique(2, 2));
  EXPECT_EQ(Sample(3, 3, 10, {3, 0}), kKept);
  // 1 x 1 and an image bitmap that never held an image.
  EXPECT_EQ(Sample(1, 1, 1), Unique(0, 0));
  EXPECT_EQ(Sample(1, 1, 10, {-1, -1}), kKept);
  EXPECT_EQ(Sample(0, 0, 1), kKept);
  EXPECT_EQ(Sample(0, 0, 10), kKept);
}

TEST_F(ColorSampling, PreviewSetsTheSampledColourThatApplyStores) {
  SetColors("Background", "1 2 3");
  SetOwn("WallpaperbgColorOption", 1);
  StoreWallpaper(WriteImage("logo.bmp", 101, 51));
  TFrmBXMain& d = Dialog();
  EXPECT_EQ(d.FBackgroundColor, Coded(50, 25));
  // The pattern around the image is drawn in the sampled colour.
  EXPECT_EQ(At(0, 0), Coded(50, 25));
  d.BitBtnApply.Click();
  EXPECT_EQ(Registry().GetStringValue(kHKeyCurrentUser, kColorsKey, "Background"),
            ColorToRGBString(Coded(50, 25)));
  ASSERT_FALSE(System().SysColorCalls.empty());
  EXPECT_EQ(System().SysColorCalls.back().Color, Coded(50, 25));
  EXPECT_TRUE(MessageTexts().empty());
}

TEST_F(ColorSampling, TinyImageLeavesTheStoredColour) {
  SetColors("Background", "1 2 3");
  SetOwn("WallpaperbgColorOption", 5);
  StoreWallpaper(WriteImage("dot.bmp", 1, 1));
  TFrmBXMain& d = Dialog();
  EXPECT_EQ(d.FBackgroundColor, kKept);
  d.BitBtnApply.Click();
  EXPECT_EQ(Registry().GetStringValue(kHKeyCurrentUser, kColorsKey, "Background"), "1 2 3");
  ASSERT_FALSE(System().SysColorCalls.empty());
  EXPECT_EQ(System().SysColorCalls.back().Color, kKept);
}

}  // namespace
}  // namespace bx
