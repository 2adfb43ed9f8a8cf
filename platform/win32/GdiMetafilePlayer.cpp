#include "platform/win32/GdiMetafilePlayer.h"

#include <algorithm>
#include <cstring>
#include <tuple>
#include <vector>

#include "gfx/PixelBuffer.h"
#include "platform/win32/TopDownBitmap.h"
#include "platform/win32/WinApi.h"

namespace bx {

namespace {

constexpr WORD kMetaSetWindowOrg = 0x020B;
constexpr WORD kMetaSetWindowExt = 0x020C;

void PutWord(std::vector<std::uint8_t>& b, std::uint32_t v) {
  b.push_back(v & 0xFF);
  b.push_back((v >> 8) & 0xFF);
}

// The records with a window origin and extent from the placeable header put
// first, so that a metafile without its own still maps its bounding box onto
// the picture; its own, when present, come later and win.
std::vector<std::uint8_t> WithWindowFromBox(const std::vector<std::uint8_t>& records, int left,
                                            int top, int width, int height) {
  if (records.size() < 18 || (records[2] | (records[3] << 8)) != 9) return {};
  std::vector<std::uint8_t> out(records.begin(), records.begin() + 18);
  for (const auto& [function, a, b] : {std::tuple<WORD, int, int>{kMetaSetWindowOrg, top, left},
                                       std::tuple<WORD, int, int>{kMetaSetWindowExt, height, width}}) {
    PutWord(out, 5);  // record size in words, low then high word
    PutWord(out, 0);
    PutWord(out, function);
    PutWord(out, static_cast<std::uint16_t>(a));
    PutWord(out, static_cast<std::uint16_t>(b));
  }
  out.insert(out.end(), records.begin() + 18, records.end());
  std::uint32_t words, maxRecord;
  std::memcpy(&words, out.data() + 6, 4);
  std::memcpy(&maxRecord, out.data() + 12, 4);
  words += 10;
  maxRecord = std::max<std::uint32_t>(maxRecord, 5);
  std::memcpy(out.data() + 6, &words, 4);
  std::memcpy(out.data() + 12, &maxRecord, 4);
  return out;
}

// Plays into the part of (x, y, width, height) inside the target: the
// target's pixels go into a DIB section, GDI paints over them, and they
// come back, so what the metafile does not paint keeps its pixels.
bool PlayOnto(HENHMETAFILE metafile, TPixelBuffer& target, int x, int y, int width, int height) {
  const int left = std::max(x, 0), top = std::max(y, 0);
  const int right = static_cast<int>(std::min<long long>(static_cast<long long>(x) + width, target.Width()));
  const int bottom = static_cast<int>(std::min<long long>(static_cast<long long>(y) + height, target.Height()));
  if (right <= left || bottom <= top) return true;
  const int w = right - left, h = bottom - top;

  BITMAPINFO info = TopDownBitmapInfo(w, h);
  HDC dc = CreateCompatibleDC(nullptr);
  if (!dc) return false;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap) {
    DeleteDC(dc);
    return false;
  }
  HGDIOBJ old = SelectObject(dc, bitmap);
  auto* pixels = static_cast<TPixel*>(bits);
  for (int r = 0; r < h; ++r)
    std::memcpy(pixels + static_cast<std::size_t>(r) * w, target.Scanline(top + r) + left, sizeof(TPixel) * w);
  const RECT frame{x - left, y - top, x - left + width, y - top + height};
  const bool played = PlayEnhMetaFile(dc, metafile, &frame) != FALSE;
  GdiFlush();
  for (int r = 0; r < h; ++r) {
    TPixel* out = target.Scanline(top + r) + left;
    const TPixel* in = pixels + static_cast<std::size_t>(r) * w;
    for (int c = 0; c < w; ++c) out[c] = in[c] & 0xFFFFFF;
  }
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  return played;
}

class TGdiMetafilePlayer : public IMetafilePlayer {
 public:
  bool PlayEnhanced(const std::vector<std::uint8_t>& emf, TPixelBuffer& target, int x, int y,
                    int width, int height) override {
    HENHMETAFILE metafile = SetEnhMetaFileBits(static_cast<UINT>(emf.size()), emf.data());
    if (!metafile) return false;
    const bool played = PlayOnto(metafile, target, x, y, width, height);
    DeleteEnhMetaFile(metafile);
    return played;
  }

  bool PlayWindows(const std::vector<std::uint8_t>& wmfRecords, int boxLeft, int boxTop,
                   int boxRight, int boxBottom, int unitsPerInch, TPixelBuffer& target, int x,
                   int y, int width, int height) override {
    const std::vector<std::uint8_t> records =
        WithWindowFromBox(wmfRecords, boxLeft, boxTop, boxRight - boxLeft, boxBottom - boxTop);
    if (records.empty()) return false;
    const int inch = unitsPerInch != 0 ? unitsPerInch : 96;
    METAFILEPICT picture{};
    picture.mm = MM_ANISOTROPIC;
    picture.xExt = MulDiv(boxRight - boxLeft, 2540, inch);
    picture.yExt = MulDiv(boxBottom - boxTop, 2540, inch);
    HENHMETAFILE metafile =
        SetWinMetaFileBits(static_cast<UINT>(records.size()), records.data(), nullptr, &picture);
    if (!metafile) return false;
    const bool played = PlayOnto(metafile, target, x, y, width, height);
    DeleteEnhMetaFile(metafile);
    return played;
  }
};

}  // namespace

IMetafilePlayer& GdiMetafilePlayer() {
  static TGdiMetafilePlayer player;
  return player;
}

}  // namespace bx
