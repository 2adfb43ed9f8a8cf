// The picture control: a window class of ours ("TImage") that shows the
// model's picture scaled to the control's size with good filtering (a
// reduction averages its pixels, straight from the picture's source when it
// has one; an enlargement is stretched in halftone mode), and
// hands the mouse to the model with the shift state of each message.
#pragma once

#include "binding/win32/ControlBindings.h"

namespace bx {

class TImageWindow : public TControlBinding {
 public:
  TImageWindow(TFormWindow& owner, TControl& image);
  ~TImageWindow() override;
  bool Focusable() const override { return false; }
  void Unbind() override;

  // The shift state of a mouse message: its button and key flags, and Alt.
  static TShiftState MouseShiftState(WPARAM flags);
  LRESULT WindowMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  TAccessibleText AccessibleText() const override;

 protected:
  bool ShowsCaption() const override { return false; }
  HWND CreateWindowFor(HWND parent, int id, const RECT& bounds, DWORD style) override;
  // Any change of the model may be a new picture: it is drawn again.
  void UpdateKind() override;

 private:
  void Paint(HDC dc);
  // Scales the picture into the cached bitmap of the client's size.
  void Render(HDC reference, int width, int height);
  void FreeBitmaps();
  TImage& Image() const { return static_cast<TImage&>(FControl); }

  HBITMAP FScaled = nullptr;
  void* FScaledBits = nullptr;
  int FScaledWidth = 0, FScaledHeight = 0;
  HBITMAP FSource = nullptr;
  void* FSourceBits = nullptr;
  int FSourceWidth = 0, FSourceHeight = 0;
  bool FStale = true;
  std::string FToldValue;  // the value screen readers were last told of
};

}  // namespace bx
