// Fills the settings model and the dialog's controls from the registry, once,
// when the dialog is created.
#include "dialogs/main/BXMain.h"
#include "platform/Platform.h"
#include "settings/Encodings.h"
#include "settings/RegSpecial.h"

namespace bx {

namespace {

// FLoading is set for the whole load and cleared however it ends.
class TLoadingGuard {
 public:
  explicit TLoadingGuard(bool& flag) : FFlag(flag) { FFlag = true; }
  ~TLoadingGuard() { FFlag = false; }
  TLoadingGuard(const TLoadingGuard&) = delete;
  TLoadingGuard& operator=(const TLoadingGuard&) = delete;

 private:
  bool& FFlag;
};

TVariant ReadOwn(const std::string& name, const TVariant& defaultValue) {
  return ReadRegistryValue(kHKeyCurrentUser, kOwnKey, name, defaultValue);
}

std::string ReadText(const std::string& key, const std::string& name,
                     const std::string& defaultValue) {
  return ReadRegistryValue(kHKeyCurrentUser, key, name, TVariant(defaultValue)).AsString();
}

// The desktop keeps its numbers as decimal text.
std::int32_t ReadDesktopNumber(const std::string& name) {
  return StrToInt(ReadText(kDesktopKey, name, "0"));
}

std::uint8_t LowByte(std::int32_t value) { return static_cast<std::uint8_t>(value & 0xFF); }

}  // namespace

void TFrmBXMain::LoadSettings() {
  {
    TLoadingGuard loading(FLoading);

    SetShowHint(ReadOwn("ShowHint", TVariant(ShowHint())).AsBoolean());
    FWallpaperFolder = ReadOwn("WallpaperFolder", TVariant(std::string())).AsString();
    FWallpaperOrg = ReadOwn("WallpaperOrg", TVariant(std::string())).AsString();
    FOriginPreset = LowByte(ReadOwn("WallpaperOriginPre", TVariant(std::int32_t{0})).AsInteger());
    FBGColorPosition.X = ReadOwn("WallpaperbgColorPositionX", TVariant(std::int32_t{0})).AsInteger();
    FBGColorPosition.Y = ReadOwn("WallpaperbgColorPositionY", TVariant(std::int32_t{0})).AsInteger();
    FSaveToDefUser = ReadOwn("WallpaperSaveToDefUser", TVariant(false)).AsBoolean();
    FBGColorOption =
        LowByte(ReadOwn("WallpaperbgColorOption", TVariant(std::int32_t{0})).AsInteger());
    FShowPreviewGrid = ReadOwn("ShowPreviewGrid", TVariant(false)).AsBoolean();

    FWallpaper = ReadText(kDesktopKey, "Wallpaper", "");
    FTileWallpaper = ReadDesktopNumber("TileWallpaper");
    FWallpaperStyle = ReadDesktopNumber("WallpaperStyle");
    FOriginX = ReadDesktopNumber("WallPaperOriginX");
    FOriginY = ReadDesktopNumber("WallPaperOriginY");
    PatternStringToBytes(ReadText(kDesktopKey, "Pattern", "0 0 0 0 0 0 0 0"), FPattern);

    FBackgroundColor = RGBStringToColor(ReadText(kColorsKey, "Background", "0 0 0"));
    FWindowTextColor = RGBStringToColor(ReadText(kColorsKey, "WindowText", "0 0 0"));

    FDesktopWidth = Platform().System->GetSystemMetrics(kSmCxVirtualScreen);
    FDesktopHeight = Platform().System->GetSystemMetrics(kSmCyVirtualScreen);

    Application().ShowHint = ShowHint();

    // Each control runs its own reaction as a user's change would; together
    // they bring the placement pair into one of its four combinations.
    SpinEditOriginX.SetValue(FOriginX);
    SpinEditOriginY.SetValue(FOriginY);
    if (FTileWallpaper == 1 || FWallpaperStyle == 3) RadioButtonTile.SetChecked(true);
    if (FWallpaperStyle > 0) CheckBoxStretch.SetChecked(true);
    CheckBoxSaveToDefUser.SetChecked(FSaveToDefUser);
    CheckBoxShowPreviewGrid.SetChecked(FShowPreviewGrid);

    BuildPatternBitmap(FWindowTextColor, FBackgroundColor);

    ImageWallpaper.Picture() = TPixelBuffer(FDesktopWidth, FDesktopHeight);
    ImageWallpaper.Invalidate();
    if (FWallpaperFolder.empty() || !Platform().Files->DirectoryExists(FWallpaperFolder))
      FWallpaperFolder = GetWindowsFolder();
  }
  FillWallpaperList();
  UpdatePreview();
}

}  // namespace bx
