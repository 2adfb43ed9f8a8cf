// Where the desktop's background colour comes from: the palette, or one
// point of the image as FImageBitmap holds it (transparent parts already
// filled with the background colour).
#include "dialogs/bgcolor/BXBGColorOption.h"
#include "dialogs/main/BXMain.h"

namespace bx {

namespace {
// The fixed points lie this far in from the image's left and top edges, and
// one pixel less from its right and bottom ones.
constexpr int kMargin = 5;
}  // namespace

TColor TFrmBXMain::GetColorFromImage() {
  if (FBGColorOption == 0 || FBGColorOption > 10 || !FImageBitmap) return FBackgroundColor;
  // The points lie in the image's own pixels; a reduced bitmap holds each
  // of them at its share of the bitmap's size.
  const int w = ImageWidth(), h = ImageHeight();
  int x = 0, y = 0;
  switch (FBGColorOption) {
    case 1: x = w / 2; y = h / 2; break;
    case 2: x = kMargin; y = kMargin; break;
    case 3: x = w - kMargin; y = kMargin; break;
    case 4: x = kMargin; y = h - kMargin; break;
    case 5: x = w - kMargin; y = h - kMargin; break;
    case 6: x = kMargin; y = h / 2; break;
    case 7: x = w - kMargin; y = h / 2; break;
    case 8: x = w / 2; y = kMargin; break;
    case 9: x = w / 2; y = h - kMargin; break;
    default: {
      // A coordinate beyond the image falls back to the margin point on
      // that side, as the fixed options use, not to the edge pixel.
      const TPoint p = FBGColorPosition;
      x = p.X < 0 ? kMargin : p.X > w - 1 ? w - kMargin : p.X;
      y = p.Y < 0 ? kMargin : p.Y > h - 1 ? h - kMargin : p.Y;
      break;
    }
  }
  // An image too small for its margins (or none yet) has no such point; the
  // colour stays rather than becoming the invalid colour of a missing pixel.
  if (x < 0 || y < 0 || x >= w || y >= h) return FBackgroundColor;
  const int bw = FImageBitmap->Width(), bh = FImageBitmap->Height(), top = ImageTop();
  if (bw == w && (top != 0 || bh != h)) {
    // A band of a large photo's rows: a point outside it is read from the file.
    TColor read = 0;
    if (y < top || y >= top + bh) return FPictureCache.ReadPixel(x, y, read) ? read : FBackgroundColor;
    y -= top;
  } else if (bw != w || bh != h) {
    x = static_cast<int>(static_cast<std::int64_t>(x) * bw / w);
    y = static_cast<int>(static_cast<std::int64_t>(y) * bh / h);
  }
  const TColor sampled = FImageBitmap->GetPixel(x, y);
  return sampled == TPixelBuffer::kInvalidColor ? FBackgroundColor : sampled;
}

void TFrmBXMain::BitBtnBackGroundColorClick(TObject&) {
  // The dialog always answers true: after Cancel too the pattern and the
  // preview are drawn again and OK and Apply are enabled.
  ShowBGColorOptions(this, FBGColorOption, FBackgroundColor, FBGColorPosition);
  BuildPatternBitmap(FWindowTextColor, FBackgroundColor);
  UpdatePreview();
  MarkChanged();
}

}  // namespace bx
