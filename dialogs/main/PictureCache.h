// Keeps the wallpaper's decoded picture between preview updates, so that a
// change of placement does not read and decode the file again, and keeps
// track of what the image bitmap holds, so that it is not recomposed when
// neither the picture nor the background colour changed.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "gfx/PixelBuffer.h"
#include "platform/Platform.h"

namespace bx {

class TPicture;

class TPictureCache {
 public:
  TPictureCache();
  ~TPictureCache();
  TPictureCache(const TPictureCache&) = delete;
  TPictureCache& operator=(const TPictureCache&) = delete;

  // The picture of the file. Loaded anew when the path, the file's size or
  // its last-write time differ from the kept picture's. A load that fails
  // keeps nothing and passes its error on.
  TPicture& Load(const std::string& path);

  // Makes `bitmap` the kept picture drawn at (0, 0) over `background`
  // (TPicture::Compose), unless it already holds exactly that: at its own
  // size, or reduced where it is shown no larger than shownWidth x
  // shownHeight (0 x 0: shown at its own size), or a band of its rows
  // where only rows shownTop up to shownBottom are shown (DecodedTop). On
  // an error (a picture that cannot be decoded) the bitmap is left as it
  // was, the kept picture is dropped and the error passed on. Call after
  // Load.
  void Compose(TPixelBuffer& bitmap, TColor background, int shownWidth = 0, int shownHeight = 0,
               int shownTop = 0, int shownBottom = 0);
  // The image's row that the bitmap's first row shows: 0 unless a band.
  int DecodedTop() const { return FComposedTop; }
  // The kept picture's own pixel (x, y), read from its file
  // (TPicture::ReadPixel); false where it cannot be read so.
  bool ReadPixel(int x, int y, TColor& color);

  // `image` (or its part `source`, when that is not empty) scaled to
  // width x height by nearest pixel, as a scaled copy would draw it, kept
  // while the image bitmap, the part and the size stay the same: moving a
  // stretched image then costs a plain copy. Shared, so that the preview
  // made of it keeps it while the cache moves on.
  std::shared_ptr<const TPixelBuffer> Scaled(const TPixelBuffer& image, int width, int height,
                                             TRect source = {});

  // Forgets the kept picture, what was composed and the scaled copy.
  void Clear();

  // How often a file was loaded and a bitmap composed (for the tests).
  int LoadCount() const { return FLoadCount; }
  int ComposeCount() const { return FComposeCount; }
  int ScaleCount() const { return FScaleCount; }

 private:
  std::unique_ptr<TPicture> FPicture;
  std::string FPath;
  FileStamp FFileStamp;
  // Each kept picture gets a new generation; a composition is keyed by it.
  std::uint64_t FGeneration = 0;
  bool FComposed = false;
  std::uint64_t FComposedGeneration = 0;
  TColor FComposedColor = 0;
  bool FComposedOpaque = false;  // the composition does not depend on the colour
  TPixelBuffer::TStamp FComposedStamp;
  int FComposedWidth = 0, FComposedHeight = 0;  // the decoded size composed
  int FComposedTop = 0;
  std::shared_ptr<const TPixelBuffer> FScaled;
  TPixelBuffer::TStamp FScaledFrom;
  TRect FScaledSource;
  int FLoadCount = 0;
  int FComposeCount = 0;
  int FScaleCount = 0;
};

}  // namespace bx
