// The main dialog reading its settings from Wine's real registry: values
// stored with the plain Reg* calls come out in the settings model and in the
// dialog's real control windows, through the build's own services.
#include <gtest/gtest.h>

#include <memory>

#include "dialogs/main/BXMain.h"
#include "settings/SettingsModel.h"
#include "tests/unit/ImageWriters.h"
#include "tests/wine/WineTestUtil.h"

namespace bx {
namespace {

using namespace winetest;

// The layout's keys as the raw calls take them.
class SettingsWineTest : public ::testing::Test {
 protected:
  SettingsWineTest() {
    Application().ClearTerminate();
    Application().ShowHint = false;
    PreviewBusy = false;
  }
  ~SettingsWineTest() override {
    if (Dialog) {
      DestroyFormWindow(*Dialog);
      Dialog.reset();
    }
    Application().ShowHint = false;
  }

  void SetDesktop(const std::string& name, const std::string& text) {
    Registry.SetText(HKEY_CURRENT_USER, Raw(kDesktopKey), name, text);
  }
  void SetColors(const std::string& name, const std::string& text) {
    Registry.SetText(HKEY_CURRENT_USER, Raw(kColorsKey), name, text);
  }
  void SetOwn(const std::string& name, DWORD value) {
    Registry.SetDword(HKEY_CURRENT_USER, Raw(kOwnKey), name, value);
  }
  void SetOwnText(const std::string& name, const std::string& text) {
    Registry.SetText(HKEY_CURRENT_USER, Raw(kOwnKey), name, text);
  }
  // Every own value read at load, removed unless the test sets it.
  void ClearOwnKey() {
    for (const char* name : {"ShowHint", "WallpaperFolder", "WallpaperOrg", "WallpaperOriginPre",
                             "WallpaperbgColorPositionX", "WallpaperbgColorPositionY",
                             "WallpaperSaveToDefUser", "WallpaperbgColorOption", "ShowPreviewGrid"})
      Registry.Remove(HKEY_CURRENT_USER, Raw(kOwnKey), name);
  }

  TFrmBXMain& Open() {
    Dialog = std::make_unique<TFrmBXMain>();
    return *Dialog;
  }
  bool Checked(const char* control) {
    return SendMessageW(FindControlWindow(*Dialog, control), BM_GETCHECK, 0, 0) == BST_CHECKED;
  }

  TRegistryRestorer Registry;
  TTempFolder Folder{"bxload"};
  TRecordingMessageBoxes Boxes;
  TPlatformScope Scope{Boxes};
  std::unique_ptr<TFrmBXMain> Dialog;
};

TEST_F(SettingsWineTest, StoredValuesComeOutInTheModelAndTheControls) {
  ASSERT_FALSE(Folder.Path().empty());
  const std::string tiles = Folder.File("tiles.bmp");
  test::TDibSpec bmp;
  bmp.Width = 4;
  bmp.Height = 4;
  bmp.Bits = test::PackDibRows(4, 4, 24, std::vector<std::uint32_t>(16, 0x336699), false);
  ASSERT_TRUE(WriteWholeFile(tiles, test::WriteBmp(bmp)));

  ClearOwnKey();
  SetDesktop("Wallpaper", tiles);
  SetDesktop("TileWallpaper", "1");
  SetDesktop("WallpaperStyle", "2");
  SetDesktop("WallPaperOriginX", "37");
  SetDesktop("WallPaperOriginY", "-12");
  // Row 0: the leftmost pixel; row 1: the two leftmost; row 7: the rightmost.
  SetDesktop("Pattern", "1 3 0 0 0 0 0 128");
  SetColors("Background", "10 120 230");
  SetColors("WindowText", "200 10 20");
  SetOwn("ShowHint", 1);
  SetOwnText("WallpaperFolder", Folder.Path());
  SetOwnText("WallpaperOrg", "C:\\Pictures\\photo.jpg");
  SetOwn("WallpaperOriginPre", 260);
  SetOwn("WallpaperbgColorPositionX", 5);
  SetOwn("WallpaperbgColorPositionY", static_cast<DWORD>(-7));
  SetOwn("WallpaperSaveToDefUser", 1);
  SetOwn("WallpaperbgColorOption", 10);
  SetOwn("ShowPreviewGrid", 1);
  // Stored without the closing "\" that the converted file's path needs.
  Registry.SetText(HKEY_CURRENT_USER, Raw(kShellFoldersKey), "AppData", Folder.Path());

  TFrmBXMain& d = Open();
  EXPECT_EQ(Boxes.Texts, std::vector<std::string>{});
  EXPECT_FALSE(d.FLoading);

  EXPECT_EQ(d.FWallpaper, tiles);
  EXPECT_EQ(d.FTileWallpaper, 0);
  EXPECT_EQ(d.FWallpaperStyle, 3);
  EXPECT_EQ(d.FOriginX, 37);
  EXPECT_EQ(d.FOriginY, -12);
  EXPECT_EQ(d.FBackgroundColor, RGB(10, 120, 230));
  EXPECT_EQ(d.FWindowTextColor, RGB(200, 10, 20));
  EXPECT_TRUE(d.ShowHint());
  EXPECT_TRUE(Application().ShowHint);
  // The image list's fill ends the folder with its "\".
  EXPECT_EQ(d.FWallpaperFolder, Folder.Path() + "\\");
  EXPECT_EQ(d.FWallpaperOrg, "C:\\Pictures\\photo.jpg");
  EXPECT_EQ(d.FOriginPreset, 4);
  EXPECT_EQ(d.FBGColorPosition, (TPoint{5, -7}));
  EXPECT_TRUE(d.FSaveToDefUser);
  EXPECT_EQ(d.FBGColorOption, 10);
  EXPECT_TRUE(d.FShowPreviewGrid);
  EXPECT_EQ(d.FAppDataFolder, Folder.Path() + "\\");
  EXPECT_EQ(d.FDesktopWidth, GetSystemMetrics(SM_CXVIRTUALSCREEN));
  EXPECT_EQ(d.FDesktopHeight, GetSystemMetrics(SM_CYVIRTUALSCREEN));
  EXPECT_EQ(d.ImageWallpaper.Picture().Width(), d.FDesktopWidth);

  ASSERT_TRUE(d.FPatternBitmap);
  const TPattern rows = {1, 3, 0, 0, 0, 0, 0, 128};
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x)
      EXPECT_EQ(d.FPatternBitmap->GetPixel(x, y),
                (rows[y] >> x) & 1 ? RGB(200, 10, 20) : RGB(10, 120, 230))
          << "pattern pixel " << x << ", " << y;

  EXPECT_TRUE(d.RadioButtonTile.Checked());
  EXPECT_TRUE(d.CheckBoxStretch.Checked());
  EXPECT_EQ(d.SpinEditOriginX.Value(), 37);
  EXPECT_EQ(d.SpinEditOriginY.Value(), -12);
  // Loading is no change of the user's: nothing to save yet.
  EXPECT_FALSE(d.BitBtnOk.Enabled());
  EXPECT_FALSE(d.BitBtnApply.Enabled());

  // The real windows show the loaded state.
  ASSERT_TRUE(CreateFormWindow(d));
  EXPECT_TRUE(Checked("RadioButtonTile"));
  EXPECT_FALSE(Checked("RadioButtonCenter"));
  EXPECT_TRUE(Checked("CheckBoxStretch"));
  EXPECT_TRUE(Checked("CheckBoxSaveToDefUser"));
  EXPECT_TRUE(Checked("CheckBoxShowPreviewGrid"));
  EXPECT_EQ(TextOf(FindControlWindow(d, "SpinEditOriginX")), L"37");
  EXPECT_EQ(TextOf(FindControlWindow(d, "SpinEditOriginY")), L"-12");
  EXPECT_FALSE(IsWindowEnabled(FindControlWindow(d, "BitBtnApply")));
}

TEST_F(SettingsWineTest, MissingFoldersFallBackToTheWindowsFolder) {
  wchar_t windows[MAX_PATH] = {};
  ASSERT_GT(GetWindowsDirectoryW(windows, MAX_PATH), 0u);
  std::string windowsFolder = Narrow(windows);
  if (windowsFolder.back() != '\\') windowsFolder += '\\';

  ClearOwnKey();
  SetOwnText("WallpaperFolder", Folder.File("gone"));
  SetDesktop("Wallpaper", "");
  SetDesktop("TileWallpaper", "0");
  SetDesktop("WallpaperStyle", "0");
  SetDesktop("WallPaperOriginX", "0");
  SetDesktop("WallPaperOriginY", "0");
  SetDesktop("Pattern", "(None)");
  SetColors("Background", "0 128 128");
  Registry.Remove(HKEY_CURRENT_USER, Raw(kShellFoldersKey), "AppData");

  TFrmBXMain& d = Open();
  EXPECT_EQ(Boxes.Texts, std::vector<std::string>{});
  EXPECT_EQ(d.FAppDataFolder, windowsFolder);
  EXPECT_EQ(d.FWallpaperFolder, windowsFolder) << "a folder that is gone is not listed";
  EXPECT_FALSE(d.ShowHint());
  EXPECT_FALSE(d.FSaveToDefUser);
  EXPECT_EQ(d.FTileWallpaper, 0);
  EXPECT_EQ(d.FWallpaperStyle, 0);
  EXPECT_EQ(d.FBackgroundColor, RGB(0, 128, 128));
  EXPECT_TRUE(d.RadioButtonCenter.Checked());
  EXPECT_FALSE(d.CheckBoxStretch.Checked());
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) EXPECT_EQ(d.FPatternBitmap->GetPixel(x, y), RGB(0, 128, 128));

  // The folder that exists is kept as stored.
  Dialog.reset();
  SetOwnText("WallpaperFolder", Folder.Path() + "\\");
  EXPECT_EQ(Open().FWallpaperFolder, Folder.Path() + "\\");
}

}  // namespace
}  // namespace bx
