// The one pixel surface of the applet: the image bitmap, the pattern bitmap
// and the desktop-size preview picture. The same code runs in every build,
// so a preview is the same on Windows and in the tests.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <new>
#include <utility>
#include <vector>

#include "gfx/Color.h"

namespace bx {

struct TRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  bool operator==(const TRect&) const = default;
};

enum class TPenMode { pmCopy, pmNot };

// Pixels come from calloc, which for a large buffer maps pages the system
// has zeroed anyway: a new desktop-size buffer is black without a pass
// over it, and whoever writes it first (a decoder's threads) takes its
// pages. Only a vector made at its size is black; the buffer never grows
// one.
template <class T>
struct TZeroedAllocator {
  using value_type = T;
  TZeroedAllocator() = default;
  template <class U>
  TZeroedAllocator(const TZeroedAllocator<U>&) noexcept {}
  T* allocate(std::size_t n) {
    if (void* p = std::calloc(n, sizeof(T))) return static_cast<T*>(p);
    throw std::bad_alloc();
  }
  void deallocate(T* p, std::size_t) noexcept { std::free(p); }
  template <class U>
  void construct(U* p) noexcept {
    ::new (static_cast<void*>(p)) U;
  }
  template <class U, class... A>
  void construct(U* p, A&&... args) {
    ::new (static_cast<void*>(p)) U(std::forward<A>(args)...);
  }
  template <class U>
  bool operator==(const TZeroedAllocator<U>&) const noexcept {
    return true;
  }
};

class TPixelBuffer {
 public:
  TPixelBuffer() : FId(NewId()) {}
  TPixelBuffer(int width, int height) : FId(NewId()) { SetSize(width, height); }
  // Copies and moves take the pixels and make a buffer of a new identity.
  TPixelBuffer(const TPixelBuffer& other);
  TPixelBuffer(TPixelBuffer&& other) noexcept;
  TPixelBuffer& operator=(const TPixelBuffer& other);
  TPixelBuffer& operator=(TPixelBuffer&& other) noexcept;
  ~TPixelBuffer();

  // Throws "Not enough memory for a bitmap of %d x %d pixels" for sizes that
  // cannot be held, instead of failing inside the allocator. New pixels are black.
  void SetSize(int width, int height);
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  bool Empty() const { return FWidth == 0 || FHeight == 0; }

  TPixel* Scanline(int y) {
    ++FVersion;
    return FPixels.data() + static_cast<std::size_t>(y) * FWidth;
  }
  const TPixel* Scanline(int y) const {
    return FPixels.data() + static_cast<std::size_t>(y) * FWidth;
  }
  const TPixel* Data() const { return FPixels.data(); }

  // COLORREF at (x, y); outside the buffer: kInvalidColor, as GDI's GetPixel.
  static constexpr TColor kInvalidColor = 0xFFFFFFFF;
  TColor GetPixel(int x, int y) const;
  void SetPixel(int x, int y, TColor color);

  // Fills a rectangle, clipped to the buffer.
  void Fill(TColor color) { FillRect({0, 0, FWidth, FHeight}, color); }
  void FillRect(TRect rect, TColor color);
  // Fills with an 8 x 8 pattern whose tiling is anchored at the buffer's
  // (0, 0): pattern column x lies under columns x, x + 8, ...
  void FillPattern(TRect rect, const TPixelBuffer& pattern8x8);

  // Copies source rectangle src into destination rectangle dst, scaling by
  // nearest pixel when the sizes differ; clipped to this buffer.
  void StretchCopy(TRect dst, const TPixelBuffer& source, TRect src);
  void Draw(int x, int y, const TPixelBuffer& source) {
    StretchCopy({x, y, x + source.Width(), y + source.Height()}, source,
                {0, 0, source.Width(), source.Height()});
  }

  // A pen `width` pixels wide along a horizontal or vertical line from
  // (x1, y1) to (x2, y2), the end point not drawn; copy draws the colour,
  // not inverts each pixel once.
  void Line(int x1, int y1, int x2, int y2, int width, TColor color, TPenMode mode);
  // The pixels such a line covers, before clipping; empty for a slanted line.
  static TRect LineRect(int x1, int y1, int x2, int y2, int width);

  // Tells whether a buffer is still as it was: the pair changes with every
  // change of size or pixels (any writable access counts as a change), and
  // no two buffers share an identity. Caches of composed pictures use it.
  struct TStamp {
    std::uint64_t Id = 0;
    std::uint64_t Version = 0;
    bool operator==(const TStamp&) const = default;
  };
  TStamp Stamp() const { return {FId, FVersion}; }

  // Pixels held by all buffers now, the most held at once since the last
  // ResetPeakPixels, and all ever allocated: what the memory tests and
  // benchmarks count.
  static std::uint64_t LivePixels();
  static std::uint64_t PeakPixels();
  static std::uint64_t AllocatedPixels();
  static void ResetPeakPixels();

 private:
  static std::uint64_t NewId();
  std::uint64_t FId;
  std::uint64_t FVersion = 0;
  int FWidth = 0;
  int FHeight = 0;
  using TPixels = std::vector<TPixel, TZeroedAllocator<TPixel>>;
  TPixels FPixels;
};

}  // namespace bx
