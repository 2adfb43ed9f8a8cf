#include "dialogs/main/PictureCache.h"

#include <utility>

#include "components/Picture.h"

namespace bx {

TPictureCache::TPictureCache() = default;
TPictureCache::~TPictureCache() = default;

TPicture& TPictureCache::Load(const std::string& path) {
  FileStamp stamp;
  const bool stamped = Platform().Files && Platform().Files->GetFileStamp(path, stamp);
  if (FPicture && stamped && path == FPath && stamp == FFileStamp) return *FPicture;

  Clear();
  auto picture = std::make_unique<TPicture>();
  picture->LoadFromFile(path);  // an error keeps nothing
  ++FLoadCount;
  FPicture = std::move(picture);
  ++FGeneration;
  // A file whose stamp could not be read is used once and loaded again next time.
  FPath = stamped ? path : std::string();
  FFileStamp = stamp;
  return *FPicture;
}

void TPictureCache::Compose(TPixelBuffer& bitmap, TColor background, int shownWidth,
                            int shownHeight, int shownTop, int shownBottom) {
  if (!FPicture) return;
  FPicture->SetShownSize(shownWidth, shownHeight);
  FPicture->SetShownRows(shownTop, shownBottom);
  if (FComposed && FComposedGeneration == FGeneration && FComposedStamp == bitmap.Stamp() &&
      FComposedWidth == FPicture->DecodedWidth() && FComposedHeight == FPicture->DecodedHeight() &&
      FComposedTop == FPicture->DecodedTop() && (FComposedColor == background || FComposedOpaque))
    return;
  // A picture whose data turns out damaged while it is decoded leaves the
  // bitmap as it was.
  try {
    FComposedOpaque = FPicture->Compose(bitmap, background);
  } catch (...) {
    Clear();
    throw;
  }
  ++FComposeCount;
  FComposed = true;
  FComposedGeneration = FGeneration;
  FComposedColor = background;
  FComposedStamp = bitmap.Stamp();
  FComposedWidth = FPicture->DecodedWidth();
  FComposedHeight = FPicture->DecodedHeight();
  FComposedTop = FPicture->DecodedTop();
}

bool TPictureCache::ReadPixel(int x, int y, TColor& color) {
  return FPicture && FPicture->ReadPixel(x, y, color);
}

std::shared_ptr<const TPixelBuffer> TPictureCache::Scaled(const TPixelBuffer& image, int width,
                                                         int height, TRect source) {
  if (source.Width() <= 0 || source.Height() <= 0) source = {0, 0, image.Width(), image.Height()};
  if (FScaled && FScaledFrom == image.Stamp() && FScaledSource == source &&
      FScaled->Width() == width && FScaled->Height() == height)
    return FScaled;
  FScaled.reset();  // the old copy goes before the new one is made
  auto scaled = std::make_shared<TPixelBuffer>(width, height);
  scaled->StretchCopy({0, 0, width, height}, image, source);
  ++FScaleCount;
  FScaledFrom = image.Stamp();
  FScaledSource = source;
  FScaled = std::move(scaled);
  return FScaled;
}

void TPictureCache::Clear() {
  FScaled.reset();
  FPicture.reset();
  FPath.clear();
  FFileStamp = {};
  FComposed = false;
  FComposedTop = 0;
}

}  // namespace bx
