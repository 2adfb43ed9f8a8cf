// The canvas of an owner-drawn item on a device context.
#pragma once

#include "platform/win32/WinApi.h"
#include "ui/Canvas.h"

namespace bx {

class TDcCanvas : public TCanvas {
 public:
  // Selects `font` into the context for the canvas's life.
  TDcCanvas(HDC dc, HFONT font);
  ~TDcCanvas() override;
  TDcCanvas(const TDcCanvas&) = delete;
  TDcCanvas& operator=(const TDcCanvas&) = delete;

  void FillRect(const TRect& rect) override;
  void TextOut(int x, int y, const std::string& text) override;

 private:
  HDC FDC;
  HGDIOBJ FOldFont = nullptr;
  int FOldMode;
  COLORREF FOldText, FOldBack;
};

}  // namespace bx
