// The preview: the desktop composed at its full size (pattern, background
// colour, the image placed, tiled or stretched, the optional grid), which
// the picture control scales down; and the full-screen view of it.
#include <algorithm>
#include <cstring>

#include "components/Picture.h"
#include "dialogs/main/BXMain.h"
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

// The first tile's start: a tile boundary on `start`, with -size < result <= 0.
std::int64_t TileStart(std::int64_t start, std::int64_t size) {
  std::int64_t r = start % size;
  if (r > 0) r -= size;
  return r;
}

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

// Tiles an unscaled image over the whole buffer with a tile's corner at
// (x0, y0), -w < x0 <= 0 and -h < y0 <= 0. Every row repeats with the
// image's width and every row of tiles with its height, so the first rows
// are built and the rest copied: the same pixels as drawing tile by tile,
// at the speed of a copy however small the image.
void TileUnscaled(TPixelBuffer& target, const TPixelBuffer& image, int x0, int y0) {
  const int pw = target.Width(), ph = target.Height();
  const int w = image.Width(), h = image.Height();
  const int phaseX = -x0, phaseY = -y0;
  for (int y = 0; y < ph; ++y) {
    TPixel* out = target.Scanline(y);
    if (y >= h) {
      std::memcpy(out, target.Scanline(y - h), sizeof(TPixel) * pw);
      continue;
    }
    const TPixel* in = image.Scanline((y + phaseY) % h);
    // One period: the image row from the phase on, then its start.
    const int first = std::min(w - phaseX, pw);
    std::memcpy(out, in + phaseX, sizeof(TPixel) * first);
    int len = first;
    if (len < pw) {
      const int second = std::min(phaseX, pw - len);
      std::memcpy(out + len, in, sizeof(TPixel) * second);
      len += second;
    }
    // Then whole periods, doubling.
    while (len < pw) {
      const int n = std::min(len, pw - len);
      std::memcpy(out + len, out, sizeof(TPixel) * n);
      len += n;
    }
  }
}

}  // namespace

void TFrmBXMain::UpdatePreview() {
  if (FLoading || PreviewBusy) return;
  PreviewBusy = true;
  struct TBusyGuard {
    ~TBusyGuard() { PreviewBusy = false; }
  } busyGuard;

  ListBoxWallpapers.SetItemIndex(FindWallpaperIndex());

  TPixelBuffer& preview = ImageWallpaper.Picture();
  if (!FImageBitmap) FImageBitmap = std::make_unique<TPixelBuffer>();

  if (!FWallpaper.empty() && Platform().Files && Platform().Files->FileExists(FWallpaper)) {
    // An error while loading or decoding leaves the preview, the origins
    // and the image bitmap as they were.
    TPicture& picture = FPictureCache.Load(FWallpaper);
    bool loaded = false;
    if (!picture.Empty()) {
      FPictureCache.Compose(*FImageBitmap, FBackgroundColor);
      if (FBGColorOption != 0) {
        FBackgroundColor = GetColorFromImage();
        BuildPatternBitmap(FWindowTextColor, FBackgroundColor);
        FPictureCache.Compose(*FImageBitmap, FBackgroundColor);
      }
      loaded = true;
    }
    if (!loaded && FBGColorOption != 0) {
      FBackgroundColor = GetColorFromImage();
      BuildPatternBitmap(FWindowTextColor, FBackgroundColor);
    }

    const TPixelBuffer& image = *FImageBitmap;
    const int iw = image.Width(), ih = image.Height();

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

    const int pw = preview.Width(), ph = preview.Height();
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

    // The image bitmap is opaque, so the pattern is needed only where no
    // copy of the image will lie.
    const bool drawable = iw > 0 && ih > 0 && d.Width() > 0 && d.Height() > 0;
    TRect covered;
    if (drawable) covered = tiled ? TRect{0, 0, pw, ph} : ClipTo(d, pw, ph);
    auto fillBackground = [&](TRect r) {
      if (FPatternBitmap && FPatternBitmap->Width() >= 8 && FPatternBitmap->Height() >= 8)
        preview.FillPattern(r, *FPatternBitmap);
      else
        preview.FillRect(r, FBackgroundColor);
    };
    if (covered.Width() <= 0 || covered.Height() <= 0) {
      fillBackground({0, 0, pw, ph});
    } else {
      fillBackground({0, 0, pw, covered.Top});
      fillBackground({0, covered.Bottom, pw, ph});
      fillBackground({0, covered.Top, covered.Left, covered.Bottom});
      fillBackground({covered.Right, covered.Top, pw, covered.Bottom});
    }

    if (!drawable || pw <= 0 || ph <= 0) {
      // Nothing to place: the pattern shows alone.
    } else {
      // A stretched image is scaled once and kept, so that moving it costs a
      // plain copy; the pixels are those of scaling it into place.
      const std::int64_t w = d.Width(), h = d.Height();
      const TPixelBuffer& placed =
          w == iw && h == ih
              ? image
              : FPictureCache.Scaled(image, static_cast<int>(w), static_cast<int>(h));
      if (!tiled) {
        if (ClipTo(d, pw, ph).Width() > 0) {
          // Reaching the buffer, the rectangle's corners fit in an int.
          preview.Draw(static_cast<int>(d.Left), static_cast<int>(d.Top), placed);
        }
      } else {
        TileUnscaled(preview, placed, static_cast<int>(TileStart(d.Left, w)),
                     static_cast<int>(TileStart(d.Top, h)));
      }
    }
  } else {
    if (FBGColorOption != 0) {
      FBackgroundColor = GetColorFromImage();
      BuildPatternBitmap(FWindowTextColor, FBackgroundColor);
    }
    if (FPatternBitmap && FPatternBitmap->Width() >= 8 && FPatternBitmap->Height() >= 8)
      preview.FillPattern({0, 0, preview.Width(), preview.Height()}, *FPatternBitmap);
    else
      preview.Fill(FBackgroundColor);
    ListBoxWallpapers.SetItemIndex(0);
    // A wallpaper file that no longer exists is dropped from the settings.
    FWallpaper.clear();
    FWallpaperOrg.clear();
    FPictureCache.Clear();
  }

  DrawPreviewGrid();
  ImageWallpaper.Invalidate();
  if (FAutoProof) ApplySettings();
}

void TFrmBXMain::BuildPatternBitmap(TColor ForeColor, TColor BackColor) {
  if (!FPatternBitmap) FPatternBitmap = std::make_unique<TPixelBuffer>();
  FPatternBitmap->SetSize(8, 8);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x)
      FPatternBitmap->SetPixel(x, y, ((FPattern[y] >> x) & 1) ? ForeColor : BackColor);
}

// TODO(background colour): sampling one of the image's points for
// FBGColorOption 1 to 10 comes with the background colour options; until
// then every option keeps the palette colour.
TColor TFrmBXMain::GetColorFromImage() { return FBackgroundColor; }

void TFrmBXMain::DrawPreviewGrid() {
  if (!FShowPreviewGrid) return;
  // A wider pen and longer arms keep the grid visible when the desktop-size
  // picture is scaled down into the dialog.
  const bool normal = !FullScreenPreview();
  const int pen = normal ? 8 : 3;
  const int arm = normal ? 30 : 10;
  TPixelBuffer& preview = ImageWallpaper.Picture();
  const int sw = preview.Width() / 8, sh = preview.Height() / 8;
  for (int i = 0; i <= 8; ++i) {
    for (int j = 0; j <= 8; ++j) {
      const int cx = sw * i, cy = sh * j;
      preview.Line(cx - arm, cy, cx + arm, cy, pen, kGridColor,
                   j == 4 ? TPenMode::pmCopy : TPenMode::pmNot);
      preview.Line(cx, cy - arm, cx, cy + arm, pen, kGridColor,
                   i == 4 ? TPenMode::pmCopy : TPenMode::pmNot);
    }
  }
}

void TFrmBXMain::CheckBoxShowPreviewGridClick(TObject& Sender) {
  (void)Sender;
  FShowPreviewGrid = CheckBoxShowPreviewGrid.Checked();
  UpdatePreview();
}

bool TFrmBXMain::FullScreenPreview() const { return ClientWidth() > kNormalClientWidth; }

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
    if (system) {
      SetColor(system->GetSysColor(kColorBtnFace));
      SetFontColor(system->GetSysColor(kColorWindowText));
    }
    ImageWallpaper.SetBounds(kNormalPreviewBounds.Left, kNormalPreviewBounds.Top,
                             kNormalPreviewBounds.Width(), kNormalPreviewBounds.Height());
  }
  UpdatePreview();
}

}  // namespace bx
