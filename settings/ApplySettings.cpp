// Makes the settings model the system's desktop: converts an image that is
// no bitmap, writes the registry for the default and the current user and
// the dialog's own preferences, and has the system reload the wallpaper.
#include "components/Picture.h"
#include "dialogs/main/BXMain.h"
#include "platform/Platform.h"
#include "settings/BitmapFile.h"
#include "settings/Encodings.h"
#include "settings/RegSpecial.h"

namespace bx {

namespace {

char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Letters a to z compared without regard to case, every other character exactly.
bool SameFileName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
  return true;
}

// From the last "." of the file name on, in capitals; empty without one.
std::string UpperExtension(const std::string& path) {
  const std::size_t dot = path.rfind('.');
  const std::size_t separator = path.find_last_of("\\/:");
  if (dot == std::string::npos || (separator != std::string::npos && dot < separator)) return {};
  std::string extension = path.substr(dot);
  for (char& c : extension) c = AsciiUpper(c);
  return extension;
}

void WriteDesktop(RegKey root, const std::string& desktopKey, const std::string& colorsKey,
                  const std::string& wallpaper, const TBXSettings& s) {
  WriteRegistryValue(root, desktopKey, "Wallpaper", TVariant(wallpaper));
  WriteRegistryValue(root, desktopKey, "TileWallpaper", TVariant(std::to_string(s.FTileWallpaper)));
  WriteRegistryValue(root, desktopKey, "WallpaperStyle",
                     TVariant(std::to_string(s.FWallpaperStyle)));
  WriteRegistryValue(root, desktopKey, "WallPaperOriginX", TVariant(std::to_string(s.FOriginX)));
  WriteRegistryValue(root, desktopKey, "WallPaperOriginY", TVariant(std::to_string(s.FOriginY)));
  WriteRegistryValue(root, colorsKey, "Background",
                     TVariant(ColorToRGBString(s.FBackgroundColor)));
}

void WriteOwn(const std::string& name, const TVariant& value) {
  WriteRegistryValue(kHKeyCurrentUser, kOwnKey, name, value);
}

}  // namespace

void TFrmBXMain::ApplySettings() {
  const std::string converted = FAppDataFolder + kConvertedFileName;
  const std::string defaultUserConverted = FDefaultUserAppDataFolder + kConvertedFileName;

  if (!FWallpaper.empty() && UpperExtension(FWallpaper) != ".BMP") {
    TPicture picture;
    picture.LoadFromFile(FWallpaper);
    if (!picture.Empty()) {
      picture.Compose(*FImageBitmap, FBackgroundColor);
      if (FSaveToDefUser) SaveBitmapFile(*FImageBitmap, defaultUserConverted);
      // Only a file that was written becomes the wallpaper, so a failed
      // save leaves the chosen image to be converted again.
      SaveBitmapFile(*FImageBitmap, converted);
      FWallpaper = converted;
    }
  }

  const bool isConverted = SameFileName(FWallpaper, converted);
  if (!isConverted) {
    if (FSaveToDefUser) Platform().Files->DeleteFile(defaultUserConverted);
    Platform().Files->DeleteFile(converted);
  }

  if (FSaveToDefUser)
    WriteDesktop(kHKeyUsers, kDefaultUserDesktopKey, kDefaultUserColorsKey,
                 isConverted ? defaultUserConverted : FWallpaper, *this);
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

  Platform().System->SystemParametersInfo(kSpiSetDeskWallpaper, 0, kSpifUpdateIniFile);
  Platform().System->SetSysColor(kColorBackground, FBackgroundColor);
}

}  // namespace bx
