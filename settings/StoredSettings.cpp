#include "settings/StoredSettings.h"

#include "settings/Encodings.h"
#include "settings/RegSpecial.h"

namespace bx {

namespace {

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

void WriteOwn(const std::string& name, const TVariant& value) {
  WriteRegistryValue(kHKeyCurrentUser, kOwnKey, name, value);
}

}  // namespace

bool ReadShowHint(bool defaultValue) {
  return ReadOwn("ShowHint", TVariant(defaultValue)).AsBoolean();
}

void ReadOwnSettings(TBXSettings& s) {
  s.FWallpaperFolder = ReadOwn("WallpaperFolder", TVariant(std::string())).AsString();
  s.FWallpaperOrg = ReadOwn("WallpaperOrg", TVariant(std::string())).AsString();
  s.FOriginPreset = LowByte(ReadOwn("WallpaperOriginPre", TVariant(std::int32_t{0})).AsInteger());
  s.FBGColorPosition.X =
      ReadOwn("WallpaperbgColorPositionX", TVariant(std::int32_t{0})).AsInteger();
  s.FBGColorPosition.Y =
      ReadOwn("WallpaperbgColorPositionY", TVariant(std::int32_t{0})).AsInteger();
  s.FSaveToDefUser = ReadOwn("WallpaperSaveToDefUser", TVariant(false)).AsBoolean();
  s.FBGColorOption =
      LowByte(ReadOwn("WallpaperbgColorOption", TVariant(std::int32_t{0})).AsInteger());
  s.FShowPreviewGrid = ReadOwn("ShowPreviewGrid", TVariant(false)).AsBoolean();
}

void ReadDesktopSettings(TBXSettings& s) {
  s.FWallpaper = ReadText(kDesktopKey, "Wallpaper", "");
  s.FTileWallpaper = ReadDesktopNumber("TileWallpaper");
  s.FWallpaperStyle = ReadDesktopNumber("WallpaperStyle");
  s.FOriginX = ReadDesktopNumber("WallPaperOriginX");
  s.FOriginY = ReadDesktopNumber("WallPaperOriginY");
  PatternStringToBytes(ReadText(kDesktopKey, "Pattern", "0 0 0 0 0 0 0 0"), s.FPattern);

  s.FBackgroundColor = RGBStringToColor(ReadText(kColorsKey, "Background", "0 0 0"));
  s.FWindowTextColor = RGBStringToColor(ReadText(kColorsKey, "WindowText", "0 0 0"));
}

TDesktopWrite WriteDesktopSettings(RegKey root, const std::string& desktopKey,
                                   const std::string& colorsKey, const std::string& wallpaper,
                                   const TBXSettings& s) {
  TDesktopWrite result;
  auto write = [&](const std::string& key, const char* name, const std::string& text) {
    const bool stored = WriteRegistryValue(root, key, name, TVariant(text));
    if (!stored && result.Refused.empty()) result.Refused = name;
    return stored;
  };
  result.Wallpaper = write(desktopKey, "Wallpaper", wallpaper);
  write(desktopKey, "TileWallpaper", std::to_string(s.FTileWallpaper));
  write(desktopKey, "WallpaperStyle", std::to_string(s.FWallpaperStyle));
  write(desktopKey, "WallPaperOriginX", std::to_string(s.FOriginX));
  write(desktopKey, "WallPaperOriginY", std::to_string(s.FOriginY));
  write(colorsKey, "Background", ColorToRGBString(s.FBackgroundColor));
  return result;
}

void WriteOwnSettings(const TBXSettings& s, bool showHint) {
  WriteOwn("ShowHint", TVariant(showHint));
  WriteOwn("WallpaperFolder", TVariant(s.FWallpaperFolder));
  WriteOwn("WallpaperOrg", TVariant(s.FWallpaperOrg));
  WriteOwn("WallpaperOriginPre", TVariant(s.FOriginPreset));
  WriteOwn("WallpaperbgColorPositionX", TVariant(s.FBGColorPosition.X));
  WriteOwn("WallpaperbgColorPositionY", TVariant(s.FBGColorPosition.Y));
  WriteOwn("WallpaperSaveToDefUser", TVariant(s.FSaveToDefUser));
  WriteOwn("WallpaperbgColorOption", TVariant(s.FBGColorOption));
  WriteOwn("ShowPreviewGrid", TVariant(s.FShowPreviewGrid));
}

}  // namespace bx
