// The picture loader: picks a decoder by the file name's extension and
// holds the one decoded image.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "components/Graphic.h"

namespace bx {

using TGraphicFactory = std::unique_ptr<TGraphic> (*)();

// One entry of the format table; extensions are kept in lower case.
struct TFileFormat {
  std::string Extension;
  std::string Description;
  TGraphicFactory Create = nullptr;
};

class TPicture {
 public:
  // Chooses the decoder by the extension (for a name without one, by the
  // file's first bytes) and loads the whole file. Throws "Unknown picture
  // file extension (.%s)" or the decoder's message; a failed load leaves
  // the picture as it was.
  void LoadFromFile(const std::string& fileName);
  // True when no image was decoded.
  bool Empty() const { return !FGraphic || FGraphic->Empty(); }
  int Width() const { return FGraphic ? FGraphic->Width() : 0; }
  int Height() const { return FGraphic ? FGraphic->Height() : 0; }
  // Draws the image at its own size with its top-left corner at (x, y).
  // Cheap to repeat: the image is decoded once.
  void Draw(TPixelBuffer& target, int x, int y);
  // The size the image is shown at, at most: a photo is then decoded
  // reduced where its format can (TGraphic::SetShownSize); 0 x 0, the
  // default, decodes it whole. Kept for later loads of this picture.
  void SetShownSize(int width, int height);
  // Only the image's rows top up to bottom are shown, at its own size
  // (TGraphic::SetShownRows): a large photo is then held as a band of rows
  // around them. Kept for later loads of this picture.
  void SetShownRows(int top, int bottom);
  // The size of the pixels Draw and Compose give: Width x Height unless
  // reduced or a band, and the image's row their first row shows.
  int DecodedWidth() const { return FGraphic ? FGraphic->DecodedWidth() : 0; }
  int DecodedHeight() const { return FGraphic ? FGraphic->DecodedHeight() : 0; }
  int DecodedTop() const { return FGraphic ? FGraphic->DecodedTop() : 0; }
  // The image's own pixel (x, y) that the composed pixels do not hold,
  // from the file (TGraphic::ReadPixel); false where it cannot be read so.
  bool ReadPixel(int x, int y, TColor& color);
  // The image at its own size over `background`, row by row from the top
  // (TGraphic::ReadRows): what the conversion to a bitmap file writes.
  void ReadRows(TColor background, const std::function<void(int y, const TPixel* row)>& row);
  // What the callers draw: `bitmap` sized to the decoded image, filled with
  // `background` and the image drawn on it at (0, 0); an empty picture
  // leaves it alone. At most two image-size buffers live at once: the
  // bitmap's old pixels go only after the image decoded, and an image that
  // paints every pixel hands its pixels over instead of being copied (the
  // picture then loads its file again when it is drawn once more). True
  // when the result does not depend on the background. A failure leaves
  // the bitmap as it was.
  bool Compose(TPixelBuffer& bitmap, TColor background);
  TGraphic* Graphic() const { return FGraphic.get(); }

  // The format table in the order the formats were registered.
  static const std::vector<TFileFormat>& FileFormats();
  // Adds an entry; an extension registered again is then served by the
  // later entry.
  static void RegisterFileFormat(const std::string& extension, const std::string& description,
                                 TGraphicFactory create);

 private:
  // Loads the file again after Compose took the image's pixels.
  void Restore();

  std::unique_ptr<TGraphic> FGraphic;
  std::string FFileName;
  bool FPixelsTaken = false;
  int FShownWidth = 0, FShownHeight = 0;
  int FShownTop = 0, FShownBottom = 0;
};

}  // namespace bx
