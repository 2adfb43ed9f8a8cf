// The placement controls: tile or center, stretch, the origin spin edits,
// the nine placement buttons and dragging on the preview.
#include <algorithm>
#include <limits>

#include "dialogs/main/BXMain.h"
#include "dialogs/main/WindowsPlacements.h"

namespace bx {

namespace {

std::int32_t ToInt32(std::int64_t value) {
  return static_cast<std::int32_t>(
      std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                               std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

void TFrmBXMain::RadioButtonTileClick(TObject& Sender) {
  (void)Sender;
  MarkChanged();
  if (FWallpaperStyle != 0) {
    FTileWallpaper = 0;
    FWallpaperStyle = 3;
  } else {
    FTileWallpaper = 1;
  }
  UpdatePreview();
}

void TFrmBXMain::RadioButtonCenterClick(TObject& Sender) {
  (void)Sender;
  MarkChanged();
  if (FWallpaperStyle != 0) FWallpaperStyle = 2;
  FTileWallpaper = 0;
  UpdatePreview();
}

void TFrmBXMain::CheckBoxStretchClick(TObject& Sender) {
  (void)Sender;
  MarkChanged();
  if (CheckBoxStretch.Checked()) {
    FWallpaperStyle = RadioButtonTile.Checked() ? 3 : 2;
    FTileWallpaper = 0;
  } else {
    FWallpaperStyle = 0;
    FTileWallpaper = RadioButtonTile.Checked() ? 1 : 0;
  }
  UpdatePreview();
}

void TFrmBXMain::EndWindowsPlacement() {
  // The preview's own showing of a preset's origin is no change of the user's.
  if (PreviewBusy || !IsWindowsScaledStyle(FWallpaperStyle)) return;
  FWallpaperStyle = RadioButtonTile.Checked() ? 3 : 2;
  FTileWallpaper = 0;
}

void TFrmBXMain::SpinEditOriginXChange(TObject& Sender) {
  (void)Sender;
  if (FLoading) return;  // LoadSettings sets the spin edits from the origin
  MarkChanged();
  EndWindowsPlacement();
  FOriginPreset = 0;  // a hand-set origin ends any preset
  FOriginX = SpinEditOriginX.Value();
  UpdatePreview();
}

void TFrmBXMain::SpinEditOriginYChange(TObject& Sender) {
  (void)Sender;
  if (FLoading) return;
  MarkChanged();
  EndWindowsPlacement();
  FOriginPreset = 0;
  FOriginY = SpinEditOriginY.Value();
  UpdatePreview();
}

void TFrmBXMain::BitBtnPreOriginClick(TObject& Sender) {
  const auto* button = dynamic_cast<const TControl*>(&Sender);
  const int tag = button ? button->Tag() : 0;
  const int iw = ImageWidth(), ih = ImageHeight();
  // Left and top are 1, not 0: 0 would centre a single copy. Right and
  // bottom need an image to measure.
  const bool haveImage = !FWallpaper.empty();
  if (tag >= 1 && tag <= 9) {
    const int column = (tag - 1) % 3, row = (tag - 1) / 3;
    if (column == 0) SpinEditOriginX.SetValue(1);
    if (column == 1) SpinEditOriginX.SetValue(0);
    if (column == 2 && haveImage) SpinEditOriginX.SetValue(ToInt32(std::int64_t{FDesktopWidth} - iw));
    if (row == 0) SpinEditOriginY.SetValue(1);
    if (row == 1) SpinEditOriginY.SetValue(0);
    if (row == 2 && haveImage)
      SpinEditOriginY.SetValue(ToInt32(std::int64_t{FDesktopHeight} - ih));
  }
  EndWindowsPlacement();
  FOriginPreset = static_cast<std::uint8_t>(tag);
  FOriginX = SpinEditOriginX.Value();
  FOriginY = SpinEditOriginY.Value();
  UpdatePreview();
  MarkChanged();
}

void TFrmBXMain::ImageWallpaperMouseDown(TObject& Sender, TMouseButton Button, TShiftState Shift,
                                         int X, int Y) {
  (void)Button;
  ImageWallpaperMouseMove(Sender, Shift, X, Y);
}

void TFrmBXMain::ImageWallpaperMouseMove(TObject& Sender, TShiftState Shift, int X, int Y) {
  (void)Sender;
  // Only a plain drag with the left button: no keys, no other button, no
  // double click.
  if (Shift != ssLeft) return;
  std::int64_t x = X, y = Y;
  const int pw = ImageWallpaper.Width(), ph = ImageWallpaper.Height();
  if (pw <= 0 || ph <= 0) return;
  if (!FullScreenPreview()) {
    // Whole-number scale factors: the preview maps onto the desktop's upper
    // left part, each preview pixel a block of desktop pixels.
    x *= FDesktopWidth / pw;
    y *= FDesktopHeight / ph;
  } else {
    // The full-screen picture is the desktop one to one, unless the system
    // scales this window (display scaling) or the desktop spans more
    // screens: then its pixels are desktop pixels in proportion.
    x = x * FDesktopWidth / pw;
    y = y * FDesktopHeight / ph;
  }
  if (SpinEditOriginX.Value() != x) SpinEditOriginX.SetValue(ToInt32(x));
  if (SpinEditOriginY.Value() != y) SpinEditOriginY.SetValue(ToInt32(y));
}

}  // namespace bx
