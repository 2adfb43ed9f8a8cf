// Makes the settings model the system's desktop: converts an image that is
// no bitmap, writes the registry for the default and the current user and
// the dialog's own preferences, and has the system reload the wallpaper.
#include <exception>

#include "components/Picture.h"
#include "dialogs/main/BXMain.h"
#include "platform/Platform.h"
#include "settings/BitmapFile.h"
#include "settings/Encodings.h"
#include "settings/RegSpecial.h"
#include "settings/ReloadWallpaper.h"

namespace bx {

namespace {

// From the last "." of the file name on, in capitals; empty without one.
std::string UpperExtension(const std::string& path) {
  const std::size_t dot = path.rfind('.');
  const std::size_t separator = path.find_last_of("\\/:");
  if (dot == std::string::npos || (separator != std::string::npos && dot < separator)) return {};
  std::string extension = path.substr(dot);
  for (char& c : extension) c = AsciiUpper(c);
  return extension;
}

// True when "Wallpaper" was stored; a key the user may not change is skipped.
bool WriteDesktop(RegKey root, const std::string& desktopKey, const std::string& colorsKey,
                  const std::string& wallpaper, const TBXSettings& s) {
  const bool stored = WriteRegistryValue(root, desktopKey, "Wallpaper", TVariant(wallpaper));
  WriteRegistryValue(root, desktopKey, "TileWallpaper", TVariant(std::to_string(s.FTileWallpaper)));
  WriteRegistryValue(root, desktopKey, "WallpaperStyle",
                     TVariant(std::to_string(s.FWallpaperStyle)));
  WriteRegistryValue(root, desktopKey, "WallPaperOriginX", TVariant(std::to_string(s.FOriginX)));
  WriteRegistryValue(root, desktopKey, "WallPaperOriginY", TVariant(std::to_string(s.FOriginY)));
  WriteRegistryValue(root, colorsKey, "Background",
                     TVariant(ColorToRGBString(s.FBackgroundColor)));
  return stored;
}

void WriteOwn(const std::string& name, const TVariant& value) {
  WriteRegistryValue(kHKeyCurrentUser, kOwnKey, name, value);
}

}  // namespace

void TFrmBXMain::ApplySettings() {
  const std::string converted = FAppDataFolder + kConvertedFileName;
  const std::string defaultUserConverted = FDefaultUserAppDataFolder + kConvertedFileName;
  // Cleared when the default user's bitmap cannot be written (a user without
  // rights to it): that user's part is skipped, the current user's applies.
  bool defaultUser = FSaveToDefUser;
  bool defaultUserFailed = false;
  std::string defaultUserFailure;

  if (!FWallpaper.empty() && UpperExtension(FWallpaper) != ".BMP") {
    TPicture picture;
    picture.LoadFromFile(FWallpaper);
    if (!picture.Empty()) {
      picture.Compose(*FImageBitmap, FBackgroundColor);
      if (defaultUser) {
        try {
          SaveBitmapFile(*FImageBitmap, defaultUserConverted);
        } catch (const std::exception& error) {
          defaultUser = false;
          defaultUserFailed = true;
          defaultUserFailure = error.what();
        }
      }
      // Only a file that was written becomes the wallpaper, so a failed
      // save leaves the chosen image to be converted again.
      SaveBitmapFile(*FImageBitmap, converted);
      // The image keeps its trace also when another program stored it.
      FWallpaperOrg = FWallpaper;
      FWallpaper = converted;
    }
  }

  const bool isConverted = SameFileName(FWallpaper, converted);
  const bool defaultUserStored =
      defaultUser && WriteDesktop(kHKeyUsers, kDefaultUserDesktopKey, kDefaultUserColorsKey,
                                  isConverted ? defaultUserConverted : FWallpaper, *this);
  const bool currentUserStored =
      WriteDesktop(kHKeyCurrentUser, kDesktopKey, kColorsKey, FWallpaper, *this);

  WriteOwn("ShowHint", TVariant(ShowHint()));
  WriteOwn("WallpaperFolder", TVariant(FWallpaperFolder));
  WriteOwn("WallpaperOrg", TVariant(FWallpaperOrg));
  WriteOwn("WallpaperOriginPre", TVariant(FOriginPreset));
  WriteOwn("WallpaperbgColorPositionX", TVariant(FBGColorPosition.X));
  WriteOwn("WallpaperbgColorPositionY", TVariant(FBGColorPosition.Y));
  WriteOwn("WallpaperSaveToDefUser", TVariant(FSaveToDefUser));
  WriteOwn("WallpaperbgColorOption", TVariant(FBGColorOption));
  WriteOwn("ShowPreviewGrid", TVariant(FShowPreviewGrid));

  // Old converted files go only once "Wallpaper" names another file: a
  // write that failed leaves the value naming a file that is still there.
  if (!isConverted) {
    if (defaultUserStored) Platform().Files->DeleteFile(defaultUserConverted);
    if (currentUserStored) Platform().Files->DeleteFile(converted);
  }

  ReloadWallpaper();
  Platform().System->SetSysColor(kColorBackground, FBackgroundColor);

  if (defaultUserFailed && !FDefaultUserFailureShown) {
    FDefaultUserFailureShown = true;
    Platform().MessageBoxes->MessageDlg(
        "The default user could not be changed (" + defaultUserFailure +
            "). The settings were applied to the current user.",
        TMsgDlgType::mtInformation, {TMsgDlgBtn::mbOK});
  }
}

}  // namespace bx
