// The dialog's settings: filled from the stored values once, when the
// dialog is created, and made the system's desktop by OK, Apply and auto
// proof.
#include <exception>

#include "components/Picture.h"
#include "dialogs/main/BXMain.h"
#include "dialogs/main/PreviewScene.h"
#include "dialogs/main/WindowsPlacements.h"
#include "platform/Errors.h"
#include "platform/FileNames.h"
#include "platform/Platform.h"
#include "settings/BitmapFile.h"
#include "settings/ReloadWallpaper.h"
#include "settings/StoredSettings.h"

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

}  // namespace

void TFrmBXMain::LoadSettings() {
  {
    TLoadingGuard loading(FLoading);

    SetShowHint(ReadShowHint(ShowHint()));
    ReadOwnSettings(*this);
    ReadDesktopSettings(*this);
    if (FPreviewHint.empty()) FPreviewHint = ImageWallpaper.Hint();
    // A desktop composed by an earlier Apply is previewed, and composed
    // again, from the image it was made of.
    if (SameFileName(FWallpaper, FAppDataFolder + kConvertedFileName) && !FWallpaperOrg.empty() &&
        Platform().Files->FileExists(FWallpaperOrg) &&
        DesktopShows(Platform().System->DesktopLayout(), Placement()) != TDesktopShows::Itself)
      FWallpaper = FWallpaperOrg;
    // Fit, fill and span stay as stored while the user changes other things.
    const std::int32_t storedTile = FTileWallpaper, storedStyle = FWallpaperStyle;

    FDesktopWidth = Platform().System->GetSystemMetrics(kSmCxVirtualScreen);
    FDesktopHeight = Platform().System->GetSystemMetrics(kSmCyVirtualScreen);

    Application().ShowHint = ShowHint();

    // Each control runs its own reaction as a user's change would; together
    // they bring the placement pair into one of its four combinations.
    SpinEditOriginX.SetValue(FOriginX);
    SpinEditOriginY.SetValue(FOriginY);
    if (FTileWallpaper == 1 || FWallpaperStyle == 3) RadioButtonTile.SetChecked(true);
    if (FWallpaperStyle > 0) CheckBoxStretch.SetChecked(true);
    if (IsWindowsScaledStyle(storedStyle)) {
      FTileWallpaper = storedTile;
      FWallpaperStyle = storedStyle;
    }
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

void TFrmBXMain::ApplySettings() {
  const std::string converted = FAppDataFolder + kConvertedFileName;
  const std::string defaultUserConverted = FDefaultUserAppDataFolder + kConvertedFileName;
  // Cleared when the default user's bitmap or registry cannot be written (a
  // user without rights to them): that user's part is skipped, the current
  // user's applies, and the user is told why.
  bool defaultUser = FSaveToDefUser;
  std::string defaultUserFailure;
  // The bitmap file of each user, the default user's first; only a file
  // that was written becomes the wallpaper, so a failed save leaves the
  // chosen image to be converted again.
  auto saveBitmaps = [&](int width, int height, const TBitmapRows& rows) {
    if (defaultUser) {
      try {
        SaveBitmapFile(width, height, rows, defaultUserConverted);
      } catch (const std::exception& error) {
        defaultUser = false;
        defaultUserFailure = error.what();
      }
    }
    SaveBitmapFile(width, height, rows, converted);
  };

  // What "Wallpaper" names: the chosen file, or the bitmap made of it.
  std::string wallpaper = FWallpaper;
  TDesktopLayout layout = Platform().System->DesktopLayout();
  layout.Width = FDesktopWidth;
  layout.Height = FDesktopHeight;
  // The applet's own bitmap is composed over only while the image it was
  // made of is there to preview and compose again.
  const bool chosenIsConverted = SameFileName(FWallpaper, converted);
  const bool composable =
      !chosenIsConverted || (!FWallpaperOrg.empty() && Platform().Files->FileExists(FWallpaperOrg));
  if (!FWallpaper.empty() && composable && FDesktopScene &&
      FDesktopScene->Width() == FDesktopWidth && FDesktopScene->Height() == FDesktopHeight &&
      ComposesDesktop(layout, Placement(), ImageWidth(), ImageHeight())) {
    // The desktop cannot place the image as the preview does: it gets the
    // preview's picture at its own size, made row by row. The dialog keeps
    // the image, so the preview and the next Apply start from it again.
    const std::shared_ptr<const TPreviewScene> scene = FDesktopScene;
    const TBitmapRows rows = [&](const std::function<void(int, const TPixel*)>& put) {
      ComposeDesktopRows(*scene, layout, put);
    };
    saveBitmaps(FDesktopWidth, FDesktopHeight, rows);
    if (chosenIsConverted) FWallpaper = FWallpaperOrg;
    FWallpaperOrg = FWallpaper;
    wallpaper = converted;
  } else if (!FWallpaper.empty() && !SameFileName(FileExtension(FWallpaper), "bmp")) {
    // The preview's picture when it is still the file's; the bitmap file is
    // made from its rows at its own size, so a photo that the preview holds
    // reduced is converted whole without a bitmap of its size.
    TPicture& picture = FPictureCache.Load(FWallpaper);
    if (!picture.Empty()) {
      const TBitmapRows rows = [&](const std::function<void(int, const TPixel*)>& put) {
        picture.ReadRows(FBackgroundColor, put);
      };
      saveBitmaps(picture.Width(), picture.Height(), rows);
      // The image bitmap holds the converted picture, as the preview shows it.
      ComposeImageBitmap(picture);
      // The image keeps its trace also when another program stored it.
      FWallpaperOrg = FWallpaper;
      FWallpaper = converted;
      wallpaper = converted;
    }
  }

  const bool isConverted = SameFileName(wallpaper, converted);
  bool defaultUserStored = false;
  if (defaultUser) {
    try {
      const TDesktopWrite written =
          WriteDesktopSettings(kHKeyUsers, kDefaultUserDesktopKey, kDefaultUserColorsKey,
                               isConverted ? defaultUserConverted : wallpaper, *this);
      defaultUserStored = written.Wallpaper;
      if (!written.Refused.empty())
        defaultUserFailure = FormatText("Failed to set data for '%s'", written.Refused);
    } catch (const std::exception& error) {
      defaultUserFailure = error.what();
    }
  }
  const bool currentUserStored =
      WriteDesktopSettings(kHKeyCurrentUser, kDesktopKey, kColorsKey, wallpaper, *this)
          .Wallpaper;
  WriteOwnSettings(*this, ShowHint());

  // Old converted files go only once "Wallpaper" names another file: a
  // write that failed leaves the value naming a file that is still there.
  if (!isConverted) {
    if (defaultUserStored) Platform().Files->DeleteFile(defaultUserConverted);
    if (currentUserStored) Platform().Files->DeleteFile(converted);
  }

  ReloadWallpaper();
  Platform().System->SetSysColor(kColorBackground, FBackgroundColor);

  if (!defaultUserFailure.empty() && !FDefaultUserFailureShown) {
    FDefaultUserFailureShown = true;
    Platform().MessageBoxes->MessageDlg(
        "The default user could not be changed (" + defaultUserFailure +
            "). The settings were applied to the current user.",
        TMsgDlgType::mtInformation, {TMsgDlgBtn::mbOK});
  }
}

}  // namespace bx
