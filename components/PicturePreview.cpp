#include "components/PicturePreview.h"

#include <algorithm>

#include "components/Picture.h"
#include "components/PictureReduction.h"
#include "platform/Files.h"

namespace bx {

bool MakePicturePreview(const std::string& path, int boxWidth, int boxHeight, TColor background,
                        TPicturePreview& preview) {
  if (boxWidth <= 0 || boxHeight <= 0) return false;
  TPicture picture;
  picture.LoadFromFile(path);
  if (picture.Empty()) return false;
  const std::int64_t w = picture.Width(), h = picture.Height();
  // Fitted: the larger of the two ratios decides, and 1:1 at most.
  std::int64_t dw = w, dh = h;
  if (w > boxWidth || h > boxHeight) {
    if (w * boxHeight >= h * boxWidth) {
      dw = boxWidth;
      dh = std::max<std::int64_t>(1, (h * boxWidth + w / 2) / w);
    } else {
      dh = boxHeight;
      dw = std::max<std::int64_t>(1, (w * boxHeight + h / 2) / h);
    }
  }
  picture.SetShownSize(static_cast<int>(dw), static_cast<int>(dh));
  TPixelBuffer decoded;
  picture.Compose(decoded, background);
  if (decoded.Width() > dw || decoded.Height() > dh) {
    TPixelBuffer fitted(static_cast<int>(dw), static_cast<int>(dh));
    ReducePicture(decoded, fitted.Scanline(0), fitted.Width(), fitted.Height());
    decoded = TPixelBuffer();
    preview.Pixels = std::move(fitted);
  } else {
    preview.Pixels = std::move(decoded);
  }
  preview.Width = static_cast<int>(w);
  preview.Height = static_cast<int>(h);
  return true;
}

}  // namespace bx
