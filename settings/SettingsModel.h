// The user's current choice, as the main dialog holds it, and the working
// fields around it. Read by LoadSettings, stored by ApplySettings.
#pragma once

#include <cstdint>
#include <string>

#include "gfx/Color.h"
#include "settings/Encodings.h"

namespace bx {

struct TPoint {
  std::int32_t X = 0;
  std::int32_t Y = 0;
  bool operator==(const TPoint&) const = default;
};

// Registry layout.
inline const std::string kOwnKey = "\\Software\\Mobrelin\\Bexora";
inline const std::string kDesktopKey = "\\Control Panel\\Desktop";
inline const std::string kColorsKey = "\\Control Panel\\Colors";
inline const std::string kShellFoldersKey =
    "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
inline const std::string kDefaultUserDesktopKey = ".DEFAULT\\Control Panel\\Desktop";
inline const std::string kDefaultUserColorsKey = ".DEFAULT\\Control Panel\\Colors";
inline const std::string kDefaultUserShellFoldersKey =
    "\\.DEFAULT\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
inline const std::string kConvertedFileName = "KVF of Mobrelin.bmp";

struct TBXSettings {
  std::string FWallpaper;
  std::string FWallpaperOrg;
  std::string FWallpaperFolder;
  std::int32_t FTileWallpaper = 0;
  std::int32_t FWallpaperStyle = 0;
  std::int32_t FOriginX = 0;
  std::int32_t FOriginY = 0;
  std::uint8_t FOriginPreset = 0;
  TPattern FPattern{};
  TColor FBackgroundColor = 0;
  TColor FWindowTextColor = 0;
  std::uint8_t FBGColorOption = 0;
  TPoint FBGColorPosition;
  bool FSaveToDefUser = false;
  bool FShowPreviewGrid = false;

  std::int32_t FDesktopWidth = 0;
  std::int32_t FDesktopHeight = 0;
  std::string FAppDataFolder;
  std::string FDefaultUserAppDataFolder;
  bool FLoading = false;
};

}  // namespace bx
