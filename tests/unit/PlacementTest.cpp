#include <gtest/gtest.h>

#include "PreviewFixture.h"

namespace bx {
namespace {

class PlacementTest : public PreviewFixture {
 protected:
  std::pair<int, int> Fields() { return {Dialog().FTileWallpaper, Dialog().FWallpaperStyle}; }
  std::pair<int, int> Spins() {
    return {Dialog().SpinEditOriginX.Value(), Dialog().SpinEditOriginY.Value()};
  }
  std::pair<int, int> Origin() { return {Dialog().FOriginX, Dialog().FOriginY}; }
};

TEST_F(PlacementTest, RadioButtonsAndStretchGiveTheFourCombinations) {
  StoreWallpaper(WriteImage("logo.bmp", 101, 51));
  TFrmBXMain& d = Dialog();
  EXPECT_TRUE(d.RadioButtonCenter.Checked());
  EXPECT_EQ(Fields(), std::pair(0, 0));
  EXPECT_FALSE(d.BitBtnOk.Enabled());

  d.CheckBoxStretch.SetChecked(true);
  EXPECT_EQ(Fields(), std::pair(0, 2));
  EXPECT_TRUE(d.BitBtnOk.Enabled());
  EXPECT_TRUE(d.BitBtnApply.Enabled());
  EXPECT_EQ(At(0, 0), Coded(0, 0));  // the preview follows
  d.RadioButtonTile.SetChecked(true);
  EXPECT_EQ(Fields(), std::pair(0, 3));
  d.CheckBoxStretch.SetChecked(false);
  EXPECT_EQ(Fields(), std::pair(1, 0));
  EXPECT_EQ(At(101, 51), Coded(0, 0));
  d.RadioButtonCenter.SetChecked(true);
  EXPECT_EQ(Fields(), std::pair(0, 0));
  EXPECT_EQ(At(462, 359), Coded(0, 0));
  EXPECT_EQ(At(0, 0), TColor(0));

  // Tile while not stretched, then Center while stretched.
  d.RadioButtonTile.SetChecked(true);
  EXPECT_EQ(Fields(), std::pair(1, 0));
  d.CheckBoxStretch.SetChecked(true);
  EXPECT_EQ(Fields(), std::pair(0, 3));
  d.RadioButtonCenter.SetChecked(true);
  EXPECT_EQ(Fields(), std::pair(0, 2));
}

TEST_F(PlacementTest, StoredTileAndStretchLoadAsStyleThree) {
  StoreWallpaper(WriteImage("logo.bmp", 101, 51), 1, 2);
  TFrmBXMain& d = Dialog();
  EXPECT_TRUE(d.RadioButtonTile.Checked());
  EXPECT_TRUE(d.CheckBoxStretch.Checked());
  EXPECT_EQ(Fields(), std::pair(0, 3));
}

TEST_F(PlacementTest, PlacementButtons) {
  StoreWallpaper(WriteImage("wide.bmp", 200, 100));
  TFrmBXMain& d = Dialog();
  d.BitBtnOriginTL.Click();
  EXPECT_EQ(Spins(), std::pair(1, 1));
  EXPECT_EQ(Origin(), std::pair(1, 1));
  EXPECT_EQ(d.FOriginPreset, 1);
  EXPECT_TRUE(d.BitBtnOk.Enabled());
  EXPECT_EQ(At(1, 1), Coded(0, 0));
  d.BitBtnOriginC.Click();
  EXPECT_EQ(Spins(), std::pair(0, 0));
  EXPECT_EQ(d.FOriginPreset, 5);
  EXPECT_EQ(At(412, 334), Coded(0, 0));

  struct TCase {
    TBitBtn* Button;
    int X, Y;
  };
  const TCase cases[] = {{&d.BitBtnOriginT, 0, 1},    {&d.BitBtnOriginTR, 824, 1},
                         {&d.BitBtnOriginL, 1, 0},    {&d.BitBtnOriginR, 824, 0},
                         {&d.BitBtnOriginBL, 1, 668}, {&d.BitBtnOriginB, 0, 668},
                         {&d.BitBtnOriginBR, 824, 668}};
  for (const TCase& c : cases) {
    c.Button->Click();
    EXPECT_EQ(Spins(), std::pair(c.X, c.Y)) << c.Button->Name();
    EXPECT_EQ(Origin(), std::pair(c.X, c.Y)) << c.Button->Name();
    EXPECT_EQ(d.FOriginPreset, c.Button->Tag());
  }
  EXPECT_EQ(At(1023, 767), Coded(199, 99));

  // A typed origin ends the preset: a later image keeps it.
  d.SpinEditOriginX.SetText("50");
  EXPECT_EQ(d.FOriginPreset, 0);
  EXPECT_EQ(Origin(), std::pair(50, 668));
  d.FWallpaper = WriteImage("flat.bmp", 300, 50);
  d.UpdatePreview();
  EXPECT_EQ(Origin(), std::pair(50, 668));
  EXPECT_EQ(Spins(), std::pair(50, 668));

  // An image larger than the desktop gives a negative right origin.
  d.FWallpaper = WriteImage("huge.bmp", 1100, 10);
  d.BitBtnOriginR.Click();
  EXPECT_EQ(Origin(), std::pair(-76, 0));
}

TEST_F(PlacementTest, RightAndBottomNeedAWallpaper) {
  TFrmBXMain& d = Dialog();
  ASSERT_EQ(d.FWallpaper, "");
  d.SpinEditOriginX.SetValue(33);
  d.SpinEditOriginY.SetValue(44);
  d.BitBtnOriginBR.Click();
  EXPECT_EQ(Spins(), std::pair(33, 44));
  EXPECT_EQ(d.FOriginPreset, 9);
  d.BitBtnOriginB.Click();
  EXPECT_EQ(Spins(), std::pair(0, 44));
  d.BitBtnOriginTR.Click();
  EXPECT_EQ(Spins(), std::pair(0, 1));
}

TEST_F(PlacementTest, SpinEditsSetTheOrigin) {
  StoreWallpaper(WriteImage("logo.bmp", 101, 51));
  TFrmBXMain& d = Dialog();
  // The arrow steps by 10; negative values are fine.
  d.SpinEditOriginX.KeyDown(kVkDown);
  EXPECT_EQ(d.FOriginX, -10);
  EXPECT_EQ(At(0, 359), Coded(10, 0));
  EXPECT_TRUE(d.BitBtnApply.Enabled());
  // A text that is no number reads as 0.
  d.SpinEditOriginY.SetText("7");
  d.SpinEditOriginY.SetText("x");
  EXPECT_EQ(d.FOriginY, 0);
  // Nothing while the settings load.
  d.FLoading = true;
  d.SpinEditOriginX.SetValue(500);
  d.FLoading = false;
  EXPECT_EQ(d.FOriginX, -10);
}

TEST_F(PlacementTest, DraggingOnThePreview) {
  StoreWallpaper(WriteImage("logo.bmp", 101, 51));
  TFrmBXMain& d = Dialog();
  ASSERT_EQ(d.ImageWallpaper.Width(), 151);
  ASSERT_LE(d.Width(), 393);
  d.ImageWallpaper.MouseMove(ssLeft, 100, 50);
  EXPECT_EQ(Spins(), std::pair(600, 300));
  EXPECT_EQ(Origin(), std::pair(600, 300));
  EXPECT_EQ(d.FOriginPreset, 0);
  EXPECT_EQ(At(600, 300), Coded(0, 0));
  // Keys held, other buttons or a double click: nothing.
  for (TShiftState shift : {ssLeft | ssCtrl, ssLeft | ssShift, ssLeft | ssAlt, ssLeft | ssRight,
                            ssLeft | ssDouble, TShiftState(ssRight), TShiftState(0)}) {
    d.ImageWallpaper.MouseMove(shift, 10, 10);
    d.ImageWallpaper.MouseDown(TMouseButton::mbLeft, shift, 10, 10);
  }
  EXPECT_EQ(Spins(), std::pair(600, 300));
  // A press does what a movement does.
  d.ImageWallpaper.MouseDown(TMouseButton::mbLeft, ssLeft, 75, 55);
  EXPECT_EQ(Spins(), std::pair(450, 330));
  // The whole-number factor leaves the desktop's right part out of reach.
  d.ImageWallpaper.MouseMove(ssLeft, 150, 110);
  EXPECT_EQ(Spins(), std::pair(900, 660));

  // Full screen: preview pixels are desktop pixels.
  d.BitBtnTogglePreview.Click();
  d.ImageWallpaper.MouseMove(ssLeft, 1000, 700);
  EXPECT_EQ(Spins(), std::pair(1000, 700));
  // Unless the system scales the window (200 %): each is two desktop pixels.
  d.BitBtnTogglePreview.Click();
  System().SetMetric(kSmCxScreen, 512);
  System().SetMetric(kSmCyScreen, 384);
  d.BitBtnTogglePreview.Click();
  d.ImageWallpaper.MouseMove(ssLeft, 100, 50);
  EXPECT_EQ(Spins(), std::pair(200, 100));

  // Back in the normal form under a wider frame than the classic one, the
  // preview still maps by its whole-number factors.
  d.BitBtnTogglePreview.Click();
  d.FrameWidth = 16;
  d.FrameHeight = 39;
  d.SetClientSize(385, 277);
  ASSERT_GT(d.Width(), 393);
  d.ImageWallpaper.MouseMove(ssLeft, 100, 50);
  EXPECT_EQ(Spins(), std::pair(600, 300));
}

TEST_F(PlacementTest, DragMovingOneCoordinateRedrawsOnce) {
  StoreWallpaper(WriteImage("logo.bmp", 101, 51));
  TFrmBXMain& d = Dialog();
  d.ImageWallpaper.MouseMove(ssLeft, 10, 10);
  int changes = 0;
  auto previous = d.SpinEditOriginY.OnChange;
  d.SpinEditOriginY.OnChange = [&](TObject& s) {
    ++changes;
    previous(s);
  };
  d.ImageWallpaper.MouseMove(ssLeft, 20, 10);
  EXPECT_EQ(changes, 0);
  EXPECT_EQ(Spins(), std::pair(120, 60));
}

}  // namespace
}  // namespace bx
