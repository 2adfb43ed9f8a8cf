// The form window's fit to its display: captions kept whole in the font
// the platform gives, and the form scaled when the window moves to a
// monitor of another scale.
#include <algorithm>
#include <cstdlib>

#include "binding/win32/ControlBindings.h"
#include "binding/win32/FormWindow.h"
#include "platform/win32/Text.h"

namespace bx {

namespace {

// The width a control may take from its left edge: up to the nearest
// control of its holder to its right that shares its rows, or the
// holder's inner edge.
int RoomOf(const TForm& form, const TControl& control) {
  constexpr int kGap = 4;
  const TRect own = control.LocalBounds();
  const TControl* holder = control.ParentControl();
  int right = holder ? holder->Width() - kGap : form.ClientWidth() - kGap;
  for (const TControl* other : form.Controls()) {
    if (other == &control || other->ParentControl() != holder || !other->Visible()) continue;
    const TRect r = other->LocalBounds();
    const int bottom = r.Top + std::max(r.Height(), 1);
    if (r.Left > own.Left && r.Top < own.Bottom && bottom > own.Top)
      right = std::min(right, r.Left - kGap);
  }
  return std::max(right - own.Left, own.Width());
}

}  // namespace

// The form's face at `pixels` height; a face the platform has in a few
// sizes only (a bitmap font, as Wine's MS Sans Serif) gives way to the
// scalable faces that stand for it.
HFONT TFormWindow::SmallerFont(HDC dc, int pixels) const {
  for (const std::wstring& face : {Widen(FForm.FontName), std::wstring(L"Microsoft Sans Serif"),
                                   std::wstring(L"Tahoma")}) {
    HFONT font = ::CreateFontW(-pixels, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                               OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                               DEFAULT_PITCH | FF_DONTCARE, face.c_str());
    if (!font) continue;
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    if (metrics.tmHeight < FFontHeight) return font;
    DeleteObject(font);
  }
  return nullptr;
}

void TFormWindow::Rescale(int pixelsPerInch) {
  if (pixelsPerInch <= 0 || pixelsPerInch == FForm.PixelsPerInch()) return;
  ++FSyncing;
  FForm.ScaleTo(pixelsPerInch);
  HFONT old = FFont;
  MakeFont();
  for (const auto& binding : FBindings) binding->SetFont(nullptr);
  if (old) DeleteObject(old);
  for (HFONT font : FSmallerFonts) DeleteObject(font);
  FSmallerFonts.clear();
  FitCaptions();
  --FSyncing;
  RedrawWindow(FHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void TFormWindow::FitCaptions() {
  for (const auto& binding : FBindings) FitCaption(*binding);
}

void TFormWindow::FitCaption(TControlBinding& binding) {
  HDC dc = GetDC(FHandle);
  if (!dc) return;
  TControl& control = binding.Control();
  auto neededIn = [&](HFONT font) {
    HGDIOBJ old = SelectObject(dc, font);
    const int needed = binding.NeededWidth(dc);
    SelectObject(dc, old);
    return needed;
  };
  const int needed = neededIn(FFont);
  if (needed > control.Width()) {
    const TRect local = control.LocalBounds();
    const int width = std::min(needed, RoomOf(FForm, control));
    if (width > local.Width()) control.SetBounds(local.Left, local.Top, width, local.Height());
    // Still cut: smaller sizes of the face, down to three quarters.
    const int fullHeight = std::abs(FForm.FontHeight);
    HFONT chosen = nullptr;
    for (int less = 1; needed > width && less <= fullHeight / 4; ++less) {
      if (FSmallerFonts.size() < static_cast<std::size_t>(less))
        FSmallerFonts.push_back(SmallerFont(dc, fullHeight - less));
      if (!FSmallerFonts[less - 1]) break;
      chosen = FSmallerFonts[less - 1];
      if (neededIn(chosen) <= width) break;
    }
    if (binding.Font() != (chosen ? chosen : FFont)) binding.SetFont(chosen);
  } else if (binding.Font() != FFont && neededIn(FFont) <= control.Width()) {
    binding.SetFont(nullptr);  // a shorter caption fits the form's font again
  }
  ReleaseDC(FHandle, dc);
}

}  // namespace bx
