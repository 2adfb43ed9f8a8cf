// What a screen reader is told: every control of the three dialogs has a
// name, and the preview's value says the placement in words.
#include <gtest/gtest.h>

#include <memory>

#include "PreviewFixture.h"
#include "dialogs/bgcolor/BXBGColorOption.h"
#include "dialogs/main/PlacementText.h"

namespace bx {
namespace {

TEST(PlacementText, SaysEachPlacementInWords) {
  EXPECT_EQ(PlacementText(false, {1, 2, 5, 5}), "No wallpaper");
  EXPECT_EQ(PlacementText(true, {0, 0, 0, 0}), "Centred");
  EXPECT_EQ(PlacementText(true, {0, 0, 37, 21}), "Placed at 37, 21");
  EXPECT_EQ(PlacementText(true, {0, 0, 37, 0}), "Placed at x 37, centred vertically");
  EXPECT_EQ(PlacementText(true, {0, 0, 0, -21}), "Centred horizontally, placed at y -21");
  EXPECT_EQ(PlacementText(true, {1, 0, 0, 0}), "Tiled");
  EXPECT_EQ(PlacementText(true, {1, 0, 0, 8}), "Tiled from 0, 8");
  EXPECT_EQ(PlacementText(true, {0, 2, 0, 0}), "Stretched");
  EXPECT_EQ(PlacementText(true, {0, 3, 4, 4}), "Stretched and tiled from 4, 4");
  EXPECT_EQ(PlacementText(true, {0, 10, 37, 21}), "Fill");
  EXPECT_EQ(PlacementText(true, {0, 6, 0, 0}), "Fit");
  EXPECT_EQ(PlacementText(true, {0, 22, 0, 0}), "Span");
}

class AccessibilityTest : public PreviewFixture {};

TEST_F(AccessibilityTest, EveryControlHasANameAndThePreviewFollowsThePlacement) {
  StoreWallpaper(WriteImage("logo.bmp", 101, 51));
  TFrmBXMain& d = Dialog();
  for (const TControl* control : d.Controls())
    EXPECT_FALSE(control->AccessibleName().empty()) << control->Name();
  // Glyph-only buttons are named where they put the image, a spin edit by its label.
  EXPECT_EQ(d.BitBtnOriginTL.AccessibleName(), "Top left");
  EXPECT_EQ(d.BitBtnOriginBR.AccessibleName(), "Bottom right");
  EXPECT_EQ(d.SpinEditOriginX.AccessibleName(), "X");
  EXPECT_EQ(d.LabelImages.AccessibleName(), "Wallpapers:");
  EXPECT_EQ(d.ImageWallpaper.AccessibleName(), "Preview of the resulting wallpaper");

  EXPECT_EQ(d.ImageWallpaper.AccessibleValue(), "Centred");
  d.BitBtnOriginTL.Click();
  EXPECT_EQ(d.ImageWallpaper.AccessibleValue(), "Placed at 1, 1");
  d.RadioButtonTile.SetChecked(true);
  EXPECT_EQ(d.ImageWallpaper.AccessibleValue(), "Tiled from 1, 1");
  d.ListBoxWallpapers.Select(0);  // "(none)"
  EXPECT_EQ(d.ImageWallpaper.AccessibleValue(), "No wallpaper");

  TFrmBXBGColorOption options(&d);
  TFrmQSVersionAbout about(nullptr);
  for (const TForm* form : {static_cast<const TForm*>(&options), static_cast<const TForm*>(&about)})
    for (const TControl* control : form->Controls()) {
      // A label without text (a version field the module lacks) shows nothing.
      if (control->Kind() == TControlKind::Label && control->Caption().empty()) continue;
      EXPECT_FALSE(control->AccessibleName().empty()) << form->Caption() << ": " << control->Name();
    }
}

// A high-contrast theme changes the system's colours: the dialog and its
// owner-drawn list follow them, also after the full-screen view; a colour
// of the dialog's own stays.
TEST_F(AccessibilityTest, TheDialogFollowsTheSystemsColours) {
  TFrmBXMain& d = Dialog();
  System().SetSysColor(kColorBtnFace, 0x000000);
  System().SetSysColor(kColorWindow, 0x000000);
  System().SetSysColor(kColorWindowText, 0x00FFFF);
  d.SystemColorsChanged();
  EXPECT_EQ(d.Color(), 0x000000u);
  EXPECT_EQ(d.FontColor(), 0x00FFFFu);
  EXPECT_EQ(d.ListBoxWallpapers.Color, 0x000000u);
  EXPECT_EQ(d.ListBoxWallpapers.FontColor, 0x00FFFFu);

  d.BitBtnTogglePreview.Click();
  ASSERT_TRUE(d.FullScreenPreview());
  d.BitBtnTogglePreview.Click();
  System().SetSysColor(kColorBtnFace, 0x00FF00);
  d.SystemColorsChanged();
  EXPECT_EQ(d.Color(), 0x00FF00u);
  d.SetColor(0x123456);
  System().SetSysColor(kColorBtnFace, 0xFF0000);
  d.SystemColorsChanged();
  EXPECT_EQ(d.Color(), 0x123456u);
}

}  // namespace
}  // namespace bx
