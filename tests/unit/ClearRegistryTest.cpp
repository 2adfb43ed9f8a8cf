// The system menu's "Clear registry" command: the question, and what each
// answer removes, resets and keeps.
#include <gtest/gtest.h>

#include "settings/RegSpecial.h"
#include "tests/unit/ImageWriters.h"
#include "tests/unit/PreviewFixture.h"

namespace bx {
namespace {

constexpr unsigned kClearCommand = 668;
constexpr const char* kOtherWallpaper = "C:\\Users\\me\\AppData\\Other.bmp";

class ClearRegistryTest : public PreviewFixture {
 protected:
  // A machine on which the applet stored everything it stores.
  ClearRegistryTest() {
    SetDesktop("Wallpaper", ConvertedPath());
    SetDesktop("TileWallpaper", "1");
    SetDesktop("WallpaperStyle", "2");
    SetDesktop("WallPaperOriginX", "40");
    SetDesktop("WallPaperOriginY", "50");
    SetDesktop("Pattern", "0 0 0 0 0 0 0 0");
    SetColors("Background", "1 2 3");
    for (const char* name : {"Wallpaper", "WallPaperOriginX", "WallPaperOriginY",
                             "TileWallpaper", "WallpaperStyle", "Pattern"})
      Registry().SetStringValue(kHKeyUsers, kDefaultUserDesktopKey, name, "1");
    Registry().SetStringValue(kHKeyUsers, kDefaultUserColorsKey, "Background", "4 5 6");
    Registry().SetStringValue(kHKeyUsers, kDefaultUserColorsKey, "Window", "7 8 9");
    for (const char* name : {"ShowHint", "WallpaperSaveToDefUser", "WallpaperOriginPre",
                             "WallpaperbgColorPositionX", "WallpaperbgColorPositionY",
                             "WallpaperbgColorOption", "ShowPreviewGrid"})
      SetOwn(name, 0);
    SetOwnText("WallpaperFolder", kWindows);
    SetOwnText("WallpaperOrg", "");
    Files().WriteFile(ConvertedPath(), Bmp24(8, 8, Coded));
    Files().WriteFile(DefaultUserConvertedPath(), Bmp24(8, 8, Coded));
  }

  // Runs the command with the given answer.
  void Clear(TMsgDlgBtn answer) {
    MessageBoxes().Answers.push_back(answer);
    Dialog().SysCommand(kClearCommand);
  }

  bool OwnKeyExists() const { return Env.Registry().KeyExists(kHKeyCurrentUser, kOwnKey); }
  std::optional<std::string> DefaultUser(const std::string& key, const std::string& name) {
    return Registry().GetStringValue(kHKeyUsers, key, name);
  }

  // The state the clearing leaves, for the current user.
  void ExpectCurrentUserCleared() {
    EXPECT_FALSE(OwnKeyExists());
    for (const char* name : {"TileWallpaper", "WallpaperStyle", "WallPaperOriginX",
                             "WallPaperOriginY"}) {
      const std::optional<TRegValue> value =
          Registry().GetRawValue(kHKeyCurrentUser, kDesktopKey, name);
      ASSERT_TRUE(value.has_value()) << name;
      EXPECT_EQ(value->Type, kRegSz) << name;
      EXPECT_EQ(Desktop(name), "0") << name;
    }
    // What the applet does not own stays.
    EXPECT_EQ(Desktop("Pattern"), "0 0 0 0 0 0 0 0");
    EXPECT_EQ(Registry().GetStringValue(kHKeyCurrentUser, kColorsKey, "Background"), "1 2 3");
    // The reload names the wallpaper stored now.
    EXPECT_EQ(System().SysParamCalls.back(),
              (TSysParamCall{kSpiSetDeskWallpaper, 0, Desktop("Wallpaper").value_or("?"),
                             kSpifUpdateIniFile}));
    EXPECT_EQ(Registry().OpenHandleCount(), 0u);
  }
};

TEST_F(ClearRegistryTest, AsksWithTheSevenLinesAndCancelChangesNothing) {
  TFrmBXMain& d = Dialog();
  Clear(TMsgDlgBtn::mbCancel);
  ASSERT_EQ(MessageBoxes().Messages.size(), 1u);
  const TRecordedMessage& m = MessageBoxes().Messages[0];
  EXPECT_EQ(m.Text,
            "Are you sure you want to clear all settings for this program ?\r\r"
            "Yes\t\t = Clear all settings and return to program\r"
            "Yes to all\t = Clear all settings and end program\r"
            "Cancel\t\t = Cancel and return to program\r\r"
            "Warning ! The program can only remove settings for the current user and the "
            "\"Default user\", you will have to manually log on as each apropriate user and "
            "repeat this task.");
  EXPECT_EQ(m.Type, TMsgDlgType::mtConfirmation);
  EXPECT_EQ(m.Buttons, (TMsgDlgButtons{TMsgDlgBtn::mbYes, TMsgDlgBtn::mbCancel,
                                       TMsgDlgBtn::mbYesToAll}));

  EXPECT_TRUE(OwnKeyExists());
  EXPECT_EQ(Desktop("TileWallpaper"), "1");
  EXPECT_EQ(Desktop("Wallpaper"), ConvertedPath());
  EXPECT_EQ(DefaultUser(kDefaultUserColorsKey, "Background"), "4 5 6");
  EXPECT_TRUE(Files().FileExists(ConvertedPath()));
  EXPECT_TRUE(System().SysParamCalls.empty());
  EXPECT_FALSE(d.FClearOnExit);
  EXPECT_FALSE(Application().Terminated());
  Form.reset();
  EXPECT_TRUE(OwnKeyExists());
}

TEST_F(ClearRegistryTest, YesClearsAtOnceAndTheDialogKeepsItsSettings) {
  TFrmBXMain& d = Dialog();
  ASSERT_TRUE(d.RadioButtonTile.Checked());
  d.SpinEditOriginX.SetValue(60);
  ASSERT_TRUE(d.BitBtnApply.Enabled());

  Clear(TMsgDlgBtn::mbYes);
  EXPECT_EQ(MessageBoxes().Messages.size(), 1u);
  EXPECT_FALSE(Files().FileExists(ConvertedPath()));
  EXPECT_FALSE(Files().FileExists(DefaultUserConvertedPath()));
  EXPECT_EQ(Desktop("Wallpaper"), "");
  ExpectCurrentUserCleared();
  // "\Software\Mobrelin" held nothing else; "\Software" holds other keys.
  EXPECT_FALSE(Registry().KeyExists(kHKeyCurrentUser, "\\Software\\Mobrelin"));
  EXPECT_TRUE(Registry().KeyExists(kHKeyCurrentUser, kShellFoldersKey));
  for (const char* name : {"Wallpaper", "WallPaperOriginX", "WallPaperOriginY", "TileWallpaper",
                           "WallpaperStyle"})
    EXPECT_FALSE(DefaultUser(kDefaultUserDesktopKey, name).has_value()) << name;
  EXPECT_FALSE(DefaultUser(kDefaultUserColorsKey, "Background").has_value());
  EXPECT_EQ(DefaultUser(kDefaultUserDesktopKey, "Pattern"), "1");
  EXPECT_EQ(DefaultUser(kDefaultUserColorsKey, "Window"), "7 8 9");

  // Nothing is reloaded: the dialog still holds what the user set.
  EXPECT_FALSE(Application().Terminated());
  EXPECT_FALSE(d.FClearOnExit);
  EXPECT_TRUE(d.RadioButtonTile.Checked());
  EXPECT_EQ(d.FOriginX, 60);
  EXPECT_TRUE(d.BitBtnApply.Enabled());
  d.BitBtnOk.Click();
  EXPECT_TRUE(Application().Terminated());
  // Tiled and stretched, as loaded.
  EXPECT_EQ(Desktop("WallpaperStyle"), "3");
  EXPECT_EQ(Desktop("WallPaperOriginX"), "60");
  EXPECT_EQ(OwnText("WallpaperFolder"), kWindows);
  EXPECT_EQ(MessageTexts().size(), 1u);
}

// The clearing deletes the converted bitmap the dialog was showing; the
// dialog goes on with the image it was made from, and OK converts that again.
TEST_F(ClearRegistryTest, YesThenOkStoresTheChosenImageAgain) {
  const std::string photo = std::string(kWindows) + "photo.jpg";
  Files().WriteFile(photo, test::WriteJpeg(16, 8, 3, test::GradientSamples(16, 8)));
  SetOwnText("WallpaperOrg", photo);
  TFrmBXMain& d = Dialog();
  ASSERT_EQ(d.FWallpaper, ConvertedPath());
  const int listed = d.ListBoxWallpapers.ItemIndex();
  ASSERT_GT(listed, 0);
  ASSERT_EQ(d.ListBoxWallpapers.Items()[static_cast<std::size_t>(listed)], "photo.jpg");
  d.RadioButtonCenter.SetChecked(true);
  ASSERT_TRUE(d.BitBtnOk.Enabled());

  Clear(TMsgDlgBtn::mbYes);
  EXPECT_FALSE(Files().FileExists(ConvertedPath()));
  EXPECT_EQ(d.FWallpaper, photo);
  EXPECT_EQ(d.ListBoxWallpapers.ItemIndex(), listed);
  d.BitBtnOk.Click();
  EXPECT_TRUE(Application().Terminated());
  EXPECT_EQ(Desktop("Wallpaper"), ConvertedPath());
  ASSERT_TRUE(Files().FileExists(ConvertedPath())) << "the wallpaper names a deleted file";
  const std::vector<std::uint8_t> bmp = Files().ReadFile(ConvertedPath());
  ASSERT_GE(bmp.size(), 26u);
  EXPECT_EQ(bmp[0], 'B');
  EXPECT_EQ(bmp[18], 16);  // the photo's width
  EXPECT_EQ(OwnText("WallpaperOrg"), photo);
  EXPECT_EQ(MessageTexts().size(), 1u);
}

TEST_F(ClearRegistryTest, OnlyTheConvertedBitmapIsDroppedFromTheWallpaper) {
  struct Case {
    std::string stored, after;
    bool otherKeyInMobrelin;
  };
  const Case cases[] = {
      // Named in other letter case, it is the same file.
      {"c:\\users\\ME\\appdata\\kvf OF mobrelin.BMP", "", false},
      {kOtherWallpaper, kOtherWallpaper, true},
      {std::string(kDefaultAppData) + kConvertedFileName,
       std::string(kDefaultAppData) + kConvertedFileName, false},
      {"", "", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored);
    Form.reset();
    SetDesktop("Wallpaper", c.stored);
    SetOwn("WallpaperOriginPre", 0);
    if (c.otherKeyInMobrelin)
      Registry().CreateKeyPath(kHKeyCurrentUser, "\\Software\\Mobrelin\\Other");
    Clear(TMsgDlgBtn::mbYes);
    EXPECT_EQ(Desktop("Wallpaper"), c.after);
    EXPECT_FALSE(OwnKeyExists());
    EXPECT_EQ(Registry().KeyExists(kHKeyCurrentUser, "\\Software\\Mobrelin"),
              c.otherKeyInMobrelin);
    DeleteRegistryKey(kHKeyCurrentUser, "\\Software\\Mobrelin\\Other", false);
  }
  EXPECT_EQ(MessageTexts().size(), 4u);
}

TEST_F(ClearRegistryTest, YesToAllEndsTheDialogAndClearsWhenItIsDestroyed) {
  TFrmBXMain& d = Dialog();
  Clear(TMsgDlgBtn::mbYesToAll);
  EXPECT_TRUE(d.FClearOnExit);
  EXPECT_TRUE(Application().Terminated());
  // Ended as Cancel ends it: nothing applied, nothing cleared yet.
  EXPECT_TRUE(OwnKeyExists());
  EXPECT_TRUE(Files().FileExists(ConvertedPath()));
  EXPECT_TRUE(System().SysParamCalls.empty());
  Form.reset();
  EXPECT_FALSE(Files().FileExists(ConvertedPath()));
  EXPECT_EQ(Desktop("Wallpaper"), "");
  EXPECT_FALSE(DefaultUser(kDefaultUserColorsKey, "Background").has_value());
  ExpectCurrentUserCleared();
  EXPECT_EQ(MessageTexts().size(), 1u);
}

TEST_F(ClearRegistryTest, ErrorWhileClearingOnDestructionIsShownAndDestructionCompletes) {
  SetDesktop("Wallpaper", kOtherWallpaper);
  Clear(TMsgDlgBtn::mbYesToAll);
  Registry().SetFailSetValue(kHKeyCurrentUser, kDesktopKey);
  Form.reset();
  ASSERT_EQ(MessageTexts().size(), 2u);
  EXPECT_EQ(MessageTexts()[1], "Failed to set data for 'TileWallpaper'");
  EXPECT_EQ(MessageBoxes().Messages[1].Type, TMsgDlgType::mtError);
  // The steps before the failing one were done, the reload after it not.
  EXPECT_FALSE(OwnKeyExists());
  EXPECT_FALSE(Desktop("WallPaperOriginX").has_value());
  EXPECT_TRUE(System().SysParamCalls.empty());
  EXPECT_EQ(Registry().OpenHandleCount(), 0u);
}

TEST_F(ClearRegistryTest, ReadOnlyDefaultUserIsSkippedQuietly) {
  Registry().SetReadOnly(kHKeyUsers, kDefaultUserDesktopKey);
  Registry().SetReadOnly(kHKeyUsers, kDefaultUserColorsKey);
  // The default user's bitmap is already gone.
  Files().DeleteFile(DefaultUserConvertedPath());
  Clear(TMsgDlgBtn::mbYes);
  EXPECT_EQ(MessageTexts().size(), 1u);
  EXPECT_EQ(DefaultUser(kDefaultUserDesktopKey, "Wallpaper"), "1");
  EXPECT_EQ(DefaultUser(kDefaultUserColorsKey, "Background"), "4 5 6");
  EXPECT_FALSE(Files().FileExists(ConvertedPath()));
  EXPECT_EQ(Desktop("Wallpaper"), "");
  ExpectCurrentUserCleared();
}

}  // namespace
}  // namespace bx
