// What the preview shows, kept as what it is made of: the background
// pattern, the placed image (once or tiled) and the grid's lines. The
// preview control reduces it straight into its own pixels, reading only the
// image's rows and a few of the pattern's sums, and the desktop-size
// picture is made from it only when it is read whole.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "gfx/PixelBuffer.h"
#include "ui/Controls.h"

namespace bx {

class TColumnSums;

class TPreviewScene : public IPictureSource {
 public:
  TPreviewScene(int width, int height) : FWidth(width), FHeight(height) {}

  // The 8 x 8 pattern anchored at the picture's top left, or one colour.
  void SetPattern(const TPixelBuffer& pattern8x8);
  void SetColor(TColor color);
  // The image drawn at its own size with its top left at (left, top), or
  // tiled over the whole picture with a tile's corner there. `keep` holds
  // the pixels when the scene must own them (a scaled copy); otherwise the
  // image is read as it is then, and drawn only while its size is the same.
  void SetImage(const TPixelBuffer& image, std::shared_ptr<const TPixelBuffer> keep,
                std::int64_t left, std::int64_t top, bool tiled);
  // A line drawn after the image: in `color`, or inverting what it covers.
  void AddLine(TRect rect, bool copy, TColor color);

  void Compose(TPixelBuffer& picture) const override;
  void Reduce(TPixel* target, int width, int height) const override;

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  // Row y (0 <= y < Height()) of the picture, Width() pixels, as composing
  // the whole picture makes it.
  void ComposeRow(int y, TPixel* out) const;

 private:
  struct TLine {
    TRect Rect;
    bool Copy;
    TPixel Pixel;
  };
  bool HasImage() const;
  // The sums of pattern row y's pixels over columns a up to b.
  void PatternSum(int y, int a, int b, std::uint64_t sums[3]) const;
  // What one reduction works out first: each pattern row's sums per
  // target column.
  struct TReduction;
  // Adds row y's columns a up to b as they are under the lines (the
  // pattern, the image), inverted or not, to the sums of a target row.
  void AddPatternSums(int y, int a, int b, bool inverted, TColumnSums& sums,
                      const TReduction& r) const;
  void AddUnderLines(int y, int a, int b, bool inverted, TColumnSums& sums,
                     const TReduction& r) const;
  // Adds row y, which lines cross, without composing it.
  void AddLinedRow(int y, TColumnSums& sums, const TReduction& r) const;

  int FWidth, FHeight;
  TPixel FPattern[8][8] = {};
  std::uint64_t FPatternPrefix[8][9][3] = {};  // per row: sums of its first k pixels
  const TPixelBuffer* FImage = nullptr;
  std::shared_ptr<const TPixelBuffer> FKeep;
  int FImageWidth = 0, FImageHeight = 0;
  bool FTiled = false;
  TRect FCovered;       // drawn once: the image's part of the picture
  int FPhaseX = 0, FPhaseY = 0;  // tiled: the image column and row at (0, 0)
  std::int64_t FLeft = 0, FTop = 0;
  std::vector<TLine> FLines;
  std::vector<char> FLineRows;  // rows some line crosses
};

}  // namespace bx
