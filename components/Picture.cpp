#include "components/Picture.h"

#include "components/BmpImage.h"
#include "components/GifImage.h"
#include "components/IconImage.h"
#include "components/JpegImage.h"
#include "components/Metafile.h"
#include "components/PngImage.h"
#include "components/WebpImage.h"
#include "platform/Errors.h"
#include "platform/FileNames.h"

namespace bx {

namespace {

std::string LowerCase(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + ('a' - 'A'));
  return text;
}

template <class T>
std::unique_ptr<TGraphic> Make() {
  return std::make_unique<T>();
}

std::vector<TFileFormat>& Formats() {
  static std::vector<TFileFormat> formats = [] {
    std::vector<TFileFormat> table;
    auto add = [&](const char* extension, const char* description, TGraphicFactory create) {
      table.push_back({LowerCase(extension), description, create});
    };
    add("wmf", "Metafiles", Make<TMetafile>);
    add("emf", "Enhanced Metafiles", Make<TMetafile>);
    add("ico", "Icons", Make<TIcon>);
    add("bmp", "Bitmaps", Make<TBitmap>);
    add("jpeg", "JPEG Image File", Make<TJPEGImage>);
    add("jpg", "JPEG Image File", Make<TJPEGImage>);
    add("GIF", "GIF Image", Make<TGIFImage>);
    add("png", "Portable Network Graphics", Make<TPngImage>);
    add("webp", "WebP Image", Make<TWebPImage>);
    return table;
  }();
  return formats;
}

// Today's Windows keeps its wallpaper as a copy without an extension (a
// JPEG, PNG, WebP or bitmap inside): for such a name the first bytes pick the
// decoder. Null when they are none of the formats the loader reads.
TGraphicFactory FactoryBySignature(const std::vector<std::uint8_t>& data) {
  auto starts = [&data](std::initializer_list<std::uint8_t> bytes, std::size_t at = 0) {
    if (data.size() < at + bytes.size()) return false;
    for (std::uint8_t b : bytes)
      if (data[at++] != b) return false;
    return true;
  };
  auto upper = [&data](std::size_t at) { return static_cast<std::uint8_t>(data[at] & ~0x20); };
  if (starts({'B', 'M'})) return Make<TBitmap>;
  if (starts({0xFF, 0xD8, 0xFF})) return Make<TJPEGImage>;
  if (data.size() >= 3 && upper(0) == 'G' && upper(1) == 'I' && upper(2) == 'F')
    return Make<TGIFImage>;
  if (IsPng(data.data(), data.size())) return Make<TPngImage>;
  if (IsWebP(data.data(), data.size())) return Make<TWebPImage>;
  if (starts({0, 0, 1, 0})) return Make<TIcon>;
  if (starts({0xD7, 0xCD, 0xC6, 0x9A}) || (starts({1, 0, 0, 0}) && starts({' ', 'E', 'M', 'F'}, 40)))
    return Make<TMetafile>;
  return nullptr;
}

}  // namespace

const std::vector<TFileFormat>& TPicture::FileFormats() { return Formats(); }

void TPicture::RegisterFileFormat(const std::string& extension, const std::string& description,
                                  TGraphicFactory create) {
  Formats().push_back({LowerCase(extension), description, create});
}

void TPicture::LoadFromFile(const std::string& fileName) {
  const std::string extension = FileExtension(fileName);
  const std::string key = LowerCase(extension);
  if (extension.empty()) {
    std::vector<std::uint8_t> data = ReadPictureFile(fileName);
    if (TGraphicFactory create = FactoryBySignature(data)) {
      std::unique_ptr<TGraphic> graphic = create();
      graphic->LoadFromData(std::move(data));
      graphic->SetShownSize(FShownWidth, FShownHeight);
      graphic->SetShownRows(FShownTop, FShownBottom);
      FGraphic = std::move(graphic);
      FFileName = fileName;
      FPixelsTaken = false;
      return;
    }
  }
  const std::vector<TFileFormat>& formats = Formats();
  for (auto it = formats.rbegin(); it != formats.rend(); ++it) {
    if (it->Extension != key) continue;
    std::unique_ptr<TGraphic> graphic = it->Create();
    graphic->LoadFromFile(fileName);
    graphic->SetShownSize(FShownWidth, FShownHeight);
    graphic->SetShownRows(FShownTop, FShownBottom);
    FGraphic = std::move(graphic);
    FFileName = fileName;
    FPixelsTaken = false;
    return;
  }
  throw Exception(FormatText("Unknown picture file extension (.%s)", extension));
}

void TPicture::Restore() {
  if (FPixelsTaken) LoadFromFile(FFileName);
}

void TPicture::SetShownSize(int width, int height) {
  FShownWidth = width;
  FShownHeight = height;
  if (FGraphic) FGraphic->SetShownSize(width, height);
}

void TPicture::SetShownRows(int top, int bottom) {
  FShownTop = top;
  FShownBottom = bottom;
  if (FGraphic) FGraphic->SetShownRows(top, bottom);
}

bool TPicture::ReadPixel(int x, int y, TColor& color) {
  // A decoder that reads pixels from its file keeps the file after its
  // pixels were taken.
  return !Empty() && FGraphic->ReadPixel(x, y, color);
}

void TPicture::ReadRows(TColor background,
                        const std::function<void(int y, const TPixel* row)>& row) {
  if (Empty()) return;
  Restore();
  FGraphic->ReadRows(background, row);
  // Drawing whole may have replaced the reduced pixels of a decoder that
  // cannot stream; the kept size is asked for again.
  FGraphic->SetShownSize(FShownWidth, FShownHeight);
}

void TPicture::Draw(TPixelBuffer& target, int x, int y) {
  if (Empty()) return;
  Restore();
  FGraphic->Draw(target, x, y);
}

bool TPicture::Compose(TPixelBuffer& bitmap, TColor background) {
  if (Empty()) return false;
  Restore();
  FGraphic->Decode();
  TPixelBuffer pixels;
  if (FGraphic->TakeOpaquePixels(pixels)) {
    FPixelsTaken = true;
    bitmap = std::move(pixels);
    return true;
  }
  const int width = FGraphic->DecodedWidth(), height = FGraphic->DecodedHeight();
  if (FGraphic->DrawMayFail()) {
    TPixelBuffer composed(width, height);
    composed.Fill(background);
    FGraphic->Draw(composed, 0, 0);
    bitmap = std::move(composed);
    return false;
  }
  bitmap = TPixelBuffer();  // drawing cannot fail now: the old pixels go first
  bitmap.SetSize(width, height);
  bitmap.Fill(background);
  FGraphic->Draw(bitmap, 0, 0);
  return false;
}

}  // namespace bx
