#include "binding/win32/Glyph.h"

#include "platform/win32/Text.h"
#include "platform/win32/WindowBase.h"

namespace bx {

TGlyph::~TGlyph() {
  if (FBitmap) DeleteObject(FBitmap);
}

bool TGlyph::Load(const std::string& resourceName, int numGlyphs) {
  if (FBitmap) DeleteObject(FBitmap);
  FBitmap = nullptr;
  FWidth = FHeight = 0;
  if (resourceName.empty()) return false;
  const std::wstring name = Widen(resourceName);
  FBitmap = static_cast<HBITMAP>(
      LoadImageW(ResourceModule(), name.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (!FBitmap) return false;
  BITMAP info{};
  GetObjectW(FBitmap, sizeof info, &info);
  FStates = numGlyphs < 1 ? 1 : numGlyphs;
  FWidth = info.bmWidth / FStates;
  FHeight = info.bmHeight;
  if (FWidth <= 0 || FHeight <= 0) {
    DeleteObject(FBitmap);
    FBitmap = nullptr;
    return false;
  }
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, FBitmap);
  FTransparent = ::GetPixel(dc, 0, FHeight - 1);
  SelectObject(dc, old);
  DeleteDC(dc);
  return true;
}

void TGlyph::Draw(HDC dc, int x, int y, bool disabled) const {
  if (!FBitmap) return;
  HDC source = CreateCompatibleDC(dc);
  HGDIOBJ oldSource = SelectObject(source, FBitmap);
  const int width = Width(), height = Height();
  if (!disabled || FStates >= 2) {
    const int state = disabled ? 1 : 0;
    TransparentBlt(dc, x, y, width, height, source, state * FWidth, 0, FWidth, FHeight,
                   FTransparent);
  } else {
    // Embossed from the normal state: a mask of every pixel that is not
    // transparent, painted in the highlight colour one pixel down and right
    // and in the shadow colour on top.
    HDC mono = CreateCompatibleDC(dc);
    HBITMAP mask = CreateBitmap(width, height, 1, 1, nullptr);
    HGDIOBJ oldMask = SelectObject(mono, mask);
    SetBkColor(source, FTransparent);
    SetStretchBltMode(mono, COLORONCOLOR);
    StretchBlt(mono, 0, 0, width, height, source, 0, 0, FWidth, FHeight, SRCCOPY);
    const COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
    const COLORREF oldBack = SetBkColor(dc, RGB(255, 255, 255));
    constexpr DWORD kPaintWhereMaskIsClear = 0x00B8074A;  // PSDPxax
    HGDIOBJ oldBrush = SelectObject(dc, GetSysColorBrush(COLOR_BTNHIGHLIGHT));
    BitBlt(dc, x + 1, y + 1, width, height, mono, 0, 0, kPaintWhereMaskIsClear);
    SelectObject(dc, GetSysColorBrush(COLOR_BTNSHADOW));
    BitBlt(dc, x, y, width, height, mono, 0, 0, kPaintWhereMaskIsClear);
    SelectObject(dc, oldBrush);
    SetTextColor(dc, oldText);
    SetBkColor(dc, oldBack);
    SelectObject(mono, oldMask);
    DeleteObject(mask);
    DeleteDC(mono);
  }
  SelectObject(source, oldSource);
  DeleteDC(source);
}

}  // namespace bx
