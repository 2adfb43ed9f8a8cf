// The system menu's "Clear registry" command: removes everything the applet
// stored (its own key, its converted bitmaps, the default user's copies of
// the desktop values) and resets the current user's placement values.
#include <initializer_list>
#include <string>

#include "dialogs/main/BXMain.h"
#include "platform/FileNames.h"
#include "platform/Platform.h"
#include "settings/RegSpecial.h"
#include "settings/ReloadWallpaper.h"

namespace bx {

namespace {

// The question's lines are joined by a lone carriage return.
const std::string kClearQuestion =
    "Are you sure you want to clear all settings for this program ?\r"
    "\r"
    "Yes\t\t = Clear all settings and return to program\r"
    "Yes to all\t = Clear all settings and end program\r"
    "Cancel\t\t = Cancel and return to program\r"
    "\r"
    "Warning ! The program can only remove settings for the current user and the "
    "\"Default user\", you will have to manually log on as each apropriate user and repeat "
    "this task.";

void DeleteValues(RegKey root, const std::string& key, std::initializer_list<const char*> names) {
  for (const char* name : names) DeleteRegistryValue(root, key, name);
}

}  // namespace

void TFrmBXMain::ConfirmClearRegistry() {
  const TMsgDlgBtn answer = Platform().MessageBoxes->MessageDlg(
      kClearQuestion, TMsgDlgType::mtConfirmation,
      {TMsgDlgBtn::mbYes, TMsgDlgBtn::mbCancel, TMsgDlgBtn::mbYesToAll});
  if (answer == TMsgDlgBtn::mbYes) {
    // The dialog keeps its settings; OK or Apply would store them again.
    ClearRegistry();
  } else if (answer == TMsgDlgBtn::mbYesToAll) {
    FClearOnExit = true;
    BitBtnCancelClick(*this);
  }
}

void TFrmBXMain::ClearRegistry() {
  IFileSystem& files = *Platform().Files;
  const std::string converted = FAppDataFolder + kConvertedFileName;
  // A file that cannot be deleted (locked, or gone meanwhile) is passed over.
  for (const std::string& path : {converted, FDefaultUserAppDataFolder + kConvertedFileName})
    if (files.FileExists(path)) files.DeleteFile(path);
  // The dialog goes on with the image the user chose, not with the bitmap
  // just deleted: OK or Apply converts it again.
  if (SameFileName(FWallpaper, converted)) FWallpaper = FWallpaperOrg;

  // The desktop must not go on naming the bitmap just deleted.
  const std::string wallpaper =
      ReadRegistryValue(kHKeyCurrentUser, kDesktopKey, "Wallpaper", TVariant(std::string()))
          .AsString();
  if (SameFileName(wallpaper, converted))
    WriteRegistryValue(kHKeyCurrentUser, kDesktopKey, "Wallpaper", TVariant(std::string()));

  // A default user's key that this user may not change is skipped quietly.
  DeleteValues(kHKeyUsers, kDefaultUserDesktopKey,
               {"Wallpaper", "WallPaperOriginX", "WallPaperOriginY"});
  DeleteValues(kHKeyUsers, kDefaultUserColorsKey, {"Background"});
  DeleteValues(kHKeyUsers, kDefaultUserDesktopKey, {"TileWallpaper", "WallpaperStyle"});

  DeleteValues(kHKeyCurrentUser, kOwnKey,
               {"ShowHint", "WallpaperFolder", "WallpaperOrg", "WallpaperSaveToDefUser",
                "WallpaperOriginPre", "WallpaperbgColorPositionX", "WallpaperbgColorPositionY",
                "WallpaperbgColorOption", "ShowPreviewGrid"});
  DeleteRegistryKey(kHKeyCurrentUser, kOwnKey, true);

  DeleteValues(kHKeyCurrentUser, kDesktopKey, {"WallPaperOriginX", "WallPaperOriginY"});
  for (const char* name : {"TileWallpaper", "WallpaperStyle", "WallPaperOriginX",
                           "WallPaperOriginY"})
    WriteRegistryValue(kHKeyCurrentUser, kDesktopKey, name, TVariant("0"));

  // The desktop shows what is stored now, named as the apply step names it.
  ReloadWallpaper();
}

}  // namespace bx
