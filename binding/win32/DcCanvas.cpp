#include "binding/win32/DcCanvas.h"

#include "platform/win32/Text.h"

namespace bx {

TDcCanvas::TDcCanvas(HDC dc, HFONT font)
    : FDC(dc),
      FOldMode(GetBkMode(dc)),
      FOldText(GetTextColor(dc)),
      FOldBack(GetBkColor(dc)) {
  if (font) FOldFont = SelectObject(dc, font);
}

TDcCanvas::~TDcCanvas() {
  if (FOldFont) SelectObject(FDC, FOldFont);
  SetBkMode(FDC, FOldMode);
  SetTextColor(FDC, FOldText);
  SetBkColor(FDC, FOldBack);
}

void TDcCanvas::FillRect(const TRect& rect) {
  const RECT r{rect.Left, rect.Top, rect.Right, rect.Bottom};
  SetBkColor(FDC, BrushColor);
  ExtTextOutW(FDC, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
}

void TDcCanvas::TextOut(int x, int y, const std::string& text) {
  const std::wstring wide = Widen(text);
  SetBkMode(FDC, OPAQUE);
  SetBkColor(FDC, BrushColor);
  SetTextColor(FDC, FontColor);
  TextOutW(FDC, x, y, wide.c_str(), static_cast<int>(wide.size()));
}

}  // namespace bx
