#include "dialogs/main/PreviewScene.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "components/PictureReduction.h"

namespace bx {

namespace {

// The first tile's start: a tile boundary on `start`, with -size < result <= 0.
std::int64_t TileStart(std::int64_t start, std::int64_t size) {
  std::int64_t r = start % size;
  if (r > 0) r -= size;
  return r;
}

// Repeats out[0, len) until `count` pixels are filled, doubling.
void Repeat(TPixel* out, int len, int count) {
  while (len < count) {
    const int n = std::min(len, count - len);
    std::memcpy(out + len, out, sizeof(TPixel) * n);
    len += n;
  }
}

}  // namespace

void TPreviewScene::SetPattern(const TPixelBuffer& pattern) {
  for (int y = 0; y < 8; ++y) {
    std::memcpy(FPattern[y], pattern.Scanline(y), sizeof FPattern[y]);
    for (int k = 0; k < 8; ++k) {
      const TPixel p = FPattern[y][k];
      FPatternPrefix[y][k + 1][0] = FPatternPrefix[y][k][0] + ((p >> 16) & 0xFF);
      FPatternPrefix[y][k + 1][1] = FPatternPrefix[y][k][1] + ((p >> 8) & 0xFF);
      FPatternPrefix[y][k + 1][2] = FPatternPrefix[y][k][2] + (p & 0xFF);
    }
  }
}

void TPreviewScene::SetColor(TColor color) {
  TPixelBuffer plain(8, 8);
  plain.Fill(color);
  SetPattern(plain);
}

void TPreviewScene::SetImage(const TPixelBuffer& image, std::shared_ptr<const TPixelBuffer> keep,
                             std::int64_t left, std::int64_t top, bool tiled) {
  FImage = &image;
  FKeep = std::move(keep);
  FImageWidth = image.Width();
  FImageHeight = image.Height();
  FTiled = tiled;
  FLeft = left;
  FTop = top;
  if (FImageWidth <= 0 || FImageHeight <= 0) return;
  if (tiled) {
    FPhaseX = static_cast<int>(-TileStart(left, FImageWidth));
    FPhaseY = static_cast<int>(-TileStart(top, FImageHeight));
  } else {
    const std::int64_t l = std::max<std::int64_t>(left, 0), t = std::max<std::int64_t>(top, 0);
    const std::int64_t r = std::min<std::int64_t>(left + FImageWidth, FWidth);
    const std::int64_t b = std::min<std::int64_t>(top + FImageHeight, FHeight);
    if (r > l && b > t)
      FCovered = {static_cast<int>(l), static_cast<int>(t), static_cast<int>(r), static_cast<int>(b)};
  }
}

void TPreviewScene::AddLine(TRect rect, bool copy, TColor color) {
  rect = {std::max(rect.Left, 0), std::max(rect.Top, 0), std::min(rect.Right, FWidth),
          std::min(rect.Bottom, FHeight)};
  if (rect.Width() <= 0 || rect.Height() <= 0) return;
  FLines.push_back({rect, copy, ColorToPixel(color)});
  if (FLineRows.empty()) FLineRows.assign(static_cast<std::size_t>(FHeight), 0);
  std::fill(FLineRows.begin() + rect.Top, FLineRows.begin() + rect.Bottom, 1);
}

bool TPreviewScene::HasImage() const {
  // An image bitmap changed since by someone else is not read past its size.
  return FImage && FImageWidth > 0 && FImageHeight > 0 && FImage->Width() == FImageWidth &&
         FImage->Height() == FImageHeight;
}

void TPreviewScene::ComposeRow(int y, TPixel* out) const {
  const TPixel* pattern = FPattern[y & 7];
  const int first = std::min(8, FWidth);
  std::memcpy(out, pattern, sizeof(TPixel) * first);
  Repeat(out, first, FWidth);
  if (HasImage()) {
    if (FTiled) {
      // One period: the image row from the phase on, then its start.
      const TPixel* in = FImage->Scanline((y + FPhaseY) % FImageHeight);
      const int head = std::min(FImageWidth - FPhaseX, FWidth);
      std::memcpy(out, in + FPhaseX, sizeof(TPixel) * head);
      const int tail = std::min(FPhaseX, FWidth - head);
      std::memcpy(out + head, in, sizeof(TPixel) * tail);
      Repeat(out, head + tail, FWidth);
    } else if (y >= FCovered.Top && y < FCovered.Bottom) {
      const TPixel* in = FImage->Scanline(static_cast<int>(y - FTop)) + (FCovered.Left - FLeft);
      std::memcpy(out + FCovered.Left, in, sizeof(TPixel) * FCovered.Width());
    }
  }
  if (FLineRows.empty() || !FLineRows[y]) return;
  for (const TLine& line : FLines) {
    if (y < line.Rect.Top || y >= line.Rect.Bottom) continue;
    TPixel* p = out + line.Rect.Left;
    if (line.Copy)
      std::fill_n(p, line.Rect.Width(), line.Pixel);
    else
      for (int i = 0; i < line.Rect.Width(); ++i) p[i] = ~p[i] & 0xFFFFFF;
  }
}

void TPreviewScene::Compose(TPixelBuffer& picture) const {
  if (picture.Width() != FWidth || picture.Height() != FHeight) return;
  for (int y = 0; y < FHeight; ++y) ComposeRow(y, picture.Scanline(y));
}

void TPreviewScene::PatternSum(int y, int a, int b, std::uint64_t sums[3]) const {
  const auto& prefix = FPatternPrefix[y & 7];
  for (int c = 0; c < 3; ++c)
    sums[c] = (static_cast<std::uint64_t>(b / 8) * prefix[8][c] + prefix[b % 8][c]) -
              (static_cast<std::uint64_t>(a / 8) * prefix[8][c] + prefix[a % 8][c]);
}

struct TPreviewScene::TReduction {
  std::vector<std::array<std::uint64_t, 3>> PatternColumns;  // [pattern row * width + x]
  int Width = 0;
};

void TPreviewScene::AddPatternSums(int y, int a, int b, bool inverted, TColumnSums& sums,
                                   const TReduction& r) const {
  if (a >= b) return;
  const std::array<std::uint64_t, 3>* whole = r.PatternColumns.data() + (y & 7) * r.Width;
  for (int x = sums.ColumnOf(a); x < sums.Width() && sums.Column(x) < b; ++x) {
    const int from = std::max(a, sums.Column(x)), to = std::min(b, sums.Column(x + 1));
    std::uint64_t s[3] = {whole[x][0], whole[x][1], whole[x][2]};
    if (from != sums.Column(x) || to != sums.Column(x + 1)) PatternSum(y, from, to, s);
    if (inverted)
      for (std::uint64_t& c : s) c = 255ull * static_cast<std::uint64_t>(to - from) - c;
    sums.Add(x, s[0], s[1], s[2]);
  }
}

void TPreviewScene::AddUnderLines(int y, int a, int b, bool inverted, TColumnSums& sums,
                                  const TReduction& r) const {
  if (a >= b) return;
  if (HasImage() && FTiled) {
    const TPixel* in = FImage->Scanline((y + FPhaseY) % FImageHeight);
    for (int x = a, from = static_cast<int>((static_cast<std::int64_t>(a) + FPhaseX) % FImageWidth);
         x < b; from = 0) {
      const int n = std::min(FImageWidth - from, b - x);
      sums.AddPixels(in + from, x, n, inverted);
      x += n;
    }
  } else if (HasImage() && y >= FCovered.Top && y < FCovered.Bottom) {
    const int left = std::clamp(FCovered.Left, a, b), right = std::clamp(FCovered.Right, a, b);
    AddPatternSums(y, a, left, inverted, sums, r);
    if (right > left)
      sums.AddPixels(FImage->Scanline(static_cast<int>(y - FTop)) + (left - FLeft), left,
                     right - left, inverted);
    AddPatternSums(y, right, b, inverted, sums, r);
  } else {
    AddPatternSums(y, a, b, inverted, sums, r);
  }
}

void TPreviewScene::AddLinedRow(int y, TColumnSums& sums, const TReduction& r) const {
  // The row's lines cut it into runs under the same lines. A run shows the
  // colour of the last line drawn over it, or what lies under the lines,
  // either inverted once for each inverting line drawn after that.
  std::vector<int> cuts{0, FWidth};
  std::vector<const TLine*> crossing;
  for (const TLine& line : FLines) {
    if (y < line.Rect.Top || y >= line.Rect.Bottom) continue;
    crossing.push_back(&line);
    cuts.push_back(line.Rect.Left);
    cuts.push_back(line.Rect.Right);
  }
  std::sort(cuts.begin(), cuts.end());
  cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());
  for (std::size_t i = 0; i + 1 < cuts.size(); ++i) {
    const int a = cuts[i], b = cuts[i + 1];
    const TLine* drawn = nullptr;
    bool inverted = false;
    for (const TLine* line : crossing) {
      if (line->Rect.Left > a || line->Rect.Right < b) continue;
      if (line->Copy) {
        drawn = line;
        inverted = false;
      } else {
        inverted = !inverted;
      }
    }
    if (drawn)
      sums.AddRun(a, b - a, inverted ? ~drawn->Pixel & 0xFFFFFF : drawn->Pixel);
    else
      AddUnderLines(y, a, b, inverted, sums, r);
  }
}

void TPreviewScene::Reduce(TPixel* target, int width, int height) const {
  if (width <= 0 || height <= 0 || width > FWidth || height > FHeight) return;
  const bool image = HasImage();
  TReduction r;
  r.Width = width;
  r.PatternColumns.resize(static_cast<std::size_t>(8) * width);
  const TColumnSums columns(FWidth, width);
  for (int p = 0; p < 8; ++p)
    for (int x = 0; x < width; ++x)
      PatternSum(p, columns.Column(x), columns.Column(x + 1), r.PatternColumns[p * width + x].data());
  // Two threads may make target rows at once: each band keeps its own row.
  ReduceBands(FWidth, FHeight, target, width, height, [&](int top, int bottom, TColumnSums& sums) {
    std::vector<TPixel> row;
    int plainRows[8] = {};
    for (int y = top; y < bottom; ++y) {
      const bool lines = !FLineRows.empty() && FLineRows[y];
      if (lines && !(image && FTiled && FImageWidth < 64)) {
        AddLinedRow(y, sums, r);
      } else if (!lines && image && FTiled && FImageWidth >= 64) {
        // Wide tiles are summed from the image's row, period by period.
        const TPixel* in = FImage->Scanline((y + FPhaseY) % FImageHeight);
        for (int x = 0, from = FPhaseX; x < FWidth; from = 0) {
          const int n = std::min(FImageWidth - from, FWidth - x);
          sums.AddPixels(in + from, x, n);
          x += n;
        }
      } else if (lines || (image && FTiled)) {
        // Composed in a row of its own, then summed.
        if (row.empty()) row.resize(static_cast<std::size_t>(FWidth));
        ComposeRow(y, row.data());
        sums.AddPixels(row.data(), 0, FWidth);
      } else if (image && y >= FCovered.Top && y < FCovered.Bottom) {
        AddUnderLines(y, 0, FWidth, false, sums, r);
      } else {
        ++plainRows[y & 7];
      }
    }
    for (int p = 0; p < 8; ++p) {
      if (!plainRows[p]) continue;
      for (int x = 0; x < width; ++x) {
        const auto& s = r.PatternColumns[p * width + x];
        sums.Add(x, s[0] * plainRows[p], s[1] * plainRows[p], s[2] * plainRows[p]);
      }
    }
  });
}

}  // namespace bx
