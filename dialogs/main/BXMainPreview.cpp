// The preview: the desktop as it would look (pattern, background colour,
// the image placed, tiled or stretched, the optional grid), kept as a scene
// that the picture control reduces straight into its pixels and composes at
// the desktop's size only when that is read; and the full-screen view.
#include <algorithm>
#include <cstring>

#include "components/Picture.h"
#include "dialogs/main/BXMain.h"
#include "dialogs/main/PlacementText.h"
#include "dialogs/main/PreviewScene.h"
#include "dialogs/main/WindowsPlacements.h"
#include "platform/Platform.h"

namespace bx {

bool PreviewBusy = false;

namespace {

// The dialog's normal client width; wider means the full-screen view.
constexpr int kNormalClientWidth = 385;
constexpr TRect kNormalPreviewBounds{4, 4, 4 + 151, 4 + 111};

constexpr TColor kGridColor = MakeColor(255, 0, 0);

// Origins are whatever the user typed, so the placement is worked out in
// 64 bits: no sum of an origin and a size can overflow.
struct TRect64 {
  std::int64_t Left = 0, Top = 0, Right = 0, Bottom = 0;
  std::int64_t Width() const { return Right - Left; }
  std::int64_t Height() const { return Bottom - Top; }
};

bool IsStretched(std::int32_t style) { return style == 2 || style == 3; }
bool IsTiled(std::int32_t tile, std::int32_t style) { return style == 3 || tile == 1; }

// The part of r inside a width x height buffer; empty when none.
TRect ClipTo(const TRect64& r, int width, int height) {
  const std::int64_t left = std::max<std::int64_t>(r.Left, 0);
  const std::int64_t top = std::max<std::int64_t>(r.Top, 0);
  const std::int64_t right = std::min<std::int64_t>(r.Right, width);
  const std::int64_t bottom = std::min<std::int64_t>(r.Bottom, height);
  if (right <= left || bottom <= top) return {};
  return {static_cast<int>(left), static_cast<int>(top), static_cast<int>(right),
          static_cast<int>(bottom)};
}

}  // namespace

void TFrmBXMain::UpdatePreview() {
  if (FLoading || PreviewBusy) return;
  PreviewBusy = true;
  struct TBusyGuard {
    ~TBusyGuard() { PreviewBusy = false; }
  } busyGuard;

  ListBoxWallpapers.SetItemIndex(FindWallpaperIndex());
  FDesktopScene.reset();

  const int pw = ImageWallpaper.PictureWidth(), ph = ImageWallpaper.PictureHeight();
  auto scene = std::make_shared<TPreviewScene>(pw, ph);
  auto setBackground = [&] {
    if (FPatternBitmap && FPatternBitmap->Width() >= 8 && FPatternBitmap->Height() >= 8)
      scene->SetPattern(*FPatternBitmap);
    else
      scene->SetColor(FBackgroundColor);
  };
  if (!FImageBitmap) FImageBitmap = std::make_unique<TPixelBuffer>();

  if (!FWallpaper.empty() && Platform().Files && Platform().Files->FileExists(FWallpaper)) {
    // An error while loading or decoding leaves the preview, the origins
    // and the image bitmap as they were.
    TPicture& picture = FPictureCache.Load(FWallpaper);
    bool loaded = false;
    if (!picture.Empty()) {
      // Until the placement below is worked out, the rows it showed last.
      const std::int64_t top = FOriginY != 0 ? FOriginY : ph / 2 - picture.Height() / 2;
      ShownRows(top, picture.Height(), ph);
      ComposeImageBitmap(picture);
      if (FBGColorOption != 0) {
        FBackgroundColor = GetColorFromImage();
        BuildPatternBitmap(FWindowTextColor, FBackgroundColor);
        ComposeImageBitmap(picture);
      }
      loaded = true;
    }
    if (!loaded && FBGColorOption != 0) {
      FBackgroundColor = GetColorFromImage();
      BuildPatternBitmap(FWindowTextColor, FBackgroundColor);
    }

    const TPixelBuffer& image = *FImageBitmap;
    const int iw = ImageWidth(), ih = ImageHeight();

    // Right and bottom presets follow the image's size.
    switch (FOriginPreset) {
      case 3:
      case 6:
        FOriginX = FDesktopWidth - iw;
        break;
      case 7:
      case 8:
        FOriginY = FDesktopHeight - ih;
        break;
      case 9:
        FOriginX = FDesktopWidth - iw;
        FOriginY = FDesktopHeight - ih;
        break;
      default:
        FOriginX = SpinEditOriginX.Value();
        FOriginY = SpinEditOriginY.Value();
        break;
    }

    // Showing the origin runs the spin edits' change handlers, which end the
    // preset and come back here (returning at once); the preset is kept.
    const std::uint8_t preset = FOriginPreset;
    if (SpinEditOriginX.Value() != FOriginX) SpinEditOriginX.SetValue(FOriginX);
    if (SpinEditOriginY.Value() != FOriginY) SpinEditOriginY.SetValue(FOriginY);
    FOriginPreset = preset;

    const bool stretched = IsStretched(FWallpaperStyle);
    const bool tiled = IsTiled(FTileWallpaper, FWallpaperStyle);
    TRect64 d;
    if (FOriginX != 0)
      d.Left = FOriginX;
    else if (stretched || FTileWallpaper == 1)
      d.Left = 0;
    else
      d.Left = pw / 2 - iw / 2;
    if (FOriginY != 0)
      d.Top = FOriginY;
    else if (stretched || FTileWallpaper == 1)
      d.Top = 0;
    else
      d.Top = ph / 2 - ih / 2;
    d.Right = d.Left + (stretched ? FDesktopWidth : iw);
    d.Bottom = d.Top + (stretched ? FDesktopHeight : ih);

    // The image bitmap is opaque: the pattern shows where no copy lies.
    setBackground();
    const bool drawable =
        image.Width() > 0 && image.Height() > 0 && d.Width() > 0 && d.Height() > 0;
    if (IsWindowsScaledStyle(FWallpaperStyle)) {
      // Placed as Windows places it: the origin has no part in it. The part
      // shown is reckoned on the bitmap, which a photo may hold reduced.
      const TScaledPlacement p = PlaceScaled(FWallpaperStyle, image.Width(), image.Height(),
                                             FDesktopWidth, FDesktopHeight);
      if (p.Dest.Width() > 0 && p.Dest.Height() > 0) {
        ImageWallpaper.SetSource(nullptr);
        auto placed = FPictureCache.Scaled(image, p.Dest.Width(), p.Dest.Height(), p.Source);
        scene->SetImage(*placed, placed, p.Dest.Left, p.Dest.Top, false);
      }
    } else if (drawable && pw > 0 && ph > 0 && (tiled || ClipTo(d, pw, ph).Width() > 0)) {
      // A stretched image is scaled once and kept, so that moving it costs
      // nothing more than an unscaled one; the pixels are those of scaling
      // it into place. The old preview lets its copy go first.
      const std::int64_t w = d.Width(), h = d.Height();
      if (!stretched && !tiled) {
        // A large photo held as a band of its rows: the band must hold
        // what the desktop shows of it now.
        ShownRows(d.Top, ih, ph);
        const bool band = ImageTop() != 0 || image.Height() != ih;
        if (band && (FShownTop < ImageTop() || FShownBottom > ImageTop() + image.Height()))
          ComposeImageBitmap(picture);
      }
      if (w == image.Width() && h == image.Height()) {
        scene->SetImage(image, nullptr, d.Left, d.Top, tiled);
      } else if (!stretched && !tiled && w == image.Width()) {
        scene->SetImage(image, nullptr, d.Left, d.Top + ImageTop(), false);
      } else {
        ImageWallpaper.SetSource(nullptr);
        auto placed = FPictureCache.Scaled(image, static_cast<int>(w), static_cast<int>(h));
        scene->SetImage(*placed, placed, d.Left, d.Top, tiled);
      }
    }
  } else {
    if (FBGColorOption != 0) {
      FBackgroundColor = GetColorFromImage();
      BuildPatternBitmap(FWindowTextColor, FBackgroundColor);
    }
    setBackground();
    ListBoxWallpapers.SetItemIndex(0);
    // A wallpaper file that no longer exists is dropped from the settings.
    FWallpaper.clear();
    FWallpaperOrg.clear();
    FPictureCache.Clear();
  }

  // A placement that only Windows' own settings make is named, since the
  // controls can show only the nearest of theirs.
  const std::string stored = WindowsStyleName(FWallpaperStyle);
  ImageWallpaper.SetHint(stored.empty() ? FPreviewHint
                                        : FPreviewHint + " (placed as stored: " + stored + ")");
  ImageWallpaper.SetAccessibleValue(PlacementText(!FWallpaper.empty(), Placement()));

  if (!FWallpaper.empty()) FDesktopScene = std::make_shared<TPreviewScene>(*scene);
  DrawPreviewGrid(*scene);
  ImageWallpaper.SetSource(std::move(scene));
  ImageWallpaper.Invalidate();
  if (FAutoProof) ApplySettings();
}

void TFrmBXMain::ComposeImageBitmap(TPicture& picture) {
  if (!FImageBitmap) FImageBitmap = std::make_unique<TPixelBuffer>();
  // A stretched image is shown at the desktop's size: a photo larger than
  // that is decoded reduced, no smaller than the desktop (which also keeps
  // the part that fill shows at least at the desktop's size).
  const bool stretched = IsStretched(FWallpaperStyle) || IsWindowsScaledStyle(FWallpaperStyle);
  const bool once = !stretched && !IsTiled(FTileWallpaper, FWallpaperStyle);
  FPictureCache.Compose(*FImageBitmap, FBackgroundColor, stretched ? std::max(FDesktopWidth, 1) : 0,
                        stretched ? std::max(FDesktopHeight, 1) : 0, once ? FShownTop : 0,
                        once ? FShownBottom : 0);
  FImageWidth = picture.Width();
  FImageHeight = picture.Height();
  FImageTop = FPictureCache.DecodedTop();
  FImageStamp = FImageBitmap->Stamp();
}

void TFrmBXMain::ShownRows(std::int64_t top, int height, int desktopHeight) {
  FShownTop = static_cast<int>(std::clamp<std::int64_t>(-top, 0, height));
  FShownBottom = static_cast<int>(std::clamp<std::int64_t>(desktopHeight - top, FShownTop, height));
}

TPlacementValues TFrmBXMain::Placement() const {
  return {FTileWallpaper, FWallpaperStyle, FOriginX, FOriginY};
}

int TFrmBXMain::ImageWidth() const {
  if (!FImageBitmap) return 0;
  return FImageBitmap->Stamp() == FImageStamp ? FImageWidth : FImageBitmap->Width();
}

int TFrmBXMain::ImageTop() const {
  return FImageBitmap && FImageBitmap->Stamp() == FImageStamp ? FImageTop : 0;
}

int TFrmBXMain::ImageHeight() const {
  if (!FImageBitmap) return 0;
  return FImageBitmap->Stamp() == FImageStamp ? FImageHeight : FImageBitmap->Height();
}

void TFrmBXMain::BuildPatternBitmap(TColor ForeColor, TColor BackColor) {
  if (!FPatternBitmap) FPatternBitmap = std::make_unique<TPixelBuffer>();
  FPatternBitmap->SetSize(8, 8);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x)
      FPatternBitmap->SetPixel(x, y, ((FPattern[y] >> x) & 1) ? ForeColor : BackColor);
}

void TFrmBXMain::DrawPreviewGrid(TPreviewScene& scene) {
  if (!FShowPreviewGrid) return;
  // A wider pen and longer arms keep the grid visible when the desktop-size
  // picture is scaled down into the dialog.
  const bool normal = !FullScreenPreview();
  const int pen = normal ? 8 : 3;
  const int arm = normal ? 30 : 10;
  const int sw = ImageWallpaper.PictureWidth() / 8, sh = ImageWallpaper.PictureHeight() / 8;
  for (int i = 0; i <= 8; ++i) {
    for (int j = 0; j <= 8; ++j) {
      const int cx = sw * i, cy = sh * j;
      scene.AddLine(TPixelBuffer::LineRect(cx - arm, cy, cx + arm, cy, pen), j == 4, kGridColor);
      scene.AddLine(TPixelBuffer::LineRect(cx, cy - arm, cx, cy + arm, pen), i == 4, kGridColor);
    }
  }
}

void TFrmBXMain::CheckBoxShowPreviewGridClick(TObject& Sender) {
  (void)Sender;
  FShowPreviewGrid = CheckBoxShowPreviewGrid.Checked();
  UpdatePreview();
}

bool TFrmBXMain::FullScreenPreview() const { return ClientWidth() > Scaled(kNormalClientWidth); }

void TFrmBXMain::BitBtnTogglePreviewClick(TObject& Sender) {
  (void)Sender;
  ISystem* system = Platform().System;
  if (!FullScreenPreview()) {
    // Auto proof and the full-screen view are never on together.
    if (FAutoProof) BitBtnToggleAutoProof.Click();
    FSavedLeft = Left();
    FSavedTop = Top();
    FSavedWidth = Width();
    FSavedHeight = Height();
    SetBorderStyle(TBorderStyle::bsNone);
    SetBounds(0, 0, system ? system->GetSystemMetrics(kSmCxScreen) : Width(),
              system ? system->GetSystemMetrics(kSmCyScreen) : Height());
    SetColor(FBackgroundColor);
    SetFontColor(FWindowTextColor);
    ImageWallpaper.SetBounds(0, 0, ClientWidth(), ClientHeight());
  } else {
    // The window's own earlier size: the frame of today's systems differs
    // from the classic one, and only this size gives the normal client area.
    SetBorderStyle(TBorderStyle::bsDialog);
    SetBounds(FSavedLeft, FSavedTop, FSavedWidth, FSavedHeight);
    SetSystemColors(kColorBtnFace, kColorWindowText);
    ImageWallpaper.SetBounds(Scaled(kNormalPreviewBounds.Left), Scaled(kNormalPreviewBounds.Top),
                             Scaled(kNormalPreviewBounds.Width()),
                             Scaled(kNormalPreviewBounds.Height()));
  }
  UpdatePreview();
}

}  // namespace bx
