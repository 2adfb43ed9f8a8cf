#include "gfx/PixelBuffer.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <new>

#include "platform/Errors.h"
#include "platform/Parallel.h"

namespace bx {

namespace {

// Larger buffers than this are refused: 1 GiB of pixels is far beyond any
// desktop and keeps a damaged header from taking the process's memory.
constexpr std::uint64_t kMaxPixels = (1ull << 30) / sizeof(TPixel);

std::atomic<std::uint64_t> gLivePixels{0};
std::atomic<std::uint64_t> gPeakPixels{0};
std::atomic<std::uint64_t> gAllocatedPixels{0};

void Held(std::uint64_t pixels) {
  if (pixels == 0) return;
  gAllocatedPixels += pixels;
  const std::uint64_t now = gLivePixels += pixels;
  std::uint64_t peak = gPeakPixels.load();
  while (now > peak && !gPeakPixels.compare_exchange_weak(peak, now)) {
  }
}

void Released(std::uint64_t pixels) { gLivePixels -= pixels; }

TRect Intersect(TRect a, TRect b) {
  TRect r{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
          std::min(a.Bottom, b.Bottom)};
  if (r.Right < r.Left) r.Right = r.Left;
  if (r.Bottom < r.Top) r.Bottom = r.Top;
  return r;
}

}  // namespace

std::uint64_t TPixelBuffer::NewId() {
  static std::atomic<std::uint64_t> next{0};
  return ++next;
}

std::uint64_t TPixelBuffer::LivePixels() { return gLivePixels; }
std::uint64_t TPixelBuffer::PeakPixels() { return gPeakPixels; }
std::uint64_t TPixelBuffer::AllocatedPixels() { return gAllocatedPixels; }
void TPixelBuffer::ResetPeakPixels() { gPeakPixels = gLivePixels.load(); }

TPixelBuffer::TPixelBuffer(const TPixelBuffer& other)
    : FId(NewId()), FWidth(other.FWidth), FHeight(other.FHeight), FPixels(other.FPixels) {
  Held(FPixels.size());
}

TPixelBuffer::~TPixelBuffer() { Released(FPixels.size()); }

TPixelBuffer::TPixelBuffer(TPixelBuffer&& other) noexcept
    : FId(NewId()), FWidth(other.FWidth), FHeight(other.FHeight),
      FPixels(std::move(other.FPixels)) {
  other.FWidth = other.FHeight = 0;
  other.FPixels.clear();
  other.FId = NewId();
}

TPixelBuffer& TPixelBuffer::operator=(const TPixelBuffer& other) {
  if (this == &other) return *this;
  TPixels pixels(other.FPixels);
  Held(pixels.size());
  Released(FPixels.size());
  FPixels.swap(pixels);
  FWidth = other.FWidth;
  FHeight = other.FHeight;
  FId = NewId();
  return *this;
}

TPixelBuffer& TPixelBuffer::operator=(TPixelBuffer&& other) noexcept {
  if (this == &other) return *this;
  Released(FPixels.size());
  FPixels = std::move(other.FPixels);
  FWidth = other.FWidth;
  FHeight = other.FHeight;
  FId = NewId();
  other.FWidth = other.FHeight = 0;
  other.FPixels.clear();
  other.FId = NewId();
  return *this;
}

void TPixelBuffer::SetSize(int width, int height) {
  if (width < 0 || height < 0 ||
      static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) > kMaxPixels) {
    throw Exception("Not enough memory for a bitmap of " + std::to_string(width) + " x " +
                    std::to_string(height) + " pixels");
  }
  if (width == FWidth && height == FHeight) return;
  try {
    TPixels pixels(static_cast<std::size_t>(width) * height);
    Held(pixels.size());
    Released(FPixels.size());
    FPixels.swap(pixels);
  } catch (const std::bad_alloc&) {
    throw Exception("Not enough memory for a bitmap of " + std::to_string(width) + " x " +
                    std::to_string(height) + " pixels");
  }
  FWidth = width;
  FHeight = height;
  ++FVersion;
}

TColor TPixelBuffer::GetPixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= FWidth || y >= FHeight) return kInvalidColor;
  return PixelToColor(Scanline(y)[x]);
}

void TPixelBuffer::SetPixel(int x, int y, TColor color) {
  if (x < 0 || y < 0 || x >= FWidth || y >= FHeight) return;
  Scanline(y)[x] = ColorToPixel(color);  // counts as a change
}

void TPixelBuffer::FillRect(TRect rect, TColor color) {
  const TRect r = Intersect(rect, {0, 0, FWidth, FHeight});
  if (r.Width() <= 0 || r.Height() <= 0) return;
  const TPixel p = ColorToPixel(color);
  for (int y = r.Top; y < r.Bottom; ++y) std::fill_n(Scanline(y) + r.Left, r.Width(), p);
}

void TPixelBuffer::FillPattern(TRect rect, const TPixelBuffer& pattern) {
  if (pattern.Width() < 8 || pattern.Height() < 8) return;
  const TRect r = Intersect(rect, {0, 0, FWidth, FHeight});
  if (r.Width() <= 0 || r.Height() <= 0) return;
  const int w = r.Width();
  for (int y = r.Top; y < r.Bottom; ++y) {
    const TPixel* row = pattern.Scanline(y & 7);
    TPixel* out = Scanline(y) + r.Left;
    bool plain = std::all_of(row, row + 8, [&](TPixel p) { return p == row[0]; });
    if (plain) {
      std::fill_n(out, w, row[0]);
    } else if (y - r.Top >= 8) {
      // The same as the row 8 above.
      std::memcpy(out, Scanline(y - 8) + r.Left, sizeof(TPixel) * w);
    } else {
      // One period of 8, then whole periods, doubling.
      const int first = std::min(8, w);
      for (int i = 0; i < first; ++i) out[i] = row[(r.Left + i) & 7];
      for (int len = first; len < w;) {
        const int n = std::min(len, w - len);
        std::memcpy(out + len, out, sizeof(TPixel) * n);
        len += n;
      }
    }
  }
}

void TPixelBuffer::StretchCopy(TRect dst, const TPixelBuffer& source, TRect src) {
  src = Intersect(src, {0, 0, source.Width(), source.Height()});
  if (dst.Width() <= 0 || dst.Height() <= 0 || src.Width() <= 0 || src.Height() <= 0) return;
  const TRect clip = Intersect(dst, {0, 0, FWidth, FHeight});
  if (clip.Width() <= 0 || clip.Height() <= 0) return;
  const int dw = dst.Width(), dh = dst.Height(), sw = src.Width(), sh = src.Height();
  if (dw == sw && dh == sh) {
    for (int y = clip.Top; y < clip.Bottom; ++y) {
      const TPixel* in = source.Scanline(src.Top + y - dst.Top) + src.Left + (clip.Left - dst.Left);
      std::memcpy(Scanline(y) + clip.Left, in, sizeof(TPixel) * clip.Width());
    }
    return;
  }
  // Nearest pixel: destination column c takes source column (c * sw) / dw.
  std::vector<int> columns(clip.Width());
  for (int x = clip.Left; x < clip.Right; ++x)
    columns[x - clip.Left] =
        src.Left + static_cast<int>((static_cast<std::int64_t>(x - dst.Left) * sw) / dw);
  TPixel* const pixels = Scanline(0);  // counts the change once, not from two threads
  auto copyRows = [&](int top, int bottom) {
    for (int y = top; y < bottom; ++y) {
      const int sy = src.Top + static_cast<int>((static_cast<std::int64_t>(y - dst.Top) * sh) / dh);
      const TPixel* in = source.Scanline(sy);
      TPixel* out = pixels + static_cast<std::size_t>(y) * FWidth + clip.Left;
      for (int i = 0; i < clip.Width(); ++i) out[i] = in[columns[i]];
    }
  };
  // A desktop-size copy (a stretched photo) takes a second core.
  RunRows(clip.Top, clip.Bottom, static_cast<std::int64_t>(clip.Width()) * clip.Height(), copyRows);
}

TRect TPixelBuffer::LineRect(int x1, int y1, int x2, int y2, int width) {
  if (width < 1) width = 1;
  const int before = width / 2;
  TRect r;
  if (y1 == y2) {
    r = {std::min(x1, x2), y1 - before, std::max(x1, x2), y1 - before + width};
    if (x2 < x1) r = {x2 + 1, r.Top, x1 + 1, r.Bottom};
  } else if (x1 == x2) {
    r = {x1 - before, std::min(y1, y2), x1 - before + width, std::max(y1, y2)};
    if (y2 < y1) r = {r.Left, y2 + 1, r.Right, y1 + 1};
  }
  return r;  // only axis-aligned lines are needed
}

void TPixelBuffer::Line(int x1, int y1, int x2, int y2, int width, TColor color, TPenMode mode) {
  TRect r = LineRect(x1, y1, x2, y2, width);
  r = Intersect(r, {0, 0, FWidth, FHeight});
  if (r.Width() <= 0 || r.Height() <= 0) return;
  if (mode == TPenMode::pmCopy) {
    FillRect(r, color);
    return;
  }
  for (int y = r.Top; y < r.Bottom; ++y) {
    TPixel* out = Scanline(y);
    for (int x = r.Left; x < r.Right; ++x) out[x] = ~out[x] & 0xFFFFFF;
  }
}

}  // namespace bx
