// The system menu's "Clear registry" command in the real window under Wine:
// the real confirmation box with its seven lines, and the real registry and
// files cleared at once (Yes) or after the dialog's run (Yes to All).
#include <gtest/gtest.h>

#include "dialogs/main/BXMain.h"
#include "settings/RegSpecial.h"
#include "settings/SettingsModel.h"
#include "tests/unit/ImageWriters.h"
#include "tests/wine/ThreadWindows.h"
#include "tests/wine/WineTestUtil.h"

#include <memory>

namespace bx {
namespace {

using namespace winetest;
using wine::ChildrenOfClass;
using wine::WhileShown;
using wine::WindowText;

constexpr const char* kDesktop = "Control Panel\\Desktop";
constexpr const char* kDefaultDesktop = ".DEFAULT\\Control Panel\\Desktop";
constexpr const char* kDefaultColors = ".DEFAULT\\Control Panel\\Colors";
constexpr const char* kShellFolders =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

class ClearRegistryWineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Platform().Registry && Platform().Files) << "the Windows services";
    ASSERT_FALSE(Folder.Path().empty());
    // The converted bitmaps live in a folder of the test's own.
    Saved.SetText(HKEY_CURRENT_USER, kShellFolders, "AppData", Folder.Path());
    Converted = Folder.File(kConvertedFileName);
    ASSERT_TRUE(WriteWholeFile(Converted, {'B', 'M'}));
    // A wallpaper that is not there keeps the preview out of the way.
    Saved.SetText(HKEY_CURRENT_USER, kDesktop, "Wallpaper", Converted + ".gone");
    for (const char* name : {"TileWallpaper", "WallpaperStyle", "WallPaperOriginX",
                             "WallPaperOriginY"})
      Saved.SetText(HKEY_CURRENT_USER, kDesktop, name, "1");
    for (const char* name : {"Wallpaper", "WallPaperOriginX", "WallPaperOriginY",
                             "TileWallpaper", "WallpaperStyle"})
      Saved.SetText(HKEY_USERS, kDefaultDesktop, name, "1");
    Saved.SetText(HKEY_USERS, kDefaultColors, "Background", "1 2 3");
    Saved.Keep(HKEY_USERS, kDefaultDesktop, "Pattern");
    DeleteRegTree(HKEY_CURRENT_USER, "Software\\Mobrelin");
    WriteRegistryValue(kHKeyCurrentUser, kOwnKey, "ShowPreviewGrid", TVariant(true));
    Open();
  }
  void Open() {
    if (Dialog) FormHost().Release(*Dialog);
    Application().ClearTerminate();
    Dialog = std::make_unique<TFrmBXMain>(0);
    Window = ShowFormWindow(*Dialog);
    ASSERT_TRUE(Window);
  }
  void TearDown() override {
    if (Dialog) FormHost().Release(*Dialog);
    Dialog.reset();
    Application().ClearTerminate();
    DeleteRegTree(HKEY_CURRENT_USER, "Software\\Mobrelin");
  }

  // The text shown in a box, and which box it was, when `run` asks.
  HWND Answer(const std::function<void()>& run, const std::wstring& button) {
    return WhileShown(L"Confirm", run, [&](HWND box) {
      Sleep(100);
      for (HWND s : ChildrenOfClass(box, L"Static"))
        if (!WindowText(s).empty()) Shown = WindowText(s);
      for (HWND b : ChildrenOfClass(box, L"Button"))
        if (WindowText(b) == button) PostMessageW(b, BM_CLICK, 0, 0);
    });
  }

  void ExpectCleared() {
    EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, "Software\\Mobrelin\\Bexora"));
    EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, "Software\\Mobrelin"));
    for (const char* name : {"TileWallpaper", "WallpaperStyle", "WallPaperOriginX",
                             "WallPaperOriginY"}) {
      const auto value = ReadRegValue(HKEY_CURRENT_USER, kDesktop, name);
      ASSERT_TRUE(value) << name;
      EXPECT_EQ(value->Type, static_cast<DWORD>(REG_SZ)) << name;
      EXPECT_EQ(value->Text(), "0") << name;
    }
    for (const char* name : {"Wallpaper", "WallPaperOriginX", "WallPaperOriginY",
                             "TileWallpaper", "WallpaperStyle"})
      EXPECT_FALSE(ReadRegValue(HKEY_USERS, kDefaultDesktop, name)) << name;
    EXPECT_FALSE(ReadRegValue(HKEY_USERS, kDefaultColors, "Background"));
    EXPECT_FALSE(FileExistsOnDisk(Converted));
  }

  TTempFolder Folder{"bxclear"};
  TRegistryRestorer Saved;
  std::string Converted;
  std::wstring Shown;
  std::unique_ptr<TFrmBXMain> Dialog;
  HWND Window = nullptr;
};

TEST_F(ClearRegistryWineTest, YesAsksWithTheSevenLinesAndClearsTheRealRegistry) {
  ASSERT_TRUE(RegKeyExists(HKEY_CURRENT_USER, "Software\\Mobrelin\\Bexora"));
  ASSERT_TRUE(Answer([&] { SendMessageW(Window, WM_SYSCOMMAND, 668, 0); }, L"&Yes"));
  EXPECT_EQ(Shown,
            L"Are you sure you want to clear all settings for this program ?\r\n\r\n"
            L"Yes\t\t = Clear all settings and return to program\r\n"
            L"Yes to all\t = Clear all settings and end program\r\n"
            L"Cancel\t\t = Cancel and return to program\r\n\r\n"
            L"Warning ! The program can only remove settings for the current user and the "
            L"\"Default user\", you will have to manually log on as each apropriate user and "
            L"repeat this task.");
  ExpectCleared();
  // The dialog stays open.
  EXPECT_TRUE(IsWindowVisible(Window));
  EXPECT_FALSE(Application().Terminated());
}

// The clearing deletes the converted bitmap of the chosen photo; OK then
// stores the photo again, converted anew, not the name of the deleted file.
TEST_F(ClearRegistryWineTest, YesThenOkStoresTheChosenImageAgain) {
  const std::string photo = Folder.File("photo.jpg");
  ASSERT_TRUE(WriteWholeFile(photo, test::WriteJpeg(40, 30, 3, test::GradientSamples(40, 30))));
  // The bitmap an earlier OK made of it.
  test::TDibSpec converted;
  converted.Width = converted.Height = 4;
  converted.Bits = test::PackDibRows(4, 4, 24, std::vector<std::uint32_t>(16, 0x336699), false);
  ASSERT_TRUE(WriteWholeFile(Converted, test::WriteBmp(converted)));
  Saved.SetText(HKEY_CURRENT_USER, kDesktop, "Wallpaper", Converted);
  // Tiled, which every desktop shows itself: the bitmap is the photo's.
  Saved.SetText(HKEY_CURRENT_USER, kDesktop, "TileWallpaper", "1");
  for (const char* name : {"WallpaperStyle", "WallPaperOriginX", "WallPaperOriginY"})
    Saved.SetText(HKEY_CURRENT_USER, kDesktop, name, "0");
  WriteRegistryValue(kHKeyCurrentUser, kOwnKey, "WallpaperOrg", TVariant(photo));
  WriteRegistryValue(kHKeyCurrentUser, kOwnKey, "WallpaperFolder", TVariant(Folder.Path()));
  Open();
  HWND list = FindControlWindow(*Dialog, "ListBoxWallpapers");
  ASSERT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 2) << "(none) and the photo";
  ASSERT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 1);
  // A change of placement enables OK.
  ClickCentre(FindControlWindow(*Dialog, "RadioButtonCenter"));
  ClickCentre(FindControlWindow(*Dialog, "RadioButtonTile"));
  ASSERT_TRUE(IsWindowEnabled(FindControlWindow(*Dialog, "BitBtnOk")));

  ASSERT_TRUE(Answer([&] { SendMessageW(Window, WM_SYSCOMMAND, 668, 0); }, L"&Yes"));
  EXPECT_FALSE(FileExistsOnDisk(Converted));
  EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 1);
  PostMessageW(FindControlWindow(*Dialog, "BitBtnOk"), BM_CLICK, 0, 0);
  ASSERT_TRUE(PumpUntil([] { return Application().Terminated(); }));
  const auto stored = ReadRegValue(HKEY_CURRENT_USER, kDesktop, "Wallpaper");
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored->Text(), Converted);
  ASSERT_TRUE(FileExistsOnDisk(Converted)) << "the wallpaper names a deleted file";
  const auto bmp = ReadWholeFile(Converted);
  ASSERT_TRUE(bmp && bmp->size() >= 26u);
  EXPECT_EQ((*bmp)[0], 'B');
  EXPECT_EQ((*bmp)[18], 40) << "the photo's width";
  const auto org = ReadRegValue(HKEY_CURRENT_USER, "Software\\Mobrelin\\Bexora", "WallpaperOrg");
  ASSERT_TRUE(org);
  EXPECT_EQ(org->Text(), photo);
}

TEST_F(ClearRegistryWineTest, YesToAllClearsAfterTheDialogClosed) {
  PostMessageW(Window, WM_SYSCOMMAND, 668, 0);
  ASSERT_TRUE(Answer([&] { FormHost().ShowModal(*Dialog); }, L"Yes to &All"));
  EXPECT_TRUE(Application().Terminated());
  EXPECT_TRUE(RegKeyExists(HKEY_CURRENT_USER, "Software\\Mobrelin\\Bexora"));
  EXPECT_TRUE(FileExistsOnDisk(Converted));
  FormHost().Release(*Dialog);
  EXPECT_FALSE(IsWindow(Window));
  Dialog.reset();
  ExpectCleared();
}

}  // namespace
}  // namespace bx
