// Loading the settings model and the controls from stored values.
#include <gtest/gtest.h>

#include "settings/BitmapFile.h"
#include "tests/unit/DialogFixture.h"

namespace bx {
namespace {

using LoadSettings = DialogFixture;

TEST_F(LoadSettings, PlainStoredDesktop) {
  SetDesktop("Wallpaper", "");
  SetDesktop("TileWallpaper", "0");
  SetDesktop("WallpaperStyle", "0");
  SetDesktop("Pattern", "(None)");
  SetColors("Background", "0 128 128");
  System().SetMetric(kSmCxVirtualScreen, 1280);
  System().SetMetric(kSmCyVirtualScreen, 720);
  TFrmBXMain& d = Dialog();
  EXPECT_TRUE(MessageTexts().empty());
  EXPECT_TRUE(d.RadioButtonCenter.Checked());
  EXPECT_FALSE(d.RadioButtonTile.Checked());
  EXPECT_FALSE(d.CheckBoxStretch.Checked());
  EXPECT_EQ(d.FTileWallpaper, 0);
  EXPECT_EQ(d.FWallpaperStyle, 0);
  EXPECT_EQ(d.FOriginX, 0);
  EXPECT_EQ(d.FOriginY, 0);
  EXPECT_EQ(d.SpinEditOriginX.Value(), 0);
  EXPECT_EQ(d.SpinEditOriginY.Value(), 0);
  EXPECT_EQ(d.FBackgroundColor, MakeColor(0, 128, 128));
  EXPECT_EQ(d.FWindowTextColor, MakeColor(0, 0, 0));
  EXPECT_EQ(d.FPattern, TPattern{});
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) EXPECT_EQ(d.FPatternBitmap->GetPixel(x, y), MakeColor(0, 128, 128));
  EXPECT_FALSE(d.ShowHint());
  EXPECT_FALSE(Application().ShowHint);
  EXPECT_FALSE(d.FShowPreviewGrid);
  EXPECT_FALSE(d.CheckBoxShowPreviewGrid.Checked());
  EXPECT_FALSE(d.FSaveToDefUser);
  EXPECT_FALSE(d.CheckBoxSaveToDefUser.Checked());
  EXPECT_EQ(d.FWallpaperFolder, kWindows);
  EXPECT_EQ(d.FWallpaper, "");
  EXPECT_EQ(d.FOriginPreset, 0);
  EXPECT_EQ(d.FDesktopWidth, 1280);
  EXPECT_EQ(d.FDesktopHeight, 720);
  EXPECT_EQ(d.ImageWallpaper.Picture().Width(), 1280);
  EXPECT_EQ(d.ImageWallpaper.Picture().Height(), 720);
  EXPECT_FALSE(d.FLoading);
  EXPECT_FALSE(d.BitBtnOk.Enabled());
}

TEST_F(LoadSettings, PlacementPairComesOutNormalised) {
  struct Row {
    const char* tile;
    const char* style;
    bool tileChecked, stretchChecked;
    int modelTile, modelStyle;
  };
  const Row rows[] = {
      {"1", "0", true, false, 1, 0},   {"1", "2", true, true, 0, 3},
      {"1", "1", true, true, 0, 3},    {"1", "-4", true, true, 0, 3},
      {"0", "3", true, true, 0, 3},    {"2", "3", true, true, 0, 3},
      {"0", "1", false, true, 0, 2},   {"0", "2", false, true, 0, 2},
      {"7", "5", false, true, 0, 2},   {"0", "0", false, false, 0, 0},
      {"0", "-1", false, false, 0, -1}, {"2", "0", false, false, 2, 0},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(std::string(r.tile) + "," + r.style);
    Form.reset();
    SetDesktop("TileWallpaper", r.tile);
    SetDesktop("WallpaperStyle", r.style);
    TFrmBXMain& d = Dialog();
    EXPECT_EQ(d.RadioButtonTile.Checked(), r.tileChecked);
    EXPECT_EQ(d.RadioButtonCenter.Checked(), !r.tileChecked);
    EXPECT_EQ(d.CheckBoxStretch.Checked(), r.stretchChecked);
    EXPECT_EQ(d.FTileWallpaper, r.modelTile);
    EXPECT_EQ(d.FWallpaperStyle, r.modelStyle);
    EXPECT_FALSE(d.BitBtnOk.Enabled());
    EXPECT_FALSE(d.BitBtnApply.Enabled());
  }
  EXPECT_TRUE(MessageTexts().empty());
}

TEST_F(LoadSettings, OwnPreferencesAndDesktopValues) {
  Files().CreateDirectory("C:\\Pictures\\");
  // The preview drops a wallpaper whose file is gone: this one is there.
  Files().WriteFile(ConvertedPath(), EncodeBitmapFile(TPixelBuffer(2, 2), ConvertedPath()));
  SetOwn("ShowHint", 1);
  SetOwnText("WallpaperFolder", "C:\\Pictures\\");
  SetOwnText("WallpaperOrg", "C:\\Pictures\\photo.jpg");
  SetOwn("WallpaperOriginPre", 260);
  SetOwn("WallpaperbgColorPositionX", 12);
  SetOwn("WallpaperbgColorPositionY", static_cast<std::uint32_t>(-3));
  SetOwn("WallpaperSaveToDefUser", 1);
  SetOwn("WallpaperbgColorOption", 266);
  SetOwn("ShowPreviewGrid", 2);
  SetDesktop("Wallpaper", "C:\\Users\\me\\AppData\\KVF of Mobrelin.bmp");
  SetDesktop("WallPaperOriginX", "-30");
  SetDesktop("WallPaperOriginY", "450");
  SetDesktop("Pattern", "1 2");
  SetColors("Background", "255 255");
  SetColors("WindowText", "10 20 30");
  TFrmBXMain& d = Dialog();
  EXPECT_TRUE(MessageTexts().empty());
  EXPECT_TRUE(d.ShowHint());
  EXPECT_TRUE(Application().ShowHint);
  EXPECT_EQ(d.FWallpaperFolder, "C:\\Pictures\\");
  EXPECT_EQ(d.FWallpaperOrg, "C:\\Pictures\\photo.jpg");
  EXPECT_EQ(d.FOriginPreset, 4);
  EXPECT_EQ(d.FBGColorPosition, (TPoint{12, -3}));
  EXPECT_TRUE(d.FSaveToDefUser);
  EXPECT_TRUE(d.CheckBoxSaveToDefUser.Checked());
  EXPECT_EQ(d.FBGColorOption, 10);
  EXPECT_TRUE(d.FShowPreviewGrid);
  EXPECT_TRUE(d.CheckBoxShowPreviewGrid.Checked());
  EXPECT_EQ(d.FWallpaper, "C:\\Users\\me\\AppData\\KVF of Mobrelin.bmp");
  EXPECT_EQ(d.FOriginX, -30);
  EXPECT_EQ(d.FOriginY, 450);
  EXPECT_EQ(d.SpinEditOriginX.Value(), -30);
  EXPECT_EQ(d.SpinEditOriginY.Value(), 450);
  // Loading the origins is no hand-set origin: the preset stays.
  EXPECT_EQ(d.FOriginPreset, 4);
  EXPECT_EQ(d.FPattern, (TPattern{1, 2, 2, 2, 2, 2, 2, 2}));
  EXPECT_EQ(d.FBackgroundColor, MakeColor(255, 0, 0));
  EXPECT_EQ(d.FWindowTextColor, MakeColor(10, 20, 30));
  EXPECT_EQ(d.FPatternBitmap->GetPixel(0, 0), MakeColor(10, 20, 30));
  for (int x = 1; x < 8; ++x) EXPECT_EQ(d.FPatternBitmap->GetPixel(x, 0), MakeColor(255, 0, 0));
  EXPECT_EQ(d.FPatternBitmap->GetPixel(1, 1), MakeColor(10, 20, 30));
  EXPECT_EQ(d.FPatternBitmap->GetPixel(0, 1), MakeColor(255, 0, 0));
  EXPECT_FALSE(d.BitBtnOk.Enabled());
  EXPECT_FALSE(d.BitBtnApply.Enabled());
}

TEST_F(LoadSettings, MissingFolderListsTheWindowsFolder) {
  SetOwnText("WallpaperFolder", "C:\\Gone\\");
  EXPECT_EQ(Dialog().FWallpaperFolder, kWindows);
  Form.reset();
  Files().WriteTextFile("C:\\Pictures", "a file, not a folder");
  SetOwnText("WallpaperFolder", "C:\\Pictures");
  EXPECT_EQ(Dialog().FWallpaperFolder, kWindows);
}

TEST_F(LoadSettings, TextThatIsNoNumberEndsTheLoad) {
  SetOwn("ShowHint", 1);
  SetOwnText("WallpaperOrg", "C:\\Pictures\\photo.jpg");
  SetOwn("WallpaperSaveToDefUser", 1);
  SetDesktop("Wallpaper", "C:\\Pictures\\tiles.bmp");
  SetDesktop("TileWallpaper", "abc");
  SetDesktop("WallpaperStyle", "2");
  SetColors("Background", "1 2 3");
  TFrmBXMain& d = Dialog();
  EXPECT_EQ(MessageTexts(), std::vector<std::string>{"'abc' is not a valid integer value"});
  EXPECT_FALSE(d.FLoading);
  // What was read before stays; the rest keeps its initial value.
  EXPECT_TRUE(d.ShowHint());
  EXPECT_EQ(d.FWallpaperOrg, "C:\\Pictures\\photo.jpg");
  EXPECT_TRUE(d.FSaveToDefUser);
  EXPECT_EQ(d.FWallpaper, "C:\\Pictures\\tiles.bmp");
  EXPECT_EQ(d.FWallpaperStyle, 0);
  EXPECT_EQ(d.FBackgroundColor, 0u);
  EXPECT_EQ(d.FDesktopWidth, 0);
  // No control was set, the preview was not drawn.
  EXPECT_FALSE(d.CheckBoxSaveToDefUser.Checked());
  EXPECT_TRUE(d.RadioButtonCenter.Checked());
  EXPECT_TRUE(d.ImageWallpaper.Picture().Empty());
  EXPECT_TRUE(d.ListBoxWallpapers.Items().empty());
  // The dialog still opens, with nothing to save.
  EXPECT_EQ(d.SystemMenuItems().size(), 3u);
  EXPECT_FALSE(d.BitBtnOk.Enabled());
  EXPECT_FALSE(d.BitBtnApply.Enabled());
  EXPECT_FALSE(PreviewBusy);
  d.RadioButtonTile.SetChecked(true);
  EXPECT_TRUE(d.BitBtnApply.Enabled());
}

TEST_F(LoadSettings, ValueOfAnotherRegistryTypeEndsTheLoad) {
  SetOwnText("WallpaperFolder", "C:\\Pictures\\");
  Registry().SetDwordValue(kHKeyCurrentUser, kDesktopKey, "TileWallpaper", 1);
  TFrmBXMain& d = Dialog();
  EXPECT_EQ(MessageTexts(), std::vector<std::string>{"Invalid data type for 'TileWallpaper'"});
  EXPECT_FALSE(d.FLoading);
  EXPECT_EQ(d.FWallpaperFolder, "C:\\Pictures\\");
  EXPECT_EQ(d.FTileWallpaper, 0);
  EXPECT_FALSE(d.RadioButtonTile.Checked());

  // An own number stored as text fails on its own name.
  Form.reset();
  MessageBoxes().Messages.clear();
  RemoveValue(kHKeyCurrentUser, kDesktopKey, "TileWallpaper");
  SetOwnText("WallpaperOriginPre", "9");
  Dialog();
  EXPECT_EQ(MessageTexts(), std::vector<std::string>{"Invalid data type for 'WallpaperOriginPre'"});
}

}  // namespace
}  // namespace bx
